#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// The train protection selected by the train's [ATS_Type]: 0 the warning type (ATS-S: alarm,
// acknowledgement, timed emergency brake), 1 the pattern type (ATS-P: a braking curve towards
// a target), 2 cab signalling with speed codes (ATC). ATS-S and ATS-P act only while the
// protection is switched on (`ats_active`); ATC always acts.
//
// The driver acknowledges an ATS-S alarm with the confirm key, which sets `ats_chime`. The
// acknowledgement holds off a new alarm for as long as the check it answered stands (an ATS-S
// check value of 998, or a speed check value the train is above); the first tick without a
// check ends it. A stop check (value 0) always starts the alarm.
//
// An unanswered alarm applies the emergency brake after [ATS_Time] seconds, a stop check at
// once. Speed checks ring when the train is above a "[SpeedCheck1]" point's speed 1 to 9 frames
// past it, or above a "[SpeedCheck2]" section's speed inside it, with the alarm's time run out;
// a section's speed, or outside sections the ATS-S check value, shows on the cab-signal strip
// when the train's [Lamp_signal] list has it, and without such a speed the strip goes out and
// the check value returns to 999. On a cab-signalling train the strip belongs to the cab signal
// and the speed checks do not run.

/// Tick step: ATC, the ATS-S alarm, ATS-P, then the speed checks and the cab-signal strip.
void runTrainProtection(SimDrive& drive);

/// ATS-S: the alarm on a check value, its emergency brake, and the chime of an acknowledgement.
void runAtsAlarm(SimDrive& drive);

/// "[SpeedCheck1]" points and "[SpeedCheck2]" sections, and the cab-signal strip.
void runSpeedChecks(SimDrive& drive);

/// Starts the ATS-S alarm as a speed check does: warning on, unacknowledged, its time run out.
void startSpeedCheckAlarm(SimDrive& drive);

}  // namespace velimoro
