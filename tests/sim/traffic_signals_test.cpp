#include "sim/traffic_signals.h"

#include <gtest/gtest.h>

#include "sim/protection_fixture.h"

namespace velimoro {
namespace {

struct TrafficSignalsTest : testing::ProtectionTest {
  // A signal at frame 1000 in view from frame 800, with phases of 5, 3 and 2 s (pictures 1, 2, 3;
  // the first lets the train pass) and three phases of no duration.
  TrafficSignalEntry& addTrafficSignal() {
    TrafficSignalEntry& t =
        route.trafficSignals[static_cast<std::size_t>(route.trafficSignalCount++)];
    t.field[1] = 1000;
    t.field[2] = 800;
    t.field[3] = 1000;
    const int phases[3][3] = {{1, 50, 1}, {2, 30, 0}, {3, 20, 0}};
    for (int k = 1; k <= 3; ++k) {
      for (int n = 0; n < 3; ++n)
        t.field[static_cast<std::size_t>(3 * k + 1 + n)] = phases[k - 1][n];
    }
    t.field[26] = 1;
    return t;
  }
  int phase(int record = 0) const { return route.trafficSignals[record].runtime[0]; }
};

TEST_F(TrafficSignalsTest, StopTextCountsTheMetresToASignalShowingStop) {
  addTrafficSignal();
  prepare();
  s.frame = 957;
  s.position_cm = 100000 - 4240;  // 42.4 m before the stop point
  runTrafficSignals(drive);       // phase 2: stop
  EXPECT_EQ(s.traffic_stop_text, "信号停止 42m");
  s.position_cm = 100000 + 500;  // just past it
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_stop_text, "信号停止 -5m");
  s.position_cm = 100000 + 501;
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_stop_text, "");
  s.position_cm = 100000 - 9900;
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_stop_text, "");
  // In a pass phase there is no text.
  s.position_cm = 100000 - 4240;
  while (phase() != 1)
    runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_stop_text, "");
}

TEST_F(TrafficSignalsTest, AStopSignAtTheDetectorComesFirst) {
  TrafficSignalEntry& t = addTrafficSignal();
  t.field[22] = 960;
  t.field[26] = 0;
  addTrafficSignal();  // a second signal stopping the train further on
  route.trafficSignals[1].field[1] = 1050;
  prepare();
  s.frame = 930;
  s.position_cm = 96000 - 3240;
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_stop_text, "一旦停止 32m");
  // Past the stop sign each signal showing stop in range gives its text, the last one in list
  // order standing.
  s.position_cm = 96000;
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_stop_text, "信号停止 90m");
}

TEST_F(TrafficSignalsTest, SignalAndDetectorPicturesFollowThePhaseAndClearWhenPassed) {
  TrafficSignalEntry& t = addTrafficSignal();
  t.field[22] = 900;  // the detector: the train reacts beyond 950 m
  t.field[23] = 980;
  t.field[24] = 6;
  t.field[25] = 7;
  prepare();
  moveTo(799);
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_signal_picture, -1);
  moveTo(850);
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_signal_picture, 2);
  EXPECT_EQ(s.traffic_signal_picture2, 6);
  EXPECT_EQ(s.traffic_detect_text, "");
  moveTo(960);
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_detect_text, "トロコン反応");
  while (phase() != 1)
    runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_signal_picture, 1);
  EXPECT_EQ(s.traffic_signal_picture2, 7);
  moveTo(985);  // within 15 frames of the view end and of the detector's end
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_signal_picture, -1);
  EXPECT_EQ(s.traffic_signal_picture2, -1);
  EXPECT_EQ(s.traffic_phase_shown, 999);
  EXPECT_EQ(s.traffic_detect_text, "");
}

TEST_F(TrafficSignalsTest, ARecordWithoutADetectorNeverReacts) {
  TrafficSignalEntry& t = addTrafficSignal();
  t.field[23] = 980;  // a detector end, but no detector frame
  t.field[24] = 6;
  prepare();
  for (const int frame : {600, 850, 960}) {
    moveTo(frame);
    while (phase() == 1)
      runTrafficSignals(drive);
    runTrafficSignals(drive);
    EXPECT_EQ(s.traffic_detect_text, "") << frame;
    EXPECT_EQ(s.traffic_signal_picture2, -1) << frame;
  }
}

TEST_F(TrafficSignalsTest, PicturesOutsideTheListAreNotDrawn) {
  TrafficSignalEntry& t = addTrafficSignal();
  t.field[7] = 40;  // phase 2's picture
  t.field[22] = 900;
  t.field[24] = -1;
  prepare();
  moveTo(850);
  runTrafficSignals(drive);
  EXPECT_EQ(s.traffic_phase_shown, 2);
  EXPECT_EQ(s.traffic_signal_picture, -1);
  EXPECT_EQ(s.traffic_signal_picture2, -1);
}

TEST_F(TrafficSignalsTest, AnimationsStepThroughFourteenPicturesWhileInRange) {
  route.anims[0] = {100, 200, 2, 3};  // pictures 3 .. 16, a step every third tick
  route.anims[1] = {150, 300, 0, 0};
  route.animCount = 2;
  drive.pictures.anim.assign(17, 0);
  prepare();
  moveTo(99);
  runAnimations(drive);
  EXPECT_EQ(s.anim_picture, -1);
  moveTo(100);
  std::vector<int> shown;
  for (int i = 0; i < 45; ++i) {
    runAnimations(drive);
    shown.push_back(s.anim_picture);
  }
  EXPECT_EQ(shown[0], 3);
  EXPECT_EQ(shown[2], 3);
  EXPECT_EQ(shown[3], 4);
  EXPECT_EQ(shown[39], 16);
  EXPECT_EQ(shown[42], 3);  // after the fourteenth picture the first comes again
  // Where the first range ends the next record starts from its own first picture.
  moveTo(200);
  runAnimations(drive);
  EXPECT_EQ(s.anim_picture, 0);
  runAnimations(drive);
  EXPECT_EQ(s.anim_picture, 1);
  // A picture beyond the list is not shown; out of every range nothing is.
  route.anims[1].firstPicture = 10;
  for (int i = 0; i < 8; ++i)
    runAnimations(drive);
  EXPECT_EQ(s.anim_picture, -1);
  moveTo(300);
  runAnimations(drive);
  EXPECT_EQ(s.anim_picture, -1);
  EXPECT_EQ(s.anim_record, -1);
}

}  // namespace
}  // namespace velimoro
