#include "sim/motion.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace velimoro {
namespace {

struct MotionTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
  TrainSpec& t = *drive.train;

  // 100 t with 40 t on driven axles, four cars, an 8-position stepped brake at 440 kPa.
  void SetUp() override {
    t.Engine_Type = 1;
    t.Tons = Fixed::fromInt(100);
    t.Mt = Fixed::fromInt(40);
    t.Cars = 4;
    t.Brake = 8;
    t.EBPress = 440;
    t.BrakeRate = {Fixed::fromRaw(12000), Fixed::fromInt(1)};
    t.BrakeRate2 = 0.02;
    t.Lose_elec = 10;
    t.Sound_squeak = 2;
    t.DriveSoundCount = 3;
    drive.route->friction = Fixed::fromRaw(3000);
    s.brake_rate_first = t.BrakeRate[0];
    s.brake_notch = -8;
  }
  // A tick after the fast steps, which start each step's force and resistance from zero.
  void tick() {
    s.force = Fixed();
    s.resistance = Fixed();
    runMotion(drive);
  }
};

TEST_F(MotionTest, BrakeRateLeavesTheFirstValueOnceTheBrakeLeavesEmergency) {
  s.speed = 50;
  tick();
  EXPECT_EQ(s.brake_rate_now, Fixed::fromRaw(12000));
  s.brake_notch = -3;
  tick();
  EXPECT_EQ(s.brake_rate_now, Fixed::fromInt(1));
  s.brake_notch = -8;  // back in EB the second value stays
  tick();
  EXPECT_EQ(s.brake_rate_now, Fixed::fromInt(1));
}

TEST_F(MotionTest, BrakeShoeFrictionRaisesTheRateBelowTheElectricBrake) {
  // mu(5) = 0.32 x 1.05 / 1.1, mu(10) = 0.32 x 1.1 / 1.2; ratio 1.0413 (four places).
  s.brake_notch = -3;
  s.speed = 5;
  tick();
  EXPECT_EQ(s.brake_rate_now, Fixed::fromRaw(10413));
  EXPECT_NEAR(static_cast<double>(brakeShoeFriction(10, 0.02L)), 0.32 * 1.1 / 1.2, 1e-15);
}

TEST_F(MotionTest, BrakeForceFollowsTheCylinderPressure) {
  // 1 km/h/s x 220 / 440 / 3.6 x 100000 kg = 13888.888... N.
  EXPECT_NEAR(static_cast<double>(brakeForce(t, Fixed::fromInt(1), Fixed::fromInt(220))),
              13888.8889, 1e-4);
  t.EBPress = 0;
  EXPECT_EQ(brakeForce(t, Fixed::fromInt(1), Fixed::fromInt(220)), 0);
}

TEST_F(MotionTest, IntegratesForceAndResistanceOverATenthOfASecond) {
  // 27777.7778 N on 100 t: 27777.7778 / 100000 x 3.6 x 0.1 = 0.1 km/h.
  EXPECT_NEAR(static_cast<double>(speedChange(t, 27777.7778L)), 0.1, 1e-9);
  s.brake_notch = 0;
  s.bc = Fixed();
  s.speed = 60;
  tick();
  // Running resistance at 60 km/h: 9.8 x [(1.32 + 0.984) x 100 + (0.028 + 0.0234) x 3600]
  // = 4071.312 N, no starting resistance, level.
  EXPECT_EQ(s.resistance, Fixed::fromRaw(-40713120));
  EXPECT_NEAR(static_cast<double>(s.speed), 60 - 4071.312 / 100000 * 0.36, 1e-9);
  EXPECT_EQ(s.speed_text, " 60.0 km/h");  // 59.985 to one place
  s.resistance_off = true;
  s.speed = 60;
  tick();
  EXPECT_EQ(s.speed, 60);
}

TEST_F(MotionTest, GradientPullsAndStartingResistanceOpposesTheMotion) {
  s.brake_notch = 0;
  s.gradient = Fixed::fromInt(10);  // 10 per mille uphill
  s.speed = 20;
  tick();
  // -m g sin(theta) with sin = 10 / sqrt(100 + 1000000); running resistance on top.
  const double grade = -100000 * 9.8 * 10 / std::sqrt(1000100.0);
  const double running = 9.8 * ((1.32 + 0.0164 * 20) * 100 + (0.028 + 0.0234) * 400);
  EXPECT_NEAR(s.resistance.toDouble(), grade - running, 2e-4);

  // Starting resistance, (8 - v) x 9.8 x 100 N, opposes the motion and at a stand only holds:
  // a train on the level with its brakes released stands still for a minute, exactly.
  s.gradient = Fixed();
  s.speed = 0;
  s.bc = Fixed();
  for (int i = 0; i < 600; ++i) {
    tick();
    ASSERT_EQ(s.speed, 0) << "tick " << i;
  }
  EXPECT_EQ(s.speed_text, "  0.0 km/h");
  // Moving off at 0.1 km/h it stops the train and never turns it back: 7742 N take 0.0279 km/h
  // a tick, so the fourth tick ends at a stand.
  s.speed = 0.1L;
  for (int i = 0; i < 4; ++i)
    tick();
  EXPECT_EQ(s.speed, 0);
  // On a climb, where the gradient already opposes the motion, it is not applied.
  s.speed = 3;
  s.gradient = Fixed::fromInt(5);
  tick();
  const double climb = -100000 * 9.8 * 5 / std::sqrt(1000025.0);
  const double run3 = 9.8 * ((1.32 + 0.0164 * 3) * 100 + (0.028 + 0.0234) * 9);
  EXPECT_NEAR(static_cast<double>(s.speed), 3 + (climb - run3) / 100000 * 0.36, 1e-6);
}

TEST_F(MotionTest, SlipReplacesTheForceAndShowsTheText) {
  s.power_notch = 5;
  s.brake_notch = 0;
  s.bc = Fixed();
  s.speed = 10;
  s.force = Fixed::fromInt(100000);
  runMotion(drive);
  // Adhesion 0.3 x 1.5 / 2 = 0.225; limit 0.225 x 40000 x 9.8 = 88200 N < 100000 N:
  // the force becomes 0.5 x 0.225 x 40000 x 9.8 = 44100 N.
  EXPECT_EQ(s.adhesion, Fixed::fromRaw(2250));
  EXPECT_EQ(s.adhesion_limit, Fixed::fromInt(88200));
  EXPECT_EQ(s.slip_text, "空転");
  s.force = Fixed::fromInt(50000);
  runMotion(drive);
  EXPECT_EQ(s.slip_text, "");
}

TEST_F(MotionTest, SlideUnderHardBraking) {
  s.brake_notch = -7;
  s.bc = Fixed::fromInt(440);
  s.speed = 60;
  s.brake_rate_first = Fixed::fromInt(9);  // far beyond the rail's grip
  t.BrakeRate[1] = Fixed::fromInt(9);
  tick();
  // Adhesion 0.2 / (1 + 0.0059 x 60); the force is -adhesion x m x g.
  const double adhesion = std::round(0.2 / (1 + 0.0059 * 60) * 10000) / 10000;
  EXPECT_EQ(s.slip_text, "滑走");
  EXPECT_NEAR(s.force.toDouble(), -adhesion * 100000 * 9.8, 1e-3);
}

TEST_F(MotionTest, BrakingToAStandNeverReverses) {
  s.brake_notch = -7;
  s.bc = Fixed::fromInt(440);
  s.speed = 0.3L;
  t.BrakeRate[1] = Fixed::fromInt(4);
  tick();
  EXPECT_EQ(s.speed, 0);
  EXPECT_EQ(s.force, Fixed());
  tick();  // held by the brakes at rest
  EXPECT_EQ(s.speed, 0);
  s.speed = -0.3L;  // rolling back: the brake stops it at zero too
  tick();
  EXPECT_EQ(s.speed, 0);
}

TEST_F(MotionTest, ReleasedTrainRollsDownAFallingGradient) {
  s.brake_notch = 0;
  s.bc = Fixed();
  s.gradient = Fixed::fromInt(-25);
  for (int i = 0; i < 50; ++i)
    tick();
  EXPECT_GT(s.speed, 1);
}

TEST_F(MotionTest, HoldBrakeAndConstantSpeedCancelTheGradient) {
  s.brake_notch = 0;
  s.bc = Fixed();
  s.gradient = Fixed::fromInt(-10);
  s.speed = 30;
  s.hold_engaged = true;
  tick();
  EXPECT_GT(s.speed, 30 - 0.05);  // the downhill pull is cancelled, only running resistance
  s.hold_engaged = false;
  s.const_speed = true;
  s.speed = 50;
  s.gradient = Fixed::fromInt(10);
  tick();
  EXPECT_NEAR(static_cast<double>(s.speed), 50, 1e-3);
}

TEST_F(MotionTest, BrakeSquealStartsAndFollowsThePressure) {
  s.brake_notch = -3;
  s.bc = Fixed::fromInt(250);
  s.speed = 6;
  tick();
  EXPECT_EQ(sound.calls.front(), "loop 2");
  EXPECT_EQ(s.squeal_volume, -1000);  // 500 / 250 x -500
  s.bc = Fixed();
  s.speed = 0.5L;  // released and nearly stopped: -100 and -1000 a tick
  for (int i = 0; i < 4; ++i)
    tick();
  EXPECT_EQ(sound.calls.back(), "stop 2");
  EXPECT_FALSE(sound.isPlaying(2));
}

TEST_F(MotionTest, GradientReachesTheWholeTrainAfterItsLength) {
  drive.route->slopes[0] = {100, 10000, Fixed::fromInt(12)};
  drive.route->slopeCount = 1;
  s.frame = 200;
  const double expected[] = {3, 6, 9, 12, 12};
  for (double want : expected) {
    s.position_cm += 2001;  // each 20 m one more car is on the climb
    sampleGradient(drive);
    EXPECT_EQ(s.gradient.toDouble(), want);
  }
  EXPECT_EQ(s.slope_text, "12.00");
  EXPECT_EQ(s.slope_image, 1);
  s.position_cm += 1000;  // within 20 m of the last sample nothing changes
  drive.route->slopes[0].gradient = Fixed::fromRaw(-25000);
  sampleGradient(drive);
  EXPECT_EQ(s.gradient.toDouble(), 12);
  EXPECT_EQ(s.slope_text, "2.50");
  EXPECT_EQ(s.slope_image, 2);
}

}  // namespace
}  // namespace velimoro

namespace velimoro {
namespace {

TEST(SpeedText, FormatsLikeFiveDotOneF) {
  EXPECT_EQ(speedText(0), "  0.0 km/h");
  EXPECT_EQ(speedText(59.985L), " 60.0 km/h");
  EXPECT_EQ(speedText(5.04L), "  5.0 km/h");
  EXPECT_EQ(speedText(120.36L), "120.4 km/h");
  EXPECT_EQ(speedText(-3.26L), " -3.3 km/h");
  EXPECT_EQ(speedText(-0.01L), " -0.0 km/h");
  EXPECT_EQ(speedText(0.25L), "  0.2 km/h");  // halves to even, as printf rounds
  EXPECT_EQ(speedText(1234.5L), "1234.5 km/h");
}

}  // namespace
}  // namespace velimoro
