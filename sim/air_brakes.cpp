#include "sim/air_brakes.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "sim/driver_aids.h"
#include "sim/handle_texts.h"
#include "sim/train_sounds.h"

namespace velimoro {
namespace {

// The automatic brake's feed valve charges the brake pipe and the equalising reservoir to
// 490 kPa; the straight-air train's brake pipe is charged to 500 kPa.
constexpr long double kAutomaticFeed = 490;
constexpr long double kStraightAirFeed = 500;
// The automatic brake valve has five positions whatever the train file says.
constexpr int kAutomaticPositions = 4;

void add(Fixed& pressure, long double delta) {
  pressure = Fixed::fromLongDouble(pressure.toLongDouble() + delta);
}

void capAt(Fixed& pressure, long double ceiling) {
  if (pressure.toLongDouble() > ceiling) pressure = Fixed::fromLongDouble(ceiling);
}

// A pressure filling towards a limit ("while below the limit, rise") stops at the limit rather
// than one step past it, so an emergency never brakes harder than [EBPress].
void fillTowards(Fixed& pressure, long double delta, long double limit) {
  if (pressure.toLongDouble() >= limit) return;
  add(pressure, delta);
  capAt(pressure, limit);
}

void clampAtZero(Fixed& pressure) {
  if (pressure < Fixed()) pressure = Fixed();
}

// No pressure of the air system goes below 0, whatever rates the train file gives.
void clampPressures(SimState& s) {
  clampAtZero(s.bc);
  clampAtZero(s.bp);
  clampAtZero(s.mr);
  clampAtZero(s.sap);
  if (s.er < 0) s.er = 0;
}

int brakePositions(const TrainSpec& train) {
  return train.BrakeType == 0 ? kAutomaticPositions : train.Brake;
}

bool isEmergency(int notch, int positions) {
  return positions > 0 && notch <= -positions;
}

bool isService(int notch, int positions) {
  return notch < 0 && notch > -positions;
}

// Whether the brake pipe (or equalising reservoir) is charged enough to release: within one
// position's share of the emergency pressure. A train without brake positions has no such
// pressure, and the brake it guards does not release.
bool isCharged(long double pressure, const TrainSpec& train, int positions) {
  if (positions == 0) return false;
  const long double eb = train.EBPress;
  return pressure >= eb - eb / positions;
}

// Automatic brake, emergency position (and any protection application, whose equalising
// reservoir vents as fast as the brake pipe).
void automaticEmergency(SimState& s, const TrainSpec& train, long double erFall) {
  const long double up = train.BrakeUp;
  const long double down = train.BrakeDown;
  if (s.bc.toLongDouble() < train.EBPress) {
    fillTowards(s.bc, up / 9, train.EBPress);
    add(s.mr, -up / 99);
    add(s.sap, -down / 90);
  }
  add(s.bp, -up / 18);
  s.er -= erFall;
}

void updateAutomaticBrake(SimState& s, const TrainSpec& train) {
  const long double up = train.BrakeUp;
  const long double down = train.BrakeDown;
  const long double bpReturn = train.BPReturn;
  if (s.ats_eb || s.ats_pattern_brake) {
    automaticEmergency(s, train, up / 18);
    return;
  }
  switch (s.brake_notch) {
    case 0: {  // running: the cylinder vents while the pipe recharges from the reservoir
      if (s.bc.toLongDouble() < s.er) add(s.bc, -down / 30);
      const long double charge = s.bp > s.bc ? down / 30 / 2.5L : bpReturn / 30;
      add(s.bp, charge);
      s.er += charge;
      capAt(s.bp, kAutomaticFeed);
      if (s.er > kAutomaticFeed) {
        s.er = kAutomaticFeed;
      } else {
        add(s.mr, -up / 600);
      }
      break;
    }
    case -1:  // holding: the pipe recharges, the cylinder keeps its pressure
      if (s.bp.toLongDouble() < kAutomaticFeed) {
        add(s.bp, down / 30 / 2.5L);
        s.er += down / 30 / 2.5L;
        add(s.mr, -up / 600);
        // The feed valve limits the pipe and the reservoir as in the running position.
        capAt(s.bp, kAutomaticFeed);
        s.er = std::min(s.er, kAutomaticFeed);
      }
      break;
    case -2:  // lap
      break;
    case -3:  // service: the cylinder follows the pipe reduction
      if (s.bc.toLongDouble() < train.EBPress &&
          s.bc.toLongDouble() < 4.6L * (kAutomaticFeed - s.bp.toLongDouble())) {
        fillTowards(s.bc, up / 30, train.EBPress);
        add(s.sap, -up / 90);
      }
      add(s.bp, -up / 138);
      s.er -= up / 138;
      break;
    default:
      if (isEmergency(s.brake_notch, kAutomaticPositions)) automaticEmergency(s, train, up / 138);
      break;
  }
}

void updateStraightAirBrake(SimState& s, const TrainSpec& train) {
  const long double up = train.BrakeUp;
  const long double down = train.BrakeDown;
  const long double eb = train.EBPress;
  const int positions = train.Brake;
  const int notch = s.brake_notch;
  const bool emergency = isEmergency(notch, positions);

  if (s.ats_eb) {
    if (s.bc.toLongDouble() < eb) {
      fillTowards(s.bc, up / 15, eb);
      add(s.mr, -up / 300);
    }
    add(s.bp, -up / 10);
    add(s.sap, -up / 10);
    s.er -= up / 10;
  } else if (s.ats_pattern_brake) {
    if (s.bc.toLongDouble() < eb) {
      fillTowards(s.bc, up / 30 / 2, eb);
      add(s.mr, -up / 300);
    }
    fillTowards(s.sap, up / 30 / 1.5L, train.SAPPress);
  } else {
    if (isService(s.sap_notch, positions)) {
      const long double target =
          static_cast<long double>(train.SAPPress) / (positions - 1) * -s.sap_notch;
      if (s.sap.toLongDouble() + 10 < target) add(s.sap, up / 30 / 1.5L);
      if (s.sap.toLongDouble() > target) add(s.sap, -down / 30 / 1.5L);
    }
    if (isService(notch, positions)) {
      const long double target = eb / (positions - 1) * -notch;
      if (s.bc.toLongDouble() + 10 < target) {
        add(s.bc, up / 30);
        add(s.mr, -up / 300);
      }
      // The cylinder releases towards a lighter step only with the reservoir charged.
      if (s.bc.toLongDouble() > target && isCharged(s.er, train, positions)) add(s.bc, -down / 30);
    } else if (emergency) {
      if (s.bc.toLongDouble() < eb) {
        fillTowards(s.bc, 3 * up / 30, eb);
        add(s.mr, -up / 150);
      }
      add(s.bp, -up / 10);
      add(s.sap, -up / 10);
      s.er -= up / 10;
    } else if (notch == 0 && s.bc > Fixed()) {
      if (isCharged(s.bp.toLongDouble(), train, positions)) {
        add(s.bc, -down / 30);
        add(s.sap, -down / 30);
      }
    }
  }

  // Out of the emergency position the brake pipe and the reservoir recharge.
  if (!emergency) {
    add(s.bp, down / 150);
    capAt(s.bp, kStraightAirFeed);
    s.er = std::min(s.er + down / 150, kStraightAirFeed);
  }
}

void updateElectricCommandBrake(SimState& s, const TrainSpec& train) {
  const long double up = train.BrakeUp;
  const long double down = train.BrakeDown;
  const long double eb = train.EBPress;
  const int positions = train.Brake;
  const int notch = s.brake_notch;

  if (s.ats_eb || s.ats_pattern_brake || isEmergency(notch, positions)) {
    fillTowards(s.bc, 1.3L * up / 30, eb);
  } else if (isService(notch, positions)) {
    // The commanded steps divide the emergency pressure by the number of positions.
    const long double target = eb / positions * -notch;
    if (s.bc.toLongDouble() + 10 < target) {
      add(s.bc, up / 30);
      add(s.mr, -up / 300);
    }
    if (s.bc.toLongDouble() > target) add(s.bc, -down / 30);
  } else if (notch == 0 && s.bc > Fixed()) {
    // Three bands checked in turn, each on the pressure the band before left; the lowest band
    // vents more slowly.
    if (s.bc >= Fixed::fromInt(200)) add(s.bc, -down / 30);
    if (s.bc >= Fixed::fromInt(100) && s.bc < Fixed::fromInt(200)) add(s.bc, -down / 30);
    if (s.bc < Fixed::fromInt(100)) add(s.bc, -down / 37.5L);
  }
}

// Moves `gauge` by `step` towards `target` without passing it.
void moveTowards(Fixed& gauge, long double target, long double step) {
  const long double value = gauge.toLongDouble();
  const long double gap = target > value ? target - value : value - target;
  const long double move = std::clamp<long double>(step, 0, gap);
  gauge = Fixed::fromLongDouble(target > value ? value + move : value - move);
}

// The gauge shows the motor car's cylinder, which follows the train's cylinder at a rate that
// slows as it comes close.
void followCylinder(SimState& s, const TrainSpec& train) {
  const long double up = train.BrakeUp;
  const long double bc = s.bc.toLongDouble();
  const long double gauge = s.bc_gauge.toLongDouble();
  const long double gap = bc > gauge ? bc - gauge : gauge - bc;
  long double step = 1;
  if (gap > 50) {
    step = up / 30;
  } else if (gap > 30) {
    step = up / 60;
  } else if (gap > 10) {
    step = up / 120;
  }
  moveTowards(s.bc_gauge, bc, step);
}

// On a motor car the electric brake acts instead of the air while it can: the gauge then holds
// at [ELBR] while bc keeps the pressure that gives the train's brake force.
void followElectricBrake(SimState& s, const TrainSpec& train, int positions) {
  const long double step = static_cast<long double>(train.BrakeUp) / 30 / 1.5L;
  const long double elbr = train.ELBR;
  const long double bc = s.bc.toLongDouble();
  const bool electricBrake = (train.BrakeType == 2 || isCharged(s.er, train, positions)) &&
                             !isEmergency(s.brake_notch, positions) && s.speed >= train.Lose_elec &&
                             (s.speed == train.Lose_elec || bc >= elbr);
  long double ceiling = bc;
  if (electricBrake) {
    ceiling = elbr;
    if (s.bc_gauge.toLongDouble() < elbr) add(s.bc_gauge, step);
  } else if (bc > s.bc_gauge.toLongDouble()) {
    add(s.bc_gauge, step);
  }
  // The needle settles on its ceiling rather than swinging past it.
  if (s.bc_gauge.toLongDouble() > ceiling) moveTowards(s.bc_gauge, ceiling, step);
  clampAtZero(s.bc_gauge);
}

}  // namespace

void updateAirPressures(SimState& s, const TrainSpec& train) {
  switch (train.BrakeType) {
    case 0:
      updateAutomaticBrake(s, train);
      break;
    case 1:
      updateStraightAirBrake(s, train);
      break;
    case 2:
      updateElectricCommandBrake(s, train);
      break;
    default:  // a brake type the air system does not know moves no pressure
      break;
  }
  clampPressures(s);
  if (train.Mc == 1) {
    followElectricBrake(s, train, brakePositions(train));
  } else {
    followCylinder(s, train);
  }
}

void settleAirPressures(SimState& s, const TrainSpec& train) {
  // Two minutes of fast steps bring every brake type to rest from any pressure; most settle in
  // a few seconds and stop early.
  constexpr int kSettleSteps = 120 * 30;
  for (int step = 0; step < kSettleSteps; ++step) {
    const Fixed bc = s.bc, bp = s.bp, sap = s.sap;
    const long double er = s.er;
    updateAirPressures(s, train);
    if (s.bc == bc && s.bp == bp && s.sap == sap && s.er == er) break;
  }
  s.mr = Fixed::fromInt(train.HighAirPress);
  s.compressor_on = false;
  s.bc_gauge = Fixed();
}

// The tick's devices of the air system.

namespace {

// The dead-man timer rings 60.1 s after the last handle operation at speed and applies the
// emergency brake 5 s later.
constexpr int kDeadManRingTicks = 601;
constexpr int kDeadManBrakeTicks = 651;
// The roll-back guard acts below this speed with the reverser set forward.
constexpr long double kRollBackSpeed = -5;
// The automatic brake's service position, where the application sound runs.
constexpr int kAutomaticService = -3;

// Plays the entry of a per-position sound table. The train file gives one entry per brake
// position; an index outside them plays nothing.
void playBrakeSoundEntry(SimDrive& drive, const std::array<int, TrainSpec::kMaxBrakeSounds>& table,
                         int index) {
  const int entries = std::min(drive.train->Brake, TrainSpec::kMaxBrakeSounds);
  if (index < 0 || index >= entries) return;
  playTrainSound(drive, table[static_cast<std::size_t>(index)], false);
}

// Release sounds of a stepped brake, each once for the handle position that caused it.
void playReleaseSounds(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (s.brake_handle == 0 && s.brake_notch != -1 && s.bc > Fixed()) {
    if (!s.brake_sound_once) playBrakeSoundEntry(drive, train.Sound_BK, 0);
    s.brake_sound_once = true;
  } else if (s.brake_notch >= s.brake_handle) {
    s.brake_sound_once = false;
  } else {
    // The effective notch is applied further than the handle: a partial release, heard while the
    // cylinder is still above the pressure of the handle's position.
    const bool aboveStep =
        train.Brake != 0 && s.bc.toLongDouble() - 10 > static_cast<long double>(train.EBPress) /
                                                           train.Brake * -s.brake_handle;
    if (aboveStep) {
      if (!s.brake_sound_once) playBrakeSoundEntry(drive, train.Sound_BR, -s.brake_handle);
      s.brake_sound_once = true;
    } else {
      s.brake_sound_once = false;
    }
  }
}

}  // namespace

void runCompressor(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (s.mr < Fixed::fromInt(train.LowAirPress)) {
    if (!s.compressor_on) {
      playTrainSound(drive, train.CP_Start, false);
      playTrainSound(drive, train.CP_Cnt, true);
    }
    s.compressor_on = true;
  }
  if (s.compressor_on && s.mr >= Fixed::fromInt(train.HighAirPress)) {
    playTrainSound(drive, train.CP_End, false);
    stopTrainSound(drive, train.CP_Cnt);
    s.compressor_on = false;
  }
  if (s.compressor_on) s.mr = Fixed::fromLongDouble(s.mr.toLongDouble() + 0.2L);
}

void runDeadManTimer(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (train.EB != 1 || s.deadman_off) return;
  // The timer only counts while the train moves.
  if (s.speed > 1) ++s.eb_device_count;
  if (s.eb_device_count >= kDeadManBrakeTicks) {
    if (trainSoundPlaying(drive, train.Sound_EBring)) stopTrainSound(drive, train.Sound_EBring);
    s.eb_device_count = 0;
    s.ats_eb = true;
    noteAutomaticBrake(s, BrakeCause::kVigilance);
    masconupdate(drive);
    s.power_change_pending = true;
    s.brake_change_pending = true;
    s.sap_change_pending = true;
  } else if (s.eb_device_count >= kDeadManRingTicks) {
    if (!trainSoundPlaying(drive, train.Sound_EBring)) {
      playTrainSound(drive, train.Sound_EBring, false);
    }
    s.eb_lamp = true;
  }
}

void resetDeadManTimer(SimDrive& drive) {
  SimState& s = drive.state;
  s.eb_device_count = 0;
  if (trainSoundPlaying(drive, drive.train->Sound_EBring)) {
    stopTrainSound(drive, drive.train->Sound_EBring);
  }
  s.eb_lamp = false;
}

void runRollBackGuard(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (train.Back != 1 || s.reverser != 1 || s.speed >= kRollBackSpeed) return;
  // The sound marks the application; it does not restart on every tick the train rolls on.
  if (!s.ats_eb) playTrainSound(drive, train.Sound_EB, false);
  s.ats_eb = true;
  noteAutomaticBrake(s, BrakeCause::kRollBack);
  masconupdate(drive);
}

void playBrakeSounds(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (train.BrakeType >= 1 && !s.ats_eb && !s.ats_pattern_brake) playReleaseSounds(drive);
  if (train.BrakeType == 0) {
    const bool applying =
        s.brake_notch == kAutomaticService && s.bc < Fixed::fromInt(train.EBPress);
    const bool playing = trainSoundPlaying(drive, train.Sound_Apply);
    if (applying && !playing) playTrainSound(drive, train.Sound_Apply, true);
    if (!applying && playing) stopTrainSound(drive, train.Sound_Apply);
  }
}

}  // namespace velimoro
