#include "sim/traction.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace velimoro {
namespace {

// An electric train of 100 t (m = 100000 kg) with three notches and a starting branch below
// 5 km/h.
TrainSpec electricTrain() {
  TrainSpec t;
  t.Engine_Type = 1;
  t.Power = 4;
  t.Tons = Fixed::fromInt(100);
  t.MaxSpeed = 100;
  t.PowerJerk = 5;
  t.Notches[0] = {2.0, 1.5, 40, 60, 0.98, 0};
  t.Notches[1] = {3.0, 2.5, 40, 70, 0.97, 0};
  t.Notches[2] = {3.5, 3.0, 45, 70, 0.97, 0};
  t.Notches[3] = {-0.5, 0, 20, 40, 1, 0};  // acts only between its two speeds
  return t;
}

TrainSpec dieselTrain() {
  TrainSpec t;
  t.Engine_Type = 0;
  t.Power = 4;
  t.Tons = Fixed::fromInt(40);
  t.MaxSpeed = 95;
  t.PowerJerk = 5;
  t.Gears[1] = {0, 20, 40, 2.0, 1.6, 1.0};
  t.Gears[2] = {20, 20, 60, 1.2, 1.2, 0.6};  // equal low and middle speeds
  t.GearCount = 3;
  return t;
}

TEST(ElectricTraction, FollowsTheFourRegionsOfTheNotchCurve) {
  const TrainSpec t = electricTrain();
  // Starting below [PowerJerk]: notch 3 takes notch 2's curve, 3.0 + (2.5 - 3.0) / 40 x 3.
  EXPECT_NEAR(static_cast<double>(electricAcceleration(t, 3, 3)), 2.9625, 1e-12);
  // Notch 1 starts on its own curve: 2.0 + (1.5 - 2.0) / 40 x 3.
  EXPECT_NEAR(static_cast<double>(electricAcceleration(t, 1, 3)), 1.9625, 1e-12);
  // Linear region: 3.5 + 10 x (3.0 - 3.5) / 45.
  EXPECT_NEAR(static_cast<double>(electricAcceleration(t, 3, 10)), 3.5 - 5.0 / 45, 1e-12);
  // Constant power: 40 x 1.5 / 50.
  EXPECT_NEAR(static_cast<double>(electricAcceleration(t, 1, 50)), 1.2, 1e-12);
  // Decay: 40 x 1.5 / 0.98^60 x 0.98^70 / 70 = 60 / 70 x 0.98^10.
  EXPECT_NEAR(static_cast<double>(electricAcceleration(t, 1, 70)), 60.0 / 70 * std::pow(0.98, 10),
              1e-12);
  // Backwards the magnitude of the speed counts.
  EXPECT_NEAR(static_cast<double>(electricAcceleration(t, 1, -50)), 1.2, 1e-12);
}

TEST(ElectricTraction, NotchWithoutStartingAccelerationActsOnlyBetweenItsSpeeds) {
  const TrainSpec t = electricTrain();
  EXPECT_EQ(electricAcceleration(t, 4, 10), 0);
  EXPECT_NEAR(static_cast<double>(electricAcceleration(t, 4, 30)), -0.5, 1e-12);
  EXPECT_EQ(electricAcceleration(t, 4, 40), 0);
}

TEST(ElectricTraction, DegenerateCurvesGiveNoForceInsteadOfInfinity) {
  TrainSpec t = electricTrain();
  t.Notches[0] = {2.0, 1.5, 0, 0, 0, 0};  // speedConst, speedPower and decay 0
  for (long double v : {0.0L, 0.5L, 10.0L, 80.0L}) {
    EXPECT_TRUE(std::isfinite(electricAcceleration(t, 1, v)));
  }
  EXPECT_EQ(electricAcceleration(t, 1, 0), 0);
  EXPECT_EQ(electricAcceleration(t, 12, 10), 0);  // beyond the table
}

TEST(DieselTraction, InterpolatesTheGearRowAndScalesByNotch) {
  const TrainSpec t = dieselTrain();
  // Below the middle speed at 10 km/h: A = 2.0 + 10 x (1.6 - 2.0) / 20 = 1.8; 1.8 / 4 x 4.
  EXPECT_NEAR(static_cast<double>(dieselAcceleration(t, 1, 4, 10)), 1.8, 1e-12);
  // Starting at 3 km/h: A = 1.94, at most two notches' worth: 2 x 1.94 / 4.
  EXPECT_NEAR(static_cast<double>(dieselAcceleration(t, 1, 4, 3)), 0.97, 1e-12);
  // Between middle and high speed: (1.6 + 10 x (1.0 - 1.6) / 20) / 4 x 2.
  EXPECT_NEAR(static_cast<double>(dieselAcceleration(t, 1, 2, 30)), 0.65, 1e-12);
  EXPECT_EQ(dieselAcceleration(t, 1, 4, 45), 0);
  // Equal low and middle speeds: no division by zero.
  EXPECT_NEAR(static_cast<double>(dieselAcceleration(t, 2, 4, 10)), 1.2, 1e-12);
  EXPECT_EQ(dieselAcceleration(t, 7, 4, 10), 0);
}

struct TractionForceTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;

  void SetUp() override {
    *drive.train = electricTrain();
    s.power_notch = 1;
    s.power_handle = 1;
    s.speed = 50;
  }
  double force() {
    s.force = Fixed();
    addTractionForce(drive);
    return s.force.toDouble();
  }
};

TEST_F(TractionForceTest, AccelerationBecomesForceSignedByTheReverser) {
  // 1.2 km/h/s on 100 t: 1.2 / 3.6 x 100000 = 33333.3333 N.
  EXPECT_EQ(force(), 33333.3333);
  s.reverser = 0;
  EXPECT_EQ(force(), 0);
  s.reverser = -1;
  EXPECT_EQ(force(), -33333.3333);
}

TEST_F(TractionForceTest, NoTractionWhenTheConditionsFail) {
  s.speed = 100;  // at [MaxSpeed] the train coasts
  EXPECT_EQ(force(), 0);
  s.speed = 50;
  s.brake_handle = -1;  // an electric train takes no power against its brake
  EXPECT_EQ(force(), 0);
  s.brake_handle = 0;
  for (bool SimState::*flag :
       {&SimState::doors_open, &SimState::ats_eb, &SimState::ats_pattern_brake}) {
    s.*flag = true;
    EXPECT_EQ(force(), 0);
    s.*flag = false;
  }
  s.engine_running = false;
  EXPECT_EQ(force(), 0);
  s.engine_running = true;
  s.voltmeter_target = Fixed();
  EXPECT_EQ(force(), 0);
}

TEST_F(TractionForceTest, UnprotectedRunningWarnsWhilePowerIsTaken) {
  drive.train->ATS_Warn = 3;
  drive.train->DriveSoundCount = 5;
  s.ats_active = false;
  s.power_handle = 2;
  force();
  force();  // keeps looping, not restarted
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"loop 3"}));
  s.power_handle = 1;
  force();
  EXPECT_EQ(sound.calls.back(), "stop 3");
}

TEST_F(TractionForceTest, DieselTractsOnlyOutsideAGearChange) {
  *drive.train = dieselTrain();
  s.gear_index = 1;
  s.power_notch = 4;
  s.speed = 10;
  // 1.8 km/h/s on 40 t: 1.8 / 3.6 x 40000 = 20000 N.
  EXPECT_EQ(force(), 20000);
  s.gear_shifting = true;
  EXPECT_EQ(force(), 0);
}

}  // namespace
}  // namespace velimoro
