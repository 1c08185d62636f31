#include "tools/content/video_render.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>

#include "data/route_reader.h"
#include "media/ffmpeg_video_reader.h"
#include "tools/content/video_writer.h"

namespace velimoro::content {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFocal = 560;      // pixels
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

}  // namespace

RouteScene::RouteScene(const BuiltRoute& route) : m_route(route) {
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
  return {kVideoWidth / 2.0 + kFocal * (lateral + lateralAt(z)) / z,
          m_horizon + kFocal * (kEyeHeight - height - riseAt(z)) / z};
}

void RouteScene::fillPolygon(Canvas& c, const Point* p, int count, Rgb colour) const {
  double top = p[0].y, bottom = p[0].y;
  for (int i = 1; i < count; ++i) {
    top = std::min(top, p[i].y);
    bottom = std::max(bottom, p[i].y);
  }
  const int first = std::max(0, static_cast<int>(std::ceil(top - 0.5)));
  const int last = std::min(c.height() - 1, static_cast<int>(std::ceil(bottom - 0.5)) - 1);
  for (int y = first; y <= last; ++y) {
    const double sy = y + 0.5;
    double left = 1e9, right = -1e9;
    for (int i = 0; i < count; ++i) {
      const Point a = p[i], b = p[(i + 1) % count];
      if ((sy < a.y) == (sy < b.y)) continue;
      const double x = a.x + (b.x - a.x) * (sy - a.y) / (b.y - a.y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
    if (left > right) continue;
    left = std::clamp(left, -1.0, c.width() + 1.0);
    right = std::clamp(right, -1.0, c.width() + 1.0);
    const int x0 = static_cast<int>(std::lround(left));
    const int x1 = std::max(x0 + 1, static_cast<int>(std::lround(right)));
    c.fillRect(x0, y, x1 - x0, 1, colour);
  }
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
  c.fillRect(l, top, std::max(1, static_cast<int>(std::lround(right)) - l),
             std::max(1, static_cast<int>(std::lround(b.y)) - top), colour);
}

// An upright face along the line at lateral x between z0 and z1.
void RouteScene::fillSide(Canvas& c, double x, double h0, double h1, double z0, double z1,
                          Rgb colour) const {
  const Point p[4] = {project(x, h0, z0), project(x, h1, z0), project(x, h1, z1),
                      project(x, h0, z1)};
  fillPolygon(c, p, 4, colour);
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
  m_horizon = kVideoHeight * 0.42 + kFocal * g0 / 1000;
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
      const double az = h0 + std::atan((x - kVideoWidth / 2.0) / kFocal);
      const double hill =
          14 + 9 * std::sin(3 * az + 1) + 6 * std::sin(7 * az + 2) + 3 * std::sin(17 * az);
      const int top = static_cast<int>(std::lround(m_horizon - hill));
      c.fillRect(x, top, 1, horizon - top, kHills);
    }
    for (int y = std::max(horizon, 0); y < c.height(); ++y)
      c.fillRect(0, y, c.width(), 1,
                 mix(kGroundFar, kGroundNear,
                     std::clamp((y - m_horizon) / (kVideoHeight - m_horizon), 0.0, 1.0)));
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
    if (z < -4 || z > trackEnd) continue;
    fillQuad(c, -40, 40, 0, 0, std::max(kNear, z - 3), z + 3, Rgb{70, 70, 74});
  }
  // Sleepers every 0.6 m, near enough to tell apart.
  {
    const double first = std::ceil((m + kNear) / kSleeperPitch) * kSleeperPitch - m;
    const int count = static_cast<int>((std::min(trackEnd, kSleeperReach) - first) / kSleeperPitch);
    for (int k = count; k >= 0; --k) {
      const double z = first + k * kSleeperPitch;
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

  // Things beside the line, far to near.
  struct Thing {
    double z;
    int kind;  // 0 pole, 1 signal, 2 platform, 3 crossing, 4 portal, 5 tunnel lamp
    std::size_t index;
  };
  std::vector<Thing> things;
  const double view = std::min(trackEnd + 1, 900.0);
  for (double p = std::ceil((m + kNear) / kPolePitch) * kPolePitch; p - m < view; p += kPolePitch)
    things.push_back({p - m, 0, 0});
  for (std::size_t i = 0; i < m_route.signals.size(); ++i) {
    const double z = m_route.signals[i].metre - m;
    if (z > kNear && z < view) things.push_back({z, 1, i});
  }
  for (std::size_t i = 0; i < line.stations.size(); ++i) {
    const double far = line.stations[i].metre + 20 - m;
    if (far > kNear && far - 180 < view) things.push_back({std::min(far, view), 2, i});
  }
  for (std::size_t i = 0; i < line.crossings.size(); ++i) {
    const double z = line.crossings[i] - m;
    if (z > -4 && z < view) things.push_back({z + 4, 3, i});
  }
  if (!inTunnel && portal < kFar) things.push_back({portal, 4, 0});
  if (inTunnel)
    for (double p = std::ceil((m + 3) / 25) * 25; p - m < std::min(exit, 400.0); p += 25)
      things.push_back({p - m, 5, 0});
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
        const double r = std::max(1.0, kFocal * 0.11 / z);
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
          c.fillCircle(p.x, p.y, std::max(1.0, kFocal * 0.12 / bz), red);
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
        c.fillCircle(centre.x, centre.y, kFocal * 2.4 / z, kDark);
        break;
      }
      case 5: {
        const Point p = project(-2.3, 3.2, z);
        c.fillCircle(p.x, p.y, std::max(1.0, kFocal * 0.12 / z), Rgb{255, 200, 120});
        break;
      }
      default:
        break;
    }
  }
  // The contact wire over the track.
  if (!inTunnel) {
    Point previous = project(0, 5.3, 4);
    for (double z = 4 * 1.08; z < std::min(trackEnd, 600.0); z *= 1.08) {
      const Point p = project(0, 5.3, z);
      if (previous.y > -50) c.line(previous.x, previous.y, p.x, p.y, 1, kWire);
      previous = p;
    }
  }
}

int renderRouteVideo(const BuiltRoute& route, const std::string& path, std::ostream& progress) {
  RouteScene scene(route);
  VideoWriter writer;
  std::string error = writer.open(path, kVideoWidth, kVideoHeight, kVideoFrameRate, kVideoQuality);
  if (!error.empty()) throw std::runtime_error(path + ": " + error);
  Canvas canvas(kVideoWidth, kVideoHeight);
  const int frames = scene.frames();
  const std::string name = std::filesystem::path(path).filename().string();
  int tenths = 1;
  for (int f = 0; f < frames; ++f) {
    scene.draw(f, canvas);
    error = writer.write(reinterpret_cast<const std::uint8_t*>(canvas.pixels().data()));
    if (!error.empty()) throw std::runtime_error(path + ": " + error);
    if (f + 1 < static_cast<long long>(frames) * tenths / 10) continue;
    ++tenths;
    progress << "video " << name << ": " << f + 1 << "/" << frames << " frames\n" << std::flush;
  }
  error = writer.finish();
  if (!error.empty()) throw std::runtime_error(path + ": " + error);
  return frames;
}

void writeRouteVideos(const std::vector<BuiltRoute>& routes, const std::string& root,
                      std::ostream& progress) {
  static_assert(sizeof(Rgb) == 3, "the canvas rows are handed to the encoder as RGB bytes");
  const std::string folder = root + "/move";
  std::filesystem::create_directories(folder);
  std::map<std::string, int> lastStop;  // video → the latest last-station frame of its routes
  std::vector<const BuiltRoute*> lines;
  for (const BuiltRoute& r : routes) {
    const std::string& video = r.design.line.video;
    if (!lastStop.contains(video)) {
      lastStop[video] = 0;
      lines.push_back(&r);
    }
    if (!r.stationFrames.empty())
      lastStop[video] = std::max(lastStop[video], r.stationFrames.back());
  }
  for (const BuiltRoute* r : lines) {
    const std::string path = folder + "/" + r->design.line.video + ".avi";
    const auto start = std::chrono::steady_clock::now();
    const int frames = renderRouteVideo(*r, path, progress);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    progress << "video " << r->design.line.video << ".avi: " << frames << " frames in "
             << static_cast<double>(std::lround(seconds * 10)) / 10.0 << " s, "
             << std::filesystem::file_size(path) / 1000000 << " MB\n";
  }
  for (const auto& [video, stop] : lastStop) {
    const std::string path = folder + "/" + video + ".avi";
    media::FfmpegVideoReader reader;
    std::string error;
    if (!reader.open(path, error)) throw std::runtime_error(path + ": " + error);
    if (reader.frameCount() <= stop)
      throw std::runtime_error(path + ": " + std::to_string(reader.frameCount()) +
                               " frames, the last station stops at frame " + std::to_string(stop));
  }
}

}  // namespace velimoro::content
