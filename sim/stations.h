#pragma once

#include <string>

#include "data/route_data.h"
#include "data/ui_strings.h"
#include "sim/sim_drive.h"

namespace velimoro {

// Stations along the route. Kind 0 is a stop with doors, kind 1 a passing point, kind 2 a stop
// without doors whose announcements run at rest; kind 3 and higher are stops like kind 2 for the
// next stop and the end of the run, without announcements. Each station has a stopping window of
// its stop position plus or minus its tolerance. On a train with a conductor (the route's [OneMan]
// 0) the conductor opens the doors once the train stands in the window, makes the announcements and
// closes the doors after the departure time; on a one-man train the driver works the doors with the
// door key.
//
// The boarding-event flags of the one-man in-car announcements are not read here: a stop runs
// the same whether passengers were drawn or not.

/// The text shown for the next station: its name with the suffix of its kind from
/// "dorvanel.dat", or "停止位置まで進行" for kind 3.
std::string nextStationText(const StationEntry& station, const UiStrings& strings);

/// Tick step after the signals and speed limits: for each station in order, the next-station
/// text, the stopping window, the doors and announcements of a stop, the next stop for the
/// remaining distance, and the end of the run at the last station or at the crew-change station.
void runStations(SimDrive& drive);

}  // namespace velimoro
