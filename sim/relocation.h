#pragma once

#include <string>

#include "sim/sim_drive.h"

namespace velimoro {

// Where a run stands before its first step, and a train put down elsewhere on the route, by the
// station jump or a restored save slot: both take the same values, so a train moved runs on as
// if the run had started there. What the run remembered of the places it left is forgotten, and
// what is in view at the new frame is taken up again.

/// A place on the route and how the train stands there.
struct Placement {
  int frame = 0;
  long double positionCm = 0;
  int clock = 0;  // fast_tick_count
  long double speed = 0;
  int brakeHandle = 0;  // the brake handle, both brake notches taking it at once
  bool doorsOpen = false;
  int windowStation = 0;  // the station whose window the train entered last
  int startStation = 0;   // the station the run counts as started at
  int stationIndex = 0;
  int nextStopStation = 0;
  long double nextStopCm = 0;
  std::string nextStationText;
  int announceIndex = 0;
  int preTrainFrame = 0;
};

/// Sets the whole running state to a run's start values at `place`: power off, the brake at the
/// placement's handle with the cylinder at [EBPress] and the main reservoir at [HighAirPress],
/// no protection, hold or constant speed, no announcement or call-out under way. What belongs
/// to the driver, the settings and the window rather than to the place is kept: the reverser and
/// power mode, the controller, the protection and debug switches, the timetable strip and the
/// window's layout, the step count and the drive's random numbers.
void putTrainAt(SimDrive& drive, const Placement& place);

/// Puts a running drive's train at `place` as a run started there: putTrainAt, with the run's
/// progress forgotten (forgetRunProgress), the road traffic signals back in their first phase,
/// the brake pressures those the handle holds, the crossings in view pending and the signal
/// pictures in view kept to be drawn again at the next tick (put away when none is in view).
/// The picture's return to the route video is the caller's.
void relocateTrain(SimDrive& drive, const Placement& place);

/// Forgets the run's progress: the per-station flags, the route sound, "[Switch]" and engine
/// sound triggers, the call-out queue, the scene movies and "[Time]" records done, the pending
/// crossing call-outs, the guidance shown; stops every sound channel but channel 0 (the train's
/// first sound runs on), also in the memory of a pause.
void forgetRunProgress(SimDrive& drive);

/// The crossings whose frame range (first inclusive, last exclusive) holds the frame become the
/// pending crossing call-outs, in table order, as many as the list holds; the crossing picture
/// is put away.
void refillCrossingCallouts(SimDrive& drive);

/// The announcement a run placed past the first `stations` stations takes up next: the
/// arrival and departure announcements of each stop with doors among them lie behind it.
int announceIndexPast(const RouteData& route, int stations);

/// The next station to stop at after `station` (a stop with or without doors, or a stop-position
/// mark); -1 when none follows.
int nextStopAfter(const RouteData& route, int station);

}  // namespace velimoro
