#include "sim/ats_pattern.h"

#include <cmath>
#include <string>

#include "media/translate.h"
#include "sim/driver_aids.h"
#include "sim/handle_texts.h"
#include "sim/signal_codes.h"
#include "sim/signal_tables.h"
#include "sim/speed_limits.h"

namespace velimoro {
namespace {

constexpr int kNone = 999;
constexpr int kClear = 0;
constexpr int kApproach = 1;
constexpr int kBraking = 2;
constexpr long double kLookAheadCm = 60000;
// A stop signal's target lies this far before its beacon.
constexpr long double kStopMarginCm = 1500;
constexpr int kStationStopSpeed = 5;
// The pattern is taken with 80 % of the train's brake rate.
constexpr long double kBrakeShare = 0.8L;
// The "[Speed_Signal]" entry at or above which a pattern means nothing.
constexpr int kPatternCeilingEntry = 4;
// The distance text shows when the train runs within this of its pattern.
constexpr int kTextMargin = 30;
constexpr int kLowestTextTarget = 11;

bool beaconAhead(const AtsBeacon& beacon, long double positionCm) {
  const long double ahead = beacon.cm - positionCm;
  return ahead > 0 && ahead < kLookAheadCm;
}

std::string wholeMetres(long double cm) {
  return std::to_string(static_cast<long long>(std::trunc(cm / 100)));
}

// The first speed beacon ahead whose speed the train is above: "<km/h>km/h 制限まで<m>m".
std::string speedBeaconText(const SimDrive& drive) {
  const SimState& s = drive.state;
  const SignalTables& tables = drive.signalTables;
  for (int i = 0; i < tables.beaconCount; ++i) {
    const AtsBeacon& beacon = tables.beacons[static_cast<std::size_t>(i)];
    if (beacon.role != AtsBeacon::Role::kSpeed || !beaconAhead(beacon, s.position_cm)) continue;
    if (s.speed <= beacon.targetSpeed()) continue;
    return media::fill(
        media::translate("AtsPattern", "%1km/h 制限まで%2m"),
        {std::to_string(beacon.targetSpeed()), wholeMetres(beacon.cm - s.position_cm)});
  }
  return std::string();
}

void changePatternState(SimDrive& drive, int next) {
  SimState& s = drive.state;
  if (next == s.atsp_state) return;
  s.atsp_state = next;
  if (next == kApproach) s.lamp_atsp1 = true;
  if (next == kBraking) {
    s.ats_pattern_brake = true;
    noteAutomaticBrake(s, BrakeCause::kAtsPattern);
    s.lamp_atsp1 = true;
    s.lamp_atsp2 = true;
  }
  if (next == kClear) {
    s.ats_pattern_brake = false;
    s.lamp_atsp1 = false;
    s.lamp_atsp2 = false;
  }
  masconupdate(drive);
}

}  // namespace

PatternTarget patternTarget(const SimDrive& drive) {
  const SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const SignalTables& tables = drive.signalTables;
  for (int i = 0; i < tables.beaconCount; ++i) {
    const AtsBeacon& beacon = tables.beacons[static_cast<std::size_t>(i)];
    if (!beaconAhead(beacon, s.position_cm)) continue;
    const long double toBeacon = beacon.cm - s.position_cm;
    switch (beacon.role) {
      case AtsBeacon::Role::kStopSignal: {
        if (beacon.signal < 0 || beacon.signal >= signalCount(route)) break;
        const int lampType = route.signals[static_cast<std::size_t>(beacon.signal)].signalType;
        if (tables.state[static_cast<std::size_t>(beacon.signal)] == 0 &&
            signalHasLamps(lampType)) {
          return {0, toBeacon - kStopMarginCm, false};
        }
        break;
      }
      case AtsBeacon::Role::kStationStop:
        if (beacon.station < 0 || beacon.station >= RouteData::kTable) break;
        if (s.speed > kStationStopSpeed &&
            !s.stations[static_cast<std::size_t>(beacon.station)].arrived) {
          return {kStationStopSpeed, toBeacon, true};
        }
        break;
      case AtsBeacon::Role::kSpeed:
        if (beacon.active) return {beacon.targetSpeed(), toBeacon, false};
        break;
    }
  }
  return {};
}

void runAtsPattern(SimDrive& drive) {
  SimState& s = drive.state;
  const PatternTarget target = patternTarget(drive);
  int pattern = kNone;
  if (target.speed != kNone) {
    pattern = brakingCurveSpeed(target.speed, s.brake_rate_first.toLongDouble(), kBrakeShare,
                                target.cm / 100);
    const auto ceiling = signalSpeed(*drive.route, kPatternCeilingEntry);
    if (!ceiling || pattern >= *ceiling) pattern = kNone;
  }
  s.atsp_target = target.speed;
  s.atsp_target_cm = target.cm;
  s.atsp_pattern_speed = pattern;

  int next = s.atsp_state;
  if (target.speed < s.speed && pattern < s.speed) {
    next = kBraking;
  } else if (!s.ats_pattern_brake) {
    next = pattern < s.speed ? kApproach : kClear;
  }
  changePatternState(drive, next);

  if (target.stationStop && s.speed > kStationStopSpeed && target.cm > 0) {
    s.pattern_text = media::translate("AtsPattern", "停車パターン発生中");
  } else if (target.speed != kNone && target.speed >= kLowestTextTarget &&
             pattern - s.speed < kTextMargin && s.speed > target.speed && target.cm > 0) {
    s.pattern_text = media::fill(media::translate("AtsPattern", "%1km/h 照査まで%2m"),
                                 {std::to_string(target.speed), wholeMetres(target.cm)});
  } else {
    s.pattern_text = speedBeaconText(drive);
  }
}

}  // namespace velimoro
