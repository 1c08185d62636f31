#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// What the call-out key finds to say along the line besides the signal in view. A "[Sign]"
// record whose field 4 is n > 0 is a lineside board: while the sign is in view its call-out is
// the sound of "[OtherImageList]" entry n - 1. Inside a "[Time]" record's frames the key asks
// for the time check. A level crossing's call-out waits from the frame at which the train enters
// its range until the train leaves the range or the key has said it.

/// Tick step: the pending board or time-check call-out and the pending crossing call-outs.
void runLinesideCallouts(SimDrive& drive);

}  // namespace velimoro
