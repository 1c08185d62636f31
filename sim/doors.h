#pragma once

#include "sim/drive.h"

namespace velimoro {

// The doors of the train. doorOperate (input/controls.h) opens them at once, or starts closing
// them with the closing sound; they count as closed, and the train departs, only once that
// sound and the opening sound have ended.

/// Tick step after the motion: with no door command and neither door sound playing, doors that
/// stood open close: the door pilot lamp lights (when the panel has one), the departure signal
/// sounds, `station_index` advances and the departure call-out of the station left is queued.
void closeDoorsAndDepart(Drive& drive);

}  // namespace velimoro
