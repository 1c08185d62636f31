#include "input/controls.h"

#include <cmath>

#include "input/cab_duties.h"
#include "media/translate.h"
#include "sim/air_brakes.h"
#include "sim/driver_aids.h"
#include "sim/handle_steps.h"
#include "sim/sound_actions.h"

namespace velimoro {
namespace {

constexpr int kAutomaticBrake = 0;
constexpr int kCombinedHandle = 0;
constexpr int kTwoHandles = 1;
constexpr int kManualGearbox = 1;

void raiseBrakePending(SimState& s) {
  s.brake_change_pending = true;
  s.sap_change_pending = true;
}

// "0" and "/": the emergency position, sounding the valve unless the brake is there already.
void emergency(SimDrive& drive) {
  SimState& s = drive.state;
  const int eb = -drive.train->Brake;
  if (s.brake_handle != eb && !s.ats_eb) restartTrainSound(drive, drive.train->Sound_EB);
  s.hold_engaged = false;
  s.brake_handle = eb;
}

void nextPowerMode(SimDrive& drive) {
  SimState& s = drive.state;
  const int count = drive.train->PowerModeCount;
  s.power_mode = count > 0 && s.power_mode + 1 < count ? s.power_mode + 1 : 0;
  s.power_handle = 0;
}

void engageConstantSpeed(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (s.power_handle != train.Power || s.speed <= 15.0L || s.const_speed || train.Const != 1) {
    return;
  }
  s.const_speed = true;
  s.power_text = media::translate("HandleTexts", "定速");
}

// The gear lever of a diesel railcar with a manual gearbox moves only with power off.
void moveGearLever(SimDrive& drive, int step) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (train.Engine_Type != 0 || train.Gear_Type != kManualGearbox || s.power_notch != 0) return;
  if (step > 0 && s.gear < train.GearCount - 1) ++s.gear;
  if (step < 0 && s.gear > 0) --s.gear;
}

// The combined handle toward power; standing at the top notch already, the step is refused.
void stepTowardPower(SimState& s, const TrainSpec& train) {
  const int power = s.power_handle;
  const int brake = s.brake_handle;
  const bool hold = s.hold_engaged;
  combinedStepTowardPower(s, train);
  if (s.power_handle == power && s.brake_handle == brake && s.hold_engaged == hold)
    noteRefusal(s, AidRefusal::kTopNotch);
}

// Keys of the combined handle ("z", "a", "q") and of the two-handle controller ("z", "a", ",",
// ".", "/"); false for any other key.
bool handleKey(SimDrive& drive, char key) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (train.Handle == kCombinedHandle) {
    switch (key) {
      case 'z':
        stepTowardPower(s, train);
        return true;
      case 'a':
        combinedStepTowardBrake(s, train, keyBrakeLimit(train), false);
        return true;
      case 'q':
        s.hold_engaged = false;
        s.power_handle = 0;
        s.brake_handle = -train.Brake;
        raiseAllPending(s);
        return true;
      default:
        return false;
    }
  }
  if (train.Handle != kTwoHandles) return false;
  switch (key) {
    case 'z': {
      const int before = s.power_handle;
      powerStepUp(s, train);
      if (s.power_handle == before) noteRefusal(s, AidRefusal::kTopNotch);
      s.power_change_pending = true;
      return true;
    }
    case 'a':
      powerStepDown(s, train, false);
      s.power_change_pending = true;
      return true;
    case ',':
      brakeReleaseStep(s, train);
      raiseBrakePending(s);
      return true;
    case '.':
      brakeApplyStep(s, train, keyBrakeLimit(train));
      raiseBrakePending(s);
      return true;
    case '/':
      emergency(drive);
      raiseBrakePending(s);
      return true;
    default:
      return false;
  }
}

// The keys every controller has; false when the key's handling ends at once.
bool commonKey(SimDrive& drive, char key) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  const bool oneMan = drive.route->oneMan == 1;
  switch (key) {
    case 'f':
      moveReverser(s, 1);
      break;
    case 'b':
      moveReverser(s, -1);
      break;
    case 'n':
      moveReverser(s, 0);
      break;
    case '8':
      stepTowardPower(s, train);
      break;
    case '2':
      combinedStepTowardBrake(s, train, keyBrakeLimit(train), true);
      break;
    case '5':
      s.hold_engaged = false;
      s.brake_handle = 0;
      s.power_handle = 0;
      raiseAllPending(s);
      break;
    case '0':
      emergency(drive);
      s.power_handle = 0;
      raiseAllPending(s);
      break;
    case '3':
      restartTrainSound(drive, train.Sound_Horn);
      break;
    case '6':
      restartTrainSound(drive, train.Sound_Horn2);
      break;
    case 'd':
    case '7':
      if (oneMan) doorOperate(drive);
      break;
    case 'r':
      atsReset(drive);
      break;
    case ' ':
      if (train.ATS_Type == 0) return atsConfirm(drive);
      break;
    case 'c':
    case '1':
      if (oneMan) nextAnnouncement(drive);
      break;
    case '-':
      if (oneMan) previousAnnouncement(drive);
      break;
    case '9':
    case 'w':
      if (s.power_handle == 0) {
        nextPowerMode(drive);
      } else {
        noteRefusal(s, AidRefusal::kModeWithPower);
      }
      break;
    case 't':
      engageConstantSpeed(drive);
      break;
    case 's':
      moveGearLever(drive, 1);
      break;
    case 'x':
      moveGearLever(drive, -1);
      break;
    default:
      break;
  }
  return true;
}

// A brake sound of a per-position table: entries 0 .. `entries`-1 exist.
int brakeSound(const std::array<int, TrainSpec::kMaxBrakeSounds>& table, int position,
               int entries) {
  if (position < 0 || position >= entries || position >= TrainSpec::kMaxBrakeSounds) return -1;
  return table[position];
}

// After a character key the brake valve sounds the move from the brake in effect E to the
// requested position B: exhaust for a release, the apply sound of E for an application.
void playBrakeSoundsAfterKey(SimDrive& drive) {
  const SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  const int requested = s.brake_handle;
  const int inEffect = s.brake_notch;
  const int n = train.Brake;
  if (requested < inEffect) {
    for (int k = 0; k < n && k < TrainSpec::kMaxBrakeSounds; ++k) {
      stopTrainSound(drive, train.Sound_BK[k]);
      stopTrainSound(drive, train.Sound_BR[k]);
    }
  }
  const int applySound = brakeSound(train.Sound_BA, -inEffect, n - 1);
  const bool applying = -n < requested && requested < inEffect;
  if (train.BrakeType == kAutomaticBrake) {
    if (requested == 0 && inEffect < 0) {
      playTrainSoundIfIdle(drive, brakeSound(train.Sound_BK, -inEffect, n));
    } else if (requested > inEffect) {
      playTrainSoundIfIdle(drive, brakeSound(train.Sound_BR, -inEffect, n));
    } else if (applying) {
      playTrainSoundIfIdle(drive, applySound);
    }
  } else if (applying) {
    playTrainSoundIfIdle(drive, applySound);
  }
}

}  // namespace

void moveReverser(SimState& s, int reverser) {
  if (std::fabs(s.speed) > 1.0L) return;
  s.reverser = reverser;
  s.lamp_fwd = reverser == 1;
  s.lamp_back = reverser == -1;
}

void asciiDown(SimDrive& drive, char key) {
  resetDeadManTimer(drive);
  SimState& s = drive.state;
  if (s.input_blocked) return;
  if (s.swap_keypad && key == '2') {
    key = '8';
  } else if (s.swap_keypad && key == '8') {
    key = '2';
  }
  if (!handleKey(drive, key) && !commonKey(drive, key)) return;
  masconupdate(drive);
  playBrakeSoundsAfterKey(drive);
}

}  // namespace velimoro
