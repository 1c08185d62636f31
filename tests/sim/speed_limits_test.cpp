#include "sim/speed_limits.h"

#include <gtest/gtest.h>

#include "sim/protection_fixture.h"

namespace velimoro {
namespace {

using SpeedLimitsTest = testing::ProtectionTest;

TEST_F(SpeedLimitsTest, TheFirstLimitOfTheListIsWarnedAboveItsBrakingCurve) {
  addLimit(45, 1, 1000, 1500);
  prepare();
  moveTo(700);  // 270 m to the braking point 30 m before the limit: 77 km/h
  s.speed = 77;
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_warned, -1);
  EXPECT_EQ(s.limit_sign_picture, -1);
  s.speed = 77.1L;
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_warned, 0);
  EXPECT_EQ(s.limit_sign_picture, 1);
  EXPECT_TRUE(s.limit_sign_blinking);
  // Past the braking point the curve no longer warns.
  moveTo(970);
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_warned, -1);
}

TEST_F(SpeedLimitsTest, TheLastWarnedLimitInListOrderWins) {
  addLimit(45, 1, 1000, 1500);
  addLimit(30, 2, 1100, 1500);
  addLimit(90, 3, 1050, 1500);
  prepare();
  moveTo(700);
  s.speed = 100;
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_warned, 1);
  EXPECT_EQ(s.limit_sign_picture, 2);
  // 600 m ahead or more: not looked at.
  moveTo(400);
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_warned, -1);
}

TEST_F(SpeedLimitsTest, SignBlinksBeforeTheLimitStandsInsideItAndClearsAfter) {
  addLimit(45, 1, 1000, 1500);
  prepare();
  moveTo(900);  // 100 frames before: not yet
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_sign_picture, -1);
  moveTo(901);
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_sign_picture, 1);
  EXPECT_TRUE(s.limit_sign_blinking);
  moveTo(1000);
  runSpeedLimits(drive);
  EXPECT_FALSE(s.limit_sign_blinking);
  EXPECT_TRUE(s.limit_sign_visible);
  EXPECT_EQ(s.limit_shown, 0);
  moveTo(1500);
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_sign_picture, -1);
  EXPECT_FALSE(s.limit_sign_visible);
}

TEST_F(SpeedLimitsTest, APictureOutsideTheListShowsNothing) {
  addLimit(45, 9, 1000, 1500);
  prepare();
  moveTo(1200);
  runSpeedLimits(drive);
  EXPECT_EQ(s.limit_shown, 0);
  EXPECT_EQ(s.limit_sign_picture, -1);
}

TEST(SpeedLimitSign, BlinksOutAtFivesAndBackAtTens) {
  SimState s;
  s.limit_sign_visible = true;
  s.tick_count = 5;
  blinkSpeedLimitSign(s);
  EXPECT_TRUE(s.limit_sign_visible);  // not blinking
  s.limit_sign_blinking = true;
  blinkSpeedLimitSign(s);
  EXPECT_FALSE(s.limit_sign_visible);
  s.tick_count = 7;
  blinkSpeedLimitSign(s);
  EXPECT_FALSE(s.limit_sign_visible);
  s.tick_count = 10;
  blinkSpeedLimitSign(s);
  EXPECT_TRUE(s.limit_sign_visible);
  s.tick_count = 15;
  blinkSpeedLimitSign(s);
  EXPECT_FALSE(s.limit_sign_visible);
}

}  // namespace
}  // namespace velimoro
