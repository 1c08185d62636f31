#include "sim/handle_steps.h"

namespace velimoro {

int keyBrakeLimit(const TrainSpec& train) {
  return -(train.Brake - 1);
}

int selectedPowerMode(const SimState& s) {
  return s.power_mode >= 0 && s.power_mode < TrainSpec::kMaxPowerModes ? s.power_mode : 0;
}

int notchMode(const TrainSpec& train, int notch) {
  if (notch < 1 || notch > TrainSpec::kMaxNotches) return 0;
  return train.Notches[notch - 1].mode;
}

int firstNotchOfMode(const TrainSpec& train, int mode) {
  if (mode < 0 || mode >= static_cast<int>(train.PowerModeFirst.size())) return 1;
  return train.PowerModeFirst[mode] + 1;
}

void powerStepUp(SimState& s, const TrainSpec& train) {
  const int p = s.power_handle;
  const int mode = selectedPowerMode(s);
  if (p < train.Power && notchMode(train, p + 1) == mode) {
    s.power_handle = p + 1;
  } else if (p == 0 && mode > 0) {
    // A mode whose first notch lies beyond the train's notches has nothing to take.
    const int first = firstNotchOfMode(train, mode);
    if (first <= train.Power) s.power_handle = first;
  }
}

void powerStepDown(SimState& s, const TrainSpec& train, bool needsRelease) {
  const int p = s.power_handle;
  if (p <= 0) return;
  const int mode = selectedPowerMode(s);
  if (notchMode(train, p - 1) == mode && (!needsRelease || s.brake_handle == 0)) {
    s.power_handle = p - 1;
  } else if (p == firstNotchOfMode(train, mode)) {
    s.power_handle = 0;
  }
}

void leaveHold(SimState& s) {
  if (!s.hold_engaged) return;
  s.hold_engaged = false;
  s.brake_handle = -1;
  s.hold_left = true;
}

void brakeApplyFromPosition(SimState& s, const TrainSpec& train, int limit) {
  if (s.brake_handle <= limit) return;
  if (train.Hold == 1 && s.brake_handle == 0) {
    s.hold_engaged = true;
  } else if (train.Hold == 1 && s.brake_handle < 0 && !s.hold_left) {
    --s.brake_handle;
  } else if (train.Hold != 1) {
    --s.brake_handle;
  } else if (s.hold_left) {
    // The step that left Hold has already brought the handle to B1.
    s.hold_left = false;
  }
}

void brakeApplyStep(SimState& s, const TrainSpec& train, int limit) {
  leaveHold(s);
  brakeApplyFromPosition(s, train, limit);
}

void brakeReleaseStep(SimState& s, const TrainSpec& train) {
  if (s.hold_engaged) {
    s.hold_engaged = false;
  } else if (s.brake_handle < 0) {
    ++s.brake_handle;
    if (train.Hold == 1 && s.brake_handle == 0) s.hold_engaged = true;
  }
}

void combinedStepTowardPower(SimState& s, const TrainSpec& train) {
  if (s.brake_handle == 0 && s.power_handle < train.Power && !s.hold_engaged) {
    powerStepUp(s, train);
  }
  if (s.hold_engaged) {
    s.hold_engaged = false;
  } else if (s.power_handle == 0 && s.brake_handle < 0) {
    ++s.brake_handle;
    if (train.Hold == 1 && s.brake_handle == 0) s.hold_engaged = true;
  }
  raiseAllPending(s);
}

void combinedStepTowardBrake(SimState& s, const TrainSpec& train, int limit, bool needsRelease) {
  leaveHold(s);
  if (s.power_handle == 0 && !s.hold_engaged) brakeApplyFromPosition(s, train, limit);
  powerStepDown(s, train, needsRelease);
  raiseAllPending(s);
}

void raiseAllPending(SimState& s) {
  s.power_change_pending = true;
  s.brake_change_pending = true;
  s.sap_change_pending = true;
}

}  // namespace velimoro
