#include "cab/report_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "cab/report_plot.h"
#include "media/translate.h"

namespace velimoro {
namespace {

constexpr int kPlotWidth = 960;
constexpr int kPlotHeight = 320;

std::string fixed(long double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*Lf", decimals, value);
  return text;
}

std::string jsonText(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string htmlText(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

template <typename T, typename Show>
std::string orNull(const std::optional<T>& value, Show show) {
  return value ? show(*value) : "null";
}

std::string seconds(int ticks) {
  return fixed(static_cast<long double>(ticks) / 30, 1);
}

std::string text(const char* source) {
  return media::translate("RunReport", source);
}

std::string text(const char* source, std::initializer_list<std::string_view> values) {
  return media::fill(media::translate("RunReport", source), values);
}

// A duration of ticks as "m:ss".
std::string duration(int ticks) {
  return reportDelta(ticks).substr(1);
}

}  // namespace

void writeReportJson(std::ostream& out, const RunReport& report) {
  const auto clock = [](int t) { return jsonText(reportClock(t)); };
  const auto number = [](int t) { return std::to_string(t); };
  out << "{\n";
  out << "  \"line\": " << jsonText(report.lineName) << ",\n";
  out << "  \"train\": " << jsonText(report.trainName) << ",\n";
  out << "  \"start_clock\": " << clock(report.startTick) << ",\n";
  out << "  \"end_clock\": " << clock(report.endTick) << ",\n";
  out << "  \"start_m\": " << fixed(report.startCm / 100, 2) << ",\n";
  out << "  \"end_m\": " << fixed(report.endCm / 100, 2) << ",\n";
  out << "  \"distance_m\": " << fixed(report.distanceCm / 100, 2) << ",\n";
  out << "  \"time_s\": " << seconds(report.endTick - report.startTick) << ",\n";
  out << "  \"running_time_s\": " << seconds(report.runningTicks) << ",\n";
  out << "  \"top_speed_kmh\": " << fixed(report.topSpeed, 2) << ",\n";
  out << "  \"run_ended\": " << (report.runEnded ? "true" : "false") << ",\n";
  out << "  \"score\": " << report.score << ",\n";
  out << "  \"score_rules\": " << jsonText(scoreRules()) << ",\n";
  out << "  \"deductions\": [";
  for (std::size_t i = 0; i < report.deductions.size(); ++i) {
    const ScoreItem& item = report.deductions[i];
    out << (i ? ",\n" : "\n") << "    {\"what\": " << jsonText(item.what)
        << ", \"points\": " << item.points << "}";
  }
  out << "\n  ],\n  \"stations\": [";
  for (std::size_t i = 0; i < report.stations.size(); ++i) {
    const ReportStation& s = report.stations[i];
    out << (i ? ",\n" : "\n") << "    {\"index\": " << s.index << ", \"name\": " << jsonText(s.name)
        << ", \"kind\": " << s.kind << ", \"outcome\": " << jsonText(outcomeKey(s.outcome))
        << ", \"stop_m\": " << fixed(s.stopCm / 100, 2) << ", \"scheduled_departure\": "
        << (s.scheduledDeparture > 0 ? clock(s.scheduledDeparture) : "null")
        << ", \"scheduled_departure_tick\": "
        << (s.scheduledDeparture > 0 ? number(s.scheduledDeparture) : "null")
        << ", \"arrival\": " << orNull(s.arrival, clock)
        << ", \"arrival_tick\": " << orNull(s.arrival, number)
        << ", \"departure\": " << orNull(s.departure, clock)
        << ", \"departure_tick\": " << orNull(s.departure, number)
        << ", \"late_s\": " << orNull(s.late(), [](int t) { return seconds(t); })
        << ", \"dwell_s\": " << orNull(s.dwell(), [](int t) { return seconds(t); })
        << ", \"stop_error_cm\": "
        << orNull(s.stopErrorCm, [](long double cm) { return fixed(cm, 1); })
        << ", \"pass_speed_kmh\": "
        << orNull(s.passSpeed, [](long double v) { return fixed(v, 1); })
        << ", \"extra_stops\": " << s.restarts << "}";
  }
  out << "\n  ],\n  \"limits\": [";
  bool first = true;
  for (const ReportLimit& l : report.limits) {
    if (!l.entered) continue;
    out << (first ? "\n" : ",\n") << "    {\"limit_kmh\": " << l.limit
        << ", \"from_m\": " << fixed(l.fromCm / 100, 2) << ", \"to_m\": " << fixed(l.toCm / 100, 2)
        << ", \"top_speed_kmh\": " << fixed(l.topSpeed, 2)
        << ", \"top_at_m\": " << fixed(l.topAtCm / 100, 2) << ", \"top_at\": " << clock(l.topAtTick)
        << ", \"excess_kmh\": " << fixed(l.excess(), 2) << "}";
    first = false;
  }
  out << "\n  ],\n  \"events\": [";
  for (std::size_t i = 0; i < report.events.size(); ++i) {
    const ReportEvent& e = report.events[i];
    out << (i ? ",\n" : "\n") << "    {\"kind\": " << jsonText(eventKey(e.kind))
        << ", \"cause\": " << jsonText(e.cause) << ", \"at\": " << clock(e.tick)
        << ", \"tick\": " << e.tick << ", \"at_m\": " << fixed(e.cm / 100, 2)
        << ", \"speed_kmh\": " << fixed(e.speed, 1) << "}";
  }
  out << "\n  ],\n  \"samples\": [";
  for (std::size_t i = 0; i < report.samples.size(); ++i) {
    const ReportSample& s = report.samples[i];
    out << (i % 6 ? ", " : (i ? ",\n    " : "\n    ")) << "[" << fixed(s.cm / 100, 2) << ", "
        << fixed(s.speed, 2) << ", " << s.tick << ", " << (s.braking ? 1 : 0) << "]";
  }
  out << "\n  ]\n}\n";
}

void writeReportHtml(std::ostream& out, const RunReport& report) {
  const auto th = [](const char* source) { return "<th>" + htmlText(text(source)) + "</th>"; };
  // The page's language is the one its texts are in.
  out << "<!DOCTYPE html>\n<html lang=\"" << text(VELIMORO_TEXT_NOOP("RunReport", "ja"))
      << "\">\n<head>\n<meta charset=\"utf-8\">\n"
      << "<title>"
      << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "運転成績: %1"), {report.lineName}))
      << "</title>\n"
      << "<style>\nbody{font-family:sans-serif;margin:1.5em;color:#222}\n"
      << "table{border-collapse:collapse;margin:0.5em 0 1.5em}\n"
      << "th,td{border:1px solid #ccc;padding:0.25em 0.6em;text-align:right}\n"
      << "th{background:#f0f0f0}td.name{text-align:left}\n"
      << ".score{font-size:1.6em;font-weight:bold}.key span{margin-right:1.2em}\n</style>\n"
      << "</head>\n<body>\n";
  out << "<h1>" << htmlText(report.lineName) << "</h1>\n";
  std::string summary =
      text(VELIMORO_TEXT_NOOP("RunReport",
                              "%1、%2 ～ %3: %4 km、所要時間 %5 (うち走行 %6)、最高速度 %7 km/h。"),
           {report.trainName, reportClock(report.startTick), reportClock(report.endTick),
            fixed(report.distanceCm / 100000, 2), duration(report.endTick - report.startTick),
            duration(report.runningTicks), fixed(report.topSpeed, 1)});
  if (!report.runEnded)
    summary += text(VELIMORO_TEXT_NOOP("RunReport", "運転は終点に着く前に終わりました。"));
  out << "<p>" << htmlText(summary) << "</p>\n";
  out << "<p class=\"score\">"
      << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "得点 %1"), {std::to_string(report.score)}))
      << "</p>\n";
  out << plotSvg(report, kPlotWidth, kPlotHeight);
  out << "<p class=\"key\"><span style=\"color:#1a7f37\">&#9473; "
      << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "速度")))
      << "</span><span style=\"color:#7030a0\">&#9473; "
      << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "ブレーキ使用")))
      << "</span><span style=\"color:#d02020\">&#9473; "
      << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "速度制限")))
      << "</span><span style=\"color:#2060c0\">| "
      << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "信号")))
      << "</span><span style=\"color:#c00000\">&#9679; "
      << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "ATS・非常ブレーキ"))) << "</span></p>\n";

  out << "<h2>" << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "駅ごとの結果")))
      << "</h2>\n<table>\n<tr>" << th(VELIMORO_TEXT_NOOP("RunReport", "駅"))
      << th(VELIMORO_TEXT_NOOP("RunReport", "結果")) << th(VELIMORO_TEXT_NOOP("RunReport", "到着"))
      << th(VELIMORO_TEXT_NOOP("RunReport", "発車")) << th(VELIMORO_TEXT_NOOP("RunReport", "定刻"))
      << th(VELIMORO_TEXT_NOOP("RunReport", "ダイヤとの差"))
      << th(VELIMORO_TEXT_NOOP("RunReport", "停車時間"))
      << th(VELIMORO_TEXT_NOOP("RunReport", "停止位置")) << "</tr>\n";
  for (const ReportStation& s : report.stations) {
    const auto clock = [](int t) { return reportClock(t); };
    const auto none = [](const std::string& value) { return value.empty() ? "&ndash;" : value; };
    out << "<tr><td class=\"name\">" << htmlText(s.name) << "</td><td class=\"name\">"
        << htmlText(outcomeText(s.outcome)) << "</td><td>"
        << none(s.arrival ? clock(*s.arrival) : "") << "</td><td>"
        << none(s.departure ? clock(*s.departure) : "") << "</td><td>"
        << none(s.scheduledDeparture > 0 ? clock(s.scheduledDeparture) : "") << "</td><td>"
        << none(s.late() ? reportDelta(*s.late()) : "") << "</td><td>"
        << none(s.dwell() ? duration(*s.dwell()) : "") << "</td><td>"
        << none(s.stopErrorCm ? htmlText(reportStopText(*s.stopErrorCm)) : "") << "</td></tr>\n";
  }
  out << "</table>\n";

  out << "<h2>" << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "速度制限区間"))) << "</h2>\n";
  const bool anyLimit = std::any_of(report.limits.begin(), report.limits.end(),
                                    [](const ReportLimit& l) { return l.entered; });
  if (anyLimit) {
    out << "<table>\n<tr>" << th(VELIMORO_TEXT_NOOP("RunReport", "制限"))
        << th(VELIMORO_TEXT_NOOP("RunReport", "区間"))
        << th(VELIMORO_TEXT_NOOP("RunReport", "最高速度"))
        << th(VELIMORO_TEXT_NOOP("RunReport", "地点"))
        << th(VELIMORO_TEXT_NOOP("RunReport", "超過")) << "</tr>\n";
  } else {
    out << "<p>"
        << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "速度制限区間は走りませんでした。")))
        << "</p>\n";
  }
  for (const ReportLimit& l : report.limits) {
    if (!l.entered) continue;
    out << "<tr><td>" << l.limit << " km/h</td><td>" << fixed(l.fromCm / 100000, 2) << " &ndash; "
        << fixed(l.toCm / 100000, 2) << " km</td><td>" << fixed(l.topSpeed, 1) << " km/h</td><td>"
        << fixed(l.topAtCm / 100000, 3) << " km</td><td>"
        << (l.excess() > 0 ? fixed(l.excess(), 1) + " km/h" : "&ndash;") << "</td></tr>\n";
  }
  if (anyLimit) out << "</table>\n";

  out << "<h2>" << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "ATSのブレーキと非常ブレーキ")))
      << "</h2>\n";
  if (report.events.empty()) {
    out << "<p>" << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "ありませんでした。")))
        << "</p>\n";
  } else {
    out << "<table>\n<tr>" << th(VELIMORO_TEXT_NOOP("RunReport", "内容"))
        << th(VELIMORO_TEXT_NOOP("RunReport", "時刻"))
        << th(VELIMORO_TEXT_NOOP("RunReport", "地点"))
        << th(VELIMORO_TEXT_NOOP("RunReport", "速度")) << "</tr>\n";
    for (const ReportEvent& e : report.events) {
      out << "<tr><td class=\"name\">" << htmlText(e.what()) << "</td><td>" << reportClock(e.tick)
          << "</td><td>" << fixed(e.cm / 100000, 3) << " km</td><td>" << fixed(e.speed, 1)
          << " km/h</td></tr>\n";
    }
    out << "</table>\n";
  }

  out << "<h2>" << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "採点"))) << "</h2>\n<table>\n<tr>"
      << th(VELIMORO_TEXT_NOOP("RunReport", "減点")) << th(VELIMORO_TEXT_NOOP("RunReport", "点数"))
      << "</tr>\n";
  for (const ScoreItem& item : report.deductions) {
    out << "<tr><td class=\"name\">" << htmlText(item.what) << "</td><td>" << item.points
        << "</td></tr>\n";
  }
  out << "<tr><td class=\"name\"><b>" << htmlText(text(VELIMORO_TEXT_NOOP("RunReport", "得点")))
      << "</b></td><td><b>" << report.score << "</b></td></tr>\n</table>\n<p>"
      << htmlText(scoreRules()) << "</p>\n</body>\n</html>\n";
}

bool writeReportFile(const std::string& path, const RunReport& report) {
  std::ofstream out(path);
  if (!out) return false;
  const bool json = path.size() >= 5 && path.compare(path.size() - 5, 5, ".json") == 0;
  if (json) {
    writeReportJson(out, report);
  } else {
    writeReportHtml(out, report);
  }
  return static_cast<bool>(out);
}

}  // namespace velimoro
