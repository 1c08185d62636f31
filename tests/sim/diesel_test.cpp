#include "sim/diesel.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include "sim/tick.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

struct DieselTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
  TrainSpec& t = *drive.train;

  // Rows: 0 neutral, 1 torque converter up to 40 km/h, 2 and 3 direct gears.
  void SetUp() override {
    t.Engine_Type = 0;
    t.Gear_Type = 0;
    t.Power = 4;
    t.Gears[0] = {0, 0, 0, 0, 0, 0};
    t.Gears[1] = {0, 20, 40, 2.0, 1.6, 1.0};
    t.Gears[2] = {35, 50, 70, 1.0, 0.8, 0.5};
    t.Gears[3] = {60, 80, 100, 0.6, 0.5, 0.3};
    t.GearCount = 4;
    t.EngineSound2 = {0, 0, 4, 5};
    t.DriveSoundCount = 6;
  }

  // The tick's gear steps in their order.
  void tick() {
    runAutomaticGearbox(drive);
    runGearChange(drive);
    runGearPictureAndStall(drive);
    resetGearAtLowSpeed(drive);
  }
};

TEST_F(DieselTest, AutomaticUpShiftTakesOneSecondWithoutTraction) {
  s.power_notch = 4;
  s.speed = 41;
  tick();
  EXPECT_EQ(s.gear, 2);
  EXPECT_TRUE(s.gear_shifting);
  EXPECT_EQ(s.gear_picture, 0);  // no gear shown while shifting
  for (int i = 2; i < 10; ++i) {
    tick();
    EXPECT_TRUE(s.gear_shifting) << "tick " << i;
  }
  tick();  // the tenth tick of the change, counting the one that decided it
  EXPECT_FALSE(s.gear_shifting);
  EXPECT_EQ(s.gear_index, 2);
  EXPECT_EQ(s.gear_picture, 2);
  EXPECT_EQ(s.gear_shown, 2);
}

TEST_F(DieselTest, AutomaticDownShiftAndReturnToFirstGearBelowTenKmh) {
  s.gear = s.gear_index = 3;
  s.speed = 55;  // below row 3's lowest speed of 60
  tick();
  EXPECT_EQ(s.gear, 2);
  EXPECT_TRUE(s.gear_shifting);
  s.speed = 8;
  resetGearAtLowSpeed(drive);
  EXPECT_EQ(s.gear_index, 1);
  EXPECT_FALSE(s.gear_shifting);
}

TEST_F(DieselTest, ManualGearboxChangesOnlyAfterPowerIsTaken) {
  t.Gear_Type = 1;
  s.speed = 45;
  s.gear = 2;  // the driver moves the lever with power off
  for (int i = 0; i < 20; ++i)
    tick();
  EXPECT_EQ(s.gear_index, 1);
  s.power_notch = 2;
  tick();
  EXPECT_TRUE(s.gear_shifting);
  for (int i = 0; i < 9; ++i)
    tick();
  EXPECT_EQ(s.gear_index, 2);  // one second after power was taken
  EXPECT_FALSE(s.gear_shifting);
}

TEST_F(DieselTest, AChangeCutShortByTheEndOfTheVideoLeavesTheNextOneFree) {
  t.Gear_Type = 1;
  s.speed = 45;
  s.gear = 2;
  s.power_notch = 2;
  for (int i = 0; i < 5; ++i)
    tick();
  ASSERT_TRUE(s.gear_shifting);
  s.video_end_frame = 100;
  s.frame = 101;
  stopAtEndOfVideo(drive);
  EXPECT_FALSE(s.gear_shifting);
  s.speed = 30;
  s.gear = 3;
  s.power_notch = 1;
  for (int i = 0; i < 10; ++i)
    tick();
  EXPECT_EQ(s.gear_index, 3);
}

TEST_F(DieselTest, PowerAtRestInTheHighestGearStallsTheEngine) {
  t.Gear_Type = 1;
  s.gear = s.gear_index = 3;
  s.power_notch = 1;
  s.speed = 0;
  tick();
  EXPECT_FALSE(s.engine_running);
  EXPECT_EQ(s.power_notch, 0);
  EXPECT_EQ(sound.calls, std::vector<std::string>{"once 5"});
}

TEST_F(DieselTest, EngineStartAndStopPlayTheirSounds) {
  stopEngine(drive);
  EXPECT_FALSE(s.engine_running);
  stopEngine(drive);  // already stopped: nothing
  startEngine(drive);
  EXPECT_FALSE(s.engine_running);  // until the starter has turned
  runEngine(drive);
  startEngine(drive);  // already running: no sound
  EXPECT_TRUE(s.engine_running);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"once 5", "once 4"}));
}

TEST_F(DieselTest, ElectricTrainsHaveNoGears) {
  t.Engine_Type = 1;
  s.power_notch = 4;
  s.speed = 90;
  tick();
  EXPECT_EQ(s.gear, 1);
  EXPECT_FALSE(s.gear_shifting);
}

}  // namespace
}  // namespace velimoro
