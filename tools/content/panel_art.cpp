#include "tools/content/panel_art.h"

#include <cmath>
#include <numbers>

#include "tools/content/writers.h"

namespace velimoro::content {
namespace {

constexpr Rgb kFace{24, 24, 26};
constexpr Rgb kMarks{235, 235, 225};
constexpr Rgb kDarkLamp{40, 38, 36};
constexpr Rgb kDimMark{90, 86, 80};
constexpr Rgb kRim{190, 190, 180};

double radians(double degrees) {
  return degrees * std::numbers::pi / 180;
}

std::string decimal(double value) {
  return std::to_string(std::lround(value));
}

void drawGaugeFace(Canvas& c, const GaugeDesign& g, int top) {
  const double cx = g.cx, cy = g.cy - top;
  c.fillCircle(cx, cy, g.radius + 4, kRim);
  c.fillCircle(cx, cy, g.radius, kFace);
  // Fine marks every fifth of a labelled step, the labelled ones longer and numbered; every
  // angle comes from the needle's own zero angle and rate, so the needle reads true.
  const double step = g.labelStep / 5;
  const int count = static_cast<int>(std::lround((g.maxValue - g.minValue) / step));
  const int labelSize = g.radius > 80 ? 14 : 10;
  for (int i = 0; i <= count; ++i) {
    const double value = g.minValue + i * step;
    const double a = radians(g.zeroAngle + g.degreesPerUnit * value);
    const bool major = i % 5 == 0;
    const double outer = g.radius - 3;
    const double inner = g.radius - (major ? 14 : 8);
    c.line(cx + outer * std::sin(a), cy - outer * std::cos(a), cx + inner * std::sin(a),
           cy - inner * std::cos(a), major ? 2.5 : 1.2, kMarks);
    if (!major) continue;
    const std::string label = decimal(std::fabs(value) / g.labelDivisor);
    const double r = g.radius - 14 - labelSize * 0.9;
    const int w = Canvas::textWidth(labelSize, label);
    c.text(static_cast<int>(std::lround(cx + r * std::sin(a) - w / 2.0)),
           static_cast<int>(std::lround(cy - r * std::cos(a) - labelSize / 2.0)), labelSize, label,
           kMarks);
  }
}

void drawLamp(Canvas& c, int x, int y, const std::string& mark, Rgb body, Rgb ink) {
  c.fillRect(x, y, kLampWidth, kLampHeight, body);
  c.frameRect(x, y, kLampWidth, kLampHeight, 1, mix(body, Rgb{}, 0.5));
  const int size = 12;
  const int w = Canvas::textWidth(size, mark);
  c.text(x + (kLampWidth - w) / 2 + 1, y + 3, size, mark, ink);
}

Canvas drawLampPicture(const LampDesign& lamp) {
  Canvas c(kLampWidth, kLampHeight);
  drawLamp(c, 0, 0, lamp.mark, lamp.lit, Rgb{20, 20, 20});
  return c;
}

Canvas drawStrip(const StripDesign& strip, const std::vector<std::string>& patterns) {
  const int n = static_cast<int>(patterns.size());
  Canvas c(strip.patternWidth * n, strip.patternHeight, Rgb{16, 16, 16});
  for (int i = 0; i < n; ++i) {
    const int x = i * strip.patternWidth;
    c.frameRect(x, 0, strip.patternWidth, strip.patternHeight, 2, Rgb{70, 70, 70});
    const int size = strip.patternHeight - 10;
    const int w = Canvas::textWidth(size, patterns[static_cast<std::size_t>(i)]);
    c.text(x + (strip.patternWidth - w) / 2, 5, size, patterns[static_cast<std::size_t>(i)],
           strip.colour);
  }
  return c;
}

Canvas drawPlate(const TrainDesign& d) {
  Canvas c(105, 46, Rgb{200, 200, 190});
  c.frameRect(0, 0, 105, 46, 3, Rgb{60, 60, 60});
  c.fillRect(6, 6, 18, 34, d.diesel ? Rgb{200, 90, 40} : Rgb{40, 120, 200});
  c.text(32, 9, 28, d.plate, Rgb{30, 30, 30});
  return c;
}

// An arrow that points to the side whose doors open.
Canvas drawDoorSide(bool left) {
  Canvas c(kLampWidth, kLampHeight, kTransparentKey);
  c.fillRect(1, 1, kLampWidth - 2, kLampHeight - 2, Rgb{250, 200, 40});
  const double tip = left ? 6 : kLampWidth - 7;
  const double back = left ? kLampWidth - 10 : 9;
  const double mid = kLampHeight / 2.0 - 0.5;
  c.line(tip, mid, back, mid, 3, Rgb{20, 20, 20});
  c.line(tip, mid, tip + (left ? 7 : -7), mid - 6, 3, Rgb{20, 20, 20});
  c.line(tip, mid, tip + (left ? 7 : -7), mid + 6, 3, Rgb{20, 20, 20});
  return c;
}

Canvas drawStopLine() {
  Canvas c(40, 30, Rgb{250, 250, 250});
  for (int x = 0; x < 40; x += 10)
    c.fillRect(x, 0, 5, 30, Rgb{220, 30, 30});
  c.frameRect(0, 0, 40, 30, 2, Rgb{30, 30, 30});
  return c;
}

std::vector<std::string> cabSignalPatterns(const TrainDesign& d) {
  std::vector<std::string> patterns;
  for (int code : d.cabSignalCodes)
    patterns.push_back(std::to_string(code));
  return patterns;
}

}  // namespace

int needleLength(const GaugeDesign& gauge) {
  return gauge.radius - 8;
}

int needleX(const GaugeDesign& gauge) {
  return gauge.cx - needleLength(gauge);
}

int needleY(const GaugeDesign& gauge) {
  return gauge.cy - needleLength(gauge);
}

Canvas drawPanel(const TrainDesign& d) {
  Canvas c(kPanelWidth, kPanelHeight);
  c.gradientRect(0, 0, kPanelWidth, kPanelHeight, mix(d.panelColour, Rgb{255, 255, 255}, 0.15),
                 mix(d.panelColour, Rgb{}, 0.35));
  c.fillRect(0, 0, kPanelWidth, 4, Rgb{20, 20, 20});
  for (const GaugeDesign& g : d.gauges)
    drawGaugeFace(c, g, kPanelTop);
  for (const LampDesign& lamp : d.lamps)
    drawLamp(c, lamp.x, lamp.y - kPanelTop, lamp.mark, kDarkLamp, kDimMark);
  for (const OtherDesign& other : d.others)
    c.fillRect(other.x - 1, other.y - kPanelTop - 1, 2, 2, Rgb{30, 30, 30});
  for (const StripDesign& strip : d.strips)
    c.fillRect(strip.x - 2, strip.y - kPanelTop - 2, strip.patternWidth + 4,
               strip.patternHeight + 4, Rgb{10, 10, 10});
  // The clock face; the hands are drawn by the cab on a transparent 50 x 50 picture above it.
  const double ccx = d.clockX + 25, ccy = d.clockY - kPanelTop + 25;
  c.fillCircle(ccx, ccy, 25, Rgb{60, 60, 60});
  c.fillCircle(ccx, ccy, 23, Rgb{240, 240, 230});
  for (int hour = 0; hour < 12; ++hour) {
    const double a = radians(hour * 30.0);
    const double inner = hour % 3 == 0 ? 16 : 19;
    c.line(ccx + inner * std::sin(a), ccy - inner * std::cos(a), ccx + 22 * std::sin(a),
           ccy - 22 * std::cos(a), hour % 3 == 0 ? 2 : 1, Rgb{30, 30, 30});
  }
  return c;
}

Canvas drawNeedle(int length, Rgb colour) {
  const int size = 2 * length + 1;
  Canvas c(size, size, kTransparentKey);
  const double centre = length;
  c.line(centre, centre + 8, centre, 1, 3, colour);
  c.fillCircle(centre, centre, 5, Rgb{60, 60, 60});
  c.fillCircle(centre, centre, 2.5, colour);
  return c;
}

void writePanelArt(const TrainDesign& d, const std::string& root) {
  const std::string folder = root + "/image/" + d.name + "/";
  const Canvas panel = drawPanel(d);
  writeBmp(folder + "panel.bmp", panel);
  Canvas dark = panel;
  dark.darken(0.3);
  writeBmp(folder + "panel_dark.bmp", dark);
  for (const NeedleDesign& needle : d.needles) {
    const GaugeDesign& g = d.gauges[static_cast<std::size_t>(needle.gauge)];
    writeBmp(folder + needle.file, drawNeedle(needleLength(g), needle.colour), kTransparentKey);
  }
  for (const LampDesign& lamp : d.lamps)
    writeBmp(folder + lamp.file, drawLampPicture(lamp), kTransparentKey);
  for (const StripDesign& strip : d.strips) {
    const auto patterns = strip.patterns.empty() ? cabSignalPatterns(d) : strip.patterns;
    writeBmp(folder + strip.file, drawStrip(strip, patterns), kTransparentKey);
  }
  writeBmp(folder + d.others[0].file, drawPlate(d), kTransparentKey);
  writeBmp(folder + d.others[1].file, drawDoorSide(true), kTransparentKey);
  writeBmp(folder + d.others[2].file, drawDoorSide(false), kTransparentKey);
  writeBmp(folder + "stopline.bmp", drawStopLine());
}

}  // namespace velimoro::content
