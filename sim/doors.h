#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// The doors of the train. doorOperate opens them at once, or starts closing
// them with the closing sound; they count as closed, and the train departs, only once that
// sound and the opening sound have ended.

/// Tick step after the motion: with no door command and neither door sound playing, doors that
/// stood open close: the door pilot lamp lights (when the panel has one), the departure signal
/// sounds, `station_index` advances and the departure call-out of the station left is queued.
void closeDoorsAndDepart(SimDrive& drive);

/// The door key of a one-man train, also the conductor's door action: opens closed doors or
/// starts closing open ones, only while the train stands.
void doorOperate(SimDrive& drive);

/// The doors closed on the spot, without a sound or a departure, for a train put down elsewhere;
/// the door pilot lamp lights (when the panel has one).
void closeDoorsAtOnce(SimDrive& drive);

}  // namespace velimoro
