#pragma once

#include <string>
#include <vector>

#include "cab/report.h"

namespace velimoro {

// The speed-distance plot of a run report as geometry in pixels, so the window's painter and the
// report file's SVG draw the same picture: the driven speed along the line (with the stretches
// run under the brake), the speed limits, the stations and signals, and the protection events.

struct PlotPoint {
  double x = 0;
  double y = 0;
};

/// A label at one place of an axis (x for the distance axis, y for the speed axis).
struct PlotTick {
  double at = 0;
  std::string text;
};

struct PlotEvent {
  PlotPoint at;
  ReportEventKind kind = ReportEventKind::kAtsAlarm;
};

struct ReportPlot {
  double width = 0;
  double height = 0;
  // The plot area inside the picture.
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  std::vector<PlotPoint> speed;                 // the driven speed, one polyline
  std::vector<std::vector<PlotPoint>> braking;  // the parts of it run under the brake
  std::vector<std::vector<PlotPoint>> limits;   // each limit section, a level line
  std::vector<PlotTick> stations;               // x of each stop point and the name
  std::vector<double> signals;                  // x of each lineside signal
  std::vector<PlotEvent> events;
  std::vector<PlotTick> distanceTicks;  // x and "12.5 km"
  std::vector<PlotTick> speedTicks;     // y and "60"
};

/// Lays out the plot of `report` in a picture of `width` x `height` pixels.
ReportPlot layoutPlot(const RunReport& report, double width, double height);

/// The plot as one SVG element of `width` x `height` pixels.
std::string plotSvg(const RunReport& report, int width, int height);

}  // namespace velimoro
