#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

/// The voltmeter moves 50 V a tick towards its target.
void updateVoltmeter(SimState& s);

/// The ammeter's target from the traction force and brake notch, and its needle's step towards
/// it (larger steps for larger gaps).
void updateAmmeter(SimState& s, const TrainSpec& train);

/// Past either end of the route video the train stops dead at the end with power off.
void stopAtEndOfVideo(SimDrive& drive);

/// The status bar's door message.
void updateStatusText(SimState& s);

/// Hands the texts to the text panel when it is shown.
void fillTextPanel(const SimState& s, TextPanel& panel);

}  // namespace velimoro
