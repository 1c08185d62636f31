#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// The driver's duties beside the handles on the character keys: the train protection's
// acknowledgement and reset, and the one-man train's in-car announcements.

/// Space: acknowledges an ATS warning. False when the key's handling ends here (the automatic
/// air brake in its maintaining position cannot acknowledge).
bool atsConfirm(SimDrive& drive);

/// "r": resets the train protection's brakes, sounds and lamps at EB with the train at rest.
void atsReset(SimDrive& drive);

/// "c" or "1": plays the next in-car announcement unless its channel still plays.
void nextAnnouncement(SimDrive& drive);

/// "-": stops the last announcement and steps back to it.
void previousAnnouncement(SimDrive& drive);

}  // namespace velimoro
