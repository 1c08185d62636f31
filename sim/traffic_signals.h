#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// Road traffic signals at level crossings with roads ("[TrafficSignal]"). A record has six
// phases; phase k (1 .. 6) takes file fields 3k + 1, 3k + 2 and 3k + 3: its picture in
// "[TrafficSignalImageList]", its duration in ticks and its pass flag (1 the train may pass).
// Runtime word 0 of a record is its running phase, word k the countdown of phase k.

/// Tick step: phases, pictures, `traffic_detect_text` and `traffic_stop_text`.
void runTrafficSignals(SimDrive& drive);

// Lineside animations ("[Anim]"): while a record's frame range (from <= frame < to) holds the
// train, its pictures in "[AnimImageList]" follow one another, firstPicture + 0 .. 13, a step
// each time more than ticksPerPicture ticks have been counted. The first record holding the
// frame is shown; outside every range nothing is.

/// Tick step: `anim_picture` and its counters.
void runAnimations(SimDrive& drive);

}  // namespace velimoro
