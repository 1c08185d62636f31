#pragma once

#include "data/train_record.h"
#include "sim/sim_state.h"

namespace velimoro {

// One step of a handle, as every input device moves it. Positions of the brake handle run
// EB (-Brake), B(Brake-1) .. B1, [Hold], released (0); of the power handle 0, P1 .. P(Power),
// where the notches of the selected power mode follow 0 directly. The steps change the requested
// positions only. The combined-handle steps raise all three change-pending flags themselves; for
// the other steps the caller raises the flags of the handle it moved. The caller refreshes the
// texts.

/// The brake limit of the keys' apply steps: one short of EB, -(Brake-1).
int keyBrakeLimit(const TrainSpec& train);

/// The selected power mode; a mode beyond the tables (a corrupt saved state) counts as mode 0.
int selectedPowerMode(const SimState& s);

/// The power mode of notch `notch` (notch 0 and notches beyond the table count as mode 0).
int notchMode(const TrainSpec& train, int notch);

/// The first notch of power mode `mode`.
int firstNotchOfMode(const TrainSpec& train, int mode);

/// One notch up within the selected power mode; from 0 to the mode's first notch.
void powerStepUp(SimState& s, const TrainSpec& train);

/// One notch down within the selected power mode, to 0 from the mode's first notch. With
/// `needsRelease` the step within the mode only happens while the brake is released.
void powerStepDown(SimState& s, const TrainSpec& train, bool needsRelease);

/// Leaves Hold for B1 when the brake handle stands at Hold (the first part of an apply step).
void leaveHold(SimState& s);

/// The apply step without leaving Hold: one position toward EB, not beyond `limit`.
void brakeApplyFromPosition(SimState& s, const TrainSpec& train, int limit);

/// One position toward EB, not beyond `limit` (keys -(Brake-1), the wheel -Brake).
void brakeApplyStep(SimState& s, const TrainSpec& train, int limit);

/// One position toward release; reaching 0 with a Hold position stops at Hold.
void brakeReleaseStep(SimState& s, const TrainSpec& train);

/// The combined handle one position toward power: off the brake first, then up the notches.
void combinedStepTowardPower(SimState& s, const TrainSpec& train);

/// The combined handle one position toward brake: down the notches, then on the brake up to
/// `limit`. With `needsRelease` the notch step within the mode waits for a released brake.
void combinedStepTowardBrake(SimState& s, const TrainSpec& train, int limit, bool needsRelease);

/// Raises the three change-pending flags that the fast step consumes.
void raiseAllPending(SimState& s);

}  // namespace velimoro
