// The handles on the keys and the wheel: steps, Hold, EB, power modes and the limits of odd
// trains.
#include <gtest/gtest.h>

#include "controls_fixture.h"

namespace velimoro {
namespace {

using HandleKeys = testing::ControlsTest;

TEST_F(HandleKeys, HoldSitsBetweenReleaseAndB1OnTheCombinedKeys) {
  train.Hold = 1;
  setHandles(0, 0);
  const char* down[] = {"P0 H", "P0 B1", "P0 B2"};
  for (const char* want : down) {
    press("2");
    EXPECT_EQ(handles(), want);
    EXPECT_FALSE(s.hold_left);
  }
  const char* up[] = {"P0 B1", "P0 H", "P0 B0", "P1 B0"};
  for (const char* want : up) {
    press("8");
    EXPECT_EQ(handles(), want);
  }
}

TEST_F(HandleKeys, HoldSitsBetweenReleaseAndB1OnTheTwoHandleBrakeKeys) {
  train.Hold = 1;
  setHandles(0, -2);
  const char* release[] = {"P0 B1", "P0 H", "P0 B0", "P0 B0"};
  for (const char* want : release) {
    press(",");
    EXPECT_EQ(handles(), want);
  }
  const char* apply[] = {"P0 H", "P0 B1", "P0 B2"};
  for (const char* want : apply) {
    press(".");
    EXPECT_EQ(handles(), want);
  }
  // "/" and "0" leave Hold for EB at once.
  setHandles(0, 0);
  press(".");
  press("/");
  EXPECT_EQ(handles(), "P0 EB");
}

TEST_F(HandleKeys, StepKeysStopShortOfEBWhichHasKeysOfItsOwn) {
  setHandles(0, 0);
  press(std::string(20, '2'));
  EXPECT_EQ(handles(), "P0 B8");
  press(std::string(20, '.'));
  EXPECT_EQ(handles(), "P0 B8");
  press("0");
  EXPECT_EQ(handles(), "P0 EB");
  press("5");
  EXPECT_EQ(handles(), "P0 B0");

  press("/");
  EXPECT_EQ(handles(), "P0 EB");
  press(",");
  EXPECT_EQ(handles(), "P0 B8");

  train.Handle = 0;
  setHandles(0, 0);
  press(std::string(20, 'a'));
  EXPECT_EQ(handles(), "P0 B8");
  press("q");
  EXPECT_EQ(handles(), "P0 EB");
  press("z");
  EXPECT_EQ(handles(), "P0 B8");

  // The wheel steps on into EB.
  setHandles(0, -8);
  wheelUp(drive);
  EXPECT_EQ(handles(), "P0 EB");
  wheelUp(drive);
  EXPECT_EQ(handles(), "P0 EB");
  wheelDown(drive);
  EXPECT_EQ(handles(), "P0 B8");
}

TEST_F(HandleKeys, EmergencyKeysSoundTheValveOnlyWhenTheyMoveTheBrake) {
  setHandles(2, -3);
  press("/");
  EXPECT_EQ(takeCalls(kSoundEB), (std::vector<std::string>{"stop 1", "once 1"}));
  EXPECT_EQ(s.power_handle, 2);  // the two-handle EB key leaves the power handle
  press("/");
  press("0");  // already at EB: silent, but power off
  EXPECT_EQ(takeCalls(kSoundEB), std::vector<std::string>{});
  EXPECT_EQ(s.power_handle, 0);
  // Under a protection brake the valve is already venting.
  setHandles(0, -2);
  s.ats_eb = true;
  press("0");
  EXPECT_EQ(takeCalls(kSoundEB), std::vector<std::string>{});
  EXPECT_EQ(handles(), "P0 EB");
  // "q" of the combined handle never sounds.
  train.Handle = 0;
  s.ats_eb = false;
  setHandles(3, 0);
  press("q");
  EXPECT_EQ(takeCalls(kSoundEB), std::vector<std::string>{});
  EXPECT_EQ(handles(), "P0 EB");
}

TEST_F(HandleKeys, CombinedHandleRunsFromEBThroughReleaseToFullPower) {
  train.Handle = 0;
  std::string seen;
  for (int i = 0; i < 16; ++i) {
    press("z");
    seen += handles() + ",";
  }
  EXPECT_EQ(seen,
            "P0 B8,P0 B7,P0 B6,P0 B5,P0 B4,P0 B3,P0 B2,P0 B1,P0 B0,P1 B0,P2 B0,P3 B0,P4 B0,P5 B0,"
            "P5 B0,P5 B0,");
  press("aaaaaa");
  EXPECT_EQ(handles(), "P0 B1");
  EXPECT_TRUE(s.power_change_pending && s.brake_change_pending && s.sap_change_pending);
}

TEST_F(HandleKeys, TwoHandleKeysMoveOneHandleAndRaiseItsFlags) {
  press("zz");  // power with the brake at EB
  EXPECT_EQ(handles(), "P2 EB");
  EXPECT_TRUE(s.power_change_pending);
  EXPECT_FALSE(s.brake_change_pending);
  press("a");
  EXPECT_EQ(handles(), "P1 EB");
  s.power_change_pending = false;
  press(",");
  EXPECT_EQ(handles(), "P1 B8");
  EXPECT_FALSE(s.power_change_pending);
  EXPECT_TRUE(s.brake_change_pending && s.sap_change_pending);
  // "8" and "2" work the two-handle train as a combined handle: off the brake first.
  press("2");                     // power on while braking: the notch step waits for the release
  EXPECT_EQ(handles(), "P0 B8");  // ... but the drop from the first notch does not
  press("8");
  EXPECT_EQ(handles(), "P0 B7");
}

TEST_F(HandleKeys, PowerModesKeepTheirOwnNotches) {
  // Notches 1-3 are mode 0 ("P"), 4-6 mode 1 ("H").
  train.Power = 6;
  for (int n = 0; n < 6; ++n)
    train.Notches[n].mode = n < 3 ? 0 : 1;
  train.PowerModeFirst[1] = 3;
  train.PowerModeCount = 2;
  train.PowerModes[0] = {"P", "並列"};
  train.PowerModes[1] = {"H", "高速"};
  setHandles(0, 0);
  press("88888");
  EXPECT_EQ(s.power_handle, 3);  // the top of mode 0
  EXPECT_EQ(s.power_text, "P3");
  press("9");  // power on: no mode change
  EXPECT_EQ(s.power_mode, 0);
  press("222");
  press("9");
  EXPECT_EQ(s.power_mode, 1);
  EXPECT_EQ(s.gear_text, "高速");
  press("8");
  EXPECT_EQ(s.power_handle, 4);  // straight to the first notch of mode 1
  EXPECT_EQ(s.power_text, "H1");
  press("8888");
  EXPECT_EQ(s.power_handle, 6);
  EXPECT_EQ(s.power_text, "H3");
  press("22");
  EXPECT_EQ(s.power_handle, 4);
  press("2");
  EXPECT_EQ(s.power_handle, 0);  // back to 0 from the mode's first notch
  EXPECT_EQ(s.power_text, "切");
  press("w");
  EXPECT_EQ(s.power_mode, 0);  // after the last mode, the first
  EXPECT_EQ(s.gear_text, "並列");
  // The two-handle power keys follow the same notches whatever the brake does.
  setHandles(0, -4);
  s.power_mode = 1;
  press("z");
  EXPECT_EQ(s.power_handle, 4);
  press("zz");
  EXPECT_EQ(s.power_handle, 6);
  press("a");
  EXPECT_EQ(s.power_handle, 5);
  press("2");  // the combined key waits for the brake
  EXPECT_EQ(s.power_handle, 5);
  press("aa");
  EXPECT_EQ(s.power_handle, 0);
}

TEST_F(HandleKeys, CombinedBrakeKeyLowersPowerWithoutTheBrakeTestWhereTheWheelWaits) {
  train.Handle = 0;
  setHandles(3, -2);  // as a serial controller may leave them
  wheelUp(drive);
  EXPECT_EQ(handles(), "P3 B2");
  press("a");
  EXPECT_EQ(handles(), "P2 B2");
}

TEST_F(HandleKeys, OddTrainsTakeEveryKeyWithinTheirPositions) {
  // No power notches, no power modes, the fewest brake positions of a stepped brake.
  train.Power = 0;
  train.Brake = 3;
  train.Hold = 1;
  setHandles(0, -3);
  const std::string keys = "zaq,./825098w9t3sxdrc1-fbn ";
  for (int round = 0; round < 3; ++round) {
    for (char key : keys) {
      press(std::string(1, key));
      EXPECT_EQ(s.power_handle, 0);
      EXPECT_GE(s.brake_handle, -3);
      EXPECT_LE(s.brake_handle, 0);
      EXPECT_EQ(s.power_mode, 0);
    }
    wheelDown(drive);
    wheelDown(drive);
    wheelUp(drive);
  }
  // A power mode announced without notches of its own has nothing to take.
  train.Power = 2;
  train.PowerModeCount = 2;
  train.PowerModeFirst[1] = 5;
  setHandles(0, 0);
  s.power_mode = 1;
  press("8z");
  EXPECT_EQ(s.power_handle, 0);
  // A power mode beyond the tables, as a corrupt save may hold, works as the first mode.
  s.power_mode = 40;
  press("888");
  EXPECT_EQ(s.power_handle, 2);
  EXPECT_EQ(s.power_text, "2");
}

TEST_F(HandleKeys, WheelUpSoundsTheEmergencyValveWhileTheBrakePipeHoldsAir) {
  setHandles(0, -8);
  s.bp = Fixed::fromInt(490);
  wheelUp(drive);
  EXPECT_EQ(takeCalls(kSoundEB), (std::vector<std::string>{"stop 1", "once 1"}));
  wheelUp(drive);  // still sounding: not started again
  EXPECT_EQ(takeCalls(kSoundEB), std::vector<std::string>{});
  sound.playing[kSoundEB] = false;
  s.bp = Fixed();
  setHandles(0, -8);
  wheelUp(drive);
  EXPECT_EQ(takeCalls(kSoundEB), std::vector<std::string>{});
  EXPECT_EQ(handles(), "P0 EB");
}

TEST_F(HandleKeys, WheelAndKeysResetTheDeadManTimerEvenWhileInputIsBlocked) {
  s.input_blocked = true;
  const auto armed = [&] {
    s.eb_device_count = 620;
    s.eb_lamp = true;
    sound.playing[kSoundEBring] = true;
  };
  armed();
  press("8");
  EXPECT_EQ(s.eb_device_count, 0);
  EXPECT_FALSE(s.eb_lamp);
  EXPECT_FALSE(sound.playing[kSoundEBring]);
  EXPECT_EQ(handles(), "P0 EB");  // the key itself is ignored
  armed();
  wheelDown(drive);  // the wheel is not blocked
  EXPECT_EQ(s.eb_device_count, 0);
  EXPECT_FALSE(s.eb_lamp);
  EXPECT_EQ(handles(), "P0 B8");
  armed();
  wheelUp(drive);
  EXPECT_EQ(s.eb_device_count, 0);
  // Enter and BackSpace are typed characters as well.
  for (VirtualKey key : {VirtualKey::kEnter, VirtualKey::kBackSpace}) {
    armed();
    keyDown(drive, key, false);
    EXPECT_EQ(s.eb_device_count, 0);
    EXPECT_FALSE(s.eb_lamp);
  }
  armed();
  keyDown(drive, VirtualKey::kF1, false);  // a key that types nothing does not
  EXPECT_EQ(s.eb_device_count, 620);
}

}  // namespace
}  // namespace velimoro
