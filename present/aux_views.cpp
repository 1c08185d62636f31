#include "present/aux_views.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "media/translate.h"

namespace velimoro {
namespace {

std::string format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

// A value that may be "none" (999, or negative for a picture or table index).
std::string orNone(int value) {
  return value == 999 || value < 0 ? "-" : std::to_string(value);
}

// The speed limit nearest ahead of the train; null when none lies ahead.
const SpeedLimitEntry* nextLimitAhead(const RouteData& route, long double positionCm) {
  const SpeedLimitEntry* next = nullptr;
  for (int i = 0; i < std::clamp(route.speedLimitCount, 0, RouteData::kTable); ++i) {
    const SpeedLimitEntry& limit = route.speedLimits[static_cast<std::size_t>(i)];
    if (static_cast<long double>(limit.positionCm) > positionCm &&
        (next == nullptr || limit.positionCm < next->positionCm))
      next = &limit;
  }
  return next;
}

}  // namespace

std::vector<ValueRow> valueDisplayRows(const SimDrive& drive, double acceleration, int fps) {
  const SimState& s = drive.state;
  const auto metres = [](long double cm) {
    return format("%.1f m", static_cast<double>(cm) / 100);
  };
  const auto kpa = [](double value) { return format("%.1f kPa", value); };
  const SpeedLimitEntry* nextLimit = nextLimitAhead(*drive.route, s.position_cm);
  // An electric train has no engine to turn.
  std::string engine = "-";
  if (drive.train->Engine_Type == 0)
    engine = s.engine_running ? std::to_string(s.gear_index) + " / " + std::to_string(s.gear)
                              : media::translate("ValueDisplay", "停止中");
  std::vector<ValueRow> rows = {
      {"Speed", format("%.2f km/h", static_cast<double>(s.speed))},
      {"BC ", kpa(s.bc.toDouble())},
      {"SAP ", kpa(s.sap.toDouble())},
      {"ER ", kpa(static_cast<double>(s.er))},
      {"MR ", kpa(s.mr.toDouble())},
      {"BP ", kpa(s.bp.toDouble())},
      {"Accelaration", format("%.2f km/h/s", acceleration)},
      {"Power", format("%.0f N", s.force.toDouble())},
      {"atsp_limit_speed", orNone(s.atsp_target)},
      {"pattern_speed", orNone(s.atsp_pattern_speed)},
      {"Ahead", orNone(s.signal_in_view)},
      {"Resistance", format("%.0f N", s.resistance.toDouble())},
      {"Slope", format("%.2f Permil", s.gradient.toDouble())},
      {"Frame", std::to_string(s.frame)},
      {"Projected", format("%.2f km/h", s.projected_speed.toDouble())},
      {"Remain", metres(s.remain_cm)},
      {"Total", metres(s.position_cm)},
      {"Next sta", std::to_string(s.next_stop_station)},
      {"rpm", engine},
      {"Signal", orNone(s.signal_aspect)},
      {"Notch", std::to_string(s.power_notch) + " / " + std::to_string(s.brake_notch)},
      {"Frame_sub", std::to_string(s.frame_accum) + " / " + std::to_string(s.frame_scale)},
      {"Drawing", s.run_mode == 0 ? media::translate("ValueDisplay", "運転中")
                                  : media::fill(media::translate("ValueDisplay", "映像 %1"),
                                                {std::to_string(s.run_mode)})},
      {"Current", std::to_string(s.ammeter) + " A"},
      {"Gear", s.gear_text},
      {"Movie", std::to_string(s.video_end_frame)},
      {"Sign", orNone(s.limit_shown)},
      {"Sound", std::to_string(s.squeal_volume)},
      {"atsp_limit_dist", metres(s.atsp_target_cm)},
      {"next_limit_dist",
       nextLimit != nullptr
           ? metres(static_cast<long double>(nextLimit->positionCm) - s.position_cm)
           : "-"},
      {"next_limit_speed", nextLimit != nullptr ? std::to_string(nextLimit->limit) + " km/h" : "-"},
      {"pattern_speed_SN", s.pattern_text},
      {"FPS", std::to_string(fps)},
      {"Friction", format("%.4f", s.adhesion.toDouble())},
  };
  // The five signals ahead, from the first whose range the train has not passed: number and
  // state (0 stop .. 4 four clear blocks).
  const RouteData& route = *drive.route;
  int ahead = 0;
  while (ahead < route.signalCount &&
         route.signals[static_cast<std::size_t>(ahead)].showTo <= s.frame)
    ++ahead;
  for (int i = 0; i < 5; ++i) {
    const int signal = ahead + i;
    rows.push_back(
        {"signal" + std::to_string(i + 1),
         signal < route.signalCount
             ? std::to_string(signal) + " " +
                   std::to_string(drive.signalTables.state[static_cast<std::size_t>(signal)])
             : "0 0"});
  }
  return rows;
}

EasyCabLamps easyCabLamps(const SimState& s) {
  EasyCabLamps lamps;
  lamps.neutral = s.power_handle == 0 && s.brake_handle == 0;
  for (int n = 1; n <= 5; ++n)
    lamps.power[static_cast<std::size_t>(n - 1)] = s.power_handle >= n;
  for (int n = 1; n <= 8; ++n)
    lamps.brake[static_cast<std::size_t>(n - 1)] = s.brake_handle <= -n;
  return lamps;
}

}  // namespace velimoro
