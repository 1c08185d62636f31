#include "present/station_jump.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/relocation_drive.h"

namespace velimoro {
namespace {

struct StationJump : ::testing::Test, testing::RelocationDrive {
  std::vector<int> pendingCrossings() const {
    std::vector<int> pending;
    for (int crossing : s.crossing_pending) {
      if (crossing >= 0) pending.push_back(crossing);
    }
    return pending;
  }
};

// The first station too: its stop frame, not the start position, and both announcements still
// ahead of the departure time. A crossing whose range starts at the stop frame is pending, one
// that ends there is not.
TEST_F(StationJump, FirstStationStandsAtItsStopFrameBeforeBothAnnouncements) {
  s.speed = 55;
  s.frame = 1500;
  s.position_cm = 150000;
  s.doors_open = s.door_cmd = true;
  s.power_handle = s.power_notch = 3;
  s.stations[0].departed = true;
  s.calib_index = 4;
  s.crossing_picture_shown = true;
  pass.videoMode = kStandingScene;
  pass.sceneRecord = 0;
  sound.playing[0] = true;
  sound.playing[5] = true;
  drive.sounds.paused[0] = drive.sounds.paused[5] = PausedChannel::kLooped;  // a pause

  jumpToStation(pass, drive, nullptr, 0);

  EXPECT_EQ(s.frame, 100);
  EXPECT_EQ(s.position_cm, 10000);
  EXPECT_EQ(s.remain_cm, 0);
  EXPECT_EQ(s.speed, 0);
  EXPECT_EQ(s.fast_tick_count, 30000 - 30 * (11 + 7));
  EXPECT_EQ(s.next_station_text, "A");
  EXPECT_EQ(s.power_handle, 0);
  EXPECT_EQ(s.power_notch, 0);
  EXPECT_EQ(s.brake_handle, -7);  // full service, one step short of emergency
  EXPECT_EQ(s.brake_notch, -7);
  EXPECT_EQ(s.sap_notch, -7);
  EXPECT_FALSE(s.doors_open);
  EXPECT_FALSE(s.door_cmd);
  EXPECT_FALSE(s.stations[0].departed);
  EXPECT_EQ(s.calib_index, 0);  // the stop frame's record, the position not snapped to it
  EXPECT_EQ(s.announce_index, 1);
  EXPECT_EQ(s.pre_train_frame, 100);  // the preceding train has left A, not yet C
  EXPECT_EQ(pendingCrossings(), (std::vector<int>{0, 2}));
  EXPECT_FALSE(s.crossing_picture_shown);
  EXPECT_EQ(pass.videoMode, kRouteVideo);
  EXPECT_EQ(pass.sceneRecord, -1);
  EXPECT_EQ(pass.lastFetchedFrame, -1);
  // The first channel plays on; every other one is stopped, and stays so when a pause ends.
  EXPECT_TRUE(sound.playing[0]);
  EXPECT_FALSE(sound.playing[5]);
  EXPECT_EQ(drive.sounds.paused[0], PausedChannel::kLooped);
  EXPECT_EQ(drive.sounds.paused[5], PausedChannel::kSilent);
  EXPECT_EQ(std::count(sound.calls.begin(), sound.calls.end(), "stop 0"), 0);
  EXPECT_EQ(std::count(sound.calls.begin(), sound.calls.end(), "stop 255"), 1);
}

// The stops with doors before the station count the announcements done; a signal in view keeps
// its pictures, which go when the train is put down where none is in view.
TEST_F(StationJump, LaterStationCountsEarlierStopsAndKeepsASignalInView) {
  s.signal_picture = 3;
  s.signal_left_x = 612;
  jumpToStation(pass, drive, nullptr, 2);
  EXPECT_EQ(s.frame, 1000);
  EXPECT_EQ(s.fast_tick_count, 60000 - 30 * (11 + 7));
  EXPECT_EQ(s.announce_index, 3);
  EXPECT_EQ(s.pre_train_frame, 1000);
  EXPECT_TRUE(pendingCrossings().empty());
  EXPECT_EQ(s.signal_picture, 3);

  jumpToStation(pass, drive, nullptr, 0);
  EXPECT_EQ(s.signal_picture, -1);
  EXPECT_EQ(s.signal_left_x, 600);
  EXPECT_EQ(s.signal_callout_state, 999);
}

}  // namespace
}  // namespace velimoro
