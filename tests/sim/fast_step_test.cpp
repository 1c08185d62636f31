#include "sim/fast_step.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/test_support.h"

namespace velimoro {
namespace {

// A route whose video was filmed at 36 km/h over frames 0..300 and 72 km/h over 300..600:
// 10000 cm and 30000 cm at the two segment ends.
void twoSegmentRoute(RouteData& route) {
  route.frameSpeeds[0] = {0, 300, 36, 36, 10000};
  route.frameSpeeds[1] = {300, 600, 72, 72, 30000};
  route.frameSpeedCount = 2;
}

TEST(PowerDelay, AppliesOnTheThirdFastStepAfterTheInput) {
  TrainSpec train;
  train.PowerDelay = 3;
  SimState s;
  s.power_handle = 2;
  s.power_change_pending = true;
  applyPowerDelay(s, train);
  applyPowerDelay(s, train);
  EXPECT_EQ(s.power_notch, 0);
  applyPowerDelay(s, train);
  EXPECT_EQ(s.power_notch, 2);
  EXPECT_FALSE(s.power_change_pending);
  EXPECT_EQ(s.power_delay_count, 0);
}

TEST(PowerDelay, NotchBackBelowTheThresholdIsNotTaken) {
  TrainSpec train;
  train.PowerDelay = 1;
  train.NotchBack = 2;
  SimState s;
  s.power_notch = 5;
  s.power_handle = 1;  // a notch-back from 5 to 1 is not taken
  s.power_change_pending = true;
  applyPowerDelay(s, train);
  EXPECT_EQ(s.power_notch, 5);
  s.power_handle = 2;  // at least [NotchBack]: taken
  s.power_change_pending = true;
  applyPowerDelay(s, train);
  EXPECT_EQ(s.power_notch, 2);
  s.power_notch = 5;
  s.power_handle = 0;  // off is always taken
  s.power_change_pending = true;
  applyPowerDelay(s, train);
  EXPECT_EQ(s.power_notch, 0);
}

TEST(PowerDelay, ZeroDelayStillAnswersTheHandleAndTimedVideoIgnoresIt) {
  TrainSpec train;  // PowerDelay 0
  SimState s;
  s.power_handle = 1;
  s.power_change_pending = true;
  applyPowerDelay(s, train);
  EXPECT_EQ(s.power_notch, 1);

  s.run_mode = 1;  // the video runs by time: the train takes no power
  s.power_handle = 3;
  s.power_change_pending = true;
  applyPowerDelay(s, train);
  EXPECT_EQ(s.power_notch, 1);
  EXPECT_FALSE(s.power_change_pending);
}

TEST(BrakeDelays, BrakeAndStraightAirPipeFollowAfterTheirOwnDelays) {
  TrainSpec train;
  train.BrakeDelay = 2;
  train.SAPDelay = 4;
  SimState s;
  s.brake_notch = s.sap_notch = -9;
  s.brake_handle = -3;
  s.brake_change_pending = s.sap_change_pending = true;
  applyBrakeDelays(s, train);
  EXPECT_EQ(s.brake_notch, -9);
  applyBrakeDelays(s, train);
  EXPECT_EQ(s.brake_notch, -3);
  EXPECT_EQ(s.sap_notch, -9);
  applyBrakeDelays(s, train);
  applyBrakeDelays(s, train);
  EXPECT_EQ(s.sap_notch, -3);
}

TEST(FrameAdvance, MovesWholeFramesOfTheSpeedSumAndKeepsTheRemainder) {
  RouteData route;
  twoSegmentRoute(route);
  SimState s;
  s.frame = 100;
  s.calib_index = 0;
  s.frame_scale = 36;
  s.speed = 50;  // 50 per step against 36 per frame
  advanceFrame(s, route);
  EXPECT_EQ(s.frame, 101);
  EXPECT_EQ(s.frame_accum, 14);
  advanceFrame(s, route);  // 64 -> one frame, 28 left
  EXPECT_EQ(s.frame, 102);
  EXPECT_EQ(s.frame_accum, 28);
  s.speed = -50;  // backwards: 78 -> two frames back
  advanceFrame(s, route);
  EXPECT_EQ(s.frame, 100);
  EXPECT_EQ(s.frame_accum, 6);
}

TEST(FrameAdvance, StandingFootageRunsAtTwiceTheSpeedSum) {
  RouteData route;
  route.frameSpeeds[0] = {0, 1000, 0, 0, 0};
  route.frameSpeedCount = 1;
  SimState s;
  s.frame = 10;
  s.speed = 20;
  advanceFrame(s, route);
  EXPECT_EQ(s.frame, 50);
  EXPECT_EQ(s.frame_accum, 0);
}

TEST(Calibration, InterpolatesTheScaleAndSetsPositionAtBoundaries) {
  RouteData route;
  route.frameSpeeds[0] = {0, 100, 40, 60, 5000};
  route.frameSpeeds[1] = {100, 200, 60, 60, 15000};
  route.frameSpeedCount = 2;
  SimState s;
  s.frame = 25;  // 40 + 20 * 25 / 100 = 45
  advanceFrame(s, route);
  EXPECT_EQ(s.frame_scale, 45);
  EXPECT_EQ(s.calib_index, 0);
  EXPECT_EQ(s.position_cm, 0);  // the first record found moves nothing

  s.position_cm = 4990;
  s.frame = 99;
  s.speed = 60;
  s.frame_accum = 0;
  s.frame_scale = 60;
  advanceFrame(s, route);  // forward into record 1: the end distance of record 0
  EXPECT_EQ(s.frame, 100);
  EXPECT_EQ(s.calib_index, 1);
  EXPECT_EQ(s.position_cm, 5000);

  s.speed = -60;
  s.frame_accum = 0;
  s.frame = 101;
  s.calib_index = 2;  // as if coming back from a record beyond: backward into record 1
  advanceFrame(s, route);
  EXPECT_EQ(s.position_cm, 15000);
  s.frame_accum = 0;
  advanceFrame(s, route);  // frame 99: entering record 0 from either side puts it at 0
  EXPECT_EQ(s.calib_index, 0);
  EXPECT_EQ(s.position_cm, 0);
}

TEST(Position, StandsStillBelowOneCentimetrePerStep) {
  SimState s;
  s.next_stop_cm = 1000;
  s.speed = 1.0L;  // 0.926 cm per step
  advancePosition(s);
  EXPECT_EQ(s.position_cm, 0);
  EXPECT_EQ(s.remain_cm, 1000);
  s.speed = 36;  // 36 / 36000 * 33333 = 33.333 cm
  advancePosition(s);
  EXPECT_NEAR(static_cast<double>(s.position_cm), 33.333, 1e-9);
  EXPECT_NEAR(static_cast<double>(s.remain_cm), 966.667, 1e-9);
  s.speed = -36;
  advancePosition(s);
  EXPECT_NEAR(static_cast<double>(s.position_cm), 0, 1e-9);
}

TEST(PrecedingTrain, RunsByItsTimetableWhileTheTrainIsBehind) {
  RouteData route;
  twoSegmentRoute(route);
  route.stations[0].stopFrame = 0;
  route.stations[1].stopFrame = 400;
  route.stationCount = 2;
  route.preTrains[0] = {0, 36, 100};  // from station 0: 36 km/h after tick 100
  route.preTrains[1] = {1, 0, 0};     // from station 1: standing
  route.preTrainCount = 2;
  SimState s;
  s.frame = 0;
  s.pre_train_frame = 50;
  s.fast_tick_count = 100;
  advancePrecedingTrain(s, route);  // not yet past its tick: 0 km/h
  EXPECT_EQ(s.pre_train_frame, 50);
  s.fast_tick_count = 101;
  s.pre_train_scale = 36;
  advancePrecedingTrain(s, route);
  EXPECT_EQ(s.pre_train_frame, 51);
  s.pre_train_frame = 400;  // at station 1: the standing record applies
  advancePrecedingTrain(s, route);
  EXPECT_EQ(s.pre_train_frame, 400);
  s.frame = 401;  // the train is ahead: the preceding train waits
  s.pre_train_frame = 300;
  advancePrecedingTrain(s, route);
  EXPECT_EQ(s.pre_train_frame, 300);
  // A train already under way at the start moves by the table's scale from its first step,
  // not by twice its speed in frames as an uncalibrated scale would.
  SimState fresh;
  fresh.frame = 0;
  fresh.pre_train_frame = 50;
  fresh.fast_tick_count = 101;
  advancePrecedingTrain(fresh, route);
  EXPECT_LE(fresh.pre_train_frame, 51);
  EXPECT_GT(fresh.pre_train_scale, 0);
}

TEST(FastStep, CountsTheClockAndRunsTheTimedVideo) {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive({}, DriveMedia{sound, pictures, messages, nullptr});
  drive.route->frameRate = 15;
  drive.state.run_mode = 1;
  for (int i = 0; i < 300; ++i)
    fastStep(drive);  // ten seconds
  EXPECT_EQ(drive.state.fast_tick_count, 300);
  EXPECT_EQ(drive.state.timed_frame, 150);

  // Whatever a slot, a frame typed in or a drive of years brings, the frame stops a billion
  // frames out either way, and the clock and the timed video at the largest int, instead of
  // wrapping round.
  SimState& s = drive.state;
  constexpr int kLargest = std::numeric_limits<int>::max();
  for (const int direction : {1, -1}) {
    s.speed = 300 * direction;
    s.frame = direction > 0 ? kLargest - 3 : std::numeric_limits<int>::min() + 3;
    s.frame_scale = 1;
    s.fast_tick_count = kLargest - 3;
    s.timed_frame = kLargest - 1;
    for (int i = 0; i < 30; ++i)
      fastStep(drive);
    EXPECT_EQ(s.frame, 1'000'000'000 * direction);
    EXPECT_EQ(s.fast_tick_count, kLargest);
    EXPECT_EQ(s.timed_frame, kLargest);
  }
}

}  // namespace
}  // namespace velimoro

namespace velimoro {
namespace {

TEST(Calibration, SearchingAnOrderedTableFindsWhatTheScanFinds) {
  RouteData route;
  // Ascending records with a gap (150..200), a zero-length record at 300 and a long one.
  route.frameSpeeds[0] = {0, 100, 30, 40, 0};
  route.frameSpeeds[1] = {100, 150, 40, 40, 0};
  route.frameSpeeds[2] = {200, 300, 50, 60, 0};
  route.frameSpeeds[3] = {300, 300, 60, 60, 0};
  route.frameSpeeds[4] = {300, 1000, 60, 80, 0};
  route.frameSpeedCount = 5;
  RouteData scanned = route;
  route.frameSpeedsOrdered = true;
  SimState searching;
  SimState scanning;
  // Jump about the table so that the neighbour checks and the search both get their turn.
  for (int frame : {0, 50, 99, 100, 149, 150, 199, 200, 299, 300, 301, 999, 1000, 5, 700, 120}) {
    searching.frame = scanning.frame = frame;
    advanceFrame(searching, route);
    advanceFrame(scanning, scanned);
    EXPECT_EQ(searching.calib_index, scanning.calib_index) << "frame " << frame;
    EXPECT_EQ(searching.frame_scale, scanning.frame_scale) << "frame " << frame;
  }
}

}  // namespace
}  // namespace velimoro
