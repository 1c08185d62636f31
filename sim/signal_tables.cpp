#include "sim/signal_tables.h"

#include <algorithm>

#include "sim/signal_codes.h"
#include "sim/sim_drive.h"

namespace velimoro {
namespace {

// A station of this kind is a stop that a station stop beacon guards.
constexpr int kStoppingStation = 0;
constexpr int kStationStopKind = 5;
// A speed beacon's kind is its speed less this, so that its target is the speed.
constexpr int kSpeedBeaconOffset = 5;
// Speeds beyond any train's are kept within this, so that the kind cannot overflow.
constexpr int kMaxBeaconSpeed = 100000;

void addBeacon(SignalTables& tables, const AtsBeacon& beacon) {
  if (tables.beaconCount >= SignalTables::kMaxBeacons) return;
  tables.beacons[static_cast<std::size_t>(tables.beaconCount++)] = beacon;
}

}  // namespace

void prepareSignals(RouteData& route, SignalTables& tables) {
  tables.beaconCount = 0;
  tables.state.fill(0);
  for (int i = 0; i < signalCount(route); ++i) {
    const SignalEntry& signal = route.signals[static_cast<std::size_t>(i)];
    if (!signalHasLamps(signal.signalType)) continue;
    addBeacon(tables, {distanceOfFrame(route, signal.position), 0, AtsBeacon::Role::kStopSignal, i,
                       -1, true});
  }
  const int stations = std::clamp(route.stationCount, 0, RouteData::kTable);
  for (int k = 0; k < stations; ++k) {
    const StationEntry& station = route.stations[static_cast<std::size_t>(k)];
    if (station.kind != kStoppingStation) continue;
    addBeacon(tables, {static_cast<long double>(station.stopCm), kStationStopKind,
                       AtsBeacon::Role::kStationStop, -1, k, true});
  }
  const int limits = std::clamp(route.speedLimitCount, 0, RouteData::kTable);
  for (int k = 0; k < limits; ++k) {
    const SpeedLimitEntry& limit = route.speedLimits[static_cast<std::size_t>(k)];
    const int speed = std::clamp(limit.limit, -kMaxBeaconSpeed, kMaxBeaconSpeed);
    addBeacon(tables, {static_cast<long double>(limit.positionCm), speed - kSpeedBeaconOffset,
                       AtsBeacon::Role::kSpeed, -1, -1, true});
  }
  // Beacons at one distance keep the order above: signals, stations, limits.
  std::stable_sort(tables.beacons.begin(), tables.beacons.begin() + tables.beaconCount,
                   [](const AtsBeacon& a, const AtsBeacon& b) { return a.cm < b.cm; });
  restartTrafficSignals(route);
}

void restartTrafficSignals(RouteData& route) {
  const int traffic = std::clamp(route.trafficSignalCount, 0, RouteData::kTable);
  for (int i = 0; i < traffic; ++i) {
    route.trafficSignals[static_cast<std::size_t>(i)].runtime = {};
    route.trafficSignals[static_cast<std::size_t>(i)].runtime[0] = 1;
  }
}

std::optional<int> signalSpeed(const RouteData& route, int k) {
  if (k < 0 || k >= std::min(route.speedSignalCount, RouteData::kSpeedSignals)) return std::nullopt;
  return route.speedSignal[static_cast<std::size_t>(k)];
}

int signalCount(const RouteData& route) {
  return std::clamp(route.signalCount, 0, RouteData::kTable);
}

}  // namespace velimoro
