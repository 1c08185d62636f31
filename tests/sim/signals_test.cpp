#include "sim/signals.h"

#include <gtest/gtest.h>

#include "sim/protection_fixture.h"
#include "sim/signal_codes.h"

namespace velimoro {
namespace {

using SignalsTest = testing::ProtectionTest;

TEST(SignalAspects, TableRowsClassesAndClamps) {
  EXPECT_EQ(aspectCode(0, 4), 2);
  EXPECT_EQ(aspectCode(2, 3), 8);
  EXPECT_EQ(aspectCode(4, 1), 14);
  // Types above 5 (the cab signal) take the last row; values outside the table are clamped.
  EXPECT_EQ(aspectCode(6, 2), 19);
  EXPECT_EQ(aspectCode(-3, 0), 0);
  EXPECT_EQ(aspectCode(3, 9), 12);
  EXPECT_EQ(aspectCode(3, -1), 9);
  EXPECT_EQ(aspectClass(4), AspectClass::kCaution);  // no table cell gives it, yet it has a class
  EXPECT_EQ(aspectClass(1), AspectClass::kNone);
  EXPECT_EQ(aspectClass(22), AspectClass::kNone);
  EXPECT_FALSE(signalHasLamps(0));
  EXPECT_TRUE(signalHasLamps(5));
  EXPECT_FALSE(signalHasLamps(6));
}

TEST_F(SignalsTest, SignalsCountTheBlocksThePrecedingTrainLeavesClear) {
  // Six signals whose blocks run 1000-2000, 2000-3000, ... 5000-6000; the last has none.
  for (int i = 0; i < 6; ++i)
    addSignal(0, 0, 0, 3, 0, 1000 * (i + 1), 0, 1000 * (i + 1));
  prepare();
  const auto states = [&] {
    std::vector<int> out;
    for (int i = 0; i < route.signalCount; ++i)
      out.push_back(signalState(drive, i));
    return out;
  };
  // Without preceding-train records every signal is clear.
  s.pre_train_frame = 3500;
  EXPECT_EQ(states(), (std::vector<int>{4, 4, 4, 4, 4, 4}));

  route.preTrains[0] = {0, 30, 0};
  route.preTrainCount = 1;
  EXPECT_EQ(states(), (std::vector<int>{2, 1, 0, 4, 4, 4}));
  s.pre_train_frame = 3000;  // the block starts at the signal's view end
  EXPECT_EQ(states(), (std::vector<int>{2, 1, 0, 4, 4, 4}));
  s.pre_train_frame = 5999;  // four or more clear blocks count as four
  EXPECT_EQ(states(), (std::vector<int>{4, 3, 2, 1, 0, 4}));
  s.pre_train_frame = 6000;  // past the last signal
  EXPECT_EQ(states(), (std::vector<int>{4, 4, 4, 4, 4, 4}));
  s.pre_train_frame = 500;  // behind the first block
  EXPECT_EQ(states(), (std::vector<int>{4, 4, 4, 4, 4, 4}));
}

TEST_F(SignalsTest, TimedFixedAndStationModesHoldTheStoredState) {
  addSignal(0, 0, 0, 3, 0, 1000, 0, 1000);
  addSignal(0, 0, 0, 3, 0, 2000, 0, 2000);  // holds the preceding train
  addSignal(1, 1, 5000, 3, 0, 3000, 0, 3000);
  addSignal(2, 2, 0, 3, 0, 4000, 0, 4000);
  addSignal(3, 3, 1, 3, 0, 5000, 0, 5000);
  addSignal(3, 3, 7, 3, 0, 6000, 0, 6000);  // no station 7: the preceding train rules
  addSignal(2, 9, 0, 3, 0, 7000, 0, 7000);  // a stored state beyond 4 counts as 4
  addSignal(0, 0, 0, 3, 0, 8000, 0, 8000);
  addStation(2, 100);
  addStation(0, 900);
  prepare();
  route.preTrains[0] = {0, 30, 0};
  route.preTrainCount = 1;
  s.pre_train_frame = 7500;  // in the block of signal 6: signals 2 .. 5 see 4, 3, 2, 1
  s.fast_tick_count = 4999;
  EXPECT_EQ(signalState(drive, 2), 1);
  s.fast_tick_count = 5000;  // the time is up
  EXPECT_EQ(signalState(drive, 2), 4);
  EXPECT_EQ(signalState(drive, 3), 2);
  EXPECT_EQ(signalState(drive, 4), 3);
  s.stations[1].depart_announced = true;
  EXPECT_EQ(signalState(drive, 4), 2);
  EXPECT_EQ(signalState(drive, 5), 1);
  EXPECT_EQ(signalState(drive, 6), 4);
  // While the video plays by time every signal shows its stored state.
  s.run_mode = 1;
  EXPECT_EQ(signalState(drive, 2), 1);
  EXPECT_EQ(signalState(drive, 5), 3);
  EXPECT_EQ(signalState(drive, 0), 0);
}

TEST_F(SignalsTest, TheSignalInViewGivesTheAspectItsPicturesAndTheRepeaterLamp) {
  // Type 3 fixed at state 3 (reduced speed, code 11), in view between frames 100 and 300, with
  // a number plate and both side indicators.
  addSignal(2, 3, 0, 3, 100, 300, 150, 290, 30, 31, 32);
  prepare();
  moveTo(100);
  runSignals(drive);
  EXPECT_EQ(route.signals[0].aspect, 1);  // out of view: 1 for any state but stop
  EXPECT_EQ(s.signal_aspect, 999);
  EXPECT_EQ(s.signal_picture, -1);

  moveTo(101);
  runSignals(drive);
  EXPECT_EQ(s.signal_aspect, 11);
  EXPECT_EQ(s.signal_in_view, 0);
  EXPECT_EQ(s.signal_picture, 11);
  EXPECT_EQ(s.signal_plate_picture, 30);
  EXPECT_EQ(s.signal_left_picture, 31);
  EXPECT_EQ(s.signal_right_picture, 32);
  EXPECT_EQ(s.signal_left_x, 608);
  EXPECT_EQ(s.signal_picture_x, 650);
  EXPECT_EQ(s.signal_right_x, 692);
  EXPECT_TRUE(s.lamp_yg);
  EXPECT_FALSE(s.lamp_g || s.lamp_y || s.lamp_yy || s.lamp_r);
  // The call-out follows the signal in view.
  EXPECT_EQ(s.callout_signal, 0);
  EXPECT_EQ(s.signal_callout_state, 11);

  // The frame at the view end is out of view but not yet past it: the pictures stay.
  moveTo(300);
  runSignals(drive);
  EXPECT_EQ(s.signal_picture, 11);
  EXPECT_EQ(s.signal_in_view, 999);
  moveTo(301);
  runSignals(drive);
  EXPECT_EQ(s.signal_aspect, 999);
  EXPECT_EQ(s.signal_picture, -1);
  EXPECT_EQ(s.signal_left_picture, -1);
  EXPECT_EQ(s.signal_left_x, 600);
  EXPECT_EQ(s.signal_right_x, 700);
  EXPECT_FALSE(s.lamp_yg);
  EXPECT_EQ(s.callout_signal, 999);
  EXPECT_EQ(s.signal_callout_state, 999);
}

TEST_F(SignalsTest, SideIndicatorPlacesAndPicturesOutsideTheList) {
  addSignal(2, 0, 0, 2, 100, 300, 0, 290, 0, 31, 0);   // left only
  addSignal(2, 4, 0, 2, 400, 600, 0, 590, 0, 0, 32);   // right only
  addSignal(2, 4, 0, 2, 700, 900, 0, 890, 99, 99, 0);  // pictures beyond the list
  prepare();
  moveTo(200);
  runSignals(drive);
  EXPECT_EQ(s.signal_aspect, 6);
  EXPECT_TRUE(s.lamp_r);
  EXPECT_EQ(s.signal_left_x, 625);
  EXPECT_EQ(s.signal_picture_x, 675);
  moveTo(500);
  runSignals(drive);
  EXPECT_EQ(s.signal_aspect, 8);
  EXPECT_EQ(s.signal_left_picture, -1);
  EXPECT_EQ(s.signal_right_x, 675);
  EXPECT_EQ(s.signal_picture_x, 625);
  moveTo(601);  // past the view: taken down
  runSignals(drive);
  moveTo(800);
  runSignals(drive);
  EXPECT_EQ(s.signal_plate_picture, -1);
  EXPECT_EQ(s.signal_left_picture, -1);
  EXPECT_EQ(s.signal_picture_x, 650);
}

TEST_F(SignalsTest, AlarmBeaconOfAStopSignalSetsTheCheckOneToNineFramesPast) {
  addSignal(2, 0, 0, 2, 100, 500, 200, 400);  // red, with lamps
  addSignal(2, 0, 0, 0, 600, 900, 700, 800);  // red, without lamps
  prepare();
  for (int frame : {200, 210}) {
    moveTo(frame);
    runSignals(drive);
    EXPECT_EQ(s.ats_state, 999) << frame;
  }
  for (int frame : {201, 209}) {
    s.ats_state = 999;
    moveTo(frame);
    runSignals(drive);
    EXPECT_EQ(s.ats_state, 998) << frame;
  }
  s.ats_state = 999;
  moveTo(705);
  runSignals(drive);
  EXPECT_EQ(s.ats_state, 999);
  // Switched off, the protection does not look at its beacons.
  s.ats_active = false;
  moveTo(205);
  runSignals(drive);
  EXPECT_EQ(s.ats_state, 999);
}

TEST_F(SignalsTest, StopBeaconSetsStopOrClearsTheCheckAndResetsTheAspect) {
  addSignal(2, 0, 0, 2, 100, 500, 200, 400);  // red
  addSignal(2, 4, 0, 2, 600, 900, 700, 800);  // clear
  prepare();
  s.ats_state = 998;
  moveTo(419);
  runSignals(drive);
  EXPECT_EQ(s.ats_state, 0);
  EXPECT_EQ(s.signal_aspect, 999);
  s.ats_state = 998;
  moveTo(420);
  runSignals(drive);
  EXPECT_EQ(s.ats_state, 998);
  moveTo(801);
  runSignals(drive);
  EXPECT_EQ(s.ats_state, 999);
}

TEST_F(SignalsTest, WithAlertOneTheStopBeaconSetsTheSpeedOfTheAspect) {
  train.ATS_Alert = 1;
  addSignal(2, 1, 0, 4, 100, 300, 150, 200);      // restricting: 25 km/h
  addSignal(2, 2, 0, 4, 400, 600, 450, 500);      // caution: 45 km/h
  addSignal(2, 3, 0, 3, 700, 900, 750, 800);      // reduced speed: 75 km/h
  addSignal(2, 4, 0, 3, 1000, 1200, 1050, 1100);  // clear
  prepare();
  const auto checkAt = [&](int frame) {
    moveTo(frame - 1);  // in view, so that the signal shows its aspect
    runSignals(drive);
    moveTo(frame);
    runSignals(drive);
    return s.ats_state;
  };
  EXPECT_EQ(checkAt(201), 25);
  EXPECT_EQ(checkAt(501), 45);
  EXPECT_EQ(checkAt(801), 75);
  s.ats_state = 45;
  EXPECT_EQ(checkAt(1051), 999);  // a clear alarm beacon ends the check
  s.ats_state = 45;
  EXPECT_EQ(checkAt(1101), 999);
  // Without "[Speed_Signal]" entries there is no speed to check.
  route.speedSignalCount = 0;
  EXPECT_EQ(checkAt(501), 999);
}

TEST_F(SignalsTest, OnACabSignallingTrainTheBlockCodeStandsForTheSignal) {
  train.ATS_Type = 2;
  addSignal(2, 4, 0, 6, 100, 300, 0, 290, 0, 0, 0, 24);
  addSignal(2, 4, 0, 3, 400, 600, 0, 590);
  prepare();
  moveTo(200);
  runSignals(drive);
  EXPECT_EQ(s.signal_aspect, 24);
  // No signal pictures of their own on a cab-signalling train, and the code holds between
  // signals.
  EXPECT_EQ(s.signal_picture, -1);
  moveTo(350);
  runSignals(drive);
  EXPECT_EQ(s.signal_aspect, 24);
  moveTo(500);
  runSignals(drive);
  EXPECT_EQ(s.signal_aspect, 12);
  // Other trains see the lamps.
  train.ATS_Type = 0;
  moveTo(200);
  runSignals(drive);
  EXPECT_EQ(s.signal_aspect, 21);
}

TEST_F(SignalsTest, BeaconsStandAtSignalsWithLampsStationStopsAndLimitsInOrder) {
  addSignal(2, 0, 0, 2, 0, 500, 0, 500);
  addSignal(2, 0, 0, 0, 0, 600, 0, 600);  // no lamps
  addSignal(2, 0, 0, 6, 0, 700, 0, 700);  // cab signal
  addStation(0, 300);
  addStation(2, 400);  // not a stop
  addLimit(45, 0, 200, 300);
  addLimit(10, 0, 500, 600);
  prepare();
  const SignalTables& t = drive.signalTables;
  ASSERT_EQ(t.beaconCount, 4);
  EXPECT_EQ(t.beacons[0].cm, 20000);
  EXPECT_EQ(t.beacons[0].role, AtsBeacon::Role::kSpeed);
  EXPECT_EQ(t.beacons[0].targetSpeed(), 45);
  EXPECT_EQ(t.beacons[1].cm, 30000);
  EXPECT_EQ(t.beacons[1].kind, 5);
  EXPECT_EQ(t.beacons[1].station, 0);
  // A signal and a limit at one distance: the signal first.
  EXPECT_EQ(t.beacons[2].kind, 0);
  EXPECT_EQ(t.beacons[2].signal, 0);
  EXPECT_EQ(t.beacons[3].role, AtsBeacon::Role::kSpeed);
  EXPECT_EQ(t.beacons[3].targetSpeed(), 10);
}

}  // namespace
}  // namespace velimoro
