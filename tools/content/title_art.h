#pragma once

// The title screen's artwork: what its pictures share. Everything is drawn from the demo's own
// route and train designs: side views of the line at six times of day, the driver's view from
// the route renderer, and lettering in the Japanese font.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "tools/content/canvas.h"
#include "tools/content/glyphs.h"
#include "tools/content/route_design.h"
#include "tools/content/synth.h"

// The artwork's own names live in their own namespace, so that they never meet the
// generator's other names.
namespace velimoro::content::title_art {

inline constexpr int kSuper = 2;  // the artwork is drawn at twice the size and averaged down
inline constexpr int kJpegQuality = 80;
inline constexpr const char* kTitle = "鉄道運転シミュレータ";
inline constexpr double kPi = std::numbers::pi;

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kLineGreen{34, 128, 80};  // the line's colour on boards and maps
inline constexpr Rgb kNavy{16, 24, 42};

// ---------------------------------------------------------------------------------------------
// Drawing at twice the size

struct Point {
  double x;
  double y;
};

inline double unit(Noise& n) {
  return (static_cast<double>(n.next()) + 1) / 2;
}

inline double smoothstep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

inline void blendPixel(Canvas& c, int x, int y, Rgb colour, double alpha) {
  if (x < 0 || y < 0 || x >= c.width() || y >= c.height()) return;
  c.set(x, y, mix(c.at(x, y), colour, alpha));
}

/// Blends `colour` over the rectangle of a finished picture.
inline void veil(Canvas& c, int x, int y, int w, int h, Rgb colour, double alpha) {
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

inline std::function<double(double)> level(double y) {
  return [y](double) { return y; };
}

/// A picture resized by bilinear interpolation.
inline Canvas resample(const Canvas& src, int width, int height) {
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

Lighting lightingOf(Light light);
Rgb shade(const Lighting& l, Rgb c);
// A far colour: the land's colour fading into the sky near the horizon.
Rgb haze(const Lighting& l, Rgb c, double t);

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

Levels levelsOf(Land land);
Canvas drawScene(const SceneDesign& d);
// Rails, sleepers and ballast of a track seen from the side, `s` the scale.
void drawTrack(Painter& p, const Lighting& l, double rail, double s, bool snow);
void drawTrain(Painter& p, const Lighting& l, TrainKind kind, double nose, double rail, double s,
               int cars, double contact, bool snow);

// The lands behind the line (title_landscapes.cpp).
void drawBirch(Painter& p, const Lighting& l, double x, double base, double h, bool snow, Noise& n);
void drawHarbour(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv);
void drawCity(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv);
void drawMountains(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv);
void drawTunnelMouth(Painter& p, const Lighting& l, double rail);
void drawPlateau(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv);
void drawLake(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv);
void drawDepot(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv);
void drawRiver(Painter& p, const Lighting& l, const SceneDesign& d, Levels lv);

// The demo's routes, and how the pictures give their times and lengths.
const std::vector<RouteDesign>& routes();
// A time of day in ticks of 1/30 s as "7:10".
std::string clockText(int ticks);
std::string kilometres(double metres);

// The pictures and music; velimoro::content names them for the generator.
Canvas routeButton(int index);
Canvas routeMap(char map);
Canvas trainButton(int index);
Canvas titlePicture(int index);
Canvas menuBackground();
Canvas openingSlide(int index);
Canvas endingSlide(int index);
Samples openingMusic();
Samples endingMusic();
Samples startJingle();
std::vector<std::string> titleFileNames();
void writeTitleFiles(const std::string& root);

}  // namespace velimoro::content::title_art
