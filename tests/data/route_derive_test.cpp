#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/data_error.h"
#include "data/frame_speed_reload.h"
#include "data/route_reader.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::RecordingMessages;
using testing::TempDir;
using testing::waveFile;

std::unique_ptr<RouteData> newRoute() {
  return std::make_unique<RouteData>();
}

void addSegment(RouteData& r, int from, int to, long double fromSpeed, long double toSpeed) {
  r.frameSpeeds[static_cast<std::size_t>(r.frameSpeedCount++)] = {from, to, fromSpeed, toSpeed};
}

void addSignal(RouteData& r, int position) {
  SignalEntry& s = r.signals[static_cast<std::size_t>(r.signalCount++)];
  s.position = position;
}

void addLimit(RouteData& r, int position, int limit, int limitC) {
  SpeedLimitEntry& l = r.speedLimits[static_cast<std::size_t>(r.speedLimitCount++)];
  l.position = position;
  l.limit = limit;
  l.limitC = limitC;
}

StationEntry& addStation(RouteData& r, int stopFrame, int tolerance = 0) {
  StationEntry& s = r.stations[static_cast<std::size_t>(r.stationCount++)];
  s.stopFrame = stopFrame;
  s.stopTolerance = tolerance;
  return s;
}

std::vector<std::pair<std::int64_t, int>> eventsOf(const RouteData& r) {
  std::vector<std::pair<std::int64_t, int>> out;  // {cm, type * 100 + index}
  for (int i = 0; i < r.eventCount; ++i) {
    const RouteEvent& e = r.events[static_cast<std::size_t>(i)];
    out.emplace_back(e.cm, e.type * 100 + e.index);
  }
  return out;
}

TEST(RouteDerive, SegmentsAccumulateAndStationsFollowThem) {
  auto r = newRoute();
  addSegment(*r, 0, 300, 36, 36);
  addSegment(*r, 300, 600, 72, 72);
  addStation(*r, 450, 300);
  addStation(*r, 150);
  deriveRouteDistances(*r);
  EXPECT_EQ(r->frameSpeeds[0].endCm, 10000);
  EXPECT_EQ(r->frameSpeeds[1].endCm, 30000);
  EXPECT_EQ(r->stations[0].stopCm, 20000);
  EXPECT_EQ(r->stations[0].stopMinCm, 19700);
  EXPECT_EQ(r->stations[0].stopMaxCm, 20300);
  EXPECT_EQ(r->stations[1].stopCm, 5000);
}

TEST(RouteDerive, DistancesFollowTheSpeedChangeAndRound) {
  FrameSpeedEntry accelerating{0, 300, 36, 72};
  // Speed at frame 150 is 54 km/h: the mean 45 km/h over 5 s is 6250 cm.
  EXPECT_EQ(segmentDistanceCm(accelerating, 1000, 150), 7250);
  EXPECT_EQ(segmentDistanceCm(accelerating, 0, 300), 15000);
  // 36 km/h is 33.3 cm per frame.
  FrameSpeedEntry steady{0, 10, 36, 36};
  EXPECT_EQ(segmentDistanceCm(steady, 0, 1), 33);
  EXPECT_EQ(segmentDistanceCm(steady, 0, 2), 67);
}

TEST(RouteDerive, AOneFrameSegmentAddsNothing) {
  auto r = newRoute();
  addSegment(*r, 0, 300, 36, 36);
  addSegment(*r, 400, 400, 50, 60);
  addStation(*r, 400);
  deriveRouteDistances(*r);
  EXPECT_EQ(r->frameSpeeds[1].endCm, 10000);
  EXPECT_EQ(r->stations[0].stopCm, 10000);
}

TEST(RouteDerive, ObjectsOnTwoSegmentsTakeTheLaterAndAppendTwice) {
  auto r = newRoute();
  addSegment(*r, 0, 300, 36, 36);
  addSegment(*r, 200, 600, 72, 72);  // overlaps the first
  addSignal(*r, 250);
  addLimit(*r, 250, 45, 3);
  addStation(*r, 250);
  TrafficSignalEntry& t = r->trafficSignals[0];
  t.field[1] = 250;
  t.field[22] = 100;
  r->trafficSignalCount = 1;
  r->doppler[0].position = 250;
  r->dopplerCount = 1;
  r->tunnels[0].entry = 100;
  r->tunnels[0].exit = 250;
  r->tunnelCount = 1;
  deriveRouteDistances(*r);
  // In the first segment frame 250 is 8333 cm, in the second 10000 + 3333 cm.
  const std::vector<std::pair<std::int64_t, int>> expected{
      {8333, 100}, {8333, 203}, {13333, 100}, {13333, 203}};
  EXPECT_EQ(eventsOf(*r), expected);
  EXPECT_EQ(r->events[1].value, 45);
  EXPECT_EQ(r->speedLimits[0].positionCm, 13333);
  EXPECT_EQ(r->stations[0].stopCm, 13333);
  EXPECT_EQ(r->trafficSignals[0].positionCm, 13333);
  EXPECT_EQ(r->trafficSignals[0].position2Cm, 3333);
  EXPECT_EQ(r->doppler[0].positionCm, 13333);
  EXPECT_EQ(r->tunnels[0].entryCm, 3333);
  EXPECT_EQ(r->tunnels[0].exitCm, 13333);
}

TEST(RouteDerive, EventsAreSortedStablyAndOutsideObjectsKeepZero) {
  auto r = newRoute();
  addSegment(*r, 0, 300, 36, 36);
  addSegment(*r, 300, 600, 72, 72);
  addSignal(*r, 450);
  addSignal(*r, 300);  // on the boundary: twice, at 10000 cm both times
  addSignal(*r, 150);
  addSignal(*r, 700);  // beyond the last segment
  addLimit(*r, 300, 60, 1);
  addLimit(*r, 150, 45, 2);
  addLimit(*r, 800, 30, 3);
  addStation(*r, 900);
  deriveRouteDistances(*r);
  const std::vector<std::pair<std::int64_t, int>> expected{{5000, 102},  {5000, 202},  {10000, 101},
                                                           {10000, 101}, {10000, 201}, {10000, 201},
                                                           {20000, 100}};
  EXPECT_EQ(eventsOf(*r), expected);
  EXPECT_EQ(r->speedLimits[2].positionCm, 0);
  EXPECT_EQ(r->stations[0].stopCm, 0);
}

TEST(RouteDerive, ManyEventsAtOneDistanceKeepTheirOrder) {
  auto r = newRoute();
  addSegment(*r, 0, 300, 36, 36);
  for (int i = 0; i < 40; ++i)
    addSignal(*r, i % 2 == 0 ? 150 : 290 - i);
  for (int i = 0; i < 40; ++i)
    addLimit(*r, i % 2 == 0 ? 150 : 280 - i, 45, i);
  deriveRouteDistances(*r);
  std::vector<std::pair<std::int64_t, int>> atFrame150;
  for (const auto& event : eventsOf(*r)) {
    if (event.first == 5000) atFrame150.push_back(event);
  }
  std::vector<std::pair<std::int64_t, int>> expected;
  for (int i = 0; i < 40; i += 2)
    expected.emplace_back(5000, 100 + i);
  for (int i = 0; i < 40; i += 2)
    expected.emplace_back(5000, 200 + i);
  EXPECT_EQ(atFrame150, expected);
  const auto events = eventsOf(*r);
  EXPECT_TRUE(std::is_sorted(events.begin(), events.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; }));
}

TEST(RouteDerive, DerivingTwiceGivesTheSameResult) {
  auto r = newRoute();
  addSegment(*r, 0, 300, 36, 36);
  addSignal(*r, 150);
  addStation(*r, 150, 100);
  deriveRouteDistances(*r);
  r->stations[0].stopFrame = 900;  // now outside every segment
  deriveRouteDistances(*r);
  EXPECT_EQ(r->eventCount, 1);
  EXPECT_EQ(r->stations[0].stopCm, 0);
  EXPECT_EQ(r->stations[0].stopMaxCm, 0);
}

TEST(RouteDerive, TooManyEventsNameTheSegment) {
  auto r = newRoute();
  for (int s = 0; s < 5; ++s)
    addSegment(*r, 0, 300, 36, 36);
  for (int i = 0; i < RouteData::kTable; ++i)
    addSignal(*r, i % 300);
  try {
    deriveRouteDistances(*r);
    ADD_FAILURE() << "no error";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "路線ファイルに誤りがあります。[SpeedUnit]:0,300");
  }
  EXPECT_LE(r->eventCount, RouteData::kEvents);
}

// Distances beyond any route (frames and speeds near the limits of their types) are a fault of
// the segment that reaches them, never an overflow; a long route of real speeds derives.
TEST(RouteDerive, SegmentsReachingBeyondAnyRouteNameTheSegment) {
  const auto faultOf = [](const std::vector<std::array<long double, 4>>& segments) {
    auto r = newRoute();
    for (const auto& [from, to, fromSpeed, toSpeed] : segments)
      addSegment(*r, static_cast<int>(from), static_cast<int>(to), fromSpeed, toSpeed);
    addStation(*r, 7, INT_MAX);
    try {
      deriveRouteDistances(*r);
    } catch (const DataError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  const long double kMin = INT_MIN;
  const long double kMax = INT_MAX;
  const std::string kFault = "路線ファイルに誤りがあります。[SpeedUnit]:";
  EXPECT_EQ(faultOf({{0, 10, 60, 60}, {kMin, kMax, 1e300L, 1e300L}}),
            kFault + "-2147483648,2147483647");
  // Opposite speeds add nothing at the segment's end but reach far within it.
  EXPECT_EQ(faultOf({{0, kMax, 1e12L, -1e12L}}), kFault + "0,2147483647");
  // Each segment within reach, together beyond it.
  EXPECT_EQ(faultOf(std::vector<std::array<long double, 4>>(600, {0, kMax, 1000, 1000})),
            kFault + "0,2147483647");
  EXPECT_EQ(faultOf({{0, kMax, 300, 300}, {kMin, 0, 300, 300}}), "");
}

TEST(RouteSounds, LengthComesFromTheWaveHeader) {
  TempDir dir;
  int seconds = -1;
  std::string error;
  EXPECT_TRUE(waveLengthSeconds(dir.writeBytes("two.wav", waveFile(2.0)), seconds, error));
  EXPECT_EQ(seconds, 2);
  EXPECT_TRUE(waveLengthSeconds(dir.writeBytes("a.wav", waveFile(2.5)), seconds, error));
  EXPECT_EQ(seconds, 2);
  EXPECT_TRUE(waveLengthSeconds(dir.writeBytes("b.wav", waveFile(3.5)), seconds, error));
  EXPECT_EQ(seconds, 4);

  EXPECT_TRUE(
      waveLengthSeconds(dir.writeBytes("short.wav", waveFile(2.0).substr(0, 43)), seconds, error));
  EXPECT_EQ(seconds, 0);
  std::string silent = waveFile(2.0);
  std::memset(silent.data() + 28, 0, 4);
  EXPECT_TRUE(waveLengthSeconds(dir.writeBytes("zero.wav", silent), seconds, error));
  EXPECT_EQ(seconds, 0);
  EXPECT_EQ(error, "");

  const std::string missing = dir.file("missing.wav");
  EXPECT_FALSE(waveLengthSeconds(missing, seconds, error));
  EXPECT_EQ(error, "ファイル「" + missing + "」を開けません。No such file or directory");
}

TEST(RouteSounds, MeasuringShowsUnreadableFilesAndGoesOn) {
  TempDir dir;
  dir.writeBytes("sound/a.wav", waveFile(3.0));
  auto r = newRoute();
  r->soundData[0] = "sound\\missing.wav";
  r->soundData[1] = "SOUND\\A.WAV";
  r->soundLength[0] = 9;
  r->soundDataCount = 2;
  RecordingMessages messages;
  measureRouteSounds(dir.path(), *r, messages);
  EXPECT_EQ(r->soundLength[0], 0);
  EXPECT_EQ(r->soundLength[1], 3);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("missing.wav"), std::string::npos);
}

class RouteStart : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.writeBytes("sound/arrive.wav", waveFile(5.0));
    dir.writeBytes("sound/depart.wav", waveFile(3.0));
    r->soundData[0] = "sound\\arrive.wav";
    r->soundData[1] = "sound\\depart.wav";
    r->soundDataCount = 2;
    RecordingMessages messages;
    measureRouteSounds(dir.path(), *r, messages);
    r->startPos = 100;
    for (const int kind : {0, 0, 2, 0}) {
      StationEntry& s = addStation(*r, 1000 * (r->stationCount + 1));
      s.kind = kind;
      s.departSound1 = 0;
      s.departSound2 = 1;
      s.departTime = 1080000 + 9000 * r->stationCount;
    }
  }

  TempDir dir;
  std::unique_ptr<RouteData> r = newRoute();
};

TEST_F(RouteStart, FirstStationStartsAtStartPosBeforeTheDepartureAnnouncement) {
  const StartPoint p = routeStartPoint(*r, 0);
  EXPECT_EQ(p.frame, 100);
  EXPECT_EQ(p.clockTicks, 1080000 + 9000 - 30 * 3);
  EXPECT_TRUE(p.doorsOpen);
  EXPECT_EQ(p.nextStation, 1);
}

TEST_F(RouteStart, LaterStationsStartOnArrival) {
  const StartPoint p = routeStartPoint(*r, 2);
  EXPECT_EQ(p.frame, 3000);
  EXPECT_EQ(p.clockTicks, 1080000 + 27000 - 30 * 3 - 30 * 5);
  EXPECT_FALSE(p.doorsOpen);
  EXPECT_EQ(p.nextStation, 3);
}

TEST_F(RouteStart, OutOfRangeIndicesAreHeldToTheTables) {
  r->stations[1].departSound1 = 7;   // no such route sound
  r->stations[1].departSound2 = -1;  // nor this
  EXPECT_EQ(routeStartPoint(*r, 1).clockTicks, 1080000 + 18000);
  EXPECT_EQ(routeStartPoint(*r, -3).frame, 100);
  const StartPoint last = routeStartPoint(*r, 99);
  EXPECT_EQ(last.frame, 4000);
  EXPECT_EQ(last.nextStation, 4);

  r->stationCount = 0;
  const StartPoint empty = routeStartPoint(*r, 2);
  EXPECT_EQ(empty.frame, 100);
  EXPECT_EQ(empty.clockTicks, 0);
  EXPECT_FALSE(empty.doorsOpen);
  EXPECT_EQ(empty.nextStation, 1);
}

TEST(RouteSample, TheBundledSampleRouteReadsAndDerives) {
  const std::string root = std::string(VELIMORO_SOURCE_DIR) + "/samples/sample";
  auto r = newRoute();
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  readRouteFile(root, "line_sample.dat", *r, pictures, lists);
  RecordingMessages messages;
  measureRouteSounds(root, *r, messages);
  deriveRouteDistances(*r);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(r->lineName, "サンプル線");
  EXPECT_EQ(r->movieStop[0], 20000);
  ASSERT_EQ(r->stationCount, 4);
  for (int i = 1; i < r->stationCount; ++i) {
    EXPECT_GT(r->stations[i].stopCm, r->stations[i - 1].stopCm);
    EXPECT_GT(r->stations[i].departTime, r->stations[i - 1].departTime);
  }
  for (int i = 0; i < r->soundDataCount; ++i)
    EXPECT_GT(r->soundLength[i], 0) << i;
  EXPECT_EQ(r->frameSpeeds[r->frameSpeedCount - 1].toFrame, 20000);
  // The run from the start position begins in the first station's stopping window.
  EXPECT_EQ(routeStartPoint(*r, 0).frame, r->stations[0].stopFrame);
}

TEST(RouteMoveMenu, OffersStoppingStationsButNeverTheLast) {
  auto r = newRoute();
  for (const int kind : {0, 1, 2, 3, 0}) {
    StationEntry& s = addStation(*r, 0);
    s.kind = kind;
    s.name = "駅" + std::to_string(r->stationCount - 1);
  }
  const std::vector<MoveMenuEntry> entries = moveMenuEntries(*r);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].station, 0);
  EXPECT_EQ(entries[0].caption, "駅0");
  EXPECT_EQ(entries[1].station, 2);
  EXPECT_EQ(entries[1].caption, "駅2");
}

}  // namespace
}  // namespace velimoro

namespace velimoro {
namespace {

TEST(FrameSpeedReload, ReplacesTheTableUpToTheFirstBadLineAndLeavesItWithoutTheSection) {
  testing::TempDir dir;
  RouteData route;
  route.frameSpeedCount = 3;
  route.frameSpeeds[2].fromFrame = 77;
  // No section, or a section whose first line does not read: the table stays as it is.
  EXPECT_FALSE(reloadFrameSpeeds(dir.writeCp932("none.dat", "[Path]\nmove\\\n"), route));
  EXPECT_FALSE(reloadFrameSpeeds(dir.writeCp932("bad.dat", "[SpeedUnit]\nx,1,2,3\n"), route));
  EXPECT_FALSE(reloadFrameSpeeds(dir.file("missing.dat"), route));
  EXPECT_EQ(route.frameSpeedCount, 3);
  // Two lines read, the third does not: two entries replaced, the count two.
  ASSERT_TRUE(
      reloadFrameSpeeds(dir.writeCp932("two.dat",
                                       "[Path]\nmove\\\n[SpeedUnit]\n0,100,30,30\n100,250,30.5,60\n"
                                       "250,x,60,60\n300,400,60,60\n#\n"),
                        route));
  EXPECT_EQ(route.frameSpeedCount, 2);
  EXPECT_EQ(route.frameSpeeds[1].fromFrame, 100);
  EXPECT_EQ(route.frameSpeeds[1].toFrame, 250);
  EXPECT_EQ(route.frameSpeeds[1].fromSpeed, 30.5L);
  EXPECT_EQ(route.frameSpeeds[2].fromFrame, 77);  // beyond the count, untouched
}

}  // namespace
}  // namespace velimoro
