#include "cab/report_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "media/translate.h"

namespace velimoro {
namespace {

constexpr double kMarginLeft = 46;
constexpr double kMarginRight = 30;  // room for the last labels
constexpr double kMarginTop = 30;    // room for the station names
constexpr double kMarginBottom = 30;
constexpr long double kShortestRangeCm = 10000;

struct Scale {
  long double fromCm = 0;
  long double toCm = 0;
  double topSpeed = 0;
  const ReportPlot* plot = nullptr;

  double x(long double cm) const {
    const long double share = (cm - fromCm) / (toCm - fromCm);
    return plot->left + static_cast<double>(share) * (plot->right - plot->left);
  }
  double y(long double speed) const {
    const double share = std::clamp(static_cast<double>(speed) / topSpeed, 0.0, 1.0);
    return plot->bottom - share * (plot->bottom - plot->top);
  }
  bool inside(long double cm) const { return cm >= fromCm && cm <= toCm; }
};

// A round step that divides `range` into about five to ten parts.
long double niceStep(long double range) {
  long double step = 1;
  while (step * 10 < range)
    step *= 10;
  if (range / step < 2.5) return step / 5;
  if (range / step < 5) return step / 2;
  return step;
}

std::string kilometres(long double cm, long double stepCm) {
  char text[32];
  std::snprintf(text, sizeof text, stepCm >= 100000 ? "%.0Lf km" : "%.1Lf km", cm / 100000);
  if (stepCm < 10000) std::snprintf(text, sizeof text, "%.2Lf km", cm / 100000);
  return text;
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string escapeXml(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string points(const std::vector<PlotPoint>& line) {
  std::string text;
  for (const PlotPoint& p : line) {
    if (!text.empty()) text += ' ';
    text += number(p.x) + ',' + number(p.y);
  }
  return text;
}

const char* eventColour(ReportEventKind kind) {
  switch (kind) {
    case ReportEventKind::kAtsAlarm:
      return "#e0a000";
    case ReportEventKind::kPatternBrake:
      return "#e06000";
    default:
      return "#c00000";
  }
}

}  // namespace

ReportPlot layoutPlot(const RunReport& report, double width, double height) {
  ReportPlot plot;
  plot.width = width;
  plot.height = height;
  plot.left = kMarginLeft;
  plot.top = kMarginTop;
  plot.right = std::max(plot.left + 1, width - kMarginRight);
  plot.bottom = std::max(plot.top + 1, height - kMarginBottom);

  // The range the train ran over, with a little room at either end.
  Scale scale;
  scale.plot = &plot;
  scale.fromCm = report.startCm;
  scale.toCm = report.startCm;
  for (const ReportSample& sample : report.samples) {
    scale.fromCm = std::min(scale.fromCm, sample.cm);
    scale.toCm = std::max(scale.toCm, sample.cm);
  }
  const long double pad = std::max((scale.toCm - scale.fromCm) * 0.02L, 2000.0L);
  scale.fromCm -= pad;
  scale.toCm += pad;
  if (scale.toCm - scale.fromCm < kShortestRangeCm) scale.toCm = scale.fromCm + kShortestRangeCm;

  long double fastest = report.topSpeed;
  for (const ReportLimit& limit : report.limits) {
    if (limit.toCm >= scale.fromCm && limit.fromCm <= scale.toCm) {
      fastest = std::max(fastest, static_cast<long double>(limit.limit));
    }
  }
  scale.topSpeed = std::max(20.0, std::ceil(static_cast<double>(fastest + 5) / 10) * 10);

  const long double stepCm = niceStep(scale.toCm - scale.fromCm);
  for (long double cm = std::ceil(scale.fromCm / stepCm) * stepCm; cm <= scale.toCm; cm += stepCm)
    plot.distanceTicks.push_back(PlotTick{scale.x(cm), kilometres(cm, stepCm)});
  const double speedStep = scale.topSpeed > 100 ? 20 : 10;
  for (double v = 0; v <= scale.topSpeed; v += speedStep)
    plot.speedTicks.push_back(PlotTick{scale.y(v), std::to_string(static_cast<int>(v))});

  for (const ReportLimit& limit : report.limits) {
    const long double from = std::max(limit.fromCm, scale.fromCm);
    const long double to = std::min(limit.toCm, scale.toCm);
    if (from >= to) continue;
    const double y = scale.y(limit.limit);
    plot.limits.push_back({PlotPoint{scale.x(from), y}, PlotPoint{scale.x(to), y}});
  }
  for (const ReportStation& station : report.stations) {
    if (scale.inside(station.stopCm))
      plot.stations.push_back(PlotTick{scale.x(station.stopCm), station.name});
  }
  for (const long double cm : report.signalCm) {
    if (scale.inside(cm)) plot.signals.push_back(scale.x(cm));
  }

  std::vector<PlotPoint>* run = nullptr;
  for (std::size_t i = 0; i < report.samples.size(); ++i) {
    const ReportSample& sample = report.samples[i];
    const PlotPoint p{scale.x(sample.cm), scale.y(sample.speed)};
    plot.speed.push_back(p);
    if (!sample.braking) {
      run = nullptr;
      continue;
    }
    if (run == nullptr) {
      run = &plot.braking.emplace_back();
      if (i > 0) run->push_back(plot.speed[i - 1]);
    }
    run->push_back(p);
  }
  for (const ReportEvent& event : report.events) {
    plot.events.push_back(
        PlotEvent{PlotPoint{scale.x(event.cm), scale.y(std::fabs(event.speed))}, event.kind});
  }
  return plot;
}

std::string plotSvg(const RunReport& report, int width, int height) {
  const ReportPlot plot = layoutPlot(report, width, height);
  std::ostringstream svg;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << ' ' << height
      << "\" font-family=\"sans-serif\" font-size=\"11\">\n";
  svg << "<rect x=\"0\" y=\"0\" width=\"" << width << "\" height=\"" << height
      << "\" fill=\"#ffffff\"/>\n";
  // Grid and axes.
  for (const PlotTick& tick : plot.speedTicks) {
    svg << "<line x1=\"" << number(plot.left) << "\" y1=\"" << number(tick.at) << "\" x2=\""
        << number(plot.right) << "\" y2=\"" << number(tick.at) << "\" stroke=\"#e4e4e4\"/>"
        << "<text x=\"" << number(plot.left - 6) << "\" y=\"" << number(tick.at + 4)
        << "\" text-anchor=\"end\" fill=\"#444\">" << tick.text << "</text>\n";
  }
  for (const PlotTick& tick : plot.distanceTicks) {
    svg << "<line x1=\"" << number(tick.at) << "\" y1=\"" << number(plot.bottom) << "\" x2=\""
        << number(tick.at) << "\" y2=\"" << number(plot.bottom + 4) << "\" stroke=\"#444\"/>"
        << "<text x=\"" << number(tick.at) << "\" y=\"" << number(plot.bottom + 16)
        << "\" text-anchor=\"middle\" fill=\"#444\">" << escapeXml(tick.text) << "</text>\n";
  }
  svg << "<text x=\"6\" y=\"" << number(plot.top - 8) << "\" fill=\"#444\">km/h</text>\n";
  for (const double x : plot.signals) {
    svg << "<line x1=\"" << number(x) << "\" y1=\"" << number(plot.bottom) << "\" x2=\""
        << number(x) << "\" y2=\"" << number(plot.bottom - 8)
        << "\" stroke=\"#2060c0\" stroke-width=\"2\"><title>"
        << escapeXml(media::translate("RunReport", "信号")) << "</title></line>\n";
  }
  for (const PlotTick& station : plot.stations) {
    svg << "<line x1=\"" << number(station.at) << "\" y1=\"" << number(plot.top) << "\" x2=\""
        << number(station.at) << "\" y2=\"" << number(plot.bottom)
        << "\" stroke=\"#808080\" stroke-dasharray=\"4 3\"/>"
        << "<text x=\"" << number(station.at) << "\" y=\"" << number(plot.top - 8)
        << "\" text-anchor=\"middle\" fill=\"#222\">" << escapeXml(station.text) << "</text>\n";
  }
  for (const std::vector<PlotPoint>& limit : plot.limits) {
    svg << "<polyline points=\"" << points(limit)
        << "\" fill=\"none\" stroke=\"#d02020\" stroke-width=\"1.5\"/>\n";
  }
  svg << "<polyline points=\"" << points(plot.speed)
      << "\" fill=\"none\" stroke=\"#1a7f37\" stroke-width=\"1.5\"/>\n";
  for (const std::vector<PlotPoint>& run : plot.braking) {
    svg << "<polyline points=\"" << points(run)
        << "\" fill=\"none\" stroke=\"#7030a0\" stroke-width=\"3\"/>\n";
  }
  for (const PlotEvent& event : plot.events) {
    svg << "<circle cx=\"" << number(event.at.x) << "\" cy=\"" << number(event.at.y)
        << "\" r=\"4\" fill=\"" << eventColour(event.kind) << "\"><title>"
        << escapeXml(eventText(event.kind)) << "</title></circle>\n";
  }
  svg << "<rect x=\"" << number(plot.left) << "\" y=\"" << number(plot.top) << "\" width=\""
      << number(plot.right - plot.left) << "\" height=\"" << number(plot.bottom - plot.top)
      << "\" fill=\"none\" stroke=\"#444\"/>\n";
  svg << "</svg>\n";
  return svg.str();
}

}  // namespace velimoro
