// The handle texts and the notch strips made by masconupdate.
#include <gtest/gtest.h>

#include "controls_fixture.h"

namespace velimoro {
namespace {

using MasconUpdate = testing::ControlsTest;

TEST_F(MasconUpdate, SteppedBrakeTextsNameTheStep) {
  const std::pair<int, const char*> cases[] = {{0, "切"}, {-1, "B1"}, {-8, "B8"}, {-9, "非常"}};
  for (const auto& [brake, text] : cases) {
    s.brake_handle = brake;
    masconupdate(drive);
    EXPECT_EQ(s.brake_text, text) << brake;
  }
  s.brake_handle = 0;
  s.hold_engaged = true;
  masconupdate(drive);
  EXPECT_EQ(s.brake_text, "抑速");
}

TEST_F(MasconUpdate, AutomaticBrakeValveShowsItsFivePositions) {
  train.BrakeType = 0;
  train.Brake = 4;
  const std::pair<int, const char*> cases[] = {
      {0, "切"}, {-1, "保ち"}, {-2, "重なり"}, {-3, "制動"}, {-4, "非常"}};
  for (const auto& [brake, text] : cases) {
    s.brake_handle = brake;
    masconupdate(drive);
    EXPECT_EQ(s.brake_text, text) << brake;
  }
}

TEST_F(MasconUpdate, PowerReverserAndGearTexts) {
  train.PowerModeCount = 1;
  train.PowerModes[0] = {"P", "通常"};
  const std::pair<int, const char*> power[] = {{0, "切"}, {1, "P1"}, {5, "P5"}};
  for (const auto& [notch, text] : power) {
    s.power_handle = s.power_notch = notch;
    masconupdate(drive);
    EXPECT_EQ(s.power_text, text);
  }
  EXPECT_EQ(s.gear_text, "通常");
  const std::pair<int, const char*> reverser[] = {{1, "前進"}, {0, "中立"}, {-1, "後進"}};
  for (const auto& [position, text] : reverser) {
    s.reverser = position;
    masconupdate(drive);
    EXPECT_EQ(s.reverser_text, text);
  }
  train.Engine_Type = 0;
  const char* gears[] = {"中立", "変速", "直結1", "直結2", "直結3", "直結4"};
  for (int gear = 0; gear < 6; ++gear) {
    s.gear = gear;
    masconupdate(drive);
    EXPECT_EQ(s.gear_text, gears[gear]);
  }
  s.gear = 9;  // no text for it: the last one stays
  masconupdate(drive);
  EXPECT_EQ(s.gear_text, "直結4");
}

TEST_F(MasconUpdate, ConstantSpeedHoldsUntilAHandleMoves) {
  train.Const = 1;
  setHandles(5, 0);
  s.speed = 15;
  press("t");  // not above 15 km/h
  EXPECT_FALSE(s.const_speed);
  s.speed = 40;
  setHandles(4, 0);
  press("t");  // not at full power
  EXPECT_FALSE(s.const_speed);
  train.Const = 0;
  setHandles(5, 0);
  press("t");  // not fitted
  EXPECT_FALSE(s.const_speed);
  train.Const = 1;
  press("t");
  EXPECT_TRUE(s.const_speed);
  EXPECT_EQ(s.power_text, "定速");
  EXPECT_EQ(s.power_notch, 5);
  press("3");  // the horn leaves the handles alone
  EXPECT_TRUE(s.const_speed);
  press("a");
  EXPECT_FALSE(s.const_speed);
  EXPECT_EQ(s.power_notch, 4);  // taken at once, not after the power delay
  EXPECT_EQ(s.power_text, "4");
  // A brake movement cancels it too, the power notch following the handle.
  setHandles(5, 0);
  press("t.");
  EXPECT_FALSE(s.const_speed);
}

TEST_F(MasconUpdate, NotchStripsShowTheHandlePositions) {
  // 10 brake patterns of 20 x 30 pixels in two rows of five; 6 power patterns; 6 patterns of
  // the gear lever's strip ([GearImageList2]), bounded by their own strip and not by the gear
  // lamps' single pattern ([GearImageList]).
  train.NotchImageB = {0, 0, 20, 30, "b.bmp", 0};
  train.NotchImageP = {0, 0, 20, 30, "p.bmp", 1};
  train.GearImageList2 = {0, 0, 20, 30, "lever.bmp", 2};
  train.GearImageList = {0, 0, 20, 30, "lamps.bmp", 3};
  pictures.sizes[0] = {100, 60};
  pictures.sizes[1] = {120, 30};
  pictures.sizes[2] = {120, 30};
  pictures.sizes[3] = {20, 30};
  setHandles(3, -4);
  s.gear = 4;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b, 4);
  EXPECT_EQ(s.notch_picture_p, 3);
  EXPECT_EQ(s.gear_lever_picture, 4);
  s.brake_handle = -9;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b, 9);

  // With Hold the strip has the Hold pattern after release: EB is one pattern further on.
  train.Hold = 1;
  const std::pair<int, int> withHold[] = {{0, 0}, {-1, 2}, {-8, 9}};
  for (const auto& [brake, frame] : withHold) {
    s.brake_handle = brake;
    masconupdate(drive);
    EXPECT_EQ(s.notch_picture_b, frame) << brake;
  }
  s.brake_handle = 0;
  s.hold_engaged = true;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b, 1);
  s.hold_engaged = false;
  s.brake_handle = -9;  // pattern 10 is not in the strip: the strip keeps its pattern
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b, 1);
  pictures.sizes[0] = {100, 90};  // 15 patterns
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b, 10);
  pictures.sizes.erase(0);  // size unknown: no limit
  s.brake_handle = -9;
  train.Hold = 0;
  s.power_handle = 7;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b, 9);
  EXPECT_EQ(s.notch_picture_p, 3);  // the power strip has 6 patterns
  // A train without strips leaves the patterns alone.
  train.NotchImageB.picture.reset();
  s.brake_handle = -2;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b, 9);
}

TEST_F(MasconUpdate, SecondStripsShowTheProtectionBrakes) {
  train.NotchImageP2 = {0, 0, 10, 10, "p2.bmp", 5};
  train.NotchImageB2 = {0, 0, 10, 10, "b2.bmp", 6};
  pictures.sizes[5] = {60, 10};
  pictures.sizes[6] = {120, 10};  // 12 patterns: B0..B8, EB, pattern brake, protection EB
  setHandles(2, -3);
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_p2, 2);
  EXPECT_EQ(s.notch_picture_b2, 3);
  s.ats_eb = true;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_p2, 0);
  EXPECT_EQ(s.notch_picture_b2, 11);
  s.ats_pattern_brake = true;  // the pattern brake's pattern wins
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b2, 10);
  s.ats_eb = false;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b2, 10);
  s.ats_pattern_brake = false;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b2, 3);
  // Without a known size there is no last pattern to show.
  pictures.sizes.erase(6);
  s.ats_eb = true;
  masconupdate(drive);
  EXPECT_EQ(s.notch_picture_b2, 3);
}

TEST_F(MasconUpdate, DepartureIsCalledOnceWhenPowerIsTakenWithTheDoorsClosed) {
  s.departure_pending = true;
  s.doors_open = true;
  setHandles(1, 0);
  masconupdate(drive);
  EXPECT_TRUE(s.departure_pending);
  s.doors_open = false;
  setHandles(0, 0);
  masconupdate(drive);
  EXPECT_TRUE(s.departure_pending);
  setHandles(1, 0);
  masconupdate(drive);
  EXPECT_FALSE(s.departure_pending);
  // Station event 4 starts with voice 20.
  const CalloutQueue& queue = drive.sounds.callouts;
  ASSERT_EQ(queue.count, 1);
  EXPECT_EQ(queue.slots[0].voice, 20);
  masconupdate(drive);
  EXPECT_EQ(queue.count, 1);
}

}  // namespace
}  // namespace velimoro
