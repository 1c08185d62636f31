#include "tools/content/scene_movies.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <set>
#include <stdexcept>

#include "media/translate.h"
#include "tools/content/synth.h"
#include "tools/content/video_render.h"
#include "tools/content/video_writer.h"
#include "tools/end_signal.h"

namespace velimoro::content {
namespace {

constexpr double kNear = 1.2;  // nothing nearer is drawn
constexpr double kReach = 400;
constexpr int kQuality = 20;

using Point = PointF;

double smoothstep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// A face of the scene given by its four corners as (lateral, height, z), z clipped to kNear.
struct Corner {
  double lateral;
  double height;
  double z;
};
void fillFace(Canvas& c, const RouteScene& camera, const Corner (&corners)[4], Rgb colour) {
  Point p[4];
  for (int i = 0; i < 4; ++i) {
    const Corner& k = corners[i];
    if (k.z < kNear) return;
    p[i] = camera.project(k.lateral, k.height, k.z);
  }
  fillPolygon(c, p, 4, colour);
}

// ---- Boarding: passengers on the platform walk back along it to the doors behind the cab.

struct Passenger {
  double lateral;  // where they start across the platform, metres from the track's axis
  double z;        // metres ahead of the cab when the scene begins
  double speed;    // metres a second towards the cab; 0 stands
  double delay;    // seconds before they set off
  double height;
  Rgb coat;
};

std::vector<Passenger> passengers(double side) {
  static constexpr Rgb kCoats[] = {{40, 50, 90},    {150, 40, 40},  {60, 60, 60},
                                   {200, 190, 170}, {30, 90, 60},   {120, 80, 140},
                                   {210, 140, 40},  {90, 110, 140}, {170, 170, 180}};
  Noise noise(2024);
  const auto uniform = [&noise](double lo, double hi) {
    return lo + (hi - lo) * (noise.next() + 1) / 2;
  };
  std::vector<Passenger> people;
  for (const Rgb& coat : kCoats) {
    Passenger p;
    p.lateral = side * uniform(2.6, 5.6);
    p.z = uniform(5, 19);
    p.speed = uniform(0.9, 1.6);
    p.delay = uniform(0, 1.8);
    p.height = uniform(1.5, 1.82);
    p.coat = coat;
    people.push_back(p);
  }
  // A member of the station staff watches the doors from the platform's edge.
  people.push_back({side * 2.3, 11, 0, 0, 1.72, Rgb{25, 35, 70}});
  return people;
}

// A walking figure standing on the platform (1.1 m above the rail): legs that swing with the
// stride, a coat, a head.
void drawPerson(Canvas& c, const RouteScene& camera, double lateral, double z, double height,
                double stride, Rgb coat) {
  constexpr double kPlatform = 1.1;
  const Point feet = camera.project(lateral, kPlatform, z);
  const double scale = camera.focal() / z;  // pixels a metre
  const double legs = 0.46 * height * scale, body = 0.36 * height * scale;
  const double width = 0.42 * scale;
  const double swing = std::sin(stride) * 0.12 * scale;
  const Rgb trousers{35, 35, 40};
  c.line(feet.x - width * 0.2 + swing, feet.y, feet.x - width * 0.15, feet.y - legs,
         std::max(camera.unit(), width * 0.3), trousers);
  c.line(feet.x + width * 0.2 - swing, feet.y, feet.x + width * 0.15, feet.y - legs,
         std::max(camera.unit(), width * 0.3), trousers);
  const int left = static_cast<int>(std::lround(feet.x - width / 2));
  const int top = static_cast<int>(std::lround(feet.y - legs - body));
  c.fillRect(left, top, std::max(camera.thinnest(), static_cast<int>(std::lround(width))),
             std::max(camera.thinnest(), static_cast<int>(std::lround(body + camera.unit()))),
             coat);
  const double head = 0.065 * height * scale;
  c.fillCircle(feet.x, feet.y - legs - body - head * 0.8, std::max(camera.unit(), head),
               Rgb{225, 190, 160});
}

int renderBoarding(const BuiltRoute& route, const BuiltScene& scene, VideoWriter& writer,
                   const std::string& path, VideoSize size) {
  const std::size_t station = scene.design.station;
  const StationDesign& at = route.design.line.stations.at(station);
  RouteScene view(route, size);
  Canvas still(size.width, size.height);
  const int stopFrame = route.stationFrames.at(station);
  view.draw(stopFrame, still);
  const RouteScene& camera = view;  // projects as the frame just drawn
  const double side = at.doorSide == 0 ? -1 : 1;
  const std::vector<Passenger> people = passengers(side);
  for (int f = 0; f < scene.movieFrames; ++f) {
    const double t = f / static_cast<double>(kVideoFrameRate);
    struct Placed {
      double lateral;
      double z;
      double stride;
      const Passenger* who;
    };
    std::vector<Placed> placed;
    for (const Passenger& p : people) {
      const double walked = p.speed * std::max(0.0, t - p.delay);
      const double z = p.z - walked;
      if (z < kNear + 0.3) continue;  // past the cab, at the doors
      // They close in on the platform's edge as they near the doors.
      const double lateral = p.lateral + (side * 2.2 - p.lateral) * smoothstep(0, p.z, walked);
      placed.push_back({lateral, z, walked / 0.7 * 3.14159265358979323846, &p});
    }
    std::sort(placed.begin(), placed.end(),
              [](const Placed& a, const Placed& b) { return a.z > b.z; });
    Canvas c = still;
    for (const Placed& p : placed)
      drawPerson(c, camera, p.lateral, p.z, p.who->height, p.stride, p.who->coat);
    const std::string error =
        writer.write(reinterpret_cast<const std::uint8_t*>(c.pixels().data()));
    if (!error.empty()) throw std::runtime_error(path + ": " + error);
  }
  return scene.movieFrames;
}

// ---- Passing train: a train runs into the loop track beside the line and passes the cab.

constexpr double kLoopOffset = 3.8;  // metres between the track centres in the loop
constexpr double kCarLength = 20;
constexpr double kCarGap = 0.8;
constexpr int kCars = 3;
constexpr double kPassingSpeed = 15;  // metres a second
constexpr double kFirstSeen = 95;     // metres ahead of the cab when the scene begins

// Where the loop track's centre lies across the line at a metre: it leaves the line 150 m
// before the station and joins it again 250 m beyond.
double loopOffset(double station, double metre) {
  return kLoopOffset * smoothstep(station - 150, station - 100, metre) *
         (1 - smoothstep(station + 200, station + 250, metre));
}

void drawLoopTrack(Canvas& c, const RouteScene& camera, double station, double metre) {
  const Rgb ballast{120, 114, 104}, rail{195, 195, 200};
  double z1 = std::min(kReach - 10, station + 250 - metre);
  while (z1 > kNear) {
    const double z0 = std::max(kNear, z1 / 1.04 - 0.05);
    const double l0 = loopOffset(station, metre + z0), l1 = loopOffset(station, metre + z1);
    if (l0 > 1.7 || l1 > 1.7) {
      fillFace(c, camera,
               {{l0 - 1.5, 0, z0}, {l0 + 1.5, 0, z0}, {l1 + 1.5, 0, z1}, {l1 - 1.5, 0, z1}},
               ballast);
      for (int s = -1; s <= 1; s += 2) {
        const double x = s * 0.53;
        fillFace(c, camera,
                 {{l0 + x - 0.04, 0.15, z0},
                  {l0 + x + 0.04, 0.15, z0},
                  {l1 + x + 0.04, 0.15, z1},
                  {l1 + x - 0.04, 0.15, z1}},
                 rail);
      }
    }
    z1 = z0;
  }
}

// One car between z0 (its end nearer the cab) and z1: the side that faces the line, and, for
// the leading car, its front.
void drawCar(Canvas& c, const RouteScene& camera, double station, double metre, double z0,
             double z1, bool leading) {
  const Rgb body{200, 205, 210}, band{30, 140, 90}, glass{40, 55, 70}, under{40, 40, 42};
  const double near = std::max(z0, kNear);
  if (z1 <= near) return;
  const double l0 = loopOffset(station, metre + near) - 1.45;
  const double l1 = loopOffset(station, metre + z1) - 1.45;
  const auto side = [&](double h0, double h1, Rgb colour) {
    fillFace(c, camera, {{l0, h0, near}, {l0, h1, near}, {l1, h1, z1}, {l1, h0, z1}}, colour);
  };
  side(0.35, 0.95, under);
  side(0.95, 4.0, body);
  side(1.15, 1.45, band);
  side(2.2, 3.2, glass);
  // Doors: four to a car, dark seams across the side.
  for (int d = 0; d < 4; ++d) {
    const double a = z0 + 2.2 + d * 5, b = a + 1.3;
    if (a < kNear || b > z1) continue;
    const double la = loopOffset(station, metre + a) - 1.45,
                 lb = loopOffset(station, metre + b) - 1.45;
    fillFace(c, camera, {{la, 1.0, a}, {la, 3.7, a}, {lb, 3.7, b}, {lb, 1.0, b}},
             Rgb{165, 170, 176});
    fillFace(c, camera, {{la, 2.3, a}, {la, 3.2, a}, {lb, 3.2, b}, {lb, 2.3, b}}, glass);
  }
  if (!leading || z0 < kNear) return;
  // The front faces the cab: cab windows, headlights, the line's band.
  const double l = loopOffset(station, metre + z0);
  const auto front = [&](double x0, double x1, double h0, double h1, Rgb colour) {
    fillFace(c, camera, {{l + x0, h0, z0}, {l + x1, h0, z0}, {l + x1, h1, z0}, {l + x0, h1, z0}},
             colour);
  };
  front(-1.45, 1.45, 0.35, 4.0, body);
  front(-1.45, 1.45, 1.15, 1.45, band);
  front(-1.3, -0.15, 2.2, 3.3, glass);
  front(0.15, 1.3, 2.2, 3.3, glass);
  const Point a = camera.project(l - 1.0, 1.7, z0), b = camera.project(l + 1.0, 1.7, z0);
  const double r = std::max(camera.unit(), camera.focal() * 0.14 / z0);
  c.fillCircle(a.x, a.y, r, Rgb{255, 250, 220});
  c.fillCircle(b.x, b.y, r, Rgb{255, 250, 220});
}

int renderPassingTrain(const BuiltRoute& route, const BuiltScene& scene, VideoWriter& writer,
                       const std::string& path, VideoSize size) {
  const double station = route.design.line.stations.at(scene.design.station).metre;
  RouteScene view(route, size);
  Canvas c(size.width, size.height);
  const double start = view.metreAt(scene.fromFrame);
  for (int f = 0; f < scene.movieFrames; ++f) {
    tools::throwOnEndSignal();
    const int frame = std::min(scene.fromFrame + f, view.frames() - 1);
    view.draw(frame, c);
    const double metre = view.metreAt(frame);
    const RouteScene& camera = view;
    drawLoopTrack(c, camera, station, metre);
    // The train's front: it runs towards the cab as the scene's frames pass.
    const double front = start + kFirstSeen - kPassingSpeed * f / kVideoFrameRate;
    for (int car = kCars - 1; car >= 0; --car) {
      const double z0 = front + car * (kCarLength + kCarGap) - metre;
      drawCar(c, camera, station, metre, z0, z0 + kCarLength, car == 0);
    }
    const std::string error =
        writer.write(reinterpret_cast<const std::uint8_t*>(c.pixels().data()));
    if (!error.empty()) throw std::runtime_error(path + ": " + error);
  }
  return scene.movieFrames;
}

}  // namespace

int renderSceneMovie(const BuiltRoute& route, const BuiltScene& scene, const std::string& path,
                     VideoSize size) {
  static_assert(sizeof(Rgb) == 3, "the canvas rows are handed to the encoder as RGB bytes");
  VideoWriter writer;
  std::string error = writer.open(path, size.width, size.height, kVideoFrameRate, kQuality);
  if (!error.empty()) throw std::runtime_error(path + ": " + error);
  const int frames = scene.design.kind == SceneKind::kBoarding
                         ? renderBoarding(route, scene, writer, path, size)
                         : renderPassingTrain(route, scene, writer, path, size);
  error = writer.finish();
  if (!error.empty()) throw std::runtime_error(path + ": " + error);
  return frames;
}

int writeSceneMovies(const std::vector<BuiltRoute>& routes, const std::string& root,
                     std::ostream& progress, VideoSize size) {
  const std::string folder = root + "/move";
  std::filesystem::create_directories(folder);
  std::set<std::string> written;
  for (const BuiltRoute& r : routes) {
    for (const BuiltScene& scene : r.scenes) {
      if (!written.insert(scene.design.movie).second) continue;
      const std::string path = folder + "/" + scene.design.movie + ".avi";
      const int frames = renderSceneMovie(r, scene, path, size);
      progress << media::fill(
                      media::translate("ContentProgress", "場面の動画 %1.avi: %2 フレーム、%3 kB"),
                      {scene.design.movie, std::to_string(frames),
                       std::to_string(std::filesystem::file_size(path) / 1000)})
               << '\n';
    }
  }
  return static_cast<int>(written.size());
}

}  // namespace velimoro::content
