#pragma once

#include <optional>

#include "sim/sim_drive.h"

namespace velimoro {

// Cab signalling: aspect codes 22 to 29 carry the speeds of "[Speed_Signal]" entries 0 to 7.
// A new code sounds [Sound_Atc] and shows the cab signal; above the code's speed less 0.4 km/h
// the brake applies once (code 22 the emergency brake, the others the service brake) and the
// service brake releases when the train is back under it.

/// Cab signalling: the cab signal and its brake.
void runAtc(SimDrive& drive);

/// The speed in km/h of cab code `code`, if the code carries one.
std::optional<int> atcSpeed(const RouteData& route, int code);

}  // namespace velimoro
