#include "tools/content/video_render.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <stdexcept>

#include "data/route_reader.h"
#include "media/translate.h"
#include "tools/content/video_writer.h"
#include "tools/end_signal.h"

namespace velimoro::content {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEyeHeight = 2.5;  // metres above the rail
constexpr double kStep = 2;         // metres between entries of the track profile
constexpr double kFar = 1600;       // metres of track drawn ahead
constexpr double kNear = 1.2;       // nothing nearer is drawn
constexpr double kGauge = 1.067;
constexpr double kRailWidth = 0.07;
constexpr double kSleeperPitch = 0.6;
constexpr double kSleeperReach = 40;  // metres; farther the sleepers blend into the bed
constexpr double kPolePitch = 50;
constexpr int kVideoQuality = 20;

constexpr Rgb kSkyTop{70, 120, 200};
constexpr Rgb kSkyLow{185, 210, 235};
constexpr Rgb kHills{95, 125, 110};
constexpr Rgb kGroundFar{120, 140, 95};
constexpr Rgb kGroundNear{80, 110, 60};
constexpr Rgb kBallast{125, 118, 108};
constexpr Rgb kSleeper{85, 70, 58};
constexpr Rgb kRail{200, 200, 205};
constexpr Rgb kPole{110, 110, 115};
constexpr Rgb kWire{40, 40, 45};
constexpr Rgb kDark{14, 13, 12};
// Bridges: painted steel trusses on an open deck over a river valley.
constexpr Rgb kGirder{150, 68, 52};
constexpr Rgb kGirderShade{104, 48, 40};
constexpr Rgb kGirderLight{172, 90, 70};
constexpr Rgb kWalkway{128, 126, 120};
constexpr Rgb kDeckGap{46, 42, 40};
constexpr Rgb kTimber{100, 78, 60};
constexpr Rgb kGuardRail{150, 140, 132};
constexpr Rgb kConcrete{152, 150, 142};
constexpr Rgb kBankLow{116, 98, 74};
constexpr Rgb kBankHigh{104, 108, 70};
constexpr Rgb kTree{50, 80, 46};
constexpr Rgb kTreeLit{68, 100, 56};
constexpr Rgb kGravel{162, 152, 130};
constexpr Rgb kWaterNear{48, 84, 98};
constexpr Rgb kWaterFar{128, 158, 178};

constexpr double kValleyDepth = 12;  // metres from the rail down to the water
constexpr double kTrussHalf = 2.9;   // the truss planes either side of the track
constexpr double kTrussTop = 7.2;
constexpr double kChordTop = 0.8;  // top of the bottom chord beside the deck
constexpr double kDeckHalf = 2.7;

double smoothstep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// A fixed number from the video's name, so that each line bends its own way.
double phaseOf(const std::string& name) {
  unsigned sum = 0;
  for (char c : name)
    sum = sum * 31 + static_cast<unsigned char>(c);
  return static_cast<double>(sum % 1000) / 1000.0 * 2 * kPi;
}

Rgb dim(Rgb c, double factor) {
  return mix(kDark, c, factor);
}

// A bridge's trusses: spans of about 55 m between piers, each of an even number of panels about
// 7 m long, so that the diagonals zigzag from one inclined end post to the other.
struct Truss {
  int spans;
  int panels;    // per span
  double panel;  // metres
};

Truss trussOf(double length) {
  const int spans = std::max(1, static_cast<int>(std::lround(length / 55)));
  const double span = length / spans;
  const int panels = std::max(2, 2 * static_cast<int>(std::lround(span / 14)));
  return {spans, panels, span / panels};
}

}  // namespace

RouteScene::RouteScene(const BuiltRoute& route, VideoSize size)
    : m_route(route),
      m_size(size),
      m_unit(size.width / static_cast<double>(kVideoWidth)),
      m_focal(kCameraFocal * m_unit) {
  std::int64_t acc = 0;
  for (const FrameSpeedEntry& s : m_route.segments) {
    for (int f = s.fromFrame; f < s.toFrame && f <= m_route.endFrame; ++f)
      if (static_cast<std::size_t>(f) >= m_metres.size())
        m_metres.push_back(static_cast<double>(segmentDistanceCm(s, acc, f)) / 100.0);
    acc = segmentDistanceCm(s, acc, s.toFrame);
  }
  while (static_cast<int>(m_metres.size()) <= m_route.endFrame)
    m_metres.push_back(static_cast<double>(acc) / 100.0);
  const int metres = static_cast<int>(m_route.design.line.end + kFar) + 2;
  m_heading.resize(static_cast<std::size_t>(metres));
  double heading = 0;
  for (int m = 0; m < metres; ++m) {
    m_heading[static_cast<std::size_t>(m)] = heading;
    heading += curvatureAt(m + 0.5);
  }
  const auto entries = static_cast<std::size_t>(kFar / kStep) + 2;
  m_lateral.resize(entries);
  m_rise.resize(entries);
}

double RouteScene::metreAt(int frame) const {
  if (m_metres.empty()) return 0;
  return m_metres[static_cast<std::size_t>(std::clamp(frame, 0, frames() - 1))];
}

double RouteScene::curvatureAt(double metre) const {
  const LineDesign& line = m_route.design.line;
  double nearest = 1e9;
  for (const StationDesign& s : line.stations)
    nearest = std::min(nearest, std::abs(metre - s.metre));
  const double straight = smoothstep(250, 550, nearest);
  const double phase = phaseOf(line.video);
  const double tight = line.shunting ? 1.0 / 250 : 1.0 / 700;
  const double wave = std::sin(2 * kPi * metre / 1900 + phase) *
                      (0.6 + 0.4 * std::sin(2 * kPi * metre / 3300 + 2 * phase));
  return tight * straight * std::clamp(wave * 1.6, -1.0, 1.0);
}

double RouteScene::gradientAt(double metre) const {
  // Each slope begins and ends on a vertical curve 80 m long.
  double g = 0;
  for (const SpanDesign& s : m_route.design.line.slopes)
    g += s.value * smoothstep(s.from - 40, s.from + 40, metre) *
         (1 - smoothstep(s.to - 40, s.to + 40, metre));
  return g;
}

double RouteScene::lateralAt(double z) const {
  const double at = std::clamp(z / kStep, 0.0, static_cast<double>(m_lateral.size() - 2));
  const auto i = static_cast<std::size_t>(at);
  const double t = at - static_cast<double>(i);
  return m_lateral[i] + (m_lateral[i + 1] - m_lateral[i]) * t;
}

double RouteScene::riseAt(double z) const {
  const double at = std::clamp(z / kStep, 0.0, static_cast<double>(m_rise.size() - 2));
  const auto i = static_cast<std::size_t>(at);
  const double t = at - static_cast<double>(i);
  return m_rise[i] + (m_rise[i + 1] - m_rise[i]) * t;
}

RouteScene::Point RouteScene::project(double lateral, double height, double z) const {
  return {m_size.width / 2.0 + m_focal * (lateral + lateralAt(z)) / z,
          m_horizon + m_focal * (kEyeHeight - height - riseAt(z)) / z};
}

// A level surface from lateral x0 to x1 at heights h0 (near) and h1 (far) between z0 and z1.
void RouteScene::fillQuad(Canvas& c, double x0, double x1, double h0, double h1, double z0,
                          double z1, Rgb colour) const {
  const Point p[4] = {project(x0, h0, z0), project(x1, h0, z0), project(x1, h1, z1),
                      project(x0, h1, z1)};
  fillPolygon(c, p, 4, colour);
}

// An upright face across the line at distance z.
void RouteScene::fillFace(Canvas& c, double x0, double x1, double h0, double h1, double z,
                          Rgb colour) const {
  const Point a = project(x0, h1, z), b = project(x1, h0, z);
  const double left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const int l = static_cast<int>(std::lround(left));
  const int top = static_cast<int>(std::lround(a.y));
  c.fillRect(l, top, std::max(thinnest(), static_cast<int>(std::lround(right)) - l),
             std::max(thinnest(), static_cast<int>(std::lround(b.y)) - top), colour);
}

// An upright face along the line at lateral x between z0 and z1.
void RouteScene::fillSide(Canvas& c, double x, double h0, double h1, double z0, double z1,
                          Rgb colour) const {
  const Point p[4] = {project(x, h0, z0), project(x, h1, z0), project(x, h1, z1),
                      project(x, h0, z1)};
  fillPolygon(c, p, 4, colour);
}

// A straight member in the upright plane at lateral x from (ha, za) to (hb, zb), `half` metres
// thick above and below its axis.
void RouteScene::fillMember(Canvas& c, double x, double ha, double hb, double za, double zb,
                            double half, Rgb colour) const {
  if (zb <= kNear) return;
  if (za < kNear) {
    ha += (hb - ha) * (kNear - za) / (zb - za);
    za = kNear;
  }
  const Point p[4] = {project(x, ha - half, za), project(x, ha + half, za),
                      project(x, hb + half, zb), project(x, hb - half, zb)};
  fillPolygon(c, p, 4, colour);
}

bool RouteScene::onBridge(double z, double margin) const {
  return std::any_of(m_spans.begin(), m_spans.end(),
                     [&](const Span& s) { return z >= s.near - margin && z <= s.far + margin; });
}

// The valley under a bridge, row by row: each row's ray meets the near bank, the valley floor
// (gravel, the river, gravel) or the far bank rising to the ground beyond. The river runs
// across the line, so every row is one colour across the picture.
void RouteScene::fillValley(Canvas& c, const Span& s) const {
  const double length = s.far - s.near;
  const double bank = std::min(20.0, length * 0.12);  // run of each bank's slope
  const double foot = s.far - bank;                   // where the far bank rises
  const double steep = kValleyDepth / bank;
  const double eye = kEyeHeight - riseAt(std::clamp((s.near + s.far) / 2, kNear, kFar));
  const double top = project(0, 0, s.far).y;
  const double bottom = s.near > kNear ? project(0, 0, s.near).y : c.height() + 1.0;
  const int first = std::max(0, static_cast<int>(std::ceil(top - 0.5)));
  const int last = std::min(c.height() - 1, static_cast<int>(std::ceil(bottom - 0.5)) - 1);
  for (int y = first; y <= last; ++y) {
    const double fall = (y + 0.5 - m_horizon) / m_focal;  // the ray's drop per metre ahead
    if (fall <= 0) continue;
    const double floor = (eye + kValleyDepth) / fall;
    Rgb colour;
    if (floor < foot) {
      const double u = (floor - s.near) / length;
      if (u < bank / length) {
        colour = kBankLow;
      } else if (u < 0.17 || u > 0.84) {
        colour = kGravel;
      } else {
        colour = mix(kWaterNear, kWaterFar, smoothstep(10, 260, floor));
        // Ripples fixed to the water, near enough to tell apart.
        if (floor < 90 && static_cast<long>((floor + m_metre) * 0.9) % 4 == 0)
          colour = mix(colour, kWaterFar, 0.35);
      }
    } else {
      const double at = (eye + kValleyDepth + foot * steep) / (fall + steep);
      if (at > s.far) continue;
      colour = mix(kBankLow, kBankHigh, std::clamp((at - foot) / bank, 0.0, 1.0));
    }
    c.fillRect(0, y, c.width(), 1, colour);
  }
  // Trees along the top of the far bank, two staggered rows either side of the line.
  if (s.far < 600) {
    for (int row = 1; row >= 0; --row) {
      const double z = s.far + 5 + row * 7;
      for (int k = -16; k <= 16; ++k) {
        const unsigned hash = static_cast<unsigned>(k + 40) * 2654435761u >> 16;
        const double x = (k + row * 0.5) * 8 + static_cast<double>(hash % 50) / 10 - 2.5;
        const double r = 2.2 + static_cast<double>(hash % 7) / 6;
        // Clear of the line, so that none is still in sight when the span drops out of view.
        if (std::abs(x) - r < 0.6 * (z - s.far) + 1.5) continue;
        const double h = 2.8 + static_cast<double>(hash % 5) / 4, d = r * 0.7;
        const Point p[8] = {project(x - d, h - d, z), project(x - r, h, z),
                            project(x - d, h + d, z), project(x, h + r, z),
                            project(x + d, h + d, z), project(x + r, h, z),
                            project(x + d, h - d, z), project(x, h - r, z)};
        fillPolygon(c, p, 8, (hash & 1) != 0 ? kTree : kTreeLit);
      }
    }
  }
  // Piers between the truss spans and the far abutment, wider than the deck; cut off where the
  // near bank hides them.
  const Truss t = trussOf(length);
  const auto block = [&](double x, double h0, double h1, double z, Rgb colour) {
    if (z <= kNear) return;
    const Point a = project(-x, h1, z), b = project(x, h0, z);
    const int l = static_cast<int>(std::lround(a.x));
    const int r = std::max(l + thinnest(), static_cast<int>(std::lround(b.x)));
    const int y0 = static_cast<int>(std::lround(a.y));
    const int y1 = std::min(last + 1, static_cast<int>(std::lround(b.y)));
    if (y1 > y0) c.fillRect(l, y0, r - l, y1 - y0, colour);
  };
  block(4.2, -kValleyDepth * 0.55, -0.6, foot + bank * 0.45, kConcrete);
  for (int k = t.spans - 1; k >= 1; --k)
    block(3.6, -kValleyDepth, -0.6, s.near + k * length / t.spans, mix(kConcrete, kBankLow, 0.25));
}

// The open deck: sleepers on steel stringers between walkways, the valley showing beside.
void RouteScene::fillDeck(Canvas& c, const Span& s, double trackEnd) const {
  const double start = std::max(kNear, s.near);
  double z1 = std::min(trackEnd, s.far);
  while (z1 > start) {
    const double z0 = std::max(start, z1 / 1.04 - 0.05);
    fillQuad(c, -kDeckHalf, kDeckHalf, 0, 0, z0, z1, kWalkway);
    fillQuad(c, -1.3, 1.3, 0, 0, z0, z1, kDeckGap);
    if (z1 > kSleeperReach) fillQuad(c, -1.25, 1.25, 0, 0, z0, z1, mix(kDeckGap, kTimber, 0.6));
    z1 = z0;
  }
}

// One panel of both trusses, far end first: the cross strut and the verticals there, then the
// top chord, the diagonal and the bottom chord along the panel.
void RouteScene::fillTrussPanel(Canvas& c, const Span& s, int panel) const {
  const Truss t = trussOf(s.far - s.near);
  const int j = panel % t.panels;
  const double z0 = s.near + panel * t.panel, z1 = z0 + t.panel;
  const bool inside = j + 1 < t.panels;  // the far end is a panel point within the span
  if (z1 <= kNear) return;
  if (inside) {
    // Portal bracing over the ends of each span, lighter struts between.
    const double depth = j == 0 || j + 2 == t.panels ? 1.3 : 0.28;
    fillFace(c, -kTrussHalf, kTrussHalf, kTrussTop - depth, kTrussTop, z1, kGirderShade);
  }
  const double a = std::max(kNear, z0);
  for (int side = -1; side <= 1; side += 2) {
    const double x = side * kTrussHalf, face = x - side * 0.2;
    if (inside) fillFace(c, x - 0.16, x + 0.16, kChordTop, kTrussTop - 0.3, z1, kGirder);
    if (j > 0 && inside) {
      fillSide(c, face, kTrussTop - 0.6, kTrussTop, a, z1, kGirder);
      fillQuad(c, x - 0.2, x + 0.2, kTrussTop - 0.6, kTrussTop - 0.6, a, z1, kGirderShade);
    }
    const bool rising = j % 2 == 0;
    fillMember(c, face, rising ? kChordTop : kTrussTop, rising ? kTrussTop : kChordTop, z0, z1,
               j == 0 || !inside ? 0.42 : 0.26, kGirder);
    fillSide(c, face, -0.5, kChordTop, a, z1, kGirder);
    fillQuad(c, x - 0.2, x + 0.2, kChordTop, kChordTop, a, z1, kGirderLight);
  }
}

void RouteScene::draw(int frame, Canvas& c) {
  const LineDesign& line = m_route.design.line;
  const double m = metreAt(frame);
  m_metre = m;
  const double g0 = gradientAt(m);
  const auto headingAt = [&](double metre) {
    const double at = std::clamp(metre, 0.0, static_cast<double>(m_heading.size() - 2));
    const auto i = static_cast<std::size_t>(at);
    return m_heading[i] + (m_heading[i + 1] - m_heading[i]) * (at - static_cast<double>(i));
  };
  const double h0 = headingAt(m);
  // The profile ahead: offset from the camera's axis and rise against the camera's pitch.
  double lateral = 0, slope = 0, rise = 0;
  for (std::size_t i = 0; i < m_lateral.size(); ++i) {
    m_lateral[i] = lateral;
    m_rise[i] = rise;
    const double at = m + (static_cast<double>(i) + 0.5) * kStep;
    slope = headingAt(at) - h0;
    lateral += std::sin(slope) * kStep;
    rise += (gradientAt(at) - g0) / 1000 * kStep;
  }
  m_horizon = m_size.height * 0.42 + m_focal * g0 / 1000;
  const int horizon = static_cast<int>(std::lround(m_horizon));

  bool inTunnel = false;
  double portal = 1e9;  // distance to the next tunnel mouth ahead
  double exit = 1e9;
  for (const SpanDesign& t : line.tunnels) {
    if (m >= t.from && m < t.to) {
      inTunnel = true;
      exit = t.to - m;
    } else if (t.from > m) {
      portal = std::min(portal, t.from - m);
    }
  }
  const double trackEnd = inTunnel ? std::min(kFar, exit + 300) : std::min(kFar, portal);
  m_spans.clear();
  if (!inTunnel) {
    for (const SpanDesign& b : line.bridges)
      if (b.to > b.from && b.to - m > kNear && b.from - m < trackEnd)
        m_spans.push_back({b.from - m, b.to - m});
    std::sort(m_spans.begin(), m_spans.end(),
              [](const Span& a, const Span& b) { return a.far > b.far; });
  }

  if (inTunnel) {
    c.fillRect(0, 0, c.width(), c.height(), kDark);
    // The far mouth: daylight framed by the tunnel.
    if (exit < kFar) {
      fillFace(c, -2.3, 2.3, -2, 5.2, exit, kSkyLow);
      fillQuad(c, -3, 3, 0, 0, exit, exit + 300, kGroundFar);
    }
  } else {
    for (int y = 0; y < horizon && y < c.height(); ++y)
      c.fillRect(0, y, c.width(), 1,
                 mix(kSkyTop, kSkyLow, std::clamp(static_cast<double>(y) / m_horizon, 0.0, 1.0)));
    // Hills far away turn with the line's heading.
    for (int x = 0; x < c.width(); ++x) {
      const double az = h0 + std::atan((x - m_size.width / 2.0) / m_focal);
      const double hill = m_unit * (14 + 9 * std::sin(3 * az + 1) + 6 * std::sin(7 * az + 2) +
                                    3 * std::sin(17 * az));
      const int top = static_cast<int>(std::lround(m_horizon - hill));
      c.fillRect(x, top, 1, horizon - top, kHills);
    }
    for (int y = std::max(horizon, 0); y < c.height(); ++y)
      c.fillRect(0, y, c.width(), 1,
                 mix(kGroundFar, kGroundNear,
                     std::clamp((y - m_horizon) / (m_size.height - m_horizon), 0.0, 1.0)));
    for (const Span& s : m_spans)
      fillValley(c, s);
  }
  const double light = inTunnel ? 0.25 : 1.0;

  // Track bed and level crossing roads, far to near.
  double z1 = trackEnd;
  while (z1 > kNear) {
    const double z0 = std::max(kNear, z1 / 1.04 - 0.05);
    fillQuad(c, -1.6, 1.6, 0, 0, z0, z1, dim(kBallast, light));
    if (z1 > kSleeperReach)
      fillQuad(c, -1.0, 1.0, 0, 0, z0, z1, dim(mix(kBallast, kSleeper, 0.45), light));
    z1 = z0;
  }
  for (double cross : line.crossings) {
    const double z = cross - m;
    // A road wholly behind the nearest drawn distance is not drawn (its far edge would
    // project from the camera's own plane).
    if (z + 3 <= kNear || z > trackEnd) continue;
    fillQuad(c, -40, 40, 0, 0, std::max(kNear, z - 3), z + 3, Rgb{70, 70, 74});
  }
  for (const Span& s : m_spans)
    fillDeck(c, s, trackEnd);
  // Sleepers every 0.6 m, near enough to tell apart.
  {
    const double first = std::ceil((m + kNear) / kSleeperPitch) * kSleeperPitch - m;
    const int count = static_cast<int>((std::min(trackEnd, kSleeperReach) - first) / kSleeperPitch);
    for (int k = count; k >= 0; --k) {
      const double z = first + k * kSleeperPitch;
      if (!m_spans.empty() && onBridge(z, 0))
        fillQuad(c, -1.25, 1.25, 0.02, 0.02, z, z + 0.2, kTimber);
      else
        fillQuad(c, -1.0, 1.0, 0.02, 0.02, z, z + 0.2, dim(kSleeper, light));
    }
  }
  // Rails, far to near.
  z1 = trackEnd;
  while (z1 > kNear) {
    const double z0 = std::max(kNear, z1 / 1.04 - 0.05);
    for (int side = -1; side <= 1; side += 2) {
      const double x = side * kGauge / 2;
      fillQuad(c, x - kRailWidth / 2, x + kRailWidth / 2, 0.15, 0.15, z0, z1, dim(kRail, light));
    }
    z1 = z0;
  }
  // Guard rails inside the running rails across each bridge.
  for (const Span& s : m_spans) {
    const double start = std::max(kNear, s.near - 12);
    z1 = std::min(trackEnd, s.far + 12);
    while (z1 > start) {
      const double z0 = std::max(start, z1 / 1.04 - 0.05);
      for (int side = -1; side <= 1; side += 2) {
        const double x = side * (kGauge / 2 - 0.28);
        fillQuad(c, x - 0.04, x + 0.04, 0.13, 0.13, z0, z1, kGuardRail);
      }
      z1 = z0;
    }
  }

  // Things beside the line, far to near.
  struct Thing {
    double z;
    int kind;  // 0 pole, 1 signal, 2 platform, 3 crossing, 4 portal, 5 tunnel lamp, 6 truss
    std::size_t index;
    int part;  // panel of a truss
  };
  std::vector<Thing> things;
  const double view = std::min(trackEnd + 1, 900.0);
  for (double p = std::ceil((m + kNear) / kPolePitch) * kPolePitch; p - m < view; p += kPolePitch)
    if (m_spans.empty() || !onBridge(p - m, 3)) things.push_back({p - m, 0, 0, 0});
  for (std::size_t i = 0; i < m_route.signals.size(); ++i) {
    const double z = m_route.signals[i].metre - m;
    if (z > kNear && z < view) things.push_back({z, 1, i, 0});
  }
  for (std::size_t i = 0; i < line.stations.size(); ++i) {
    const double far = line.stations[i].metre + 20 - m;
    if (far > kNear && far - 180 < view) things.push_back({std::min(far, view), 2, i, 0});
  }
  for (std::size_t i = 0; i < line.crossings.size(); ++i) {
    const double z = line.crossings[i] - m;
    if (z > -4 && z < view) things.push_back({z + 4, 3, i, 0});
  }
  if (!inTunnel && portal < kFar) things.push_back({portal, 4, 0, 0});
  if (inTunnel)
    for (double p = std::ceil((m + 3) / 25) * 25; p - m < std::min(exit, 400.0); p += 25)
      things.push_back({p - m, 5, 0, 0});
  // The trusses show from as far as the track is drawn.
  for (std::size_t i = 0; i < m_spans.size(); ++i) {
    const Span& s = m_spans[i];
    const Truss t = trussOf(s.far - s.near);
    for (int k = 0; k < t.spans * t.panels; ++k) {
      const double z = s.near + (k + 1) * t.panel;
      if (z > kNear && z - t.panel < trackEnd) things.push_back({z, 6, i, k});
    }
  }
  std::sort(things.begin(), things.end(), [](const Thing& a, const Thing& b) { return a.z > b.z; });

  for (const Thing& t : things) {
    const double z = t.z;
    switch (t.kind) {
      case 0:
        if (inTunnel) break;
        fillFace(c, 2.5, 2.8, 0, 7.6, z, kPole);
        fillFace(c, -0.3, 2.8, 6.4, 6.6, z, kPole);
        break;
      case 1: {
        const BuiltSignal& s = m_route.signals[t.index];
        fillFace(c, -2.55, -2.4, 0, 4.2, z, dim(Rgb{90, 90, 90}, light));
        fillFace(c, -2.85, -2.1, 3.5, 5.0, z, Rgb{20, 20, 20});
        const double r = std::max(m_unit, m_focal * 0.11 / z);
        const auto lamp = [&](double h, Rgb colour) {
          const Point p = project(-2.475, h, z);
          c.fillCircle(p.x, p.y, r, colour);
        };
        const Rgb green{40, 235, 120}, yellow{255, 190, 30}, red{255, 40, 30};
        const Rgb off{45, 45, 45};
        if (s.lampType == 0) {
          lamp(4.6, Rgb{240, 240, 230});
          lamp(3.9, Rgb{240, 240, 230});
        } else {
          lamp(4.75, s.state == 4 || s.state == 3 ? green : off);
          lamp(4.45, s.state == 2 || s.state == 1 ? yellow : off);
          lamp(4.15, s.state == 0 ? red : off);
          lamp(3.8, s.state == 3 || s.state == 1 ? yellow : off);
        }
        break;
      }
      case 2: {
        const StationDesign& st = line.stations[t.index];
        const double side = st.doorSide == 0 ? -1 : 1;
        const double far = z, near = std::max(kNear, st.metre - 160 - m);
        const double edge = side * 1.6, back = side * 6.5, tactile = side * 2.2;
        const double e0 = std::min(edge, back), e1 = std::max(edge, back);
        double b = far;
        while (b > near) {
          const double a = std::max(near, b / 1.04 - 0.1);
          fillSide(c, edge, 0, 1.1, a, b, dim(Rgb{105, 105, 108}, light));
          fillQuad(c, e0, e1, 1.1, 1.1, a, b, dim(Rgb{178, 176, 170}, light));
          fillQuad(c, std::min(tactile, tactile + side * 0.3),
                   std::max(tactile, tactile + side * 0.3), 1.1, 1.1, a, b,
                   dim(Rgb{225, 200, 60}, light));
          b = a;
        }
        break;
      }
      case 3: {
        // Lowered barriers: black and yellow stripes across the road either side.
        const double zz = z - 4;
        for (int side = -1; side <= 1; side += 2) {
          const double bz = zz + side * 4;
          if (bz < kNear) continue;
          for (int k = 0; k < 8; ++k) {
            const double x0 = side * (2.6 + k * 0.7), x1 = side * (2.6 + (k + 1) * 0.7);
            fillFace(c, std::min(x0, x1), std::max(x0, x1), 0.9, 1.05, bz,
                     k % 2 ? Rgb{20, 20, 20} : Rgb{250, 210, 20});
          }
          fillFace(c, side * 2.5 - 0.08, side * 2.5 + 0.08, 0, 2.6, bz, Rgb{30, 30, 30});
          const Point p = project(side * 2.5, 2.3, bz);
          const Rgb red = (frame / 15) % 2 ? Rgb{255, 40, 30} : Rgb{90, 20, 20};
          c.fillCircle(p.x, p.y, std::max(m_unit, m_focal * 0.12 / bz), red);
        }
        break;
      }
      case 4: {
        // A tunnel mouth in the hillside.
        fillFace(c, -70, 70, 0, 16, z, Rgb{70, 95, 60});
        fillFace(c, -45, 45, 16, 24, z, Rgb{70, 95, 60});
        fillFace(c, -24, 24, 24, 30, z, Rgb{70, 95, 60});
        fillFace(c, -6, 6, 0, 8.5, z, Rgb{120, 112, 100});
        fillFace(c, -2.4, 2.4, -1, 5.2, z, kDark);
        const Point centre = project(0, 5.2, z);
        c.fillCircle(centre.x, centre.y, m_focal * 2.4 / z, kDark);
        break;
      }
      case 5: {
        const Point p = project(-2.3, 3.2, z);
        c.fillCircle(p.x, p.y, std::max(m_unit, m_focal * 0.12 / z), Rgb{255, 200, 120});
        break;
      }
      case 6:
        fillTrussPanel(c, m_spans[t.index], t.part);
        break;
      default:
        break;
    }
  }
  // The contact wire over the track.
  if (!inTunnel) {
    Point previous = project(0, 5.3, 4);
    for (double z = 4 * 1.08; z < std::min(trackEnd, 600.0); z *= 1.08) {
      const Point p = project(0, 5.3, z);
      if (previous.y > -50 * m_unit) c.line(previous.x, previous.y, p.x, p.y, m_unit, kWire);
      previous = p;
    }
  }
}

int renderRouteVideo(const BuiltRoute& route, const std::string& path, std::ostream& progress,
                     VideoSize size) {
  RouteScene scene(route, size);
  VideoWriter writer;
  std::string error = writer.open(path, size.width, size.height, kVideoFrameRate, kVideoQuality);
  if (!error.empty()) throw std::runtime_error(path + ": " + error);
  Canvas canvas(size.width, size.height);
  const int frames = scene.frames();
  const std::string name = std::filesystem::path(path).filename().string();
  int tenths = 1;
  for (int f = 0; f < frames; ++f) {
    tools::throwOnEndSignal();
    scene.draw(f, canvas);
    error = writer.write(reinterpret_cast<const std::uint8_t*>(canvas.pixels().data()));
    if (!error.empty()) throw std::runtime_error(path + ": " + error);
    if (f + 1 < static_cast<long long>(frames) * tenths / 10) continue;
    ++tenths;
    progress << media::fill(media::translate("ContentProgress", "映像 %1: %2/%3 フレーム"),
                            {name, std::to_string(f + 1), std::to_string(frames)})
             << '\n'
             << std::flush;
  }
  error = writer.finish();
  if (!error.empty()) throw std::runtime_error(path + ": " + error);
  return frames;
}

void writeRouteVideos(const std::vector<BuiltRoute>& routes, const std::string& root,
                      std::ostream& progress, VideoSize size) {
  static_assert(sizeof(Rgb) == 3, "the canvas rows are handed to the encoder as RGB bytes");
  const std::string folder = root + "/move";
  std::filesystem::create_directories(folder);
  // One video a line: routes sharing a line share its video.
  std::set<std::string> seen;
  std::vector<const BuiltRoute*> lines;
  for (const BuiltRoute& r : routes)
    if (seen.insert(r.design.line.video).second) lines.push_back(&r);
  for (const BuiltRoute* r : lines) {
    const std::string path = folder + "/" + r->design.line.video + ".avi";
    const auto start = std::chrono::steady_clock::now();
    const int frames = renderRouteVideo(*r, path, progress, size);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char took[32];
    std::snprintf(took, sizeof took, "%.1f", seconds);
    progress << media::fill(media::translate("ContentProgress",
                                             "映像 %1.avi: %2 フレームを %3 秒で、%4 MB"),
                            {r->design.line.video, std::to_string(frames), took,
                             std::to_string(std::filesystem::file_size(path) / 1000000)})
             << '\n';
  }
}

}  // namespace velimoro::content
