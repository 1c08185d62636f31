#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// Pausing a drive silences every channel and resuming brings back what was playing, from the
// start of each sound. Whether a channel played looped is known for the sounds started through
// playChannel; any other channel that plays is taken to play once.

/// Remembers for every channel whether it plays once, looped or not at all, and stops those
/// that play.
void pauseSounds(SimDrive& drive);

/// Plays again, from the start, every channel the last pause found playing: once or looped.
void resumeSounds(SimDrive& drive);

}  // namespace velimoro
