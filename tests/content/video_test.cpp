#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "media/ffmpeg_video_reader.h"
#include "support/test_support.h"
#include "tools/content/route_builder.h"
#include "tools/content/video_render.h"

namespace velimoro::content {
namespace {

using velimoro::testing::TempDir;

// A short line: two stations 420 m apart, a signal between them and a tunnel on the way.
RouteDesign shortRoute() {
  RouteDesign r;
  r.file = "short.dat";
  r.lineName = "short";
  r.line.video = "short_run";
  r.line.lineSpeed = 60;
  r.line.end = 460;
  r.line.stations = {{"A", "a", "a", 0, 0}, {"B", "b", "b", 420, 1}};
  r.line.tunnels = {{150, 250, 150}};
  r.line.crossings = {100};
  r.kinds = {0, 0};
  return r;
}

struct Pixel {
  int r;
  int g;
  int b;
};

Pixel pixelAt(const media::RgbPicture& p, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) +
                          static_cast<std::size_t>(x)) *
                         3;
  return {p.pixels[at], p.pixels[at + 1], p.pixels[at + 2]};
}

int brightness(Pixel p) {
  return (p.r + p.g + p.b) / 3;
}

// A line with a 150 m bridge between two stations 700 m apart.
RouteDesign bridgeRoute() {
  RouteDesign r;
  r.file = "bridge.dat";
  r.lineName = "bridge";
  r.line.video = "bridge_run";
  r.line.lineSpeed = 60;
  r.line.end = 740;
  r.line.stations = {{"A", "a", "a", 0, 0}, {"B", "b", "b", 700, 1}};
  r.line.bridges = {{300, 450, 0}};
  r.kinds = {0, 0};
  return r;
}

// The painted steel of the trusses: red well above green and blue.
bool girder(Rgb p) {
  return p.r > p.g + 50 && p.r > p.b + 50;
}

// The grass beside the line: green above red and blue.
bool grass(Rgb p) {
  return p.g > p.r + 12 && p.g > p.b + 12;
}

int girderPixels(const Canvas& c, int y, int x0, int x1) {
  int n = 0;
  for (int x = x0; x < x1; ++x)
    if (girder(c.at(x, y))) ++n;
  return n;
}

TEST(RouteVideo, RendersEveryFrameOfTheRunAndReadsBack) {
  const BuiltRoute route = buildRoute(shortRoute());
  ASSERT_FALSE(route.signals.empty());
  TempDir dir;
  std::ostringstream progress;
  const std::string path = dir.file("short_run.avi");
  const int frames = renderRouteVideo(route, path, progress);
  EXPECT_EQ(frames, route.endFrame + 1);
  EXPECT_NE(progress.str().find("video short_run.avi: " + std::to_string(frames) + "/"),
            std::string::npos);

  media::FfmpegVideoReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(path, error)) << error;
  EXPECT_EQ(reader.frameCount(), frames);
  EXPECT_GT(reader.frameCount(), route.stationFrames.back());

  media::RgbPicture picture;
  ASSERT_TRUE(reader.decodeFrame(route.frameAt(40), picture));
  ASSERT_EQ(picture.width, kVideoWidth);
  ASSERT_EQ(picture.height, kVideoHeight);
  // Sky at the top: blue stronger than red.
  const Pixel sky = pixelAt(picture, kVideoWidth / 8, 5);
  EXPECT_GT(sky.b, sky.r + 40);
  EXPECT_GT(sky.b, 150);
  // The rails near the bottom: bright steel left and right of the centre on the bottom row,
  // duller ballast between them.
  const int y = kVideoHeight - 3;
  int brightRuns = 0;
  bool inRail = false;
  for (int x = kVideoWidth / 4; x < kVideoWidth * 3 / 4; ++x) {
    const bool rail = brightness(pixelAt(picture, x, y)) > 175;
    if (rail && !inRail) ++brightRuns;
    inRail = rail;
  }
  EXPECT_EQ(brightRuns, 2);
  EXPECT_LT(brightness(pixelAt(picture, kVideoWidth / 2, y)), 140);

  // Deep inside the tunnel the picture is dark, save the lamps and the rails.
  ASSERT_TRUE(reader.decodeFrame(route.frameAt(200), picture));
  int dark = 0;
  for (int x = 0; x < kVideoWidth; x += 4)
    if (brightness(pixelAt(picture, x, 20)) < 40) ++dark;
  EXPECT_GT(dark, kVideoWidth / 4 * 9 / 10);
  EXPECT_LT(brightness(pixelAt(picture, 20, kVideoHeight - 20)), 40);
}

TEST(RouteVideo, FramesFollowTheFilmingSpeedTable) {
  const BuiltRoute route = buildRoute(shortRoute());
  RouteScene scene(route);
  EXPECT_EQ(scene.frames(), route.endFrame + 1);
  EXPECT_DOUBLE_EQ(scene.metreAt(0), 0);
  for (double metre : {50.0, 200.0, 420.0}) {
    const int frame = route.frameAt(metre);
    EXPECT_GE(scene.metreAt(frame), metre - 0.01);
    EXPECT_LT(scene.metreAt(frame - 1), metre);
  }
  // Straight at the stations, bending somewhere between them on a long line.
  EXPECT_DOUBLE_EQ(scene.curvatureAt(0), 0);
  EXPECT_EQ(scene.gradientAt(100), 0);
}

TEST(RouteVideo, BridgeShowsTrussesOverAValley) {
  const BuiltRoute route = buildRoute(bridgeRoute());
  RouteScene scene(route);
  Canvas canvas(kVideoWidth, kVideoHeight);
  const int row = kVideoHeight - 40;  // the track about 9 m ahead
  const int horizon = static_cast<int>(kVideoHeight * 0.42);
  const auto sidesAreGrass = [&] {
    for (int y = horizon + 30; y < kVideoHeight; y += 5)
      for (int x : {6, kVideoWidth - 7})
        if (!grass(canvas.at(x, y))) return false;
    return true;
  };

  // 150 m before: the trusses stand in the distance, the ground beside the track is grass.
  scene.draw(route.frameAt(150), canvas);
  EXPECT_EQ(girderPixels(canvas, row, 0, kVideoWidth), 0);
  EXPECT_TRUE(sidesAreGrass());
  int distant = 0;
  for (int y = horizon - 40; y < horizon + 10; ++y)
    distant += girderPixels(canvas, y, 0, kVideoWidth);
  EXPECT_GT(distant, 200);

  // 10 m onto the span: the bottom chords pass on both sides, and the ground has dropped away
  // to the river and its banks.
  scene.draw(route.frameAt(310), canvas);
  const std::vector<Rgb> onBridge = canvas.pixels();
  EXPECT_GT(girderPixels(canvas, row, 0, kVideoWidth / 2), 20);
  EXPECT_GT(girderPixels(canvas, row, kVideoWidth / 2, kVideoWidth), 20);
  int grassBelow = 0;
  for (int y = horizon + 30; y < kVideoHeight; y += 5)
    for (int x : {6, kVideoWidth - 7})
      if (grass(canvas.at(x, y))) ++grassBelow;
  EXPECT_EQ(grassBelow, 0);
  int water = 0;
  for (int y = horizon; y < kVideoHeight; ++y) {
    const Rgb p = canvas.at(6, y);
    if (p.b > p.r + 30 && p.b > p.g) ++water;
  }
  EXPECT_GT(water, 10);

  // 10 m past its end the line runs on grass again, with nothing of the bridge in sight.
  scene.draw(route.frameAt(460), canvas);
  int left = 0;
  for (int y = 0; y < kVideoHeight; ++y)
    left += girderPixels(canvas, y, 0, kVideoWidth);
  EXPECT_EQ(left, 0);
  EXPECT_TRUE(sidesAreGrass());

  // Every frame is drawn afresh: the same frame again gives the same picture.
  scene.draw(route.frameAt(310), canvas);
  EXPECT_TRUE(canvas.pixels() == onBridge);
}

}  // namespace
}  // namespace velimoro::content
