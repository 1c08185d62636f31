#include "present/route_sounds.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include "present/sound_channels.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

// Two train sounds and five route sounds, all recorded at 22050 Hz: route sound k plays on
// channel 2 + k.
struct RouteSoundTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
  RouteData& route = *drive.route;
  TrainSpec& train = *drive.train;

  RouteSoundTest() {
    train.DriveSoundCount = 2;
    route.soundDataCount = 5;
    drive.sounds.layout = channelLayout(train, route);
    drive.sounds.channelRate.fill(22050);
  }
  // The sound-layer calls of one tick at `frame` (and `positionCm`) with `speed`.
  std::vector<std::string> tick(int frame, long double speed, long double positionCm = 0) {
    sound.calls.clear();
    s.frame = frame;
    s.speed = speed;
    s.position_cm = positionCm;
    runRouteSounds(drive);
    return sound.calls;
  }
  using Calls = std::vector<std::string>;
};

TEST_F(RouteSoundTest, SoundRecordStartsOnceInItsWindowWithPitchAndVolumeFollowingSpeed) {
  route.sounds[0] = {1, 100, 200, 50, 0, 1, 1};  // route sound 1, once, pitch and volume follow
  route.soundCount = 1;
  EXPECT_EQ(tick(94, 25), Calls{});
  EXPECT_EQ(tick(96, 25), (Calls{"stop 3", "once 3"}));
  EXPECT_EQ(sound.frequency[3], 11025);
  EXPECT_EQ(sound.volume[3], -602);
  // Set again on every tick in the window, without starting again.
  EXPECT_EQ(tick(98, 40), Calls{});
  EXPECT_EQ(sound.frequency[3], 17640);
  EXPECT_EQ(sound.volume[3], -194);
  EXPECT_EQ(tick(100, 75), Calls{});
  EXPECT_EQ(sound.frequency[3], 33075);
  EXPECT_EQ(sound.volume[3], 0);  // louder than full stays full
  // Outside the window nothing changes; back in it, it does not start again.
  EXPECT_EQ(tick(110, 10), Calls{});
  EXPECT_EQ(sound.frequency[3], 33075);
  sound.playing[3] = false;
  EXPECT_EQ(tick(100, 10), Calls{});
}

TEST_F(RouteSoundTest, SoundRecordAtRestOrWithoutFollowingPlaysAtItsOwnPitchAndFullVolume) {
  route.sounds[0] = {0, 100, 200, 50, 0, 1, 1};
  route.sounds[1] = {4, 100, 200, 0, 0, 1, 1};  // no reference speed: nothing to follow
  route.soundCount = 2;
  sound.volume[2] = sound.volume[6] = -123;
  EXPECT_EQ(tick(100, 0), (Calls{"stop 2", "once 2", "stop 6", "once 6"}));
  EXPECT_EQ(sound.frequency[2], 0);  // a factor of 0 sets nothing
  EXPECT_EQ(sound.volume[2], 0);
  tick(101, 30);
  EXPECT_EQ(sound.frequency[6], 22050);
  EXPECT_EQ(sound.volume[6], 0);
}

TEST_F(RouteSoundTest, LoopingSoundRecordStopsAtItsStopFrame) {
  route.sounds[0] = {2, 100, 200, 50, 1, 0, 0};
  route.sounds[1] = {9, 100, 200, 50, 1, 0, 0};  // names no route sound
  route.soundCount = 2;
  EXPECT_EQ(tick(104, 50), (Calls{"stop 4", "loop 4"}));
  EXPECT_EQ(tick(150, 50), Calls{});
  EXPECT_EQ(tick(196, 50), (Calls{"stop 4"}));
  EXPECT_EQ(tick(198, 50), Calls{});
}

TEST_F(RouteSoundTest, DopplerSourceLoopsInRangeWithPitchAndVolumeByPassage) {
  route.doppler[0] = {1, 0, 10000, 0, 50000};
  route.doppler[1] = {2, 0, 10000, 1, 90000};  // no pitch shift
  route.dopplerCount = 2;
  EXPECT_EQ(tick(0, 100, 30000), Calls{});
  EXPECT_EQ(tick(0, 100, 45000), (Calls{"stop 3", "loop 3"}));
  EXPECT_EQ(sound.frequency[3], 24015);  // approaching: higher
  EXPECT_EQ(sound.volume[3], -602);      // halfway in
  EXPECT_EQ(tick(0, 100, 52000), Calls{});
  EXPECT_EQ(sound.frequency[3], 20397);  // passed: lower
  EXPECT_EQ(sound.volume[3], -194);
  // The second source comes in range while the first is still heard; it keeps its pitch.
  EXPECT_EQ(tick(0, 100, 80000), (Calls{"stop 4", "loop 4"}));
  EXPECT_EQ(sound.frequency[4], 0);
  EXPECT_EQ(sound.volume[4], -10000);  // at the edge of its radius
  EXPECT_EQ(tick(0, 100, 89000), Calls{});
  // Out of range of both: every Doppler channel that plays stops.
  EXPECT_EQ(tick(0, 100, 100001), (Calls{"stop 3", "stop 4"}));
  EXPECT_EQ(tick(0, 100, 100001), Calls{});
}

TEST_F(RouteSoundTest, AnnouncementPlaysOnceOnEnteringItsWindow) {
  route.stations[0].stopCm = 100000;
  route.stationCount = 1;
  route.announce[1] = {3, 0, 0, 50};  // after leaving: 105000 .. 106000 cm
  route.announce[2] = {4, 1, 0, 20};  // before arriving: 98000 .. 99000 cm
  route.announce[3] = {1, 0, 7, 0};   // names no station
  route.announceCount = 3;
  EXPECT_EQ(tick(0, 30, 97999), Calls{});
  EXPECT_EQ(tick(0, 30, 98000), (Calls{"stop 6", "once 6"}));
  sound.playing[6] = false;
  EXPECT_EQ(tick(0, 0, 98500), Calls{});  // standing in the window: heard once
  EXPECT_EQ(tick(0, 30, 104999), Calls{});
  sound.playing[5] = true;  // already playing when the window is reached: left alone
  EXPECT_EQ(tick(0, 30, 105999), Calls{});
  sound.playing[5] = false;
  EXPECT_EQ(tick(0, 30, 106000), Calls{});
  EXPECT_EQ(tick(0, -30, 105500), (Calls{"stop 5", "once 5"}));  // backing into it again
}

TEST_F(RouteSoundTest, OneManRoutesHaveNoConductorAnnouncements) {
  route.oneMan = 1;
  route.stations[0].stopCm = 100000;
  route.stationCount = 1;
  route.announce[1] = {3, 0, 0, 0};
  route.announceCount = 1;
  EXPECT_EQ(tick(0, 30, 100100), Calls{});
}

TEST_F(RouteSoundTest, PointsSoundTakesTheFirstEntryOfTheirKindBelowItsSpeedOnce) {
  train.SwitchSound[0] = {0, 30, 1};
  train.SwitchSound[1] = {1, 80, 1};
  train.SwitchSound[2] = {0, 200, 2};
  train.SwitchSound[3] = {7, 200, 3};  // names no train sound
  train.SwitchSoundCount = 4;
  route.switches[0] = {500, 1};
  route.switches[1] = {600, 1};
  route.switches[2] = {700, 4};
  route.switches[3] = {800, 3};
  route.switchCount = 4;
  EXPECT_EQ(tick(495, 50), Calls{});
  EXPECT_EQ(tick(496, 50), (Calls{"stop 1", "once 1"}));
  EXPECT_EQ(tick(500, 50), Calls{});  // each record sounds once
  EXPECT_EQ(tick(600, -20), (Calls{"stop 0", "once 0"}));
  EXPECT_EQ(tick(700, 10), Calls{});  // no entry for that kind
  EXPECT_EQ(tick(800, 10), Calls{});
  EXPECT_TRUE(drive.sounds.switchPlayed[3]);
}

}  // namespace
}  // namespace velimoro
