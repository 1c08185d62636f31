#pragma once

#include <array>
#include <optional>

#include "data/route_data.h"

namespace velimoro {

/// An ATS beacon on the track, derived from the route at start.
struct AtsBeacon {
  enum class Role { kStopSignal, kStationStop, kSpeed };

  long double cm = 0;  // distance along the route
  // 0 a stop-signal beacon, 5 a station stop beacon, otherwise a speed less 5 km/h.
  int kind = 0;
  Role role = Role::kStopSignal;
  int signal = -1;   // the signal a stop-signal beacon guards
  int station = -1;  // the station of a station stop beacon
  bool active = true;

  /// The speed in km/h that the beacon sets as a target.
  int targetSpeed() const { return kind + 5; }
};

/// The ATS beacons in order of distance and each signal's state of this tick.
struct SignalTables {
  static constexpr int kMaxBeacons = 3 * RouteData::kTable;

  std::array<AtsBeacon, kMaxBeacons> beacons{};
  int beaconCount = 0;
  std::array<int, RouteData::kTable> state{};  // 0 stop .. 4 four clear blocks
};

// At start the route gets its ATS beacons: a stop-signal beacon at each signal with lamps, a
// station stop beacon at each station of kind 0 and a speed beacon at each speed limit, sorted
// by distance; and every road traffic signal begins in its first phase.

/// Builds the beacons and starts the road traffic signals of `route` (needs its distances).
void prepareSignals(RouteData& route, SignalTables& tables);

/// Every road traffic signal of `route` back in its first phase.
void restartTrafficSignals(RouteData& route);

/// Entry `k` of the route's "[Speed_Signal]" list in km/h, if the route gives it.
std::optional<int> signalSpeed(const RouteData& route, int k);

/// Signals of the route that can be looked at: the count, kept within the table.
int signalCount(const RouteData& route);

}  // namespace velimoro
