#include "present/running_sounds.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include "present/sound_channels.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

// A diesel railcar with two [EngineSound1] entries (channels 0 and 1) and two [EngineSound3]
// entries (channels 2 and 5, around the call-out channel 3 and the guidance channel 4).
struct RunningSoundTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
  TrainSpec& train = *drive.train;

  RunningSoundTest() {
    train.Engine_Type = 0;
    train.EngineSound1[0] = {"run.wav", 0, {10, 50, 90, 0.5, 1.0, 1.5, -3000, -1000, 0}};
    train.EngineSound1[1] = {"motor.wav", 1, {0, 40, 80, 0.8, 1.0, 1.4, -500, -500, -500}};
    train.EngineSound1Count = 2;
    train.EngineSound3[0] = {"idle.wav", 0, 0, {-1, 20, 1.0, 1.2, -1000, -1500}};
    train.EngineSound3[1] = {"load.wav", 5, 1, {-1, 100, 0.8, 2.0, 0, -2000}};
    train.EngineSound3Count = 2;
    drive.sounds.layout = channelLayout(train, *drive.route);
    drive.sounds.channelRate.fill(22050);
  }
  std::vector<std::string> tick(long double speed, int notch) {
    sound.calls.clear();
    s.speed = speed;
    s.power_notch = notch;
    runRunningSounds(drive);
    return sound.calls;
  }
  using Calls = std::vector<std::string>;
};

TEST_F(RunningSoundTest, RunningAndMotorSoundsFollowSpeedAndPower) {
  s.engine_running = false;
  EXPECT_EQ(tick(5, 0), Calls{});  // below the running sound's range
  EXPECT_EQ(tick(-30, 0), (Calls{"loop 0"}));
  EXPECT_EQ(sound.frequency[0], 16538);  // 0.75 x 22050, between p1 and p2
  EXPECT_EQ(sound.volume[0], -2000);
  EXPECT_EQ(tick(70, 3), (Calls{"loop 1"}));
  s.engine_running = true;
  EXPECT_EQ(tick(70, 3), (Calls{"loop 5"}));
  EXPECT_EQ(sound.frequency[0], 27562);  // 1.25 x 22050, between p2 and p3
  EXPECT_EQ(sound.volume[0], -500);
  EXPECT_EQ(sound.frequency[1], 28665);
  EXPECT_EQ(sound.volume[1], -500);
  EXPECT_EQ(sound.frequency[5], 36241);
  EXPECT_EQ(sound.volume[5], -1406);
  EXPECT_EQ(tick(70, 3), Calls{});  // keeps looping
  EXPECT_EQ(tick(70, 0), (Calls{"stop 1", "stop 5"}));
  EXPECT_EQ(tick(95, 0), (Calls{"stop 0"}));
  EXPECT_EQ(tick(95, 0), Calls{});
  EXPECT_EQ(tick(90, 0), (Calls{"loop 0"}));  // the ends of the range belong to it
}

TEST_F(RunningSoundTest, DieselEngineSoundsNeedTheirNotchesAndARunningEngine) {
  train.EngineSound1Count = 0;
  EXPECT_EQ(tick(0, 0), (Calls{"loop 2"}));
  EXPECT_EQ(sound.volume[2], -1024);
  EXPECT_EQ(tick(20, 0), (Calls{"stop 2"}));  // p2 itself is outside
  EXPECT_EQ(tick(20, 2), (Calls{"loop 5"}));
  s.engine_running = false;
  EXPECT_EQ(tick(20, 2), (Calls{"stop 5"}));
  s.engine_running = true;
  train.Engine_Type = 1;  // an electric train has no engine sounds
  EXPECT_EQ(tick(20, 2), Calls{});
}

}  // namespace
}  // namespace velimoro
