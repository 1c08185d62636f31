#pragma once

#include "sim/drive.h"

namespace velimoro {

// Road traffic signals at level crossings with roads ("[TrafficSignal]"). A record has six
// phases; phase k (1 .. 6) takes file fields 3k + 1, 3k + 2 and 3k + 3: its picture in
// "[TrafficSignalImageList]", its duration in ticks and its pass flag (1 the train may pass).
// Runtime word 0 of a record is its running phase, word k the countdown of phase k.

/// Tick step: phases, pictures, `traffic_detect_text` and `traffic_stop_text`.
void runTrafficSignals(Drive& drive);

}  // namespace velimoro
