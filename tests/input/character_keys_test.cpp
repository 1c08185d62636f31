// The character keys beside the handle steps: reverser, horns, doors, train protection,
// announcements, gear lever, keypad swap and the brake valve's sounds.
#include <gtest/gtest.h>

#include "controls_fixture.h"

namespace velimoro {
namespace {

using CharacterKeys = testing::ControlsTest;

TEST_F(CharacterKeys, ReverserMovesOnlyAtWalkingPace) {
  s.speed = 1.0L;
  press("b");
  EXPECT_EQ(s.reverser, -1);
  EXPECT_EQ(s.reverser_text, "後進");
  EXPECT_FALSE(s.lamp_fwd);
  EXPECT_TRUE(s.lamp_back);
  press("n");
  EXPECT_EQ(s.reverser, 0);
  EXPECT_EQ(s.reverser_text, "中立");
  EXPECT_FALSE(s.lamp_fwd || s.lamp_back);
  s.speed = -1.01L;
  press("f");
  EXPECT_EQ(s.reverser, 0);
  s.speed = -0.5L;
  press("f");
  EXPECT_EQ(s.reverser, 1);
  EXPECT_EQ(s.reverser_text, "前進");
  EXPECT_TRUE(s.lamp_fwd);
  EXPECT_FALSE(s.lamp_back);
}

TEST_F(CharacterKeys, HornsRestartTheirSounds) {
  sound.playing[kSoundHorn] = true;
  press("3");
  EXPECT_EQ(takeCalls(kSoundHorn), (std::vector<std::string>{"stop 6", "once 6"}));
  press("6");
  EXPECT_EQ(takeCalls(kSoundHorn2), (std::vector<std::string>{"stop 7", "once 7"}));
}

TEST_F(CharacterKeys, KeysDoNothingWhileInputIsBlocked) {
  s.input_blocked = true;
  s.speed = 0;
  press("8zbq3t ");
  EXPECT_EQ(handles(), "P0 EB");
  EXPECT_EQ(s.reverser, 1);
  EXPECT_EQ(takeCalls(kSoundHorn), std::vector<std::string>{});
  EXPECT_FALSE(s.power_change_pending || s.brake_change_pending);
}

TEST_F(CharacterKeys, ScrollLockSwapsTheKeypadsPowerAndBrakeKeys) {
  setHandles(0, -3);
  keyDown(drive, VirtualKey::kScrollLock, false);
  press("8");
  EXPECT_EQ(handles(), "P0 B4");
  press("22");
  EXPECT_EQ(handles(), "P0 B2");
  keyDown(drive, VirtualKey::kScrollLock, false);
  press("8");
  EXPECT_EQ(handles(), "P0 B1");
}

TEST_F(CharacterKeys, OneManDoorKeysOpenAtRestAndCloseWithTheirSounds) {
  drive.route->oneMan = 1;
  s.crew_text = "乗降完了";
  s.boarding_event_open = true;
  s.speed = 0.05L;
  press("d");
  EXPECT_TRUE(s.door_cmd);
  EXPECT_TRUE(s.doors_open);
  EXPECT_FALSE(s.boarding_event_open);
  EXPECT_EQ(s.crew_text, "");
  EXPECT_EQ(takeCalls(kSoundDoorOpen), (std::vector<std::string>{"stop 8", "once 8"}));
  press("7");
  EXPECT_FALSE(s.door_cmd);
  EXPECT_TRUE(s.doors_open);  // the tick closes them when the sound has ended
  EXPECT_EQ(takeCalls(kSoundDoorClose), (std::vector<std::string>{"stop 9", "once 9"}));
  // Moving, the key only drops the door command.
  s.door_cmd = true;
  s.speed = 0.1L;
  press("d");
  EXPECT_FALSE(s.door_cmd);
  EXPECT_TRUE(s.doors_open);
  EXPECT_EQ(takeCalls(kSoundDoorClose), std::vector<std::string>{});
  // A train with a conductor has no door key.
  drive.route->oneMan = 0;
  s.doors_open = false;
  s.speed = 0;
  press("d7");
  EXPECT_FALSE(s.doors_open);
}

TEST_F(CharacterKeys, AtsConfirmAcknowledgesAWarningUnderBrake) {
  s.ats_warning = true;
  s.ats_timer = 12;
  s.ats_state = 30;
  sound.playing[kSoundAts2] = true;
  setHandles(0, 0);
  press(" ");  // no brake applied: the warning stays
  EXPECT_TRUE(s.ats_warning);
  EXPECT_FALSE(sound.playing[kSoundAts2]);
  setHandles(0, -2);
  press(" ");
  EXPECT_FALSE(s.ats_warning);
  EXPECT_TRUE(s.ats_confirmed);
  EXPECT_TRUE(s.ats_chime);
  EXPECT_EQ(s.ats_timer, 0);
  press(" ");  // a second press ends the acknowledgement
  EXPECT_FALSE(s.ats_confirmed);
  EXPECT_FALSE(s.ats_warning);
  // Passing a stop signal: the alarm goes on until the train stands.
  s.ats_state = 998;
  s.speed = 12;
  sound.playing[kSoundAts2] = true;
  press(" ");
  EXPECT_TRUE(sound.playing[kSoundAts2]);
  s.speed = 0.4L;
  press(" ");
  EXPECT_FALSE(sound.playing[kSoundAts2]);
  // Under the protection's own emergency brake, and on trains of other protection types,
  // nothing is acknowledged.
  s.ats_warning = true;
  s.ats_eb = true;
  press(" ");
  EXPECT_FALSE(s.ats_confirmed);
  s.ats_eb = false;
  train.ATS_Type = 1;
  press(" ");
  EXPECT_FALSE(s.ats_confirmed);
}

TEST_F(CharacterKeys, AutomaticBrakeInMaintainingPositionCannotAcknowledge) {
  train.BrakeType = 0;
  train.Brake = 4;
  s.ats_warning = true;
  setHandles(0, -1);
  press(" ");
  EXPECT_TRUE(s.ats_warning);
  EXPECT_FALSE(s.ats_confirmed);
  setHandles(0, -3);
  press(" ");
  EXPECT_TRUE(s.ats_confirmed);
}

TEST_F(CharacterKeys, ResetReleasesTheProtectionAtEBAtRest) {
  const auto tripped = [&] {
    s.ats_eb = s.ats_pattern_brake = s.ats_warning = s.ats_confirmed = s.ats_chime = true;
    s.ats_timer = 40;
    s.lamp_ats1 = false;
    s.lamp_ats2 = true;
  };
  tripped();
  setHandles(0, -8);
  press("r");  // not at EB
  EXPECT_TRUE(s.ats_eb);
  setHandles(0, -9);
  s.speed = 0.1L;
  press("r");  // not at rest
  EXPECT_TRUE(s.ats_eb);
  s.speed = 0;
  sound.playing[kSoundAts1] = sound.playing[kSoundAts2] = true;
  press("r");
  EXPECT_FALSE(s.ats_eb || s.ats_pattern_brake || s.ats_warning || s.ats_confirmed);
  EXPECT_FALSE(s.ats_chime);
  EXPECT_EQ(s.ats_timer, 0);
  EXPECT_TRUE(s.lamp_ats1);
  EXPECT_FALSE(s.lamp_ats2);
  EXPECT_FALSE(sound.playing[kSoundAts1] || sound.playing[kSoundAts2]);
}

TEST_F(CharacterKeys, DieselManualGearLeverMovesWithPowerOff) {
  train.Engine_Type = 0;
  train.Gear_Type = 1;
  train.GearCount = 4;
  s.gear = 1;
  press("s");
  EXPECT_EQ(s.gear, 2);
  EXPECT_EQ(s.gear_text, "直結1");
  press("ss");
  EXPECT_EQ(s.gear, 3);  // the last gear row
  press("xxxx");
  EXPECT_EQ(s.gear, 0);
  EXPECT_EQ(s.gear_text, "中立");
  s.power_notch = 1;
  press("s");
  EXPECT_EQ(s.gear, 0);
  s.power_notch = 0;
  train.Gear_Type = 0;  // automatic
  press("s");
  EXPECT_EQ(s.gear, 0);
  train.Gear_Type = 1;
  train.Engine_Type = 1;
  press("s");
  EXPECT_EQ(s.gear, 0);
}

// The brake valve after a key: exhaust when the requested position releases the brake in
// effect, the application sound of the position in effect when it applies more.
TEST_F(CharacterKeys, SteppedBrakeSoundsItsApplicationsOnly) {
  setHandles(0, -3);
  sound.playing[23] = sound.playing[33] = true;
  press(".");                                            // B3 -> B4 requested while B3 is in effect
  EXPECT_FALSE(sound.playing[23] || sound.playing[33]);  // release sounds cut off
  EXPECT_EQ(takeCalls(43), (std::vector<std::string>{"stop 43", "once 43"}));
  press(".");  // B5 requested, B3 still in effect, its sound still playing
  EXPECT_EQ(takeCalls(43), std::vector<std::string>{});
  setHandles(0, -3);
  sound.calls.clear();
  press(",");  // a release on a stepped brake: the tick sounds it
  EXPECT_EQ(sound.calls, std::vector<std::string>{});
  press("/");  // to EB: no application sound
  EXPECT_EQ(takeCalls(43), std::vector<std::string>{});
}

TEST_F(CharacterKeys, AutomaticBrakeSoundsReleaseLapAndApplication) {
  train.BrakeType = 0;
  train.Brake = 4;
  setHandles(0, -3);
  press("5");  // running position from service: full release of position 3
  EXPECT_EQ(takeCalls(23), (std::vector<std::string>{"stop 23", "once 23"}));
  setHandles(0, -3);
  press("8");  // to lap: partial release of position 3
  EXPECT_EQ(takeCalls(33), (std::vector<std::string>{"stop 33", "once 33"}));
  setHandles(0, 0);
  press("2");  // out of running position: the application sound of position 0
  EXPECT_EQ(takeCalls(40), (std::vector<std::string>{"stop 40", "once 40"}));
  // From EB the release table has no entry for position 4: nothing sounds.
  setHandles(0, -4);
  sound.calls.clear();
  press("5");
  EXPECT_EQ(sound.calls, std::vector<std::string>{});
}

}  // namespace
}  // namespace velimoro
