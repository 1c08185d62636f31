#include "sim/traction.h"

#include <algorithm>
#include <cmath>

#include "data/rounding.h"
#include "sim/train_sounds.h"

namespace velimoro {
namespace {

// A degenerate curve (a zero speed or factor in a divisor) gives no traction rather than an
// infinite one: such a train stands.
long double finiteOrZero(long double value) {
  return std::isfinite(value) ? value : 0;
}

long double linearRegion(const NotchCurve& curve, long double speed) {
  if (curve.speedConst == 0) return 0;
  return curve.accStart + (curve.accEnd - curve.accStart) / curve.speedConst * speed;
}

// Linear interpolation between two gear-row points; equal speeds give the lower value.
long double interpolate(long double accA, long double accB, int speedA, int speedB,
                        long double distance) {
  if (speedB == speedA) return accA;
  return accA + distance * (accB - accA) / (speedB - speedA);
}

bool tractionAllowed(const SimState& s, const TrainSpec& train) {
  return s.voltmeter_target > Fixed() && s.speed < train.MaxSpeed && s.engine_running &&
         !s.doors_open && !s.ats_eb && !s.ats_pattern_brake;
}

}  // namespace

long double electricAcceleration(const TrainSpec& train, int notch, long double speed) {
  if (notch < 1 || notch > TrainSpec::kMaxNotches) return 0;
  const NotchCurve& r = train.Notches[notch - 1];
  const long double v = std::fabs(speed);
  if (r.accStart <= 0) {
    return r.speedConst <= v && v < r.speedPower ? r.accStart : 0;
  }
  if (v < r.speedConst) {
    if (speed < train.PowerJerk) {
      // Starting: the gentler curve of notch 1 or 2, whichever is lower, eases the jerk.
      const NotchCurve& k = train.Notches[std::min(notch - 1, 1)];
      return finiteOrZero(linearRegion(k, v));
    }
    return finiteOrZero(linearRegion(r, v));
  }
  if (v == 0) return 0;
  if (v < r.speedPower) return finiteOrZero(r.speedConst * r.accEnd / v);
  const long double decay = r.decay;
  const long double power = std::pow(decay, static_cast<long double>(r.speedPower));
  const long double atSpeed = std::pow(decay, static_cast<long double>(roundHalfEven(v)));
  return finiteOrZero(r.speedConst * r.accEnd / power * atSpeed / v);
}

long double dieselAcceleration(const TrainSpec& train, int gearIndex, int notch,
                               long double speed) {
  if (notch < 1 || train.Power <= 0 || gearIndex < 0 || gearIndex >= train.GearCount) return 0;
  const GearRow& g = train.Gears[gearIndex];
  const long double v = std::fabs(speed);
  if (v < g.speedMid) {
    const long double a =
        interpolate(g.accLow, g.accMid, g.speedLow, g.speedMid, std::fabs(v - g.speedLow));
    if (speed < train.PowerJerk) return finiteOrZero(std::min(notch, 2) * a / train.Power);
    return finiteOrZero(a / train.Power * notch);
  }
  if (v < g.speedHigh) {
    const long double a =
        interpolate(g.accMid, g.accHigh, g.speedMid, g.speedHigh, std::fabs(v - g.speedMid));
    return finiteOrZero(a / train.Power * notch);
  }
  return 0;
}

void addTractionForce(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (!tractionAllowed(s, train)) return;

  // Driving on without the train protection switched on sounds a warning once power is taken.
  const bool warn = !s.ats_active && !s.beginner_mode && s.power_handle > 1;
  if (warn && !trainSoundPlaying(drive, train.ATS_Warn))
    playTrainSound(drive, train.ATS_Warn, true);
  if (!warn && trainSoundPlaying(drive, train.ATS_Warn)) stopTrainSound(drive, train.ATS_Warn);

  long double acceleration = 0;
  if (train.Engine_Type == 1 && s.power_notch > 0 && s.brake_handle == 0) {
    acceleration = electricAcceleration(train, s.power_notch, s.speed);
  } else if (train.Engine_Type == 0 && !s.gear_shifting && s.power_notch > 0) {
    acceleration = dieselAcceleration(train, s.gear_index, s.power_notch, s.speed);
  }
  const long double mass = train.Tons.toLongDouble() * 1000;
  s.force = Fixed::fromLongDouble(s.force.toLongDouble() + acceleration / 3.6L * mass);
  if (s.reverser == 0) s.force = Fixed();
  if (s.reverser == -1) s.force = -s.force;
}

}  // namespace velimoro
