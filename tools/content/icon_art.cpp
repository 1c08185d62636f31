#include "tools/content/icon_art.h"

#include <algorithm>
#include <cmath>

#include "tools/content/canvas.h"

namespace velimoro::content {
namespace {

constexpr int kSupersample = 8;
constexpr double kDesign = 256;  // the drawing's own units, scaled to the size drawn

// The rounded square behind the picture, with the sky blending into the ground.
void drawBadge(Canvas& c, double s) {
  const double inset = 12 * s, radius = 44 * s, far = kDesign * s - inset;
  const Rgb skyTop{70, 140, 215}, skyLow{170, 210, 240}, ground{70, 120, 70};
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double dx = std::max({inset + radius - px, px - (far - radius), 0.0});
      const double dy = std::max({inset + radius - py, py - (far - radius), 0.0});
      if (px < inset || px > far || py < inset || py > far) continue;
      if (dx * dx + dy * dy > radius * radius) continue;
      const double t = (py - inset) / (far - inset);
      c.set(x, y, t < 0.62 ? mix(skyTop, skyLow, t / 0.62) : ground);
    }
  }
}

// The rails running from the bottom of the badge to the horizon under the train.
void drawRails(Canvas& c, double s) {
  const Rgb rail{200, 200, 205}, ballast{120, 110, 100};
  const PointF bed[] = {
      {60 * s, 244 * s}, {196 * s, 244 * s}, {150 * s, 160 * s}, {106 * s, 160 * s}};
  fillPolygon(c, bed, 4, ballast);
  c.line(78 * s, 244 * s, 114 * s, 170 * s, 7 * s, rail);
  c.line(178 * s, 244 * s, 142 * s, 170 * s, 7 * s, rail);
}

// The front of an electric car: a cream body with a red band, two large windows and headlights.
void drawTrainFront(Canvas& c, double s) {
  const Rgb body{236, 232, 220}, band{205, 40, 45}, glass{30, 52, 85}, lamp{255, 225, 120},
      skirt{60, 62, 68};
  const PointF shell[] = {
      {80 * s, 52 * s}, {176 * s, 52 * s}, {196 * s, 206 * s}, {60 * s, 206 * s}};
  fillPolygon(c, shell, 4, body);
  c.fillRect(static_cast<int>(96 * s), static_cast<int>(40 * s), static_cast<int>(64 * s),
             static_cast<int>(14 * s), body);
  const PointF window[] = {
      {88 * s, 66 * s}, {168 * s, 66 * s}, {176 * s, 124 * s}, {80 * s, 124 * s}};
  fillPolygon(c, window, 4, glass);
  c.line(128 * s, 66 * s, 128 * s, 124 * s, 6 * s, body);
  const PointF stripe[] = {
      {73 * s, 148 * s}, {183 * s, 148 * s}, {186 * s, 166 * s}, {70 * s, 166 * s}};
  fillPolygon(c, stripe, 4, band);
  c.fillCircle(90 * s, 186 * s, 10 * s, lamp);
  c.fillCircle(166 * s, 186 * s, 10 * s, lamp);
  c.fillRect(static_cast<int>(66 * s), static_cast<int>(206 * s), static_cast<int>(124 * s),
             static_cast<int>(14 * s), skirt);
}

}  // namespace

std::vector<int> iconSizes() {
  return {16, 22, 24, 32, 48, 64, 128, 256};
}

RgbaPicture programIcon(int size) {
  const int big = size * kSupersample;
  Canvas canvas(big, big, kTransparentKey);
  const double s = big / kDesign;
  drawBadge(canvas, s);
  drawRails(canvas, s);
  drawTrainFront(canvas, s);

  // Each pixel averages its drawn samples; the share of them that were drawn is its opacity.
  RgbaPicture icon{size, size,
                   std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 4)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int r = 0, g = 0, b = 0, drawn = 0;
      for (int sy = 0; sy < kSupersample; ++sy) {
        for (int sx = 0; sx < kSupersample; ++sx) {
          const Rgb p = canvas.at(x * kSupersample + sx, y * kSupersample + sy);
          if (p == kTransparentKey) continue;
          r += p.r;
          g += p.g;
          b += p.b;
          ++drawn;
        }
      }
      std::uint8_t* out = &icon.pixels[(static_cast<std::size_t>(y) * size + x) * 4];
      if (drawn == 0) continue;
      out[0] = static_cast<std::uint8_t>(r / drawn);
      out[1] = static_cast<std::uint8_t>(g / drawn);
      out[2] = static_cast<std::uint8_t>(b / drawn);
      out[3] = static_cast<std::uint8_t>(drawn * 255 / (kSupersample * kSupersample));
    }
  }
  return icon;
}

void writeIcons(const std::string& folder) {
  for (const int size : iconSizes()) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    writePng(folder + "/" + name + "/apps/" + kIconName + ".png", programIcon(size));
  }
}

}  // namespace velimoro::content
