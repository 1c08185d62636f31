#include "sim/ats.h"

#include <gtest/gtest.h>

#include "input/cab_duties.h"
#include "input/controls.h"
#include "sim/air_brakes.h"
#include "sim/atc.h"
#include "sim/ats_pattern.h"
#include "sim/driver_aids.h"
#include "sim/motion.h"
#include "sim/protection_fixture.h"
#include "sim/signals.h"
#include "sim/speed_limits.h"

namespace velimoro {
namespace {

using AtsAlarmTest = testing::ProtectionTest;
using SpeedCheckTest = testing::ProtectionTest;
using AtsPatternTest = testing::ProtectionTest;
using AtcTest = testing::ProtectionTest;

TEST_F(AtsAlarmTest, AnUnansweredAlarmAppliesTheEmergencyBrakeAfterAtsTime) {
  s.speed = 60;
  s.brake_handle = -3;
  s.ats_state = 998;
  runAtsAlarm(drive);
  EXPECT_TRUE(s.ats_warning);
  EXPECT_TRUE(sound.playing[kAlarm]);
  EXPECT_FALSE(s.lamp_ats1);
  EXPECT_TRUE(s.lamp_ats2);
  EXPECT_EQ(s.ats_timer, 1);
  // [ATS_Time] 5: the brake applies on the tick the timer passes 50.
  for (int tick = 2; tick <= 50; ++tick)
    runAtsAlarm(drive);
  EXPECT_EQ(s.ats_timer, 50);
  EXPECT_FALSE(s.ats_eb);
  EXPECT_FALSE(sound.playing[kEb]);
  runAtsAlarm(drive);
  EXPECT_TRUE(s.ats_eb);
  EXPECT_TRUE(sound.playing[kEb]);
  EXPECT_EQ(s.ats_timer, 0);
}

TEST_F(AtsAlarmTest, TheEmergencyHandleOrNoCheckStartsNoAlarm) {
  s.speed = 60;
  s.ats_state = 998;
  s.brake_handle = -8;
  runAtsAlarm(drive);
  EXPECT_FALSE(s.ats_warning);
  s.brake_handle = 0;
  s.ats_state = 999;
  runAtsAlarm(drive);
  EXPECT_FALSE(s.ats_warning);
  // A speed check value is for [ATS_Alert] 1 trains only; they ring above it.
  s.ats_state = 45;
  runAtsAlarm(drive);
  EXPECT_FALSE(s.ats_warning);
  train.ATS_Alert = 1;
  s.speed = 45;
  runAtsAlarm(drive);
  EXPECT_FALSE(s.ats_warning);
  s.speed = 45.1L;
  runAtsAlarm(drive);
  EXPECT_TRUE(s.ats_warning);
}

TEST_F(AtsAlarmTest, AStopCheckAppliesTheEmergencyBrakeAtOnceEvenWhenAcknowledged) {
  s.speed = 30;
  s.brake_handle = -2;
  s.ats_state = 0;
  runAtsAlarm(drive);
  EXPECT_TRUE(s.ats_warning);
  EXPECT_TRUE(s.ats_eb);

  s.ats_eb = false;
  s.ats_warning = false;
  s.ats_chime = true;  // an earlier alarm was acknowledged
  runAtsAlarm(drive);
  EXPECT_TRUE(s.ats_eb);
}

TEST_F(AtsAlarmTest, ConfirmationStopsTheAlarmAndSoundsTheChime) {
  train.BrakeType = 1;
  s.speed = 60;
  s.brake_handle = -3;
  s.ats_state = 998;
  runAtsAlarm(drive);
  ASSERT_TRUE(s.ats_warning);
  ASSERT_TRUE(atsConfirm(drive));
  EXPECT_TRUE(s.ats_chime);
  // The check value still stands (the train is still over the beacon): no new alarm.
  for (int tick = 0; tick < 100; ++tick)
    runAtsAlarm(drive);
  EXPECT_FALSE(s.ats_warning);
  EXPECT_FALSE(s.ats_eb);
  EXPECT_FALSE(sound.playing[kAlarm]);
  EXPECT_TRUE(sound.playing[kChime]);
  EXPECT_TRUE(s.lamp_ats1);
  EXPECT_FALSE(s.lamp_ats2);
  EXPECT_EQ(sound.calls.back(), "loop 4");  // [ATS_Cnt] 0: the chime goes on
  // The check is over; a new one rings again.
  s.ats_state = 999;
  runAtsAlarm(drive);
  EXPECT_FALSE(s.ats_chime);
  s.ats_state = 998;
  runAtsAlarm(drive);
  EXPECT_TRUE(s.ats_warning);
  EXPECT_TRUE(sound.playing[kAlarm]);
  EXPECT_FALSE(sound.playing[kChime]);
}

TEST_F(AtsAlarmTest, ResetAtTheEmergencyPositionAtRest) {
  s.input_blocked = false;
  s.speed = 50;
  s.brake_handle = -2;
  s.ats_state = 0;
  runAtsAlarm(drive);
  ASSERT_TRUE(s.ats_eb);
  s.brake_handle = -8;
  asciiDown(drive, 'r');  // still moving
  EXPECT_TRUE(s.ats_eb);
  s.speed = 0;
  s.brake_handle = -7;
  asciiDown(drive, 'r');  // not at EB
  EXPECT_TRUE(s.ats_eb);
  s.brake_handle = -8;
  asciiDown(drive, 'r');
  EXPECT_FALSE(s.ats_eb);
  EXPECT_FALSE(s.ats_warning);
  EXPECT_FALSE(sound.playing[kAlarm]);
  EXPECT_TRUE(s.lamp_ats1);
}

TEST_F(SpeedCheckTest, ACheckPointRingsOneToNineFramesPastItAboveItsSpeed) {
  route.speedChecks1[0] = {55, 1000, 0};
  route.speedCheck1Count = 1;
  s.speed = 58;
  for (int frame : {1000, 1010}) {
    moveTo(frame);
    runSpeedChecks(drive);
    EXPECT_FALSE(s.ats_warning) << frame;
  }
  s.speed = 55;  // at the check speed nothing happens
  moveTo(1001);
  runSpeedChecks(drive);
  EXPECT_FALSE(s.ats_warning);
  s.speed = 58;
  moveTo(1009);
  runSpeedChecks(drive);
  EXPECT_TRUE(s.ats_warning);
  EXPECT_EQ(s.ats_timer, 50);
  // Its time has run out: the next alarm tick brakes.
  s.brake_handle = -1;
  runAtsAlarm(drive);
  EXPECT_TRUE(s.ats_eb);
  // A pattern train has no alarm to ring: the check leaves no warning behind.
  s = SimState();
  s.ats_active = true;
  train.ATS_Type = 1;
  moveTo(1005);
  s.speed = 58;
  runTrainProtection(drive);
  EXPECT_FALSE(s.ats_warning);
  EXPECT_FALSE(s.ats_eb);
}

TEST_F(SpeedCheckTest, CheckSectionsShowTheirSpeedOnTheCabSignalStrip) {
  train.CabSignalCodes[0] = 0;
  train.CabSignalCodes[1] = 25;
  train.CabSignalCodes[2] = 45;
  train.CabSignalCount = 3;
  route.speedChecks2[0] = {45, 1000, 2000};
  route.speedCheck2Count = 1;
  s.speed = 40;
  moveTo(1500);
  runSpeedChecks(drive);
  EXPECT_TRUE(s.cab_signal_visible);
  EXPECT_EQ(s.cab_signal_pattern, 2);
  EXPECT_EQ(s.cab_signal_index, 3);
  EXPECT_FALSE(s.ats_warning);
  // Too fast in the section: the alarm.
  s.speed = 46;
  runSpeedChecks(drive);
  EXPECT_TRUE(s.ats_warning);

  // Outside the section the ATS-S check value shows when the strip has it.
  s.ats_warning = false;
  moveTo(2000);
  s.ats_state = 25;
  runSpeedChecks(drive);
  EXPECT_EQ(s.cab_signal_pattern, 1);
  EXPECT_EQ(s.ats_state, 25);
  EXPECT_FALSE(s.ats_warning);
  // Nothing to show: the strip goes out and the check value ends.
  s.ats_state = 998;
  runSpeedChecks(drive);
  EXPECT_FALSE(s.cab_signal_visible);
  EXPECT_EQ(s.cab_signal_index, 0);
  EXPECT_EQ(s.ats_state, 999);
}

TEST_F(SpeedCheckTest, ATrainWithoutTheCheckSpeedsNeverShowsTheStrip) {
  train.CabSignalCodes[0] = 30;
  train.CabSignalCount = 1;
  route.speedChecks2[0] = {45, 1000, 2000};
  route.speedChecks2[1] = {65, 2000, 3000};
  route.speedCheck2Count = 2;
  for (int frame = 900; frame < 3100; frame += 50) {
    moveTo(frame);
    runSpeedChecks(drive);
    EXPECT_FALSE(s.cab_signal_visible) << frame;
  }
}

TEST_F(AtsPatternTest, AStopSignalTargetLiesFifteenMetresBeforeItsBeacon) {
  train.ATS_Type = 1;
  train.BrakeRate[0] = Fixed::fromLongDouble(4.5L);
  addSignal(2, 0, 0, 2, 0, 1000, 0, 1000);  // red, its beacon at 1000 m
  prepare();
  moveTo(400);  // 600 m before the beacon: not yet in sight
  s.speed = 60;
  EXPECT_EQ(patternTarget(drive).speed, 999);
  moveTo(401);
  const PatternTarget target = patternTarget(drive);
  EXPECT_EQ(target.speed, 0);
  EXPECT_EQ(target.cm, 100000 - 40100 - 1500);
  // 584 m at 4.5 km/h/s × 0.8: 123 km/h, at or above "[Speed_Signal]" entry 4 (110): no pattern.
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_pattern_speed, 999);
  EXPECT_EQ(s.atsp_state, 0);
  // 137 m: round(sqrt(5.76 × 4.5 × 137)) = 60, not below the speed.
  moveTo(1000 - 15 - 137);
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_pattern_speed, 60);
  EXPECT_EQ(s.atsp_state, 0);
  moveTo(1000 - 15 - 136);  // 59 km/h
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_state, 2);
  EXPECT_TRUE(s.ats_pattern_brake);
  EXPECT_TRUE(s.lamp_atsp1);
  EXPECT_TRUE(s.lamp_atsp2);
  // The brake holds until the reset, even when the signal clears.
  route.signals[0].signalB = 4;
  drive.signalTables.state[0] = 4;
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_state, 2);
  s.ats_pattern_brake = false;  // the reset
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_state, 0);
  EXPECT_FALSE(s.lamp_atsp1);
  EXPECT_FALSE(s.lamp_atsp2);
}

// Once the brake has left EB the tick keeps the service rate as the first brake rate, and both
// protection curves brake with it. At 3.0 km/h/s the 137 m pattern (60 km/h at 4.5) is
// round(sqrt(5.76 × 3 × 137)) = 49 km/h, and the 45 km/h limit 270 m past its braking point
// warns above round(sqrt(45² + 3.6 × 3 × 270)) = 70 km/h instead of 77.
TEST_F(AtsPatternTest, ProtectionCurvesBrakeAtTheServiceRateOnceTheBrakeHasLeftEmergency) {
  train.ATS_Type = 1;
  train.BrakeRate[0] = Fixed::fromLongDouble(4.5L);
  train.BrakeRate[1] = Fixed::fromInt(3);
  addSignal(2, 0, 0, 2, 0, 1000, 0, 1000);
  addLimit(45, 1, 1300, 1500);
  prepare();
  s.brake_notch = 0;  // released: the tick's motion takes the service rate
  runMotion(drive);
  moveTo(1000 - 15 - 137);
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_pattern_speed, 49);
  moveTo(1300 - 30 - 270);
  s.speed = 70;
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_warned, -1);
  s.speed = 70.5L;
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_warned, 0);
}

TEST_F(AtsPatternTest, PastTheStopTargetThePatternIsZero) {
  addSignal(2, 0, 0, 2, 0, 1000, 0, 1000);
  prepare();
  moveTo(990);  // 10 m before the beacon, 5 m past the target
  s.speed = 3;
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_pattern_speed, 0);
  EXPECT_EQ(s.atsp_state, 2);
}

TEST_F(AtsPatternTest, WithoutTheFifthSignalSpeedNoPatternActs) {
  route.speedSignalCount = 4;
  addSignal(2, 0, 0, 2, 0, 1000, 0, 1000);
  prepare();
  moveTo(950);
  s.speed = 60;
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_state, 0);
  EXPECT_FALSE(s.ats_pattern_brake);
}

TEST_F(AtsPatternTest, StationStopsSpeedBeaconsAndTheirTexts) {
  addSignal(2, 4, 0, 2, 0, 400, 0, 400);  // clear: sets no target
  addStation(0, 500);
  addLimit(45, 0, 1500, 2000);
  prepare();
  moveTo(300);
  runSignals(drive);
  s.speed = 40;
  PatternTarget target = patternTarget(drive);
  EXPECT_EQ(target.speed, 5);
  EXPECT_TRUE(target.stationStop);
  runAtsPattern(drive);
  EXPECT_EQ(s.pattern_text, "停車パターン発生中");
  // Once arrived, or at 5 km/h and below, the station sets no target.
  s.stations[0].arrived = true;
  target = patternTarget(drive);
  EXPECT_EQ(target.speed, 999);

  // The speed beacon 300.5 m ahead: within 30 km/h of its pattern the text counts down.
  s.frame = 1200;
  s.position_cm = 150000 - 30050;
  s.speed = 70;
  runAtsPattern(drive);
  EXPECT_EQ(s.atsp_target, 45);
  EXPECT_EQ(s.atsp_pattern_speed, 95);  // sqrt(2025 + 5.76 × 4 × 300.5)
  EXPECT_EQ(s.pattern_text, "45km/h 照査まで300m");
  // Far below its pattern: the speed the train is above, and the distance to it.
  s.frame = 1000;
  s.position_cm = 100000;
  runAtsPattern(drive);
  EXPECT_EQ(s.pattern_text, "45km/h 制限まで500m");
  s.speed = 45;
  runAtsPattern(drive);
  EXPECT_EQ(s.pattern_text, "");
}

TEST_F(AtcTest, CabCodesSoundBrakeAndRelease) {
  train.ATS_Type = 2;
  s.ats_active = false;  // cab signalling acts all the same
  s.signal_aspect = 24;  // "[Speed_Signal]" entry 2: 45 km/h
  s.speed = 44.5L;
  runTrainProtection(drive);
  EXPECT_EQ(sound.calls.back(), "once 5");
  EXPECT_EQ(s.signal_picture, 24);
  EXPECT_TRUE(s.cab_signal_visible);
  EXPECT_EQ(s.cab_signal_pattern, 2);
  EXPECT_FALSE(s.atc_braking);
  s.speed = 44.7L;
  runTrainProtection(drive);
  EXPECT_TRUE(s.atc_braking);
  EXPECT_TRUE(s.ats_pattern_brake);
  EXPECT_FALSE(s.ats_eb);
  EXPECT_TRUE(s.brake_change_pending);
  EXPECT_EQ(sound.calls.size(), 1u);  // the bell rings only on a change
  s.speed = 44.5L;
  runTrainProtection(drive);
  EXPECT_FALSE(s.atc_braking);
  EXPECT_FALSE(s.ats_pattern_brake);
  // Code 22 (0 km/h) applies the emergency brake.
  s.signal_aspect = 22;
  runTrainProtection(drive);
  EXPECT_TRUE(s.ats_eb);
  EXPECT_TRUE(s.atc_braking);
  EXPECT_EQ(sound.calls.size(), 2u);
  // Reset at a stand in EB: under the stop code the brake applies again at once, so the train
  // cannot take power through it.
  s.speed = 0;
  s.brake_handle = -train.Brake;
  atsReset(drive);
  EXPECT_FALSE(s.ats_eb);
  runTrainProtection(drive);
  EXPECT_TRUE(s.ats_eb);
}

// Every automatic brake is named by what applied it, and the name goes once the reset has
// released it at a stand in EB.
struct CauseCase {
  const char* name;
  void (*provoke)(testing::ProtectionTest& t);
};

// The fixture as a plain drive, one for each case.
struct CauseDrive : testing::ProtectionTest {
  void TestBody() override {}
};

constexpr CauseCase kCauses[] = {
    {"vigilance",
     [](testing::ProtectionTest& t) {
       t.train.EB = 1;
       t.s.speed = 40;
       for (int tick = 0; tick < 651; ++tick)
         runDeadManTimer(t.drive);
     }},
    {"ats_warning",
     [](testing::ProtectionTest& t) {
       t.s.speed = 60;
       t.s.brake_handle = -3;
       t.s.ats_state = 998;
       for (int tick = 0; tick < 51; ++tick)
         runAtsAlarm(t.drive);
     }},
    {"ats_stop",
     [](testing::ProtectionTest& t) {
       t.s.speed = 30;
       t.s.brake_handle = -2;
       t.s.ats_state = 0;
       runAtsAlarm(t.drive);
     }},
    {"ats_pattern",
     [](testing::ProtectionTest& t) {
       t.train.ATS_Type = 1;
       t.train.BrakeRate[0] = Fixed::fromLongDouble(4.5L);
       t.addSignal(2, 0, 0, 2, 0, 1000, 0, 1000);
       t.prepare();
       t.moveTo(1000 - 15 - 136);
       t.s.speed = 60;
       runAtsPattern(t.drive);
     }},
    {"speed_check",
     [](testing::ProtectionTest& t) {
       t.route.speedChecks1[0] = {55, 1000, 0};
       t.route.speedCheck1Count = 1;
       t.s.speed = 58;
       t.moveTo(1009);
       runSpeedChecks(t.drive);
       t.s.brake_handle = -1;
       runAtsAlarm(t.drive);
     }},
    {"cab_signal",
     [](testing::ProtectionTest& t) {
       t.train.ATS_Type = 2;
       t.s.signal_aspect = 24;
       t.s.speed = 44.7L;
       runTrainProtection(t.drive);
     }},
    {"roll_back",
     [](testing::ProtectionTest& t) {
       t.train.Back = 1;
       t.s.reverser = 1;
       t.s.speed = -6;  // faster backwards than the guard allows
       runRollBackGuard(t.drive);
     }},
};

TEST(BrakeCause, EachAutomaticBrakeIsNamedUntilItsReset) {
  for (const CauseCase& c : kCauses) {
    CauseDrive t;
    t.prepare();
    t.s.ats_active = true;
    c.provoke(t);
    ASSERT_TRUE(t.s.ats_eb || t.s.ats_pattern_brake) << c.name;
    updateDriverAids(t.drive);
    EXPECT_STREQ(brakeCauseName(brakeCauseOf(t.s.brake_cause)), c.name);
    EXPECT_NE(std::string(brakeCauseText(brakeCauseOf(t.s.brake_cause))), "") << c.name;
    // The reset at a stand in EB; a cause that is still there would brake again at once.
    t.s.speed = 0;
    t.s.signal_aspect = 999;
    t.s.brake_handle = -t.train.Brake;
    atsReset(t.drive);
    updateDriverAids(t.drive);
    EXPECT_EQ(t.s.brake_cause, 0) << c.name;
  }
}

}  // namespace
}  // namespace velimoro
