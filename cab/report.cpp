#include "cab/report.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>

#include "cab/session.h"
#include "media/translate.h"
#include "sim/clock.h"
#include "sim/driver_aids.h"

namespace velimoro {
namespace {

constexpr int kPassingPoint = 1;
constexpr int kStopPositionOnly = 3;
// A rest this far before a stop point, or beyond its window, counts as a stop for that station.
constexpr long double kNearShortCm = 5000;
constexpr long double kNearOverCm = 10000;
// A new sample of the plot once the train has run 5 m or changed speed by 1 km/h.
constexpr long double kSampleCm = 500;
constexpr long double kSampleSpeed = 1;

// The train stands as the station work judges it: |speed| under 0.1 km/h.
bool standing(const SimState& s) {
  return std::fabs(s.speed) < 0.1L;
}

// A brake acts: the effective brake notch, as the motion model reads it, or the protection's.
bool braking(const SimState& s) {
  return s.brake_notch < 0 || s.ats_eb || s.ats_pattern_brake;
}

bool isEmergency(const SimState& s, const TrainSpec& train) {
  return s.brake_notch == -train.Brake;
}

int floorDiv(long double value, long double unit) {
  return static_cast<int>(std::floor(value / unit));
}

}  // namespace

std::optional<int> ReportStation::dwell() const {
  if (!arrival || !departure || outcome != StationOutcome::kStopped) return std::nullopt;
  return *departure - *arrival;
}

std::optional<int> ReportStation::late() const {
  if (scheduledDeparture <= 0) return std::nullopt;
  if (outcome != StationOutcome::kStopped && outcome != StationOutcome::kStart &&
      outcome != StationOutcome::kPassingPoint) {
    return std::nullopt;
  }
  if (departure) return *departure - scheduledDeparture;
  if (arrival && *arrival > scheduledDeparture) return *arrival - scheduledDeparture;
  return std::nullopt;
}

RunReportCollector::RunReportCollector(const Drive& drive) : m_drive(drive) {
  restart(drive.setup.startFrame >= 0 ? -1 : drive.setup.startIndex);
}

void RunReportCollector::restart(int startStation) {
  const Drive& drive = m_drive;
  const RouteData& route = *drive.route;
  const SimState& s = drive.state;
  m_report = RunReport{};
  m_report.lineName = route.lineName;
  m_report.trainName = drive.setup.trainFile;
  m_report.startCm = s.position_cm;
  m_report.endCm = s.position_cm;
  m_report.startTick = s.fast_tick_count;
  m_report.endTick = s.fast_tick_count;
  m_lastCm = s.position_cm;

  const int count = std::clamp(route.stationCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const StationEntry& entry = route.stations[static_cast<std::size_t>(i)];
    // Stations behind the start are no part of the run.
    if (startStation >= 1 ? i < startStation
                          : static_cast<long double>(entry.stopMaxCm) < s.position_cm) {
      continue;
    }
    ReportStation station;
    station.index = i;
    station.name = entry.name;
    station.kind = entry.kind;
    station.stopCm = static_cast<long double>(entry.stopCm);
    station.toleranceCm = entry.stopTolerance;
    station.scheduledDeparture = entry.departTime;
    if (startStation >= 1 && i == startStation) station.outcome = StationOutcome::kStart;
    m_report.stations.push_back(station);
  }

  const int limits = std::clamp(route.speedLimitCount, 0, RouteData::kTable);
  for (int i = 0; i < limits; ++i) {
    const SpeedLimitEntry& entry = route.speedLimits[static_cast<std::size_t>(i)];
    ReportLimit limit;
    limit.limit = entry.limit;
    limit.fromCm = static_cast<long double>(entry.positionCm);
    limit.toCm = std::max(limit.fromCm, distanceOfFrame(route, entry.limitE));
    m_report.limits.push_back(limit);
  }
  const int signals = std::clamp(route.signalCount, 0, RouteData::kTable);
  for (int i = 0; i < signals; ++i) {
    m_report.signalCm.push_back(
        distanceOfFrame(route, route.signals[static_cast<std::size_t>(i)].position));
  }

  m_wasStanding = standing(s);
  m_restTick = s.fast_tick_count;
  m_atsWarning = s.ats_warning;
  m_patternBrake = s.ats_pattern_brake;
  m_atsEb = s.ats_eb;
  m_driverEb = isEmergency(s, *drive.train);
  addSample(true);
}

void RunReportCollector::addTick() {
  const SimState& s = m_drive.state;
  const long double moved = std::fabs(s.position_cm - m_lastCm);
  m_report.distanceCm += moved;
  if (!standing(s)) {
    m_report.runningTicks = static_cast<int>(std::clamp<std::int64_t>(
        std::int64_t{m_report.runningTicks} + s.fast_tick_count - m_report.endTick,
        std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  }
  m_report.endTick = s.fast_tick_count;
  m_report.endCm = s.position_cm;
  m_report.topSpeed = std::max(m_report.topSpeed, std::fabs(s.speed));
  m_report.runEnded = s.run_ended;
  trackStations();
  trackLimits();
  trackEvents();
  addSample(false);
  m_lastCm = s.position_cm;
  m_wasStanding = standing(s);
}

void RunReportCollector::trackStations() {
  const SimState& s = m_drive.state;
  const int tick = s.fast_tick_count;
  const bool restBegins = standing(s) && !m_wasStanding;
  if (restBegins) m_restTick = tick;
  for (ReportStation& station : m_report.stations) {
    const StationEntry& entry = m_drive.route->stations[static_cast<std::size_t>(station.index)];
    const StationFlags& flags = s.stations[static_cast<std::size_t>(station.index)];
    // Stops of kind 3 and above have no arrival of their own: standing in the window is one.
    const bool arrived =
        flags.arrived || (station.kind >= kStopPositionOnly && flags.in_window && standing(s));
    const long double beyond = s.position_cm - station.stopCm;
    const bool crossed = m_lastCm < station.stopCm && s.position_cm >= station.stopCm;

    if (station.outcome == StationOutcome::kStart) {
      if (!station.departure && !standing(s)) station.departure = tick;
      continue;
    }
    if (station.kind == kPassingPoint) {
      if (crossed && !station.departure) {
        station.outcome = StationOutcome::kPassingPoint;
        station.departure = tick;
        station.passSpeed = s.speed;
      }
      continue;
    }
    if (station.outcome == StationOutcome::kStopped) {
      if (!station.departure && !standing(s)) station.departure = tick;
      continue;
    }
    if (crossed) station.passSpeed = s.speed;
    if (restBegins && beyond >= -kNearShortCm && beyond <= kNearOverCm) {
      ++station.restarts;
      if (s.position_cm > static_cast<long double>(entry.stopMaxCm)) {
        station.outcome = StationOutcome::kOverran;
        station.arrival = tick;
        station.stopErrorCm = beyond;
      }
    }
    if (arrived) {
      // The station judged the arrival, perhaps only when the doors opened: the train arrived
      // when this rest began.
      station.outcome = StationOutcome::kStopped;
      station.arrival = standing(s) ? m_restTick : tick;
      station.departure.reset();
      station.stopErrorCm = beyond;
      station.passSpeed.reset();
      station.restarts = std::max(0, station.restarts - 1);
    } else if (station.outcome == StationOutcome::kNotReached && !standing(s) &&
               s.position_cm > static_cast<long double>(entry.stopMaxCm)) {
      station.outcome = StationOutcome::kPassed;
      station.departure = tick;
    }
  }
}

void RunReportCollector::trackLimits() {
  const SimState& s = m_drive.state;
  const RouteData& route = *m_drive.route;
  for (std::size_t i = 0; i < m_report.limits.size(); ++i) {
    const SpeedLimitEntry& entry = route.speedLimits[i];
    // The limit applies while the train's frame lies in its section, as its sign shows it.
    if (s.frame < entry.position || s.frame >= entry.limitE) continue;
    ReportLimit& limit = m_report.limits[i];
    const long double speed = std::fabs(s.speed);
    if (!limit.entered || speed > limit.topSpeed) {
      limit.topSpeed = speed;
      limit.topAtCm = s.position_cm;
      limit.topAtTick = s.fast_tick_count;
    }
    limit.entered = true;
  }
}

std::string ReportEvent::what() const {
  if (cause.empty()) return eventText(kind);
  const BrakeCause named = brakeCauseNamed(cause);
  const std::string label =
      named == BrakeCause::kNone ? cause : media::translate("DriverAids", brakeCauseLabel(named));
  return media::fill(media::translate("RunReport", "%1（%2）"), {eventText(kind), label});
}

void RunReportCollector::trackEvents() {
  const SimState& s = m_drive.state;
  const auto rising = [&](bool now, bool& before, ReportEventKind kind) {
    if (now && !before) {
      const bool automatic =
          kind == ReportEventKind::kPatternBrake || kind == ReportEventKind::kAtsEmergency;
      m_report.events.push_back(
          ReportEvent{kind, s.fast_tick_count, s.position_cm, s.speed,
                      automatic ? brakeCauseName(brakeCauseOf(s.brake_cause)) : ""});
    }
    before = now;
  };
  rising(s.ats_warning, m_atsWarning, ReportEventKind::kAtsAlarm);
  rising(s.ats_pattern_brake, m_patternBrake, ReportEventKind::kPatternBrake);
  rising(s.ats_eb, m_atsEb, ReportEventKind::kAtsEmergency);
  // The driver's emergency brake counts where the train still ran; at rest it is a parking brake.
  rising(isEmergency(s, *m_drive.train) && !standing(s), m_driverEb,
         ReportEventKind::kDriverEmergency);
}

void RunReportCollector::addSample(bool force) {
  const SimState& s = m_drive.state;
  const ReportSample sample{s.position_cm, std::fabs(s.speed), s.fast_tick_count, braking(s)};
  std::vector<ReportSample>& samples = m_report.samples;
  if (!force && !samples.empty()) {
    const ReportSample& last = samples.back();
    if (std::fabs(sample.cm - last.cm) < kSampleCm &&
        std::fabs(sample.speed - last.speed) < kSampleSpeed && sample.braking == last.braking &&
        (sample.speed == 0) == (last.speed == 0)) {
      return;
    }
  }
  samples.push_back(sample);
}

RunReport RunReportCollector::report() const {
  RunReport report = m_report;
  const SimState& s = m_drive.state;
  const ReportSample last{s.position_cm, std::fabs(s.speed), s.fast_tick_count, braking(s)};
  if (report.samples.empty() || report.samples.back().tick != last.tick) {
    report.samples.push_back(last);
  }
  scoreReport(report);
  return report;
}

void attachReport(CabSession& session, RunReportCollector& collector) {
  std::function<void()> before = session.afterTick;
  session.afterTick = [before, &collector] {
    if (before) before();
    collector.addTick();
  };
  std::function<void(int)> beforeMove = session.afterMove;
  session.afterMove = [beforeMove, &collector](int station) {
    if (beforeMove) beforeMove(station);
    collector.restart(station);
  };
}

std::string scoreRules() {
  return media::translate(
      "RunReport",
      "100点から減点します。停車駅ごとに、停止位置とのずれ50 cmごとに1点 (最大10点)、"
      "停止位置を直すための停車1回ごとに1点、停止範囲を越えて停まると15点、停車駅の通過は20点。"
      "駅ごとに、発車時刻 (通過駅では通過時刻、発車時刻を過ぎて着いたときは到着時刻) "
      "がダイヤから10秒ずれるごとに1点 (最大10点)。"
      "速度制限区間ごとに、制限を超えた速度1 km/hごとに1点 (端数は切り上げ、最大20点)。"
      "ATS警報、パターンブレーキ、走行中に運転士がかけた非常ブレーキは1回5点、"
      "ATSの非常ブレーキは1回10点。0点より下にはなりません。到達しなかった駅は採点しません。");
}

void scoreReport(RunReport& report) {
  std::vector<ScoreItem>& items = report.deductions;
  items.clear();
  const auto add = [&](std::string what, int points) {
    if (points > 0) items.push_back(ScoreItem{std::move(what), points});
  };
  const auto named = [](const char* text, const std::string& value) {
    return media::fill(media::translate("RunReport", text), {value});
  };
  for (const ReportStation& station : report.stations) {
    switch (station.outcome) {
      case StationOutcome::kStopped:
        add(named(VELIMORO_TEXT_NOOP("RunReport", "%1: 停止位置のずれ"), station.name),
            std::min(10, floorDiv(std::fabs(*station.stopErrorCm), 50)));
        add(named(VELIMORO_TEXT_NOOP("RunReport", "%1: 停止位置を直すための停車"), station.name),
            station.restarts);
        break;
      case StationOutcome::kOverran:
        add(named(VELIMORO_TEXT_NOOP("RunReport", "%1: 停止範囲を越えて停車"), station.name), 15);
        break;
      case StationOutcome::kPassed:
        add(named(VELIMORO_TEXT_NOOP("RunReport", "%1: 停車駅の通過"), station.name), 20);
        break;
      default:
        break;
    }
    if (const std::optional<int> late = station.late()) {
      add(named(*late < 0 ? VELIMORO_TEXT_NOOP("RunReport", "%1: 早発")
                          : VELIMORO_TEXT_NOOP("RunReport", "%1: 遅れ"),
                station.name),
          std::min(10, std::abs(*late) / (30 * 10)));
    }
  }
  for (const ReportLimit& limit : report.limits) {
    if (!limit.entered || limit.excess() <= 0) continue;
    add(named(VELIMORO_TEXT_NOOP("RunReport", "%1 km/h 制限の超過"), std::to_string(limit.limit)),
        std::min(20, static_cast<int>(std::ceil(limit.excess()))));
  }
  for (const ReportEvent& event : report.events) {
    add(eventText(event.kind), event.kind == ReportEventKind::kAtsEmergency ? 10 : 5);
  }
  int total = 0;
  for (const ScoreItem& item : items)
    total += item.points;
  report.score = std::max(0, 100 - total);
}

std::string reportClock(int ticks) {
  return clockText(clockTime(std::max(0, ticks)));
}

std::string reportDelta(int ticks) {
  const int seconds = std::abs(ticks) / 30;
  std::string text = ticks < 0 ? "-" : "+";
  text += std::to_string(seconds / 60) + ":";
  const int rest = seconds % 60;
  if (rest < 10) text += '0';
  return text + std::to_string(rest);
}

std::string reportStopText(long double errorCm) {
  const long double cm = std::round(errorCm);
  const auto rounded = [](long double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0Lf", value);
    return std::string(text);
  };
  if (cm == 0) return media::translate("RunReport", "停止位置ちょうど");
  return media::fill(
      media::translate("RunReport", cm < 0 ? VELIMORO_TEXT_NOOP("RunReport", "%1 cm 手前")
                                           : VELIMORO_TEXT_NOOP("RunReport", "%1 cm 行き過ぎ")),
      {rounded(std::fabs(cm))});
}

namespace {

struct OutcomeWords {
  const char* key;
  const char* text;
};

// By StationOutcome.
constexpr OutcomeWords kOutcomeWords[] = {
    {"start", VELIMORO_TEXT_NOOP("RunReport", "運転開始")},
    {"stopped", VELIMORO_TEXT_NOOP("RunReport", "停車")},
    {"overran", VELIMORO_TEXT_NOOP("RunReport", "行き過ぎ")},
    {"passed without stopping", VELIMORO_TEXT_NOOP("RunReport", "停車せずに通過")},
    {"passing point", VELIMORO_TEXT_NOOP("RunReport", "通過駅")},
    {"not reached", VELIMORO_TEXT_NOOP("RunReport", "未到達")},
};

// By ReportEventKind.
constexpr OutcomeWords kEventWords[] = {
    {"ATS alarm", VELIMORO_TEXT_NOOP("RunReport", "ATS警報")},
    {"protection brake", VELIMORO_TEXT_NOOP("RunReport", "パターンブレーキ")},
    {"ATS emergency brake", VELIMORO_TEXT_NOOP("RunReport", "ATSの非常ブレーキ")},
    {"emergency brake by the driver", VELIMORO_TEXT_NOOP("RunReport", "運転士の非常ブレーキ")},
};

const OutcomeWords& wordsOf(StationOutcome outcome) {
  const auto i = static_cast<std::size_t>(outcome);
  return i < std::size(kOutcomeWords) ? kOutcomeWords[i]
                                      : kOutcomeWords[std::size(kOutcomeWords) - 1];
}

const OutcomeWords& wordsOf(ReportEventKind kind) {
  const auto i = static_cast<std::size_t>(kind);
  return i < std::size(kEventWords) ? kEventWords[i] : kEventWords[std::size(kEventWords) - 1];
}

}  // namespace

std::string outcomeText(StationOutcome outcome) {
  return media::translate("RunReport", wordsOf(outcome).text);
}

std::string eventText(ReportEventKind kind) {
  return media::translate("RunReport", wordsOf(kind).text);
}

const char* outcomeKey(StationOutcome outcome) {
  return wordsOf(outcome).key;
}

const char* eventKey(ReportEventKind kind) {
  return wordsOf(kind).key;
}

}  // namespace velimoro
