#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// A train put down elsewhere on the route, by the station jump or a restored save slot, runs on
// from there as if it had come that way: what the run remembered of the places it left is
// forgotten, and what is in view at the new frame is taken up again.

/// Forgets the run's progress: the per-station flags, the route sound, "[Switch]" and engine
/// sound triggers, the call-out queue, the scene movies and "[Time]" records done, the pending
/// crossing call-outs, the guidance shown; stops every sound channel but channel 0 (the train's
/// first sound runs on), also in the memory of a pause.
void forgetRunProgress(SimDrive& drive);

/// The crossings whose frame range (first inclusive, last exclusive) holds the frame become the
/// pending crossing call-outs, in table order, as many as the list holds; the crossing picture
/// is put away.
void refillCrossingCallouts(SimDrive& drive);

/// When no signal and no road traffic signal is in view at the frame, their pictures are put out
/// and back to their home places and the signal call-out is over.
void clearSignalsOutOfView(SimDrive& drive);

/// The next station to stop at after `station` (a stop with or without doors, or a stop-position
/// mark); -1 when none follows.
int nextStopAfter(const RouteData& route, int station);

}  // namespace velimoro
