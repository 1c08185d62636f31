#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "data/route_reader.h"
#include "media/ffmpeg_video_reader.h"
#include "studio/core/calibration.h"
#include "studio/core/route_editor.h"
#include "studio/core/route_file_io.h"
#include "support/drive_run.h"
#include "support/test_support.h"

namespace velimoro::studio {
namespace {

using testing::TempDir;

// A route made the way an author makes one, through the studio's core alone: a video whose
// frames show their own number, a GPX track of the filming run (15 m/s, half a metre a frame),
// three stations placed at frames and the filming-speed table from the track. The stations lie
// at the distances of the run, 100 m, 900 m and 1700 m, and a drive from the first to the last
// stops at each in turn.
TEST(RouteFromVideo, ThreeStationsPlacedOnAMarkedVideoAreStoppedAtInTurn) {
  TempDir root;
  std::filesystem::copy(testing::kScenarioRoot, root.path(),
                        std::filesystem::copy_options::recursive);
  const std::string video = root.file("ride.avi");
  ASSERT_EQ(std::system(("ffmpeg -v error -y -f lavfi -i testsrc=size=160x120:rate=30:duration=120 "
                         "-vf drawbox=t=fill:c=black:w=iw:h=10 -c:v mpeg4 -q:v 10 '" +
                         video + "'")
                            .c_str()),
            0);
  media::FfmpegVideoReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(video, error)) << error;
  const int lastFrame = reader.frameCount() - 1;
  ASSERT_EQ(lastFrame, 3599);

  std::string gpx = "<gpx><trk><trkseg>";
  for (int t = 0; t <= 130; ++t) {
    const double lat = 35 + 15.0 * t / 6371008.8 * 180 / std::numbers::pi;
    gpx += "<trkpt lat=\"" + std::to_string(lat) + "\" lon=\"139\"><time>2024-05-01T10:0" +
           std::to_string(t / 60) + ":" + (t % 60 < 10 ? "0" : "") + std::to_string(t % 60) +
           "Z</time></trkpt>";
  }
  gpx += "</trkseg></trk></gpx>";

  RouteEditor editor;
  ASSERT_TRUE(editor.setValue(RouteSection::kLineName, 0, "試験線"));
  ASSERT_TRUE(editor.setValue(RouteSection::kStartPos, 0, "200"));
  ASSERT_TRUE(editor.setValue(RouteSection::kFrameRate, 0, "30"));
  ASSERT_TRUE(editor.setValue(RouteSection::kDataName, 0, "ride"));
  const std::vector<std::pair<std::string, int>> stations = {
      {"始発", 200}, {"中間", 1800}, {"終点", 3400}};
  for (std::size_t i = 0; i < stations.size(); ++i)
    ASSERT_TRUE(editor.place(
        RecordKind::kStation,
        {stations[i].first, "0", std::to_string(stations[i].second), "500", "0", "0", "0",
         std::to_string(1080000 + 3600 * static_cast<int>(i)), "0", "0", "0", "0", "0", "0"},
        error))
        << error;
  std::vector<TrackPoint> track;
  ASSERT_TRUE(readGpx(gpx, track, error)) << error;
  FrameClock clock;
  ASSERT_TRUE(frameClock({{0, track.front().seconds + 2}}, 30, clock, error));
  RouteDocument calibrated = editor.document();
  ASSERT_TRUE(calibrated.setRecords(RouteSection::kMovieStop, {{std::to_string(lastFrame)}}));
  ASSERT_TRUE(writeCalibration(
      calibrated, speedSegments(trackDistances(track, clock, lastFrame, 30)), nullptr));
  editor.replace(calibrated);
  ASSERT_TRUE(saveFileWhole(root.file("line_made.dat"), editor.document().bytes(), error));

  auto route = std::make_unique<RouteData>();
  testing::RecordingPictures pictures;
  PictureLists lists;
  readRouteFile(root.path(), "line_made.dat", *route, pictures, lists);
  deriveRouteDistances(*route);
  ASSERT_EQ(route->stationCount, 3);
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_NEAR(static_cast<double>(route->stations[i].stopCm), stations[i].second * 50.0,
                0.005 * stations[i].second * 50.0);

  // Driven at the filming speed between the stations (a frame a step: the 1600 frames between
  // stations take 53.3 s) and brought to a stand at each: the conductor opens the doors and
  // closes them after the departure time (10:00:00, 10:02:00), and the train goes on; at the last
  // station the run ends.
  const testing::DriveRun d = testing::runHeadlessDrive(
      testing::driveOptions(root.path(), "line_made.dat", "electric_bt1.dat", 190),
      "0 start\n5 set debug_mode 1\n57.9 set debug_mode 0\n57.9 set speed 0\n"
      "125 set debug_mode 1\n177.9 set debug_mode 0\n177.9 set speed 0\n");
  ASSERT_EQ(d.status, 0) << d.err;
  std::vector<std::string> stood;  // the stations stood at with the doors open, in turn
  bool movedSince = true;
  int movingWithDoorsOpen = 0;
  for (const auto& row : d.trace) {
    if (testing::number(row, "speed") > 1) {
      movedSince = true;
      movingWithDoorsOpen += row.at("doors_open") == "1";
    }
    if (row.at("doors_open") != "1" || testing::number(row, "speed") != 0 || !movedSince) continue;
    for (std::size_t i = 0; i < 3; ++i)
      if (std::fabs(testing::number(row, "position_cm") -
                    static_cast<double>(route->stations[i].stopCm)) < 500) {
        stood.push_back(stations[i].first);
        movedSince = false;
      }
  }
  EXPECT_EQ(stood, (std::vector<std::string>{"始発", "中間", "終点"}));
  EXPECT_EQ(movingWithDoorsOpen, 0);
  EXPECT_EQ(d.trace.back().at("run_ended"), "1");
}

}  // namespace
}  // namespace velimoro::studio
