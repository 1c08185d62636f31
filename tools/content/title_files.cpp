#include "tools/content/title_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <sstream>
#include <stdexcept>

#include "tools/content/glyphs.h"
#include "tools/content/route_builder.h"
#include "tools/content/route_design.h"
#include "tools/content/train_design.h"
#include "tools/content/video_render.h"
#include "tools/content/writers.h"

// The title screen's pictures and music. Everything is drawn here from the demo's own route and
// train designs: side views of the line at six times of day, the driver's view from the route
// renderer, and lettering in the Japanese font. There is no opening movie: the title screen
// shows the opening slides with their music instead.

// The artwork's own names live in their own namespace, so that they never meet the
// generator's other names.
namespace velimoro::content::title_art {
namespace {

constexpr int kSuper = 2;  // the artwork is drawn at twice the size and averaged down
constexpr int kJpegQuality = 80;
constexpr const char* kTitle = "鉄道運転シミュレータ";
constexpr double kPi = std::numbers::pi;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLineGreen{34, 128, 80};  // the line's colour on boards and maps
constexpr Rgb kNavy{16, 24, 42};

// ---------------------------------------------------------------------------------------------
// Drawing at twice the size

struct Point {
  double x;
  double y;
};

double unit(Noise& n) {
  return (static_cast<double>(n.next()) + 1) / 2;
}

double smoothstep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

void blendPixel(Canvas& c, int x, int y, Rgb colour, double alpha) {
  if (x < 0 || y < 0 || x >= c.width() || y >= c.height()) return;
  c.set(x, y, mix(c.at(x, y), colour, alpha));
}

/// Blends `colour` over the rectangle of a finished picture.
void veil(Canvas& c, int x, int y, int w, int h, Rgb colour, double alpha) {
  for (int row = std::max(0, y); row < std::min(c.height(), y + h); ++row)
    for (int col = std::max(0, x); col < std::min(c.width(), x + w); ++col)
      blendPixel(c, col, row, colour, alpha);
}

// A canvas kSuper times the size of the picture; coordinates are the picture's pixels.
class Painter {
 public:
  Painter(int width, int height, Rgb fill = {}) : m_canvas(width * kSuper, height * kSuper, fill) {}

  void rect(double x, double y, double w, double h, Rgb colour) {
    const int x0 = at(x), y0 = at(y);
    m_canvas.fillRect(x0, y0, at(x + w) - x0, at(y + h) - y0, colour);
  }

  void gradient(double x, double y, double w, double h, Rgb top, Rgb bottom) {
    const int x0 = at(x), y0 = at(y);
    const int rows = at(y + h) - y0;
    if (rows > 0) m_canvas.gradientRect(x0, y0, at(x + w) - x0, rows, top, bottom);
  }

  void disc(double cx, double cy, double r, Rgb colour) {
    m_canvas.fillCircle(cx * kSuper - 0.5, cy * kSuper - 0.5, r * kSuper, colour);
  }

  // A soft light: `alpha` at the centre, fading to nothing at radius `r`.
  void glow(double cx, double cy, double r, Rgb colour, double alpha) {
    const double pcx = cx * kSuper, pcy = cy * kSuper, pr = r * kSuper;
    for (int y = std::max(0, static_cast<int>(pcy - pr));
         y <= std::min(m_canvas.height() - 1, static_cast<int>(pcy + pr)); ++y) {
      for (int x = std::max(0, static_cast<int>(pcx - pr));
           x <= std::min(m_canvas.width() - 1, static_cast<int>(pcx + pr)); ++x) {
        const double d = std::hypot(x + 0.5 - pcx, y + 0.5 - pcy) / pr;
        if (d < 1) blendPixel(m_canvas, x, y, colour, alpha * (1 - d) * (1 - d));
      }
    }
  }

  void ellipse(double cx, double cy, double rx, double ry, Rgb colour, double alpha = 1) {
    const double pcx = cx * kSuper, pcy = cy * kSuper, prx = rx * kSuper, pry = ry * kSuper;
    for (int y = std::max(0, static_cast<int>(pcy - pry));
         y <= std::min(m_canvas.height() - 1, static_cast<int>(pcy + pry)); ++y) {
      for (int x = std::max(0, static_cast<int>(pcx - prx));
           x <= std::min(m_canvas.width() - 1, static_cast<int>(pcx + prx)); ++x) {
        const double u = (x + 0.5 - pcx) / prx, v = (y + 0.5 - pcy) / pry;
        if (u * u + v * v <= 1) blendPixel(m_canvas, x, y, colour, alpha);
      }
    }
  }

  void line(double x0, double y0, double x1, double y1, double thickness, Rgb colour) {
    m_canvas.line(x0 * kSuper - 0.5, y0 * kSuper - 0.5, x1 * kSuper - 0.5, y1 * kSuper - 0.5,
                  thickness * kSuper, colour);
  }

  // Fills the polygon (even-odd rule).
  void polygon(const std::vector<Point>& points, Rgb colour, double alpha = 1) {
    if (points.size() < 3) return;
    double top = 1e18, bottom = -1e18;
    for (const Point& p : points) {
      top = std::min(top, p.y * kSuper);
      bottom = std::max(bottom, p.y * kSuper);
    }
    std::vector<double> xs;
    const int first = std::max(0, static_cast<int>(std::floor(top)));
    const int last = std::min(m_canvas.height() - 1, static_cast<int>(std::ceil(bottom)));
    for (int y = first; y <= last; ++y) {
      const double sy = y + 0.5;
      xs.clear();
      for (std::size_t i = 0; i < points.size(); ++i) {
        const Point a{points[i].x * kSuper, points[i].y * kSuper};
        const Point& nb = points[(i + 1) % points.size()];
        const Point b{nb.x * kSuper, nb.y * kSuper};
        if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
          xs.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());
      for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
        const int from = std::max(0, static_cast<int>(std::ceil(xs[i] - 0.5)));
        const int to =
            std::min(m_canvas.width() - 1, static_cast<int>(std::ceil(xs[i + 1] - 0.5)) - 1);
        if (alpha >= 1) {
          if (to >= from) m_canvas.fillRect(from, y, to - from + 1, 1, colour);
        } else {
          for (int x = from; x <= to; ++x)
            blendPixel(m_canvas, x, y, colour, alpha);
        }
      }
    }
  }

  // Fills every column between x0 and x1 from top(x) down to bottom(x).
  void profile(double x0, double x1, const std::function<double(double)>& top,
               const std::function<double(double)>& bottom, Rgb colour, double alpha = 1) {
    for (int x = std::max(0, at(x0)); x < std::min(m_canvas.width(), at(x1)); ++x) {
      const double px = (x + 0.5) / kSuper;
      const int y0 = std::max(0, at(top(px)));
      const int y1 = std::min(m_canvas.height(), at(bottom(px)));
      if (alpha >= 1) {
        if (y1 > y0) m_canvas.fillRect(x, y0, 1, y1 - y0, colour);
      } else {
        for (int y = y0; y < y1; ++y)
          blendPixel(m_canvas, x, y, colour, alpha);
      }
    }
  }

  // The picture at its real size: every pixel the mean of its kSuper × kSuper block.
  Canvas finish() const {
    Canvas out(m_canvas.width() / kSuper, m_canvas.height() / kSuper);
    constexpr int n = kSuper * kSuper;
    for (int y = 0; y < out.height(); ++y) {
      for (int x = 0; x < out.width(); ++x) {
        int r = 0, g = 0, b = 0;
        for (int dy = 0; dy < kSuper; ++dy) {
          for (int dx = 0; dx < kSuper; ++dx) {
            const Rgb c = m_canvas.at(x * kSuper + dx, y * kSuper + dy);
            r += c.r;
            g += c.g;
            b += c.b;
          }
        }
        out.set(x, y,
                Rgb{static_cast<std::uint8_t>((r + n / 2) / n),
                    static_cast<std::uint8_t>((g + n / 2) / n),
                    static_cast<std::uint8_t>((b + n / 2) / n)});
      }
    }
    return out;
  }

 private:
  static int at(double v) { return static_cast<int>(std::lround(v * kSuper)); }

  Canvas m_canvas;
};

std::function<double(double)> level(double y) {
  return [y](double) { return y; };
}

/// A picture resized by bilinear interpolation.
Canvas resample(const Canvas& src, int width, int height) {
  Canvas out(width, height);
  for (int y = 0; y < height; ++y) {
    const double sy = std::clamp((y + 0.5) * src.height() / height - 0.5, 0.0, src.height() - 1.0);
    const int y0 = static_cast<int>(sy);
    const int y1 = std::min(y0 + 1, src.height() - 1);
    const double ty = sy - y0;
    for (int x = 0; x < width; ++x) {
      const double sx = std::clamp((x + 0.5) * src.width() / width - 0.5, 0.0, src.width() - 1.0);
      const int x0 = static_cast<int>(sx);
      const int x1 = std::min(x0 + 1, src.width() - 1);
      const double tx = sx - x0;
      out.set(x, y,
              mix(mix(src.at(x0, y0), src.at(x1, y0), tx), mix(src.at(x0, y1), src.at(x1, y1), tx),
                  ty));
    }
  }
  return out;
}

// A smooth wave of about -1..1 along x, the same for the same seed.
class Ridge {
 public:
  explicit Ridge(std::uint32_t seed) {
    Noise n(seed * 2654435761u + 17);
    for (double& p : m_phase)
      p = unit(n) * 2 * kPi;
  }
  double at(double x, double wavelength) const {
    static constexpr std::array<double, 4> kFreq{1, 2.3, 4.7, 9.1};
    static constexpr std::array<double, 4> kAmp{0.55, 0.25, 0.13, 0.07};
    double v = 0;
    for (std::size_t k = 0; k < kFreq.size(); ++k)
      v += kAmp[k] * std::sin(x / wavelength * kFreq[k] + m_phase[k]);
    return v;
  }

 private:
  std::array<double, 4> m_phase{};
};

// ---------------------------------------------------------------------------------------------
// Light

enum class Light { kDawn, kMorning, kNoon, kAfternoon, kDusk, kNight };

struct Lighting {
  Rgb skyTop;
  Rgb skyLow;
  std::array<double, 3> tint;  // what the land's colours are multiplied by
  Point sun;                   // the sun, or the moon at night
  double sunRadius;
  Rgb sunColour;
  Rgb cloud;
  bool night;
  bool lamps;  // windows, headlights and signs lit
};

Lighting lightingOf(Light light) {
  switch (light) {
    case Light::kDawn:
      return {{58, 72, 128},
              {244, 182, 150},
              {0.80, 0.72, 0.76},
              {110, 300},
              22,
              {255, 224, 176},
              {240, 184, 176},
              false,
              true};
    case Light::kMorning:
      return {{82, 140, 214},
              {206, 226, 244},
              {1.0, 0.98, 0.95},
              {150, 110},
              20,
              {255, 250, 232},
              {252, 252, 252},
              false,
              false};
    case Light::kNoon:
      return {{48, 116, 206},  {176, 210, 240}, {1.0, 1.0, 1.0}, {610, 60}, 18,
              {255, 255, 244}, {255, 255, 255}, false,           false};
    case Light::kAfternoon:
      return {{72, 126, 196},
              {236, 218, 182},
              {1.0, 0.92, 0.80},
              {650, 170},
              20,
              {255, 236, 190},
              {250, 238, 218},
              false,
              false};
    case Light::kDusk:
      return {{38, 42, 98}, {250, 136, 70},  {0.68, 0.50, 0.44}, {620, 290},
              26,           {255, 196, 120}, {236, 150, 132},    false,
              true};
    case Light::kNight:
      return {{6, 9, 28},   {30, 40, 76}, {0.22, 0.25, 0.36},
              {640, 90},    14,           {240, 240, 214},
              {40, 46, 70}, true,         true};
  }
  throw std::logic_error("unknown light");
}

Rgb shade(const Lighting& l, Rgb c) {
  const auto ch = [](double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
  };
  return {ch(c.r * l.tint[0]), ch(c.g * l.tint[1]), ch(c.b * l.tint[2])};
}

// A far colour: the land's colour fading into the sky near the horizon.
Rgb haze(const Lighting& l, Rgb c, double t) {
  return mix(shade(l, c), l.skyLow, t);
}

// ---------------------------------------------------------------------------------------------
// Side views of the line

enum class Land { kHarbour, kCity, kMountain, kPlateau, kLake, kDepot, kRiver };
enum class TrainKind { kNone, kElectric, kDiesel };

struct StationBoard {
  std::string name;
  std::string reading;
  std::string previous;
  std::string next;
};

struct SceneDesign {
  Light light = Light::kNoon;
  Land land = Land::kHarbour;
  TrainKind train = TrainKind::kNone;
  double nose = 560;  // x of the train's leading end; the train runs to the right
  int cars = 3;
  bool platform = false;  // seen from a platform, with the station's name board
  StationBoard board;
  bool snow = false;
  bool tunnel = false;  // a tunnel mouth on the right (mountains)
  std::uint32_t seed = 1;
};

struct Levels {
  double horizon;
  double rail;  // top of the rail the train runs on
};

Levels levelsOf(Land land) {
  switch (land) {
    case Land::kHarbour:
      return {330, 470};
    case Land::kCity:
      return {360, 452};
    case Land::kMountain:
      return {380, 482};
    case Land::kPlateau:
      return {360, 476};
    case Land::kLake:
      return {330, 478};
    case Land::kDepot:
      return {350, 492};
    case Land::kRiver:
      return {350, 392};
  }
  throw std::logic_error("unknown land");
}

void drawSky(Painter& p, const Lighting& l, double horizon, std::uint32_t seed) {
  p.gradient(0, 0, kTitleWidth, horizon + 2, l.skyTop, l.skyLow);
  Noise n(seed * 7 + 3);
  if (l.night) {
    for (int i = 0; i < 220; ++i) {
      const double x = unit(n) * kTitleWidth;
      const double y = unit(n) * unit(n) * horizon * 0.95;
      const double bright = unit(n);
      p.disc(x, y, 0.5 + bright * 0.7, mix(l.skyTop, Rgb{255, 255, 240}, 0.4 + 0.6 * bright));
    }
    const Point m = l.sun;
    p.glow(m.x, m.y, l.sunRadius * 5, l.sunColour, 0.18);
    p.disc(m.x, m.y, l.sunRadius, l.sunColour);
    // A waxing moon: the unlit part takes the sky's colour.
    p.disc(m.x - l.sunRadius * 0.55, m.y - 2, l.sunRadius * 0.95,
           mix(l.skyTop, l.skyLow, m.y / horizon));
    return;
  }
  const bool low = l.sun.y > horizon * 0.7;
  p.glow(l.sun.x, l.sun.y, l.sunRadius * (low ? 9 : 6), l.sunColour, low ? 0.55 : 0.35);
  p.disc(l.sun.x, l.sun.y, l.sunRadius, mix(l.sunColour, kWhite, low ? 0.1 : 0.6));
  // Clouds: clusters of soft ellipses, their undersides darker.
  for (int i = 0; i < 4; ++i) {
    const double cx = 70 + i * 210 + unit(n) * 80;
    const double cy = 50 + unit(n) * std::max(20.0, horizon * 0.45 - 50);
    const int puffs = 5 + static_cast<int>(unit(n) * 3);
    std::vector<std::array<double, 4>> shapes;
    for (int k = 0; k < puffs; ++k)
      shapes.push_back({cx + (unit(n) - 0.5) * 110, cy + (unit(n) - 0.5) * 14, 22 + unit(n) * 26,
                        9 + unit(n) * 9});
    for (const auto& s : shapes)
      p.ellipse(s[0], s[1] + 4, s[2], s[3], mix(l.cloud, l.skyTop, 0.35), 0.55);
    for (const auto& s : shapes)
      p.ellipse(s[0], s[1], s[2], s[3], l.cloud, 0.8);
  }
}

// Rails, sleepers and ballast of a track seen from the side, `s` the scale.
void drawTrack(Painter& p, const Lighting& l, double rail, double s, bool snow) {
  p.rect(-10, rail + 2 * s, kTitleWidth + 20, 13 * s,
         shade(l, snow ? Rgb{226, 230, 238} : Rgb{128, 120, 108}));
  p.rect(-10, rail + 13 * s, kTitleWidth + 20, 2 * s, shade(l, Rgb{96, 90, 80}));
  for (double x = 0; x < kTitleWidth + 10; x += 14 * s)
    p.rect(x, rail + 1 * s, 9 * s, 3 * s, shade(l, snow ? Rgb{240, 242, 248} : Rgb{92, 76, 62}));
  p.rect(-10, rail, kTitleWidth + 20, 2.6 * s, shade(l, Rgb{160, 160, 166}));
  p.rect(-10, rail, kTitleWidth + 20, 0.8 * s, shade(l, Rgb{225, 225, 230}));
}

// Poles and overhead wires along the track; returns the height of the contact wire.
double drawWires(Painter& p, const Lighting& l, double rail, double s, double phase) {
  const double contact = rail - 112 * s;
  const double messenger = contact - 22 * s;
  const double span = 150 * s;
  const Rgb wire = shade(l, Rgb{44, 44, 48});
  const Rgb pole = shade(l, Rgb{150, 150, 146});
  for (double x = phase - span; x < kTitleWidth + span; x += span) {
    p.rect(x - 2.5 * s, messenger - 16 * s, 5 * s, rail - 4 * s - (messenger - 16 * s), pole);
    p.rect(x - 2.5 * s, messenger - 16 * s, 5 * s, 1.5 * s, shade(l, Rgb{110, 110, 106}));
    p.line(x, messenger - 3 * s, x + 16 * s, messenger - 3 * s, 1.6 * s, wire);
    // The messenger sags between the poles; droppers hang the contact wire from it.
    const double sag = 9 * s;
    Point last{x, messenger};
    for (int k = 1; k <= 12; ++k) {
      const double u = k / 12.0;
      const Point next{x + u * span, messenger + sag * 4 * u * (1 - u)};
      p.line(last.x, last.y, next.x, next.y, 1.1 * s, wire);
      last = next;
    }
    for (int k = 1; k < 8; ++k) {
      const double u = k / 8.0;
      p.line(x + u * span, messenger + sag * 4 * u * (1 - u), x + u * span, contact, 0.6 * s, wire);
    }
  }
  p.line(-10, contact, kTitleWidth + 10, contact, 1.3 * s, wire);
  return contact;
}

struct TrainLook {
  Rgb body;
  Rgb roof;
  Rgb stripe;
  Rgb band;
  std::vector<double> doors;  // door centres as fractions of the car's length
};

TrainLook lookOf(TrainKind kind) {
  if (kind == TrainKind::kDiesel)
    return {{236, 224, 190}, {112, 108, 102}, {214, 86, 40}, {214, 86, 40}, {0.11, 0.89}};
  return {{208, 212, 218}, {120, 124, 130}, {40, 112, 196}, kLineGreen, {0.13, 0.38, 0.62, 0.87}};
}

// One car from `left` to `right`: bogies, body, windows and doors; the lead car has its cab at
// the right, the tail car its red lamps at the left.
void drawCar(Painter& p, const Lighting& l, TrainKind kind, double left, double right, double rail,
             double s, bool lead, bool tail, double contact, bool snow) {
  const TrainLook look = lookOf(kind);
  const double len = right - left;
  const double bottom = rail - 20 * s;
  const double top = bottom - 54 * s;
  const double roofTop = top - 6 * s;
  const Rgb glass = l.lamps ? Rgb{255, 226, 150} : mix(shade(l, Rgb{38, 52, 66}), l.skyLow, 0.25);
  const Rgb dark = shade(l, Rgb{40, 40, 44});
  for (double bogie : {left + 34 * s, right - 34 * s}) {
    p.rect(bogie - 28 * s, rail - 17 * s, 56 * s, 8 * s, shade(l, Rgb{48, 48, 52}));
    for (double w : {-15 * s, 15 * s}) {
      p.disc(bogie + w, rail - 6.5 * s, 6.5 * s, shade(l, Rgb{34, 34, 38}));
      p.disc(bogie + w, rail - 6.5 * s, 2.5 * s, shade(l, Rgb{96, 96, 100}));
    }
  }
  p.rect(left + 70 * s, bottom, len - 140 * s, 7 * s, shade(l, Rgb{62, 62, 66}));
  p.rect(left, top, len, bottom - top, shade(l, look.body));
  p.rect(left, top, len, 1.5 * s, shade(l, mix(look.body, kWhite, 0.4)));
  p.rect(left + 3 * s, roofTop, len - 6 * s, 6 * s, shade(l, look.roof));
  if (snow) p.rect(left + 3 * s, roofTop - 2 * s, len - 6 * s, 3 * s, shade(l, Rgb{245, 247, 252}));
  if (kind == TrainKind::kDiesel) {
    p.rect(left, top + 32 * s, len, 11 * s, shade(l, look.stripe));
    p.rect(left, top + 2 * s, len, 3 * s, shade(l, look.stripe));
  } else {
    p.rect(left, top + 33 * s, len, 4 * s, shade(l, look.stripe));
    p.rect(left, bottom - 7 * s, len, 3 * s, shade(l, look.band));
  }
  // Windows between the doors, in panes of about 30 pixels.
  std::vector<double> edges{left + 4 * s};
  for (double f : look.doors) {
    edges.push_back(left + f * len - 11 * s);
    edges.push_back(left + f * len + 11 * s);
  }
  edges.push_back(right - (lead ? 30 : 4) * s);
  for (std::size_t i = 0; i + 1 < edges.size(); i += 2) {
    const double from = edges[i] + 4 * s, to = edges[i + 1] - 4 * s;
    if (to - from < 8 * s) continue;
    const int panes = std::max(1, static_cast<int>(std::lround((to - from) / (30 * s))));
    const double w = (to - from) / panes;
    for (int k = 0; k < panes; ++k)
      p.rect(from + k * w + 1.5 * s, top + 12 * s, w - 3 * s, 18 * s, glass);
  }
  for (double f : look.doors) {
    const double dx = left + f * len;
    p.rect(dx - 8 * s, top + 7 * s, 16 * s, bottom - top - 9 * s,
           shade(l, mix(look.body, kBlack, 0.12)));
    p.rect(dx - 5.5 * s, top + 12 * s, 4.5 * s, 17 * s, glass);
    p.rect(dx + 1 * s, top + 12 * s, 4.5 * s, 17 * s, glass);
    p.rect(dx - 0.4 * s, top + 7 * s, 0.8 * s, bottom - top - 9 * s, dark);
  }
  if (kind == TrainKind::kDiesel) {
    p.rect(left + 0.55 * len, roofTop - 9 * s, 5 * s, 9 * s, shade(l, Rgb{52, 52, 54}));
    p.rect(left + 0.25 * len, roofTop - 4 * s, 40 * s, 4 * s, shade(l, Rgb{92, 92, 94}));
  }
  if (lead) {
    // The cab: a side window, the rounded front with its windscreen, the headlight.
    p.rect(right - 26 * s, top + 10 * s, 12 * s, 18 * s, glass);
    p.polygon({{right - 10 * s, roofTop},
               {right - 1 * s, roofTop + 1 * s},
               {right + 4 * s, top + 14 * s},
               {right + 4 * s, bottom},
               {right - 10 * s, bottom}},
              shade(l, look.body));
    p.polygon({{right - 5 * s, top + 1 * s},
               {right + 1 * s, top + 1 * s},
               {right + 3.5 * s, top + 14 * s},
               {right + 3.5 * s, top + 27 * s},
               {right - 5 * s, top + 27 * s}},
              mix(shade(l, Rgb{30, 40, 52}), l.skyLow, 0.15));
    p.rect(right - 10 * s, top + 33 * s, 14 * s, kind == TrainKind::kDiesel ? 11 * s : 4 * s,
           shade(l, look.stripe));
    const Rgb headlight = l.lamps ? Rgb{255, 252, 230} : shade(l, Rgb{226, 226, 210});
    p.disc(right + 2.5 * s, bottom - 11 * s, 2.6 * s, headlight);
    if (l.lamps) p.glow(right + 6 * s, bottom - 11 * s, 46 * s, Rgb{255, 244, 210}, 0.6);
    if (kind == TrainKind::kElectric) {
      // A single-arm pantograph raised to the contact wire, or folded without one.
      const double px = left + 0.3 * len;
      const double head = contact > 0 ? contact + 1.5 * s : roofTop - 9 * s;
      const double knee = (roofTop + head) / 2;
      p.rect(px - 12 * s, roofTop - 3 * s, 24 * s, 3 * s, dark);
      p.line(px - 10 * s, roofTop - 3 * s, px + 9 * s, knee, 1.7 * s, dark);
      p.line(px + 9 * s, knee, px - 3 * s, head, 1.7 * s, dark);
      p.rect(px - 14 * s, head - 1 * s, 22 * s, 2.5 * s, dark);
    }
  }
  if (tail) {
    const Rgb red = l.lamps ? Rgb{255, 70, 50} : shade(l, Rgb{150, 44, 40});
    p.disc(left + 1.5 * s, bottom - 11 * s, 2.2 * s, red);
    if (l.lamps) p.glow(left, bottom - 11 * s, 18 * s, Rgb{255, 60, 40}, 0.5);
  }
}

void drawTrain(Painter& p, const Lighting& l, TrainKind kind, double nose, double rail, double s,
               int cars, double contact, bool snow) {
  if (kind == TrainKind::kNone) return;
  const double len = 230 * s, gap = 6 * s;
  for (int i = 0; i < cars; ++i) {
    const double right = nose - i * (len + gap);
    const double left = right - len;
    if (right < -30 || left > kTitleWidth + 30) continue;
    if (i + 1 < cars)
      p.rect(left - gap - 1, rail - 66 * s, gap + 2, 40 * s, shade(l, Rgb{36, 36, 40}));
    drawCar(p, l, kind, left, right, rail, s, i == 0, i + 1 == cars, contact, snow);
  }
}

void drawConifer(Painter& p, double x, double base, double h, Rgb colour) {
  p.polygon({{x, base - h}, {x + h * 0.32, base}, {x - h * 0.32, base}}, colour);
}

void drawBirch(Painter& p, const Lighting& l, double x, double base, double h, bool snow,
               Noise& n) {
  const double w = std::max(1.5, h / 30);
  if (!snow) {
    for (int k = 0; k < 5; ++k)
      p.ellipse(x + (unit(n) - 0.5) * h * 0.4, base - h * (0.55 + unit(n) * 0.4), h * 0.16,
                h * 0.12, shade(l, mix(Rgb{112, 168, 76}, Rgb{150, 190, 90}, unit(n))), 0.92);
  } else {
    for (int k = 0; k < 4; ++k) {
      const double y = base - h * (0.5 + 0.12 * k);
      const double dir = k % 2 == 0 ? 1 : -1;
      p.line(x, y, x + dir * h * 0.18, y - h * 0.15, w * 0.4, shade(l, Rgb{90, 84, 80}));
    }
  }
  p.rect(x - w / 2, base - h, w, h, shade(l, Rgb{236, 234, 226}));
  for (int k = 0; k < 6; ++k)
    p.rect(x - w / 2, base - h * unit(n), w * (0.5 + unit(n) * 0.5), std::max(1.0, w * 0.4),
           shade(l, Rgb{50, 48, 46}));
}

void drawBoat(Painter& p, const Lighting& l, double x, double y, double s, Rgb hull) {
  p.polygon({{x - 18 * s, y}, {x + 20 * s, y}, {x + 14 * s, y + 7 * s}, {x - 13 * s, y + 7 * s}},
            shade(l, hull));
  p.rect(x - 9 * s, y - 7 * s, 13 * s, 7 * s, shade(l, Rgb{240, 240, 234}));
  p.line(x + 8 * s, y, x + 8 * s, y - 18 * s, 1 * s, shade(l, Rgb{70, 70, 70}));
}

void drawHarbour(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge hills(d.seed * 3 + 1);
  const double wall = lv.rail - 38;
  p.profile(
      0, kTitleWidth,
      [&](double x) { return lv.horizon - smoothstep(300, 520, x) * (28 + 18 * hills.at(x, 70)); },
      level(lv.horizon + 1), haze(l, Rgb{70, 100, 82}, 0.5));
  const Rgb seaTop = mix(l.skyLow, shade(l, Rgb{40, 96, 140}), 0.55);
  const Rgb seaLow = shade(l, Rgb{24, 70, 112});
  p.gradient(0, lv.horizon, kTitleWidth, wall - lv.horizon, seaTop, seaLow);
  Noise n(d.seed + 11);
  for (int i = 0; i < 240; ++i) {
    const double depth = std::pow(unit(n), 1.4);
    const double y = lv.horizon + 2 + depth * (wall - lv.horizon - 4);
    const double x = unit(n) * kTitleWidth;
    const double len = 3 + depth * 14 * unit(n);
    p.rect(x, y, len, 1 + depth, mix(mix(seaTop, seaLow, depth), l.skyLow, 0.35));
  }
  if (l.sun.y < lv.horizon) {
    // The sun's (or moon's) path of light on the water.
    for (int i = 0; i < 120; ++i) {
      const double depth = unit(n);
      const double y = lv.horizon + 2 + depth * (wall - lv.horizon - 4);
      const double x = l.sun.x + (unit(n) - 0.5) * (20 + depth * 90);
      p.rect(x, y, 4 + depth * 10, 1 + depth, mix(seaTop, l.sunColour, 0.7));
    }
  }
  // A breakwater with its lighthouse, boats in the bay.
  p.rect(30, lv.horizon + 34, 190, 6, shade(l, Rgb{150, 148, 140}));
  p.rect(174, lv.horizon - 8, 12, 42, shade(l, Rgb{240, 240, 236}));
  p.rect(172, lv.horizon - 15, 16, 8, shade(l, Rgb{200, 52, 42}));
  p.disc(180, lv.horizon - 18, 3, l.lamps ? Rgb{255, 240, 180} : shade(l, Rgb{230, 230, 220}));
  if (l.lamps) p.glow(180, lv.horizon - 18, 44, Rgb{255, 230, 160}, 0.5);
  drawBoat(p, l, 470, lv.horizon + 30, 1.0, Rgb{230, 230, 226});
  drawBoat(p, l, 640, lv.horizon + 64, 1.4, Rgb{190, 62, 50});
  // The sea wall under the line, then the shore road.
  p.rect(0, wall, kTitleWidth, lv.rail + 14 - wall, shade(l, Rgb{152, 150, 142}));
  p.rect(0, wall, kTitleWidth, 3, shade(l, Rgb{186, 184, 176}));
  for (double x = 20; x < kTitleWidth; x += 44)
    p.rect(x, wall + 3, 1.2, lv.rail - wall - 3, shade(l, Rgb{120, 118, 112}));
  p.gradient(0, lv.rail + 14, kTitleWidth, 600 - lv.rail, shade(l, Rgb{98, 136, 74}),
             shade(l, Rgb{70, 104, 54}));
}

void drawBuildings(Painter& p, const Lighting& l, Noise& n, double base, double low, double high,
                   Rgb colour, double hazeAmount) {
  double x = -10;
  while (x < kTitleWidth + 10) {
    const double w = 26 + unit(n) * 46;
    const double h = low + unit(n) * (high - low);
    const Rgb c = haze(l, colour, hazeAmount + unit(n) * 0.08);
    p.rect(x, base - h, w, h + 80, c);
    for (double wy = base - h + 6; wy < base - 4; wy += 9) {
      for (double wx = x + 4; wx < x + w - 5; wx += 8) {
        const double r = unit(n);
        if (l.lamps && r < 0.35)
          p.rect(wx, wy, 3.5, 4.5, mix(Rgb{255, 214, 130}, c, 0.25 + 0.3 * unit(n)));
        else if (!l.lamps && r < 0.5)
          p.rect(wx, wy, 3.5, 4.5, mix(c, kBlack, 0.14));
      }
    }
    x += w + 2 + unit(n) * 6;
  }
}

void drawCity(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  Noise n(d.seed + 5);
  drawBuildings(p, l, n, lv.horizon, 50, 200, Rgb{118, 124, 140}, 0.42);
  drawBuildings(p, l, n, lv.horizon + 50, 30, 110, Rgb{160, 150, 138}, 0.12);
  p.gradient(0, lv.horizon + 50, kTitleWidth, 600, shade(l, Rgb{128, 126, 122}),
             shade(l, Rgb{100, 98, 95}));
  // The line runs on a viaduct above the street.
  p.rect(0, lv.rail + 25, kTitleWidth, 12, shade(l, Rgb{84, 84, 88}));
  for (double x = 60; x < kTitleWidth + 20; x += 190)
    p.rect(x, lv.rail + 25, 26, 600, shade(l, Rgb{160, 157, 150}));
  p.rect(0, lv.rail + 3, kTitleWidth, 22, shade(l, Rgb{176, 173, 166}));
  p.rect(0, lv.rail + 23, kTitleWidth, 2, shade(l, Rgb{120, 118, 112}));
  p.rect(0, 566, kTitleWidth, 34, shade(l, Rgb{78, 78, 82}));
  for (double x = 10; x < kTitleWidth; x += 60)
    p.rect(x, 582, 28, 2, shade(l, Rgb{220, 220, 210}));
}

void drawMountains(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 5 + 2), mid(d.seed * 5 + 3);
  const auto farTop = [&](double x) {
    return lv.horizon - (150 + 70 * far.at(x, 110) + 40 * std::fabs(far.at(x + 300, 45)));
  };
  p.profile(0, kTitleWidth, farTop, level(lv.horizon + 1), haze(l, Rgb{92, 110, 140}, 0.45));
  // Snow on the highest peaks.
  const double snowLine = lv.horizon - 215;
  p.profile(
      0, kTitleWidth, farTop, [&](double x) { return std::max(farTop(x), snowLine); },
      haze(l, Rgb{236, 240, 246}, 0.3));
  const auto midTop = [&](double x) { return lv.horizon - (70 + 36 * mid.at(x, 80)); };
  const Rgb forest = haze(l, Rgb{52, 92, 58}, 0.22);
  p.profile(0, kTitleWidth, midTop, level(lv.rail + 20), forest);
  Noise n(d.seed + 31);
  for (double x = -5; x < kTitleWidth + 5; x += 5 + unit(n) * 4) {
    const double base = midTop(x) + 6 + unit(n) * 50;
    drawConifer(p, x, base, 14 + unit(n) * 12, haze(l, Rgb{30, 70, 42}, 0.18));
  }
  // The hillside the line is cut into.
  const Ridge bank(d.seed * 5 + 4);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.rail - 26 - 10 * bank.at(x, 40); },
      level(lv.rail + 4), shade(l, Rgb{78, 112, 60}));
  p.gradient(0, lv.rail + 14, kTitleWidth, 600 - lv.rail, shade(l, Rgb{74, 104, 52}),
             shade(l, Rgb{50, 76, 38}));
  for (double x = 8; x < kTitleWidth; x += 40 + unit(n) * 50)
    drawConifer(p, x, 600, 70 + unit(n) * 50, shade(l, Rgb{28, 60, 34}));
}

void drawTunnelMouth(Painter& p, const Lighting& l, double rail) {
  p.polygon({{600, rail + 16},
             {660, rail - 150},
             {760, rail - 230},
             {kTitleWidth + 10, rail - 250},
             {kTitleWidth + 10, rail + 16}},
            shade(l, Rgb{64, 92, 52}));
  p.rect(646, rail - 124, 128, rail + 8 - (rail - 124), shade(l, Rgb{168, 164, 154}));
  p.rect(646, rail - 124, 128, 5, shade(l, Rgb{196, 192, 182}));
  const Rgb dark{14, 14, 14};
  p.rect(666, rail - 78, 88, 86, dark);
  p.disc(710, rail - 78, 44, dark);
}

void drawPlateau(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 11 + 1), mid(d.seed * 11 + 2);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - (46 + 26 * far.at(x, 90)); },
      level(lv.horizon + 1), haze(l, d.snow ? Rgb{210, 220, 236} : Rgb{104, 126, 150}, 0.45));
  const Rgb meadowTop = shade(l, d.snow ? Rgb{234, 238, 246} : Rgb{156, 188, 96});
  const Rgb meadowLow = shade(l, d.snow ? Rgb{212, 220, 236} : Rgb{106, 148, 66});
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - (12 + 14 * mid.at(x, 70)); },
      level(kTitleHeight), meadowTop);
  p.gradient(0, lv.horizon + 26, kTitleWidth, 600, meadowTop, meadowLow);
  Noise n(d.seed + 41);
  // Birches behind the line, the farther ones smaller.
  std::vector<std::array<double, 3>> trees;
  for (int i = 0; i < 16; ++i)
    trees.push_back(
        {unit(n) * kTitleWidth, lv.horizon + 8 + unit(n) * (lv.rail - lv.horizon - 30), 0});
  std::sort(trees.begin(), trees.end(), [](const auto& a, const auto& b) { return a[1] < b[1]; });
  for (const auto& t : trees)
    drawBirch(p, l, t[0], t[1], (t[1] - lv.horizon + 30) * 1.6, d.snow, n);
  if (!d.snow) {
    for (int i = 0; i < 160; ++i) {
      const double y = lv.rail + 18 + unit(n) * (600 - lv.rail - 18);
      static constexpr std::array<Rgb, 3> kFlowers{Rgb{250, 250, 240}, Rgb{250, 220, 70},
                                                   Rgb{190, 140, 220}};
      p.disc(unit(n) * kTitleWidth, y, 1 + (y - lv.rail) / 60,
             shade(l, kFlowers[static_cast<std::size_t>(i % 3)]));
    }
  }
}

void drawLake(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 13 + 1);
  const double shore = lv.rail - 34;
  const auto height = [&](double x) {
    return 70 + 40 * far.at(x, 100) + 22 * std::fabs(far.at(x + 500, 40));
  };
  const Rgb mountain = haze(l, Rgb{76, 98, 130}, 0.42);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - height(x); }, level(lv.horizon + 1),
      mountain);
  const Rgb waterTop = mix(l.skyLow, shade(l, Rgb{40, 80, 110}), 0.4);
  const Rgb waterLow = shade(l, Rgb{30, 62, 92});
  p.gradient(0, lv.horizon, kTitleWidth, shore - lv.horizon, waterTop, waterLow);
  // The mountains mirrored in the still water.
  p.profile(
      0, kTitleWidth, level(lv.horizon), [&](double x) { return lv.horizon + height(x) * 0.55; },
      mix(mountain, waterLow, 0.35), 0.75);
  Noise n(d.seed + 51);
  for (int i = 0; i < 160; ++i) {
    const double depth = unit(n);
    const double y = lv.horizon + 2 + depth * (shore - lv.horizon - 4);
    p.rect(unit(n) * kTitleWidth, y, 6 + depth * 18, 1, mix(waterTop, l.skyLow, 0.5));
  }
  if (l.sun.y < lv.horizon) {
    for (int i = 0; i < 90; ++i) {
      const double depth = unit(n);
      const double y = lv.horizon + 2 + depth * (shore - lv.horizon - 4);
      p.rect(l.sun.x + (unit(n) - 0.5) * (16 + depth * 60), y, 4 + depth * 12, 1 + depth,
             mix(waterTop, l.sunColour, 0.75));
    }
  }
  // Reeds at the water's edge, the bank the line runs along.
  p.gradient(0, shore, kTitleWidth, 600 - shore, shade(l, Rgb{92, 126, 70}),
             shade(l, Rgb{62, 96, 50}));
  for (double x = 0; x < kTitleWidth; x += 2 + unit(n) * 3) {
    const double h = 6 + unit(n) * 12;
    p.line(x, shore + 2, x + (unit(n) - 0.5) * 4, shore + 2 - h, 0.8, shade(l, Rgb{70, 98, 50}));
  }
}

void drawDepot(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 17 + 1);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - (30 + 20 * far.at(x, 80)); },
      level(lv.horizon + 1), haze(l, Rgb{90, 112, 104}, 0.5));
  p.gradient(0, lv.horizon, kTitleWidth, 600 - lv.horizon, shade(l, Rgb{150, 142, 128}),
             shade(l, Rgb{112, 104, 94}));
  // The car shed at the back, with its saw-tooth roof and windows.
  const double shedBase = lv.horizon + 6;
  p.rect(470, shedBase - 96, 340, 96, shade(l, Rgb{150, 96, 76}));
  for (double x = 470; x < kTitleWidth; x += 48)
    p.polygon({{x, shedBase - 96}, {x + 36, shedBase - 120}, {x + 36, shedBase - 96}},
              shade(l, Rgb{130, 132, 136}));
  for (double x = 484; x < kTitleWidth; x += 30)
    p.rect(x, shedBase - 80, 18, 26,
           l.lamps ? Rgb{255, 226, 160} : mix(shade(l, Rgb{60, 70, 80}), l.skyLow, 0.2));
  // Lamp towers.
  for (double x : {110.0, 420.0}) {
    p.rect(x - 2, lv.horizon - 120, 4, 170, shade(l, Rgb{120, 120, 124}));
    p.rect(x - 10, lv.horizon - 126, 20, 7, shade(l, Rgb{90, 90, 94}));
    if (l.lamps) p.glow(x, lv.horizon - 118, 60, Rgb{255, 240, 200}, 0.45);
  }
  // Two sidings with parked trains, farther back and smaller.
  const double back = lv.horizon + 30, middle = lv.horizon + 78;
  drawTrack(p, l, back, 0.55, d.snow);
  drawTrain(p, l, TrainKind::kElectric, 520, back, 0.55, 3, -1, d.snow);
  drawTrack(p, l, middle, 0.75, d.snow);
  drawTrain(p, l, TrainKind::kDiesel, 760, middle, 0.75, 2, -1, d.snow);
}

void drawRiver(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv) {
  const Ridge far(d.seed * 19 + 1);
  p.profile(
      0, kTitleWidth, [&](double x) { return lv.horizon - (40 + 30 * far.at(x, 90)); },
      level(lv.horizon + 1), haze(l, Rgb{86, 110, 130}, 0.45));
  p.gradient(0, lv.horizon, kTitleWidth, 110, shade(l, Rgb{140, 172, 92}),
             shade(l, Rgb{110, 148, 74}));
  Noise n(d.seed + 61);
  for (int i = 0; i < 7; ++i) {
    const double y = lv.horizon + 8 + i * 12;
    p.rect(0, y, kTitleWidth, 2 + i * 0.6, shade(l, Rgb{124, 160, 80}));
  }
  // The river, its banks, the girder bridge on concrete piers.
  const double water = 470;
  p.gradient(0, water, kTitleWidth, 600 - water, mix(l.skyLow, shade(l, Rgb{50, 96, 120}), 0.5),
             shade(l, Rgb{30, 70, 96}));
  for (int i = 0; i < 120; ++i) {
    const double depth = unit(n);
    p.rect(unit(n) * kTitleWidth, water + 3 + depth * 125, 6 + depth * 16, 1 + depth,
           mix(shade(l, Rgb{60, 110, 134}), l.skyLow, 0.45));
  }
  p.polygon({{-10, lv.horizon + 100}, {140, lv.horizon + 100}, {60, 600}, {-10, 600}},
            shade(l, Rgb{92, 128, 62}));
  p.polygon({{kTitleWidth + 10, lv.horizon + 100},
             {660, lv.horizon + 100},
             {740, 600},
             {kTitleWidth + 10, 600}},
            shade(l, Rgb{92, 128, 62}));
  for (double x : {130.0, 400.0, 670.0}) {
    p.rect(x - 15, lv.rail + 26, 30, water + 30 - lv.rail - 26, shade(l, Rgb{170, 166, 158}));
    p.rect(x - 15, water + 30, 30, 60, mix(shade(l, Rgb{90, 88, 84}), l.skyLow, 0.2));
  }
  const Rgb girder = shade(l, Rgb{70, 92, 124});
  p.rect(-10, lv.rail + 3, kTitleWidth + 20, 24, girder);
  p.rect(-10, lv.rail + 3, kTitleWidth + 20, 2, shade(l, Rgb{110, 132, 164}));
  for (double x = 0; x < kTitleWidth; x += 22)
    p.rect(x, lv.rail + 5, 1.5, 22, shade(l, Rgb{52, 70, 96}));
}

// The near platform: its edge, the yellow line, the canopy above, two pillars and the
// station's name board on its posts.
constexpr int kBoardX = 520, kBoardY = 270, kBoardW = 236, kBoardH = 86;

void drawPlatform(Painter& p, const Lighting& l, double rail, bool board) {
  const double edge = rail - 14;
  p.gradient(0, edge, kTitleWidth, 600 - edge, shade(l, Rgb{184, 182, 176}),
             shade(l, Rgb{136, 134, 128}));
  p.rect(0, edge, kTitleWidth, 4, shade(l, Rgb{236, 236, 230}));
  p.rect(0, edge + 14, kTitleWidth, 10, shade(l, Rgb{236, 200, 44}));
  for (double x = 2; x < kTitleWidth; x += 5)
    p.rect(x, edge + 16, 2, 6, shade(l, Rgb{214, 176, 30}));
  p.rect(0, 0, kTitleWidth, 30, shade(l, Rgb{72, 74, 80}));
  p.rect(0, 30, kTitleWidth, 6, shade(l, Rgb{52, 52, 58}));
  for (double x = 40; x < kTitleWidth; x += 160) {
    p.rect(x, 22, 70, 5, Rgb{250, 250, 244});
    if (l.lamps) p.glow(x + 35, 28, 70, Rgb{255, 250, 230}, 0.35);
  }
  for (double x : {60.0, 470.0}) {
    p.rect(x - 9, 36, 18, 560 - 36, shade(l, Rgb{126, 128, 134}));
    p.rect(x - 9, 36, 4, 560 - 36, shade(l, Rgb{160, 162, 168}));
  }
  if (!board) return;
  for (double x : {kBoardX + 34.0, kBoardX + kBoardW - 38.0})
    p.rect(x, kBoardY + kBoardH, 5, 570 - kBoardY - kBoardH, shade(l, Rgb{90, 92, 98}));
  p.rect(kBoardX - 3, kBoardY - 3, kBoardW + 6, kBoardH + 6, shade(l, Rgb{70, 72, 78}));
  // The board is lit from inside after dark: its colours do not dim.
  const Lighting& face = l.lamps ? lightingOf(Light::kNoon) : l;
  p.rect(kBoardX, kBoardY, kBoardW, kBoardH, shade(face, Rgb{250, 250, 246}));
  p.rect(kBoardX, kBoardY + kBoardH - 22, kBoardW, 22, shade(face, kLineGreen));
}

void letterBoard(Canvas& c, const StationBoard& b) {
  const auto centred = [&](const std::string& text, int size, FontWeight w, int y, Rgb colour) {
    drawText(c, kBoardX + (kBoardW - measureText(text, size, w)) / 2, y, text, size, colour, w);
  };
  centred(b.name, 30, FontWeight::kBold, kBoardY + 2, Rgb{20, 20, 24});
  centred(b.reading, 13, FontWeight::kRegular, kBoardY + 42, Rgb{60, 60, 64});
  const int bandY = kBoardY + kBoardH - 21;
  if (!b.previous.empty()) drawText(c, kBoardX + 6, bandY, "← " + b.previous, 13, kWhite);
  if (!b.next.empty()) {
    const std::string next = b.next + " →";
    drawText(c, kBoardX + kBoardW - 6 - measureText(next, 13), bandY, next, 13, kWhite);
  }
}

Canvas drawScene(const SceneDesign& d) {
  const Lighting l = lightingOf(d.light);
  const Levels lv = levelsOf(d.land);
  Painter p(kTitleWidth, kTitleHeight);
  drawSky(p, l, lv.horizon, d.seed);
  switch (d.land) {
    case Land::kHarbour:
      drawHarbour(p, l, d, lv);
      break;
    case Land::kCity:
      drawCity(p, l, d, lv);
      break;
    case Land::kMountain:
      drawMountains(p, l, d, lv);
      break;
    case Land::kPlateau:
      drawPlateau(p, l, d, lv);
      break;
    case Land::kLake:
      drawLake(p, l, d, lv);
      break;
    case Land::kDepot:
      drawDepot(p, l, d, lv);
      break;
    case Land::kRiver:
      drawRiver(p, l, d, lv);
      break;
  }
  double contact = -1;
  if (d.train == TrainKind::kElectric)
    contact = drawWires(p, l, lv.rail, 1, 40 + d.seed * 37 % 100);
  drawTrack(p, l, lv.rail, 1, d.snow);
  if (d.tunnel) drawTunnelMouth(p, l, lv.rail);
  drawTrain(p, l, d.train, d.nose, lv.rail, 1, d.cars, contact, d.snow);
  if (d.platform) drawPlatform(p, l, lv.rail, !d.board.name.empty());
  if (d.land == Land::kPlateau && !d.platform) {
    Noise n(d.seed + 43);
    drawBirch(p, l, 24, 612, 330, d.snow, n);
    drawBirch(p, l, 772, 620, 300, d.snow, n);
  }
  if (d.snow) {
    Noise n(d.seed + 71);
    for (int i = 0; i < 420; ++i) {
      const double r = 0.6 + unit(n) * 1.8;
      p.disc(unit(n) * kTitleWidth, unit(n) * kTitleHeight, r, Rgb{250, 250, 255});
    }
  }
  Canvas c = p.finish();
  if (d.platform && !d.board.name.empty()) letterBoard(c, d.board);
  return c;
}

// ---------------------------------------------------------------------------------------------
// Lettering on the pictures

void outlinedText(Canvas& c, int x, int y, const std::string& text, int size, Rgb fill, Rgb outline,
                  int radius, FontWeight weight = FontWeight::kBold) {
  const TextMask mask = renderText(text, size, weight);
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (dx * dx + dy * dy <= radius * radius + 1) drawMask(c, mask, x + dx, y + dy, outline);
  drawMask(c, mask, x, y, fill);
}

void shadowedText(Canvas& c, int x, int y, const std::string& text, int size, Rgb fill,
                  FontWeight weight) {
  const TextMask mask = renderText(text, size, weight);
  drawMask(c, mask, x + 2, y + 2, kBlack, 0.6);
  drawMask(c, mask, x, y, fill);
}

int centredX(const std::string& text, int size, FontWeight weight, int width = kTitleWidth) {
  return (width - measureText(text, size, weight)) / 2;
}

void letterTitle(Canvas& c, int y, const std::string& subtitle) {
  const int size = 60;
  outlinedText(c, centredX(kTitle, size, FontWeight::kBold), y, kTitle, size, kWhite,
               Rgb{18, 30, 60}, 3);
  if (!subtitle.empty())
    outlinedText(c, centredX(subtitle, 24, FontWeight::kBold), y + 80, subtitle, 24,
                 Rgb{255, 236, 170}, Rgb{18, 30, 60}, 2);
}

// A caption at the foot of a slide: a line in large letters, a smaller one below.
void caption(Canvas& c, const std::string& main, const std::string& sub) {
  veil(c, 0, 496, kTitleWidth, 104, kBlack, 0.5);
  veil(c, 0, 496, kTitleWidth, 2, Rgb{255, 236, 170}, 0.8);
  shadowedText(c, 40, 506, main, 32, kWhite, FontWeight::kBold);
  shadowedText(c, 42, 556, sub, 19, Rgb{228, 228, 222}, FontWeight::kRegular);
}

// A credit of the ending: a small heading over one or two lines, centred in a band.
void credit(Canvas& c, const std::string& heading, const std::string& main,
            const std::string& extra) {
  // Over the sky, clear of the line and its trains.
  veil(c, 0, 56, kTitleWidth, 150, kBlack, 0.45);
  shadowedText(c, centredX(heading, 20, FontWeight::kRegular), 68, heading, 20, Rgb{255, 226, 160},
               FontWeight::kRegular);
  int size = 36;
  while (size > 18 && measureText(main, size, FontWeight::kBold) > kTitleWidth - 60)
    --size;
  shadowedText(c, centredX(main, size, FontWeight::kBold), 102, main, size, kWhite,
               FontWeight::kBold);
  if (!extra.empty()) {
    int small = 24;
    while (small > 14 && measureText(extra, small, FontWeight::kRegular) > kTitleWidth - 60)
      --small;
    shadowedText(c, centredX(extra, small, FontWeight::kRegular), 160, extra, small,
                 Rgb{230, 230, 224}, FontWeight::kRegular);
  }
}

// ---------------------------------------------------------------------------------------------
// The demo's routes, seen from the cab

const std::vector<RouteDesign>& routes() {
  static const std::vector<RouteDesign> list = demoRoutes();
  return list;
}

const std::vector<StationDesign>& stationsOf(int route) {
  return routes().at(static_cast<std::size_t>(route)).line.stations;
}

StationBoard boardOf(int route, int station) {
  const auto& s = stationsOf(route);
  const auto i = static_cast<std::size_t>(station);
  return {s.at(i).name, s.at(i).reading, i > 0 ? s[i - 1].name : "",
          i + 1 < s.size() ? s[i + 1].name : ""};
}

double stationMetre(int route, int station) {
  return stationsOf(route).at(static_cast<std::size_t>(station)).metre;
}

// The driver's view at `metre` along a route, coloured for the time of day, framed on a
// dark slide with its caption.
Canvas cabSlide(int route, double metre, Light light, const std::string& main,
                const std::string& sub) {
  const BuiltRoute built = buildRoute(routes().at(static_cast<std::size_t>(route)));
  RouteScene scene(built);
  Canvas view(kVideoWidth, kVideoHeight);
  scene.draw(built.frameAt(metre), view);
  const Lighting l = lightingOf(light);
  Canvas big = resample(view, 720, 405);
  if (light != Light::kNoon && light != Light::kMorning) {
    for (int y = 0; y < big.height(); ++y)
      for (int x = 0; x < big.width(); ++x)
        big.set(x, y, mix(shade(l, big.at(x, y)), l.skyLow, 0.1));
  }
  Canvas c(kTitleWidth, kTitleHeight);
  c.gradientRect(0, 0, kTitleWidth, kTitleHeight, mix(kNavy, l.skyTop, 0.35), Rgb{6, 8, 14});
  c.fillRect(36, 28, 728, 413, Rgb{200, 200, 196});
  c.blit(big, 40, 32);
  veil(c, 40, 32, 150, 30, kBlack, 0.55);
  drawText(c, 50, 34, "運転台から", 18, Rgb{255, 236, 170}, FontWeight::kBold);
  shadowedText(c, 40, 458, main, 32, kWhite, FontWeight::kBold);
  shadowedText(c, 42, 508, sub, 19, Rgb{228, 228, 222}, FontWeight::kRegular);
  return c;
}

SceneDesign scene(Light light, Land land, TrainKind train, double nose, int cars,
                  std::uint32_t seed) {
  SceneDesign d;
  d.light = light;
  d.land = land;
  d.train = train;
  d.nose = nose;
  d.cars = cars;
  d.seed = seed;
  return d;
}

SceneDesign atStation(SceneDesign d, StationBoard board) {
  d.platform = true;
  d.board = std::move(board);
  return d;
}

SceneDesign withTunnel(SceneDesign d) {
  d.tunnel = true;
  return d;
}

SceneDesign withSnow(SceneDesign d) {
  d.snow = true;
  return d;
}

// The stations where the rapid passes, as "汐見・緑ヶ丘・桜川".
std::string rapidPasses() {
  const RouteDesign& rapid = routes().at(1);
  std::string out;
  for (std::size_t i = 0; i < rapid.kinds.size(); ++i) {
    if (rapid.kinds[i] != 1) continue;
    if (!out.empty()) out += "・";
    out += rapid.line.stations[i].name;
  }
  return out;
}

std::string joinedStations(int route, std::size_t from) {
  std::string out;
  const auto& s = stationsOf(route);
  for (std::size_t i = from; i < s.size(); ++i) {
    if (!out.empty()) out += "・";
    out += s[i].name;
  }
  return out;
}

// The steepest rising gradient of a route, as "25‰".
std::string steepestClimb(int route) {
  double steepest = 0;
  for (const SpanDesign& s : routes().at(static_cast<std::size_t>(route)).line.slopes)
    steepest = std::max(steepest, s.value);
  char text[16];
  std::snprintf(text, sizeof text, "%.0f‰", steepest);
  return text;
}

// A time of day in ticks of 1/30 s as "7:10".
std::string clockText(int ticks) {
  const int minutes = ticks / 30 / 60;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", minutes / 60, minutes % 60);
  return text;
}

std::string kilometres(double metres) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f km", metres / 1000);
  return text;
}

// The main line from the harbour to the lake: the three up routes one after another.
double mainLineMetres() {
  return stationMetre(0, 5) + stationMetre(2, 4) + stationMetre(3, 3);
}

StationBoard chuoBoard() {
  return {stationsOf(0).back().name, stationsOf(0).back().reading, stationsOf(0)[4].name,
          stationsOf(2)[1].name};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Pictures

Canvas titlePicture(int index) {
  using enum Light;
  using enum Land;
  using enum TrainKind;
  SceneDesign d;
  switch (index) {
    case 0:
      d = scene(kMorning, kHarbour, kElectric, 640, 3, 1);
      break;
    case 1:
      d = withTunnel(scene(kNoon, kMountain, kDiesel, 600, 1, 2));
      break;
    case 2:
      d = scene(kDusk, kLake, kDiesel, 560, 2, 3);
      break;
    case 3:
      d = withSnow(scene(kMorning, kPlateau, kDiesel, 650, 2, 4));
      break;
    case 4:
      d = atStation(scene(kNight, kCity, kElectric, 440, 3, 5), chuoBoard());
      break;
    case 5:
      d = scene(kAfternoon, kRiver, kElectric, 720, 3, 6);
      break;
    default:
      throw std::out_of_range("title picture " + std::to_string(index));
  }
  Canvas c = drawScene(d);
  letterTitle(c, 46, "青葉線 " + stationsOf(0).front().name + " — " + stationsOf(3).back().name);
  return c;
}

Canvas menuBackground() {
  Canvas c = drawScene(scene(Light::kNoon, Land::kRiver, TrainKind::kElectric, 780, 3, 8));
  veil(c, 0, 0, kTitleWidth, kTitleHeight, kNavy, 0.45);
  veil(c, 0, 0, kTitleWidth, 70, kNavy, 0.55);
  veil(c, 0, 70, kTitleWidth, 2, Rgb{255, 236, 170}, 0.8);
  outlinedText(c, 24, 12, kTitle, 36, kWhite, kNavy, 2);
  const std::string hint = "路線と車両を選んでください";
  shadowedText(c, kTitleWidth - 24 - measureText(hint, 16, FontWeight::kRegular), 32, hint, 16,
               Rgb{230, 230, 224}, FontWeight::kRegular);
  // The panels behind the buttons and the map.
  const int routeBottom = kRouteButton.y + 5 * kRouteButtonPitch + kRouteButton.height;
  veil(c, 12, 78, kRouteButton.x + kRouteButton.width + 20 - 12, routeBottom + 12 - 78, kNavy, 0.6);
  veil(c, kRouteMap.x - 12, 78, kRouteMap.width + 24, routeBottom + 12 - 78, kNavy, 0.6);
  shadowedText(c, kRouteButton.x, 80, "路線", 17, Rgb{255, 226, 160}, FontWeight::kBold);
  shadowedText(c, kRouteMap.x, 80, "路線図", 17, Rgb{255, 226, 160}, FontWeight::kBold);
  shadowedText(c, kTrainButtons[0].x, kTrainButtons[0].y - 28, "車両", 17, Rgb{255, 226, 160},
               FontWeight::kBold);
  // What shows before a route is chosen: where the map and the trains will appear.
  const auto placeholder = [&](const MenuBox& box, const std::string& text) {
    veil(c, box.x, box.y, box.width, box.height, kBlack, 0.25);
    c.frameRect(box.x, box.y, box.width, box.height, 1, Rgb{110, 124, 150});
    shadowedText(c, box.x + centredX(text, 15, FontWeight::kRegular, box.width),
                 box.y + box.height / 2 - 10, text, 15, Rgb{190, 196, 210}, FontWeight::kRegular);
  };
  placeholder(kRouteMap, "路線を選ぶと路線図が出ます");
  placeholder(
      {kTrainButtons[0].x, kTrainButtons[0].y,
       kTrainButtons[1].x + kTrainButtons[1].width - kTrainButtons[0].x, kTrainButtons[0].height},
      "路線を選んでから車両を選びます");
  veil(c, 0, 540, kTitleWidth, 60, kNavy, 0.5);
  return c;
}

Canvas openingSlide(int index) {
  using enum Light;
  using enum Land;
  using enum TrainKind;
  switch (index) {
    case 0: {
      Canvas c = drawScene(scene(kDawn, kDepot, kElectric, 470, 3, 11));
      letterTitle(c, 120, "夜明けの車両基地から");
      return c;
    }
    case 1:
      return cabSlide(
          5, 420, kDawn, "出庫",
          stationsOf(5).front().name + "から出区線を" + stationsOf(5).back().name + "駅へ");
    case 2: {
      Canvas c =
          drawScene(atStation(scene(kMorning, kHarbour, kElectric, 430, 3, 12), boardOf(0, 0)));
      caption(c, stationsOf(0).front().name + " " + clockText(routes()[0].firstDeparture) + " 発",
              routes()[0].lineName);
      return c;
    }
    case 3:
      return cabSlide(0, stationMetre(0, 1) - 130, kMorning, stationsOf(0)[1].name,
                      "海沿いを走って最初の駅へ");
    case 4: {
      Canvas c = drawScene(scene(kMorning, kHarbour, kElectric, 660, 3, 13));
      caption(c, "朝の海沿い",
              stationsOf(0)[0].name + " → " + stationsOf(0)[1].name + "  " +
                  kilometres(stationMetre(0, 1)));
      return c;
    }
    case 5:
      return cabSlide(0, stationMetre(0, 2) - 130, kMorning, stationsOf(0)[2].name,
                      "停止位置に合わせて止まる");
    case 6: {
      Canvas c = drawScene(scene(kMorning, kRiver, kElectric, 700, 3, 14));
      caption(c, "鉄橋を渡る", stationsOf(0)[3].name + " → " + stationsOf(0)[4].name);
      return c;
    }
    case 7:
      return cabSlide(1, stationMetre(1, 5) - 200, kNoon, stationsOf(1)[5].name + " まもなく到着",
                      "快速は " + rapidPasses() + " を通過");
    case 8: {
      Canvas c = drawScene(atStation(scene(kNoon, kCity, kElectric, 430, 3, 15), chuoBoard()));
      caption(c, stationsOf(2)[0].name + "駅",
              "ここから山線 ワンマン運転で" + stationsOf(2).back().name + "へ");
      return c;
    }
    case 9:
      return cabSlide(2, stationMetre(2, 1) - 130, kNoon, stationsOf(2)[1].name,
                      "山線は " + steepestClimb(2) + " の上り勾配が続く");
    case 10: {
      Canvas c = drawScene(withTunnel(scene(kNoon, kMountain, kDiesel, 610, 1, 16)));
      caption(c, "トンネルへ", "山を貫いて" + stationsOf(2)[3].name + "へ");
      return c;
    }
    case 11:
      return cabSlide(2, routes()[2].line.tunnels.front().from - 40, kNoon, "トンネル進入",
                      "前照灯の光を頼りに");
    case 12: {
      Canvas c =
          drawScene(atStation(scene(kAfternoon, kMountain, kDiesel, 420, 1, 17), boardOf(2, 3)));
      caption(c, stationsOf(2)[3].name, "山線でいちばん高い駅");
      return c;
    }
    case 13:
      return cabSlide(2, stationMetre(2, 4) - 130, kAfternoon, stationsOf(2)[4].name,
                      "長い下り勾配を下って");
    case 14: {
      Canvas c = drawScene(scene(kAfternoon, kPlateau, kDiesel, 600, 2, 18));
      caption(c, "白樺の高原",
              stationsOf(3)[0].name + " → " + stationsOf(3)[1].name + "  " +
                  kilometres(stationMetre(3, 1)));
      return c;
    }
    case 15:
      return cabSlide(3, stationMetre(3, 2) - 130, kAfternoon, stationsOf(3)[2].name,
                      "湖が近づいてくる");
    case 16: {
      Canvas c = drawScene(scene(kDusk, kLake, kDiesel, 520, 2, 19));
      caption(c, "夕暮れの湖", stationsOf(3)[2].name + " → " + stationsOf(3)[3].name);
      return c;
    }
    case 17:
      return cabSlide(3, stationMetre(3, 3) - 150, kDusk, "終点 " + stationsOf(3)[3].name,
                      "停止位置まで あと少し");
    case 18: {
      Canvas c = drawScene(atStation(scene(kDusk, kLake, kDiesel, 420, 2, 20), boardOf(3, 3)));
      caption(c, stationsOf(3)[3].name + " 終点",
              "青葉線 全線 " + kilometres(mainLineMetres()) + " の旅");
      return c;
    }
    case 19: {
      Canvas c = drawScene(scene(kNight, kCity, kElectric, 560, 3, 21));
      letterTitle(c, 120, "出発進行！");
      return c;
    }
    default:
      throw std::out_of_range("opening slide " + std::to_string(index));
  }
}

Canvas endingSlide(int index) {
  using enum Light;
  using enum Land;
  using enum TrainKind;
  const auto credited = [](SceneDesign d, const std::string& heading, const std::string& main,
                           const std::string& extra) {
    Canvas c = drawScene(d);
    credit(c, heading, main, extra);
    return c;
  };
  switch (index) {
    case 0:
      return credited(atStation(scene(kDusk, kLake, kDiesel, 420, 2, 31), boardOf(3, 3)),
                      "終点 " + stationsOf(3).back().name, "ご乗務お疲れさまでした",
                      "青葉線 全線 " + kilometres(mainLineMetres()) + " を走り終えました");
    case 1:
      return credited(scene(kDusk, kLake, kNone, 0, 0, 32), "路線", "青葉線",
                      stationsOf(0).front().name + " — " + stationsOf(2).front().name + " — " +
                          stationsOf(3).front().name + " — " + stationsOf(3).back().name);
    case 2:
      return credited(scene(kDusk, kPlateau, kDiesel, 700, 2, 33), "車両",
                      electricTrainDesign().name + "形 電車",
                      dieselTrainDesign().name + "形 気動車");
    case 3:
      return credited(scene(kDusk, kHarbour, kElectric, 520, 3, 34), "駅", joinedStations(0, 0),
                      "");
    case 4:
      return credited(withTunnel(scene(kDusk, kMountain, kDiesel, 560, 1, 35)), "駅",
                      joinedStations(2, 1), "");
    case 5:
      return credited(scene(kNight, kLake, kNone, 0, 0, 36), "駅", joinedStations(3, 1), "");
    case 6:
      return credited(atStation(scene(kNight, kCity, kElectric, 430, 3, 37), chuoBoard()), "運転",
                      "あなた", "");
    case 7:
      return cabSlide(4, stationMetre(4, 1) - 100, kNight, "入庫",
                      stationsOf(4).back().name + "へ 今日の仕業はここまで");
    case 8:
      return credited(scene(kNight, kDepot, kElectric, 330, 3, 38), "車両基地",
                      "明日の運用に備えて", "一晩ゆっくり休みます");
    case 9:
      return credited(scene(kNight, kRiver, kElectric, 560, 3, 39), "映像・音楽・音声",
                      "すべてこのプログラムが作りました", "");
    case 10:
      return credited(scene(kNight, kHarbour, kNone, 0, 0, 40), "安全運転",
                      "ありがとうございました", "");
    case 11:
      return credited(scene(kNight, kMountain, kDiesel, 480, 1, 41), "また",
                      "次の乗務でお会いしましょう", "");
    case 12:
      return credited(scene(kDawn, kHarbour, kElectric, 420, 3, 42), "夜明け",
                      "新しい一日が始まります", "");
    case 13:
      return credited(scene(kMorning, kDepot, kElectric, 520, 3, 43), "出庫準備", "今日も 出発進行",
                      "");
    case 14:
      return credited(scene(kMorning, kPlateau, kDiesel, 640, 2, 44), "ご乗車",
                      "ありがとうございました", "");
    case 15: {
      Canvas c = drawScene(scene(kMorning, kLake, kNone, 0, 0, 45));
      letterTitle(c, 150, "おわり");
      return c;
    }
    default:
      throw std::out_of_range("ending slide " + std::to_string(index));
  }
}

namespace {

// ---------------------------------------------------------------------------------------------
// Buttons and maps

Rgb badgeColour(const RouteDesign& r) {
  if (r.line.shunting) return {124, 104, 170};
  if (r.oneMan != 0) return {40, 150, 90};
  if (r.kinds.size() > 1 && r.kinds[1] == 1) return {226, 118, 30};
  return {52, 128, 214};
}

int fittedSize(const std::string& text, int width, int largest, int smallest, FontWeight w) {
  int size = largest;
  while (size > smallest && measureText(text, size, w) > width)
    --size;
  return size;
}

// The line's name: the route name's first word ("青葉線", "中央車両基地").
std::string lineWord(const RouteDesign& r) {
  return r.lineName.substr(0, r.lineName.find(' '));
}

// Where a station stands on the map's line, and the heights of the line along it.
struct MapScale {
  double left;
  double right;
  double first;  // metres at the left end
  double last;
  double x(double metre) const { return left + (right - left) * (metre - first) / (last - first); }
};

}  // namespace

Canvas routeButton(int index) {
  const RouteDesign& r = routes().at(static_cast<std::size_t>(index));
  const int w = kRouteButton.width, h = kRouteButton.height;
  const Rgb badge = badgeColour(r);
  Canvas c(w, h);
  c.gradientRect(0, 0, w, h, Rgb{44, 62, 98}, Rgb{22, 32, 54});
  c.frameRect(0, 0, w, h, 1, Rgb{124, 144, 176});
  c.fillRect(1, 1, 5, h - 2, badge);
  const std::string kind = r.lineName2;
  const int badgeW = measureText(kind, 14, FontWeight::kBold) + 14;
  c.fillRect(14, 8, badgeW, 22, badge);
  c.frameRect(14, 8, badgeW, 22, 1, mix(badge, kWhite, 0.35));
  drawText(c, 21, 9, kind, 14, kWhite, FontWeight::kBold);
  const std::string ends = r.line.stations.front().name + " → " + r.line.stations.back().name;
  const int room = w - (14 + badgeW + 10) - 8;
  const int size = fittedSize(ends, room, 19, 11, FontWeight::kBold);
  drawText(c, 14 + badgeW + 10, 19 - size * 6 / 10, ends, size, kWhite, FontWeight::kBold);
  const std::string facts =
      lineWord(r) + "   " +
      kilometres(r.line.stations.back().metre - r.line.stations.front().metre) + "   " +
      clockText(r.firstDeparture) + " 発";
  const int small = fittedSize(facts, w - 28, 13, 9, FontWeight::kRegular);
  drawText(c, 14, 37, facts, small, Rgb{200, 210, 228});
  return c;
}

Canvas routeMap(char map) {
  // lineA: the harbour run of both line_up1 routes; lineB: the mountain run; lineC: the lake.
  std::vector<int> shown;
  switch (map) {
    case 'A':
      shown = {0, 1};
      break;
    case 'B':
      shown = {2};
      break;
    case 'C':
      shown = {3};
      break;
    default:
      throw std::out_of_range(std::string("route map ") + map);
  }
  const RouteDesign& r = routes().at(static_cast<std::size_t>(shown.front()));
  const LineDesign& line = r.line;
  const int w = kRouteMap.width, h = kRouteMap.height;
  const MapScale scale{34, w - 34.0, line.stations.front().metre, line.stations.back().metre};
  const double lineY = 112;
  const double profileTop = 160, profileBottom = 214;

  // Heights along the line from its gradients, per mille.
  std::vector<double> heights(static_cast<std::size_t>(w), 0.0);
  double lowest = 0, highest = 0;
  {
    double height = 0;
    double metre = scale.first;
    for (int x = 0; x < w; ++x) {
      const double to =
          scale.first + (scale.last - scale.first) * (x - scale.left) / (scale.right - scale.left);
      for (; metre < to; metre += 1) {
        for (const SpanDesign& s : line.slopes)
          if (metre >= s.from && metre < s.to) height += s.value / 1000;
      }
      heights[static_cast<std::size_t>(x)] = height;
      if (x >= scale.left && x <= scale.right) {
        lowest = std::min(lowest, height);
        highest = std::max(highest, height);
      }
    }
  }
  const double range = std::max(20.0, highest - lowest);
  const auto heightY = [&](double x) {
    const auto i = static_cast<std::size_t>(std::clamp(x, 0.0, w - 1.0));
    return profileBottom - (heights[i] - lowest) / range * (profileBottom - profileTop - 6);
  };

  Painter p(w, h, Rgb{248, 246, 238});
  p.rect(0, 0, w, 34, kLineGreen);
  // The height profile under the line.
  p.profile(scale.left, scale.right, heightY, level(profileBottom), Rgb{206, 222, 194});
  for (double x = scale.left; x < scale.right; x += 1)
    p.line(x, heightY(x), x + 1, heightY(x + 1), 1.4, Rgb{80, 124, 80});
  p.rect(scale.left, profileBottom, scale.right - scale.left, 1, Rgb{150, 150, 140});
  // The line, its bridges and tunnels, its stations.
  p.line(scale.left, lineY, scale.right, lineY, 6, kLineGreen);
  for (const SpanDesign& b : line.bridges) {
    p.rect(scale.x(b.from), lineY + 5, scale.x(b.to) - scale.x(b.from), 3, Rgb{70, 130, 210});
    p.rect(scale.x(b.from), lineY - 8, scale.x(b.to) - scale.x(b.from), 3, Rgb{70, 130, 210});
  }
  for (const SpanDesign& t : line.tunnels) {
    const double x0 = scale.x(t.from), x1 = scale.x(t.to);
    p.rect(x0, lineY - 5, x1 - x0, 10, Rgb{70, 70, 74});
    for (double x = x0 + 2; x < x1 - 4; x += 8)
      p.rect(x, lineY - 1, 4, 2, Rgb{230, 230, 230});
  }
  for (double m : line.crossings) {
    const double x = scale.x(m);
    p.line(x - 4, lineY - 4, x + 4, lineY + 4, 1.5, Rgb{40, 40, 40});
    p.line(x - 4, lineY + 4, x + 4, lineY - 4, 1.5, Rgb{40, 40, 40});
  }
  const bool rapidShown = shown.size() > 1;
  for (std::size_t i = 0; i < line.stations.size(); ++i) {
    const double x = scale.x(line.stations[i].metre);
    const bool signalBox = r.kinds[i] == 2;
    if (signalBox) {
      p.rect(x - 7, lineY - 7, 14, 14, Rgb{40, 40, 44});
      p.rect(x - 5, lineY - 5, 10, 10, kWhite);
    } else if (r.kinds[i] == 1) {
      // A station this route passes: a small grey ring.
      p.disc(x, lineY, 6, Rgb{130, 130, 134});
      p.disc(x, lineY, 4, kWhite);
    } else {
      p.disc(x, lineY, 8, Rgb{40, 40, 44});
      p.disc(x, lineY, 5.5, kWhite);
    }
    if (rapidShown && routes()[1].kinds[i] != 1) p.disc(x, lineY, 3.5, Rgb{226, 118, 30});
    p.line(x, lineY + 10, x, profileBottom, 0.6, Rgb{200, 200, 190});
  }
  Canvas c = p.finish();
  c.frameRect(0, 0, w, h, 2, Rgb{60, 70, 84});

  // Lettering.
  const std::string title =
      lineWord(r) + "  " + line.stations.front().name + " — " + line.stations.back().name;
  drawText(c, 12, 5, title, 18, kWhite, FontWeight::kBold);
  const std::string length = kilometres(line.stations.back().metre - line.stations.front().metre);
  drawText(c, w - 12 - measureText(length, 15), 8, length, 15, kWhite);
  for (std::size_t i = 0; i < line.stations.size(); ++i) {
    const std::string& name = line.stations[i].name;
    const int size = 15;
    const int tw = measureText(name, size, FontWeight::kBold);
    const int x = std::clamp(
        static_cast<int>(std::lround(scale.x(line.stations[i].metre))) - tw / 2, 4, w - 4 - tw);
    const int y = i % 2 == 0 ? 76 : 124;
    drawText(c, x, y, name, size, Rgb{30, 30, 34}, FontWeight::kBold);
  }
  char rise[48];
  std::snprintf(rise, sizeof rise, "高低差 %.0f m", highest - lowest);
  drawText(c, static_cast<int>(scale.left) + 2, static_cast<int>(profileTop) - 14, rise, 11,
           Rgb{90, 100, 90});
  for (const SpanDesign& s : line.slopes) {
    if (std::fabs(s.value) < 10) continue;
    char text[16];
    std::snprintf(text, sizeof text, "%s%.0f‰", s.value > 0 ? "↗" : "↘", std::fabs(s.value));
    const double mid = scale.x((s.from + s.to) / 2);
    drawText(c, static_cast<int>(mid) - measureText(text, 11) / 2,
             static_cast<int>(profileBottom) + 1, text, 11, Rgb{90, 100, 90});
  }
  // The legend.
  std::vector<std::pair<std::string, Rgb>> legend{{"● 停車駅", Rgb{40, 40, 44}}};
  if (rapidShown) legend.emplace_back("● 快速停車駅", Rgb{226, 118, 30});
  if (std::find(r.kinds.begin(), r.kinds.end(), 1) != r.kinds.end())
    legend.emplace_back("○ 通過駅", Rgb{130, 130, 134});
  if (std::find(r.kinds.begin(), r.kinds.end(), 2) != r.kinds.end())
    legend.emplace_back("■ 信号場", Rgb{40, 40, 44});
  if (!line.tunnels.empty()) legend.emplace_back("━ トンネル", Rgb{70, 70, 74});
  if (!line.bridges.empty()) legend.emplace_back("＝ 鉄橋", Rgb{70, 130, 210});
  if (!line.crossings.empty()) legend.emplace_back("× 踏切", Rgb{40, 40, 40});
  int lx = 12;
  for (const auto& [text, colour] : legend) {
    lx += drawText(c, lx, 228, text, 11, colour) + 12;
  }
  return c;
}

Canvas trainButton(int index) {
  if (index != 0 && index != 1) throw std::out_of_range("train button " + std::to_string(index));
  const bool diesel = index == 1;
  const TrainDesign design = diesel ? dieselTrainDesign() : electricTrainDesign();
  const int w = kTrainButtons[0].width, h = kTrainButtons[0].height;
  const Lighting l = lightingOf(Light::kNoon);
  Painter p(w, h);
  p.gradient(0, 0, w, h, Rgb{176, 208, 238}, Rgb{226, 236, 244});
  p.rect(0, 88, w, h - 88, Rgb{120, 148, 96});
  const double rail = 92, s = 0.5;
  double contact = -1;
  if (!diesel) {
    contact = rail - 112 * s;
    p.line(0, contact, w, contact, 0.8, Rgb{50, 50, 54});
  }
  drawTrack(p, l, rail, s, false);
  drawTrain(p, l, diesel ? TrainKind::kDiesel : TrainKind::kElectric, w - 14, rail, s, 2, contact,
            false);
  Canvas c = p.finish();
  veil(c, 0, 0, w, 26, kNavy, 0.75);
  veil(c, 0, h - 22, w, 22, kNavy, 0.75);
  c.frameRect(0, 0, w, h, 1, Rgb{124, 144, 176});
  const std::string name = design.name + "形";
  const int nameW = drawText(c, 8, 2, name, 17, kWhite, FontWeight::kBold);
  drawText(c, 8 + nameW + 8, 5, diesel ? "気動車" : "電車", 14, Rgb{255, 226, 160},
           FontWeight::kBold);
  const std::string handles = diesel ? "ワンハンドル・自動空気ブレーキ" : "2ハンドル・段階ブレーキ";
  drawText(c, 8, h - 20, handles, fittedSize(handles, w - 16, 12, 9, FontWeight::kRegular),
           Rgb{220, 228, 240});
  return c;
}

// ---------------------------------------------------------------------------------------------
// Music

namespace {

double hertzOf(int midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

int pitchClass(char letter) {
  switch (letter) {
    case 'c':
      return 0;
    case 'd':
      return 2;
    case 'e':
      return 4;
    case 'f':
      return 5;
    case 'g':
      return 7;
    case 'a':
      return 9;
    case 'b':
      return 11;
    default:
      throw std::invalid_argument(std::string("no note ") + letter);
  }
}

struct Note {
  double beat;    // start, in beats from the song's start
  double length;  // beats
  int midi;       // 0: a rest
};

// "f#5:1.5 r:1 bb4:0.5 | ..." → notes one after another; "|" marks bars and is skipped.
std::vector<Note> notes(const std::string& text) {
  std::vector<Note> out;
  std::istringstream in(text);
  std::string token;
  double beat = 0;
  while (in >> token) {
    if (token == "|") continue;
    const auto colon = token.find(':');
    const std::string name = token.substr(0, colon);
    const double length = colon == std::string::npos ? 1.0 : std::stod(token.substr(colon + 1));
    int midi = 0;
    if (name != "r") {
      std::size_t at = 1;
      int pc = pitchClass(name.at(0));
      if (name.size() > 2 && name[1] == '#') {
        ++pc;
        ++at;
      } else if (name.size() > 2 && name[1] == 'b') {
        --pc;
        ++at;
      }
      midi = 12 * (std::stoi(name.substr(at)) + 1) + pc;
    }
    out.push_back({beat, length, midi});
    beat += length;
  }
  return out;
}

struct Chord {
  double beat;
  double length;
  int root;  // pitch class
  bool minor;
};

// "D A Bm F#m:2 ..." → chords, four beats each unless given.
std::vector<Chord> chords(const std::string& text) {
  std::vector<Chord> out;
  std::istringstream in(text);
  std::string token;
  double beat = 0;
  while (in >> token) {
    if (token == "|") continue;
    const auto colon = token.find(':');
    std::string name = token.substr(0, colon);
    const double length = colon == std::string::npos ? 4.0 : std::stod(token.substr(colon + 1));
    const bool minor = name.size() > 1 && name.back() == 'm';
    if (minor) name.pop_back();
    int root = pitchClass(static_cast<char>(name.at(0) - 'A' + 'a'));
    if (name.size() > 1) root += name[1] == '#' ? 1 : -1;
    out.push_back({beat, length, (root + 12) % 12, minor});
    beat += length;
  }
  return out;
}

double beatsOf(const std::vector<Note>& n) {
  return n.empty() ? 0 : n.back().beat + n.back().length;
}

double beatsOf(const std::vector<Chord>& c) {
  return c.empty() ? 0 : c.back().beat + c.back().length;
}

// The three notes of a chord near middle C.
std::array<int, 3> triad(const Chord& c) {
  int root = 60 + c.root;
  if (root > 66) root -= 12;
  return {root, root + (c.minor ? 3 : 4), root + 7};
}

// A note of `seconds` (then `release` seconds dying away) built of the harmonic `weights`,
// rising over `attack` and decaying at `decay` per second.
Samples tone(double hertz, double seconds, const std::vector<double>& weights, double attack,
             double decayRate, double release) {
  Samples s = harmonics(hertz, weights, seconds + release);
  const std::size_t rise = std::max<std::size_t>(1, sampleCount(attack));
  const std::size_t held = std::min(sampleCount(seconds), s.size());
  const std::size_t fall = std::max<std::size_t>(1, s.size() - held);
  for (std::size_t i = 0; i < s.size(); ++i) {
    double env = i < rise ? static_cast<double>(i) / static_cast<double>(rise) : 1.0;
    env *= std::exp(-decayRate * static_cast<double>(i) / kSampleRate);
    if (i >= held) env *= 1.0 - static_cast<double>(i - held) / static_cast<double>(fall);
    s[i] = static_cast<float>(s[i] * env);
  }
  return s;
}

// A feedback delay mixed in: a little room around the instruments.
void echo(Samples& s, double delay, double feedback, double wet) {
  const std::size_t d = sampleCount(delay);
  Samples y = s;
  for (std::size_t i = d; i < y.size(); ++i)
    y[i] = static_cast<float>(y[i] + feedback * y[i - d]);
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<float>(s[i] + wet * (y[i] - s[i]));
}

class Song {
 public:
  explicit Song(double bpm, double beats, double tail)
      : m_beat(60.0 / bpm), m_samples(silence(beats * 60.0 / bpm + tail)) {}

  double seconds(double beats) const { return beats * m_beat; }

  void add(const Samples& sound, double beat, double gain) {
    mixIn(m_samples, sound, sampleCount(seconds(beat)), gain);
  }

  Samples finish(double length, double fadeOut) {
    m_samples.resize(sampleCount(length), 0.0f);
    normalise(m_samples, 0.85);
    fade(m_samples, 0.01, fadeOut);
    return m_samples;
  }

  Samples& samples() { return m_samples; }

 private:
  double m_beat;
  Samples m_samples;
};

void checkBars(const std::vector<Note>& melody, const std::vector<Chord>& harmony) {
  if (std::fabs(beatsOf(melody) - beatsOf(harmony)) > 1e-9)
    throw std::logic_error("the melody and its chords differ in length");
}

}  // namespace

Samples openingMusic() {
  // A bright march in D major, 132 beats a minute: two bars of introduction, two eight-bar
  // phrases and a four-bar close; 22 bars, 40 seconds.
  const std::vector<Chord> harmony =
      chords("D A | D A Bm F#m G D G A | G A F#m Bm Em A D D | G A D D");
  const std::vector<Note> melody = notes(
      "r:8 | a4 d5 f#5 a5 | g5 f#5 e5:2 | f#5 d5 b4 d5 | c#5:2 e5 a4 | b4 d5 g5 b5 |"
      " a5:1.5 f#5:0.5 d5:2 | e5 g5 b5 a5 | g5 f#5 e5:2 |"
      " b5:1.5 a5:0.5 g5 d5 | c#6:1.5 b5:0.5 a5:2 | a5 f#5 c#6 a5 | b5:2 f#5:2 | g5 b5 e6 d6 |"
      " c#6 b5 a5 c#6 | d6:3 a5 | f#5 a5 d6:2 | b5:2 a5:2 | g5 f#5 e5 c#5 | d5:4 | r:4");
  checkBars(melody, harmony);
  const double bpm = 132;
  Song song(bpm, beatsOf(harmony), 3.0);
  const double beat = 60.0 / bpm;
  for (const Note& n : melody) {
    if (n.midi == 0) continue;
    const double hz = hertzOf(n.midi);
    song.add(tone(hz, n.length * beat * 0.92, {1.0, 0.0, 0.25, 0.0, 0.1}, 0.012, 1.0, 0.08), n.beat,
             0.30);
    song.add(tone(hz * 2, n.length * beat * 0.9, {1.0}, 0.02, 2.0, 0.08), n.beat, 0.05);
  }
  const Samples kick = [] {
    Samples k = harmonics(58, {1.0, 0.3}, 0.22);
    decay(k, 22);
    return k;
  }();
  const Samples hat = [] {
    Samples h = hiss(7, 0.1, 0.05);
    decay(h, 70);
    return h;
  }();
  for (std::size_t i = 0; i < harmony.size(); ++i) {
    const Chord& c = harmony[i];
    const auto notesOf = triad(c);
    const bool last = i + 1 == harmony.size();  // the closing chord rings on
    for (int m : notesOf)
      song.add(tone(hertzOf(m), c.length * beat, {1.0, 0.3}, 0.25, 0.2, last ? 2.0 : 0.4), c.beat,
               0.05);
    if (last) {
      for (int m : notesOf)
        song.add(tone(hertzOf(m), beat, {1.0, 0.0, 0.2}, 0.01, 1.5, 1.5), c.beat, 0.10);
      song.add(tone(hertzOf(36 + c.root + (c.root < 2 ? 12 : 0)), 2 * beat, {1.0, 0.5, 0.2}, 0.01,
                    1.0, 1.5),
               c.beat, 0.28);
      song.add(kick, c.beat, 0.35);
      continue;
    }
    const int bass = 36 + c.root + (c.root < 2 ? 12 : 0);
    const std::array<std::pair<double, int>, 4> bassLine{
        {{0.0, bass}, {1.5, bass}, {2.0, bass + 7}, {3.5, bass + 12}}};
    for (const auto& [at, m] : bassLine)
      song.add(tone(hertzOf(m), (at == 0.0 || at == 2.0 ? 0.9 : 0.45) * beat, {1.0, 0.5, 0.2},
                    0.008, 1.5, 0.05),
               c.beat + at, 0.28);
    for (double at : {1.0, 3.0}) {
      for (int m : notesOf)
        song.add(tone(hertzOf(m), 0.4 * beat, {1.0, 0.0, 0.2}, 0.006, 3.0, 0.05), c.beat + at,
                 0.09);
      song.add(kick, c.beat + at - 1, 0.35);
    }
    for (int k = 0; k < 8; ++k)
      song.add(hat, c.beat + k * 0.5, k % 2 == 1 ? 0.05 : 0.025);
  }
  echo(song.samples(), 0.33, 0.28, 0.25);
  return song.finish(song.seconds(beatsOf(harmony)) + 1.5, 1.5);
}

Samples endingMusic() {
  // A slow song in F major for the evening, 80 beats a minute: two bars of introduction, two
  // eight-bar phrases on a falling progression and a two-bar close; 20 bars, 60 seconds.
  const std::vector<Chord> harmony =
      chords("F Bb | Bb C Am Dm Bb C F F | Bb C Am Dm Gm C F F | Bb:2 C:2 F");
  const std::vector<Note> melody = notes(
      "r:8 | f5:1.5 e5:0.5 d5 c5 | e5:1.5 d5:0.5 c5 g4 | a4 c5 e5 a5 | f5:2 e5 d5 |"
      " d5:1.5 c5:0.5 bb4 d5 | c5 d5 e5 g5 | f5:4 | a5 g5 f5 c5 |"
      " d6:1.5 c6:0.5 bb5 a5 | g5:1.5 a5:0.5 bb5 c6 | c6 a5 e5 a5 | a5:2 f5 d5 |"
      " g5 a5 bb5 d6 | c6:2 bb5 g5 | a5:4 | f5 g5 a5 c6 | bb5:2 g5:2 | f5:4");
  checkBars(melody, harmony);
  const double bpm = 80;
  Song song(bpm, beatsOf(harmony), 4.0);
  const double beat = 60.0 / bpm;
  for (const Note& n : melody) {
    if (n.midi == 0) continue;
    song.add(tone(hertzOf(n.midi), n.length * beat * 0.95, {1.0, 0.22, 0.06}, 0.06, 0.35, 0.25),
             n.beat, 0.32);
  }
  for (std::size_t i = 0; i < harmony.size(); ++i) {
    const Chord& c = harmony[i];
    const bool last = i + 1 == harmony.size();
    for (int m : triad(c))
      song.add(tone(hertzOf(m), c.length * beat, {1.0, 0.5, 0.3, 0.15}, 0.5, 0.1, last ? 3.0 : 0.6),
               c.beat, 0.045);
    const int bass = 36 + c.root + (c.root < 5 ? 12 : 0);
    song.add(tone(hertzOf(bass), c.length * beat * 0.95, {1.0, 0.4}, 0.02, 0.5, last ? 2.5 : 0.2),
             c.beat, 0.26);
    // Broken chords in eighths, rising and falling.
    int root = 48 + c.root;
    if (root > 55) root -= 12;
    const int third = c.minor ? 15 : 16;
    const std::array<int, 8> pattern{0, 7, 12, third, 19, third, 12, 7};
    const int eighths = last ? 1 : static_cast<int>(c.length * 2);
    for (int k = 0; k < eighths; ++k)
      song.add(tone(hertzOf(root + pattern[static_cast<std::size_t>(k % 8)]), 0.5 * beat,
                    {1.0, 0.35, 0.12}, 0.004, 2.5, last ? 2.5 : 0.3),
               c.beat + k * 0.5, 0.11);
  }
  echo(song.samples(), 0.29, 0.35, 0.3);
  return song.finish(song.seconds(beatsOf(harmony)) + 2.5, 3.0);
}

Samples startJingle() {
  // A rising arpeggio on C and its chord, like a departure chime; 1.5 seconds.
  Song song(240, 6, 0.5);  // a beat of 0.25 s
  const std::array<int, 3> run{72, 76, 79};
  for (std::size_t i = 0; i < run.size(); ++i)
    song.add(tone(hertzOf(run[i]), 0.2, {1.0, 0.4, 0.15}, 0.004, 4.0, 0.1),
             static_cast<double>(i) * 0.4, 0.3);
  for (int m : {72, 76, 79, 84})
    song.add(tone(hertzOf(m), 0.9, {1.0, 0.4, 0.15, 0.05}, 0.005, 2.2, 0.15), 1.3, 0.22);
  song.add(strike(hertzOf(84), 3.0, 0.9), 1.3, 0.2);
  return song.finish(1.5, 0.25);
}

// ---------------------------------------------------------------------------------------------
// The files

namespace {

std::string twoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

}  // namespace

std::vector<std::string> titleFileNames() {
  std::vector<std::string> names;
  for (int i = 1; i <= 6; ++i)
    names.push_back("image/title/line" + std::to_string(i) + ".bmp");
  for (const char* map : {"A", "B", "C"})
    names.push_back(std::string("image/title/line") + map + ".bmp");
  names.push_back("image/title/train1.bmp");
  names.push_back("image/title/train2.bmp");
  for (int i = 1; i <= 6; ++i)
    names.push_back("image/title/title" + twoDigits(i) + ".jpg");
  names.push_back("image/title/title2.jpg");
  for (int i = 1; i <= kOpeningSlides; ++i)
    names.push_back("image/title/op/" + twoDigits(i) + ".jpg");
  for (int i = 1; i <= kEndingSlides; ++i)
    names.push_back("image/title/ed/" + twoDigits(i) + ".jpg");
  names.push_back("sound/42213.wav");
  names.push_back("sound/akaneiro.wav");
  names.push_back("sound/start.wav");
  return names;
}

void writeTitleFiles(const std::string& root) {
  const std::string title = root + "/image/title/";
  for (int i = 0; i < 6; ++i)
    writeBmp(title + "line" + std::to_string(i + 1) + ".bmp", routeButton(i));
  for (char map : {'A', 'B', 'C'})
    writeBmp(title + "line" + map + ".bmp", routeMap(map));
  for (int i = 0; i < 2; ++i)
    writeBmp(title + "train" + std::to_string(i + 1) + ".bmp", trainButton(i));
  for (int i = 0; i < 6; ++i)
    writeJpeg(title + "title" + twoDigits(i + 1) + ".jpg", titlePicture(i), kJpegQuality);
  writeJpeg(title + "title2.jpg", menuBackground(), kJpegQuality);
  for (int i = 0; i < kOpeningSlides; ++i)
    writeJpeg(title + "op/" + twoDigits(i + 1) + ".jpg", openingSlide(i), kJpegQuality);
  for (int i = 0; i < kEndingSlides; ++i)
    writeJpeg(title + "ed/" + twoDigits(i + 1) + ".jpg", endingSlide(i), kJpegQuality);
  writeWave(root + "/sound/42213.wav", openingMusic(), kSampleRate, 16);
  writeWave(root + "/sound/akaneiro.wav", endingMusic(), kSampleRate, 16);
  writeWave(root + "/sound/start.wav", startJingle(), kSampleRate, 16);
}

}  // namespace velimoro::content::title_art

namespace velimoro::content {

Canvas routeButton(int index) {
  return title_art::routeButton(index);
}

Canvas routeMap(char map) {
  return title_art::routeMap(map);
}

Canvas trainButton(int index) {
  return title_art::trainButton(index);
}

Canvas titlePicture(int index) {
  return title_art::titlePicture(index);
}

Canvas menuBackground() {
  return title_art::menuBackground();
}

Canvas openingSlide(int index) {
  return title_art::openingSlide(index);
}

Canvas endingSlide(int index) {
  return title_art::endingSlide(index);
}

Samples openingMusic() {
  return title_art::openingMusic();
}

Samples endingMusic() {
  return title_art::endingMusic();
}

Samples startJingle() {
  return title_art::startJingle();
}

std::vector<std::string> titleFileNames() {
  return title_art::titleFileNames();
}

void writeTitleFiles(const std::string& root) {
  title_art::writeTitleFiles(root);
}

}  // namespace velimoro::content
