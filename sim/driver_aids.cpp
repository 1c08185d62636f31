#include "sim/driver_aids.h"

#include <algorithm>
#include <cmath>

#include "media/translate.h"
#include "sim/handle_steps.h"
#include "sim/signal_codes.h"
#include "sim/signal_tables.h"

namespace velimoro {
namespace {

// A stop is judged when the train comes to rest this close to the stop point.
constexpr long double kStopJudgedWithinCm = 5000;

struct CauseWords {
  const char* name;
  const char* text;
  const char* label;
};

constexpr CauseWords kCauseWords[kBrakeCauses] = {
    {"", "", ""},
    {"vigilance", VELIMORO_TEXT_NOOP("DriverAids", "EB装置: 操作がありませんでした  非常位置で R"),
     VELIMORO_TEXT_NOOP("DriverAids", "EB装置")},
    {"ats_warning", VELIMORO_TEXT_NOOP("DriverAids", "ATS: 警報を確認しませんでした  非常位置で R"),
     VELIMORO_TEXT_NOOP("DriverAids", "ATS警報の確認なし")},
    {"ats_stop", VELIMORO_TEXT_NOOP("DriverAids", "ATS: 停止信号を越えました  非常位置で R"),
     VELIMORO_TEXT_NOOP("DriverAids", "停止信号の冒進")},
    {"ats_pattern", VELIMORO_TEXT_NOOP("DriverAids", "ATS-P: パターンを超えました  非常位置で R"),
     VELIMORO_TEXT_NOOP("DriverAids", "ATS-Pのパターン超過")},
    {"speed_check", VELIMORO_TEXT_NOOP("DriverAids", "速度照査: 確認しませんでした  非常位置で R"),
     VELIMORO_TEXT_NOOP("DriverAids", "速度照査の確認なし")},
    {"cab_signal", VELIMORO_TEXT_NOOP("DriverAids", "ATC: 信号の速度を超えました  減速で解除"),
     VELIMORO_TEXT_NOOP("DriverAids", "ATCの速度超過")},
    {"roll_back", VELIMORO_TEXT_NOOP("DriverAids", "後退検知: 逆走しました  非常位置で R"),
     VELIMORO_TEXT_NOOP("DriverAids", "後退検知")},
};

const StationEntry* stationAt(const RouteData& route, int index) {
  if (index < 0 || index >= std::clamp(route.stationCount, 0, RouteData::kTable)) return nullptr;
  return &route.stations[static_cast<std::size_t>(index)];
}

void readStop(SimDrive& drive) {
  SimState& s = drive.state;
  const StationEntry* station = stationAt(*drive.route, s.next_stop_station);
  s.aid_stop_ahead = station != nullptr && !s.run_ended;
  s.aid_stop_cm = s.aid_stop_ahead ? s.next_stop_cm - s.position_cm : 0;
  const bool atRest = std::fabs(s.speed) < 0.1L;
  if (!atRest) {
    s.aid_stopped = false;
    return;
  }
  if (station == nullptr || std::fabs(s.remain_cm) > kStopJudgedWithinCm) return;
  s.aid_stopped = true;
  s.aid_stop_result_cm = s.remain_cm;
  s.aid_stop_tolerance_cm = station->stopTolerance;
}

// The first signal whose place lies ahead, with the aspect its blocks give it now.
void readSignal(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  s.aid_signal_aspect = 999;
  s.aid_signal_cm = 0;
  const int events = std::clamp(route.eventCount, 0, RouteData::kEvents);
  for (int i = 0; i < events; ++i) {
    const RouteEvent& event = route.events[static_cast<std::size_t>(i)];
    if (event.type != 1 || static_cast<long double>(event.cm) <= s.position_cm) continue;
    if (event.index < 0 || event.index >= signalCount(route)) continue;
    const SignalEntry& signal = route.signals[static_cast<std::size_t>(event.index)];
    const int state = drive.signalTables.state[static_cast<std::size_t>(event.index)];
    int code = aspectCode(signal.signalType, state);
    if (drive.train->ATS_Type == 2 && signal.signalL >= kFirstCabCode &&
        signal.signalL <= kLastCabCode)
      code = signal.signalL;
    s.aid_signal_aspect = code;
    s.aid_signal_cm = static_cast<long double>(event.cm) - s.position_cm;
    return;
  }
}

void readLimits(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  s.aid_limit = 0;
  s.aid_next_limit = 0;
  s.aid_next_limit_cm = 0;
  long double nearest = 0;
  for (int i = 0; i < std::clamp(route.speedLimitCount, 0, RouteData::kTable); ++i) {
    const SpeedLimitEntry& limit = route.speedLimits[static_cast<std::size_t>(i)];
    if (limit.position <= s.frame && s.frame < limit.limitE) s.aid_limit = limit.limit;
    const long double ahead = static_cast<long double>(limit.positionCm) - s.position_cm;
    if (ahead > 0 && (nearest == 0 || ahead < nearest)) {
      nearest = ahead;
      s.aid_next_limit = limit.limit;
    }
  }
  s.aid_next_limit_cm = nearest;
}

// The top notch of the selected mode, counted within the mode as the notch text counts it.
int topNotchOfMode(const TrainSpec& train, int mode) {
  const int first = firstNotchOfMode(train, mode);
  int top = first - 1;
  for (int n = first; n <= std::min(train.Power, TrainSpec::kMaxNotches); ++n) {
    if (notchMode(train, n) != mode) break;
    top = n;
  }
  return std::max(0, top - (first - 1));
}

}  // namespace

const char* brakeCauseName(BrakeCause cause) {
  return kCauseWords[static_cast<int>(brakeCauseOf(static_cast<int>(cause)))].name;
}

const char* brakeCauseText(BrakeCause cause) {
  return kCauseWords[static_cast<int>(brakeCauseOf(static_cast<int>(cause)))].text;
}

const char* brakeCauseLabel(BrakeCause cause) {
  return kCauseWords[static_cast<int>(brakeCauseOf(static_cast<int>(cause)))].label;
}

BrakeCause brakeCauseNamed(std::string_view name) {
  for (int i = 1; i < kBrakeCauses; ++i)
    if (name == kCauseWords[i].name) return static_cast<BrakeCause>(i);
  return BrakeCause::kNone;
}

BrakeCause brakeCauseOf(int value) {
  return value > 0 && value < kBrakeCauses ? static_cast<BrakeCause>(value) : BrakeCause::kNone;
}

void noteAutomaticBrake(SimState& s, BrakeCause cause) {
  if (brakeCauseOf(s.brake_cause) == BrakeCause::kNone) s.brake_cause = static_cast<int>(cause);
}

void noteRefusal(SimState& s, AidRefusal refusal) {
  s.aid_refused = static_cast<int>(refusal);
  s.aid_refused_tick = s.tick_count;
}

void updateDriverAids(SimDrive& drive) {
  SimState& s = drive.state;
  if (!s.ats_eb && !s.ats_pattern_brake) s.brake_cause = 0;
  readStop(drive);
  readSignal(drive);
  readLimits(drive);
  s.aid_top_notch = topNotchOfMode(*drive.train, selectedPowerMode(s));
}

}  // namespace velimoro
