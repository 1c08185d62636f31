#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
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
  EXPECT_NE(progress.str().find("映像 short_run.avi: " + std::to_string(frames) + "/"),
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

// The mean colour of each of columns × rows blocks, a pixel counted in the block of its centre.
std::vector<Rgb> blockMeans(const Canvas& c, int columns, int rows) {
  std::vector<int> sums(static_cast<std::size_t>(columns) * rows * 4);
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      const auto at =
          static_cast<std::size_t>((y * rows / c.height()) * columns + x * columns / c.width()) * 4;
      const Rgb p = c.at(x, y);
      sums[at] += p.r, sums[at + 1] += p.g, sums[at + 2] += p.b, ++sums[at + 3];
    }
  std::vector<Rgb> means;
  for (std::size_t i = 0; i < sums.size(); i += 4) {
    const int n = std::max(1, sums[i + 3]);
    means.push_back({static_cast<std::uint8_t>(sums[i] / n),
                     static_cast<std::uint8_t>(sums[i + 1] / n),
                     static_cast<std::uint8_t>(sums[i + 2] / n)});
  }
  return means;
}

// A sharp rendering is the same view with more of its detail: brought down to the route videos'
// size it is the ordinary rendering again, and its video keeps what the ordinary size loses.
TEST(RouteVideo, ASharpRenderingShowsTheSameViewWithFinerDetail) {
  RouteDesign design = shortRoute();
  design.line.end = 70;
  design.line.stations = {{"A", "a", "a", 0, 0}, {"B", "b", "b", 50, 1}};
  design.line.tunnels.clear();
  design.line.crossings = {40};
  const BuiltRoute route = buildRoute(design);
  const int frame = route.frameAt(12);
  RouteScene ordinary(route), sharp(route, kHdVideoSize);
  Canvas small(kVideoWidth, kVideoHeight), large(kHdVideoSize.width, kHdVideoSize.height);
  ordinary.draw(frame, small);
  sharp.draw(frame, large);
  // Block by block (4 × 4 pixels of the ordinary picture) the two agree; only where an edge
  // falls on another pixel may they differ.
  const std::vector<Rgb> blocks = blockMeans(small, 151, 85),
                         sharpBlocks = blockMeans(large, 151, 85);
  int differing = 0;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const int d = std::abs(blocks[i].r - sharpBlocks[i].r) +
                  std::abs(blocks[i].g - sharpBlocks[i].g) +
                  std::abs(blocks[i].b - sharpBlocks[i].b);
    if (d > 48) ++differing;
  }
  EXPECT_LT(differing, static_cast<int>(blocks.size()) / 100);

  // Through the encoder and back, as the cab reads it.
  TempDir dir;
  std::ostringstream progress;
  const std::string path = dir.file("sharp.avi");
  ASSERT_EQ(renderRouteVideo(route, path, progress, kHdVideoSize), route.endFrame + 1);
  media::FfmpegVideoReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(path, error)) << error;
  media::RgbPicture picture;
  ASSERT_TRUE(reader.decodeFrame(frame, picture));
  ASSERT_EQ(picture.width, kHdVideoSize.width);
  ASSERT_EQ(picture.height, kHdVideoSize.height);
  // Where the sharp drawing differs from the ordinary one enlarged, the frame follows the sharp.
  int detail = 0, kept = 0;
  for (int y = 0; y < large.height(); ++y)
    for (int x = 0; x < large.width(); ++x) {
      const Rgb fine = large.at(x, y);
      const Rgb coarse =
          small.at(x * small.width() / large.width(), y * small.height() / large.height());
      const int drawn = brightness({fine.r, fine.g, fine.b});
      const int enlarged = brightness({coarse.r, coarse.g, coarse.b});
      if (std::abs(drawn - enlarged) < 30) continue;
      ++detail;
      const int shown = brightness(pixelAt(picture, x, y));
      if (std::abs(shown - drawn) < std::abs(shown - enlarged)) ++kept;
    }
  EXPECT_GT(detail, 5000);
  EXPECT_GT(kept, detail * 4 / 5);
}

}  // namespace
}  // namespace velimoro::content
