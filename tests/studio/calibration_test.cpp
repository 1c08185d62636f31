#include "studio/core/calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "data/route_reader.h"
#include "studio/core/track.h"
#include "support/test_support.h"

namespace velimoro::studio {
namespace {

using testing::readFile;
using testing::TempDir;

constexpr double kEarthRadius = 6371008.8;
constexpr double kStart = 1714557600;  // 2024-05-01T10:00:00Z

// A run of 300 s along a meridian: 60 s speeding up to 20 m/s, 180 s at it, 60 s braking to a
// stand. By hand: 600 m + 3600 m + 600 m = 4800 m, 600 m at 60 s and 4200 m at 240 s. The line
// climbs 10 per mille over the steady stretch and is level before and after it.
double metresAt(double t) {
  if (t <= 60) return 0.5 * (20.0 / 60) * t * t;
  if (t <= 240) return 600 + 20 * (t - 60);
  const double u = std::min(t, 300.0) - 240;
  return 4200 + 20 * u - 0.5 * (20.0 / 60) * u * u;
}
double heightAt(double metres) {
  return 100 + 0.010 * std::clamp(metres, 600.0, 4200.0);
}

std::string gpxOfTheRun(bool elevations) {
  std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><name>run</name><trkseg>\n";
  for (int t = 0; t <= 300; ++t) {
    char point[256];
    const double lat = 35 + metresAt(t) / kEarthRadius * 180 / std::numbers::pi;
    std::snprintf(
        point, sizeof point,
        "<trkpt lat=\"%.9f\" lon=\"139.5\">%s<time>2024-05-01T10:%02d:%02dZ</time></trkpt>\n", lat,
        elevations ? ("<ele>" + std::to_string(heightAt(metresAt(t))) + "</ele>").c_str() : "",
        t / 60, t % 60);
    gpx += point;
  }
  return gpx + "</trkseg></trk></gpx>\n";
}

// The distance in metres the route's table gives at `frame`, as the drive derives it.
double tableMetres(const std::vector<FrameSpeedEntry>& segments, int frame) {
  auto route = std::make_unique<RouteData>();
  for (const FrameSpeedEntry& s : segments)
    route->frameSpeeds[static_cast<std::size_t>(route->frameSpeedCount++)] = s;
  deriveRouteDistances(*route);
  std::int64_t acc = 0;
  for (int i = 0; i < route->frameSpeedCount; ++i) {
    const FrameSpeedEntry& s = route->frameSpeeds[static_cast<std::size_t>(i)];
    if (frame < s.toFrame) return static_cast<double>(segmentDistanceCm(s, acc, frame)) / 100;
    acc = s.endCm;
  }
  return static_cast<double>(acc) / 100;
}

// The table against the run, the video's frame 0 filmed at `videoStart` seconds of the run and
// each frame `secondsPerFrame` later.
void expectTheRun(const std::vector<FrameSpeedEntry>& segments, double videoStart,
                  double secondsPerFrame = 1.0 / 30, std::vector<int> times = {60, 150, 240, 290}) {
  for (int t : times) {
    const int frame = static_cast<int>(std::lround((t - videoStart) / secondsPerFrame));
    const double metres = metresAt(t) - metresAt(videoStart);
    EXPECT_NEAR(tableMetres(segments, frame), metres, 0.005 * metres) << t << " s";
  }
}

// The track, the speed log and kilometre posts of the same run each give a table that gives
// the run's distances within 0.5 %, the steady stretch in few segments.
TEST(Calibration, ReproducesTheDistancesOfARunOfKnownLength) {
  std::vector<TrackPoint> track;
  std::string error;
  ASSERT_TRUE(readGpx(gpxOfTheRun(true), track, error)) << error;
  ASSERT_EQ(track.size(), 301u);
  FrameClock clock;
  ASSERT_TRUE(frameClock({{0, kStart}}, 30, clock, error));
  const auto segments = speedSegments(trackDistances(track, clock, 8999, 30));
  expectTheRun(segments, 0);
  EXPECT_LT(segments.size(), 70u);
  int steady = 0;
  for (const FrameSpeedEntry& s : segments)
    if (s.fromFrame >= 1800 && s.toFrame <= 7200) ++steady;
  EXPECT_LE(steady, 2);

  // A video started 10 s into the track, with a camera clock 1 % slow, marked at two frames.
  ASSERT_TRUE(frameClock({{0, kStart + 10}, {2970, kStart + 110}}, 30, clock, error));
  expectTheRun(speedSegments(trackDistances(track, clock, 8699, 30)), 10, 100.0 / 2970);

  std::string log = "seconds,km/h\n";
  for (int t = 0; t <= 300; ++t) {
    const double v = t <= 60 ? t / 3.0 : t <= 240 ? 20 : (300 - t) / 3.0;
    log += std::to_string(t) + "," + std::to_string(v * 3.6) + "\n";
  }
  std::vector<SpeedSample> samples;
  ASSERT_TRUE(readSpeedLog(log, samples, error)) << error;
  ASSERT_TRUE(frameClock({{0, 0}}, 30, clock, error));
  expectTheRun(speedSegments(speedLogDistances(samples, clock, 8999, 30)), 0);

  std::vector<FrameDistance> posts;
  ASSERT_TRUE(pairDistances({{1800, 7200, 3600}, {0, 1800, 600}, {7200, 8970, 600}}, posts, error));
  // Between the posts the table knows no more than their distances.
  expectTheRun(speedSegments(posts), 0, 1.0 / 30, {60, 240, 299});
  // One pair alone: the whole video at its 2/3 m a frame, the pair's own distance kept.
  CalibrationSource one;
  one.pairs = {{1800, 7200, 3600}};
  one.lastFrame = 8999;
  Calibration c;
  ASSERT_TRUE(calibrate(one, c, error)) << error;
  EXPECT_NEAR(tableMetres(c.segments, 7200) - tableMetres(c.segments, 1800), 3600, 0.5);
  EXPECT_NEAR(tableMetres(c.segments, 8999), 8999 * 2.0 / 3, 0.5);
  EXPECT_LT(c.worstDeviation, 0.001);
  one.lastFrame = 1000;
  EXPECT_FALSE(calibrate(one, c, error));
  EXPECT_FALSE(pairDistances({{0, 1800, 600}, {900, 2000, 50}}, posts, error));
  EXPECT_FALSE(pairDistances({{10, 10, 5}}, posts, error));
}

TEST(Calibration, SlopesFollowTheTrackHeights) {
  std::vector<TrackPoint> track;
  std::string error;
  ASSERT_TRUE(readGpx(gpxOfTheRun(true), track, error));
  FrameClock clock;
  ASSERT_TRUE(frameClock({{0, kStart}}, 30, clock, error));
  // The slopes climb the 36 m of the run, most of it on one record of 10 per mille; the
  // smoothing eases the line into it.
  const auto slopes = slopeRecords(track, clock, 8999, 30);
  double climb = 0;
  const SlopeEntry* longest = nullptr;
  for (const SlopeEntry& s : slopes) {
    climb += s.gradient.toDouble() / 1000 * (metresAt(s.to / 30.0) - metresAt(s.from / 30.0));
    if (longest == nullptr || s.to - s.from > longest->to - longest->from) longest = &s;
  }
  EXPECT_NEAR(climb, 36, 0.5);
  ASSERT_NE(longest, nullptr);
  EXPECT_EQ(longest->gradient, Fixed::fromInt(10));
  EXPECT_NEAR(longest->from, 1800, 300);
  EXPECT_NEAR(longest->to, 7200, 300);
  EXPECT_LT(slopes.size(), 16u);
  ASSERT_TRUE(readGpx(gpxOfTheRun(false), track, error));
  EXPECT_TRUE(slopeRecords(track, clock, 8999, 30).empty());
}

// Damaged and odd tracks end in a message or in the points that can be read.
TEST(Calibration, DamagedTracksAndLogsAreRefusedOrReadAsFarAsTheyGo) {
  std::vector<TrackPoint> track;
  std::string error;
  const std::string gpx = gpxOfTheRun(false);
  EXPECT_TRUE(readGpx(gpx.substr(0, gpx.size() / 2), track, error));
  EXPECT_GT(track.size(), 100u);
  for (const std::string& bad :
       {std::string(), std::string("<trkpt lat=\"91\" lon=\"0\"><time>2024-05-01T10:00:00Z</time>"),
        std::string("<trkpt lat=\"1\" lon=\"2\"><time>yesterday</time></trkpt><trkpt"),
        std::string(5000, '<')}) {
    EXPECT_FALSE(readGpx(bad, track, error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(isoSeconds("2024-05-01T19:00:00+09:00"), kStart);
  EXPECT_EQ(isoSeconds("2024-05-01T10:00:00.5Z"), kStart + 0.5);
  EXPECT_FALSE(isoSeconds("2024-13-01T10:00:00Z"));

  std::vector<SpeedSample> samples;
  EXPECT_FALSE(readSpeedLog("0,10\n1,x\n", samples, error));
  EXPECT_NE(error.find("2 行目"), std::string::npos);
  EXPECT_FALSE(readSpeedLog("0,10\n", samples, error));
  FrameClock clock;
  EXPECT_FALSE(frameClock({}, 30, clock, error));
  EXPECT_FALSE(frameClock({{10, 5}, {20, 5}}, 30, clock, error));
}

// The command line on a video made with ffmpeg: a new file holds the table; on an existing
// route the table is replaced and every other line stays.
TEST(Calibration, CommandLineWritesTheTableOfAVideo) {
  TempDir dir;
  const std::string video = dir.file("ride.avi");
  ASSERT_EQ(std::system(("ffmpeg -v error -y -f lavfi -i testsrc=size=160x120:rate=30:duration=20 "
                         "-c:v mpeg4 '" +
                         video + "'")
                            .c_str()),
            0);
  dir.writeBytes("ride.gpx", gpxOfTheRun(true));
  const std::string route = dir.writeBytes("line.dat",
                                           "; "
                                           "mine\r\n[FrameRate]\r\n30\r\n[Slope]\r\n5.0,1,2\r\n#"
                                           "\r\n[SpeedUnit]\r\n0,1,2,3\r\n#\r\n[Time]\r\n#\r\n");
  const std::string command = std::string(VELIMORO_STUDIO_EXE) + " --calibrate --video " + video +
                              " --gpx " + dir.file("ride.gpx") + " --align 0=60 --slopes --out ";
  ASSERT_EQ(std::system((command + route + " >/dev/null").c_str()), 0);
  ASSERT_EQ(std::system((command + dir.file("new.dat") + " >/dev/null").c_str()), 0);
  for (const std::string file : {"line.dat", "new.dat"}) {
    auto r = std::make_unique<RouteData>();
    testing::RecordingPictures pictures;
    PictureLists lists;
    readRouteFile(dir.path(), file, *r, pictures, lists);
    ASSERT_GT(r->frameSpeedCount, 0) << file;
    // Frames 0 .. 599 are seconds 60 .. 80 of the run: 400 m.
    std::vector<FrameSpeedEntry> segments(r->frameSpeeds.begin(),
                                          r->frameSpeeds.begin() + r->frameSpeedCount);
    EXPECT_EQ(segments.back().toFrame, 599) << file;
    EXPECT_NEAR(tableMetres(segments, 599), metresAt(79.97) - 600, 2) << file;
    ASSERT_GT(r->slopeCount, 0) << file;
    const SlopeEntry& last = r->slopes[static_cast<std::size_t>(r->slopeCount - 1)];
    EXPECT_EQ(last.gradient, Fixed::fromInt(10)) << file;
    EXPECT_EQ(last.to, 599) << file;
  }
  const std::string kept = readFile(route);
  EXPECT_TRUE(kept.starts_with("; mine\r\n[FrameRate]\r\n30\r\n[Slope]\r\n")) << kept;
  EXPECT_TRUE(kept.ends_with("#\r\n[Time]\r\n#\r\n"));
}

}  // namespace
}  // namespace velimoro::studio
