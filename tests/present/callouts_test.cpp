#include "present/callouts.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include "present/sound_channels.h"
#include "sim/lineside_callouts.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

// Voice v is loaded as sound 100 + v; other sound k as sound 500 + k. No train or route sounds,
// so the call-out channel is 1.
struct CalloutTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
  RouteData& route = *drive.route;
  static constexpr int kChannel = 1;

  CalloutTest() {
    for (int v = 0; v < RouteData::kKankoSlots; ++v)
      drive.sounds.voiceSound[v] = 100 + v;
    for (int k = 0; k < 10; ++k)
      drive.sounds.otherSound[k] = 500 + k;
    route.otherImageCount = 10;
  }

  std::vector<int> queuedVoices() const {
    std::vector<int> voices;
    const CalloutQueue& q = drive.sounds.callouts;
    for (int i = 0; i < q.count; ++i)
      voices.push_back(q.slots[i].voice >= 0 ? q.slots[i].voice : 1000 + q.slots[i].other);
    return voices;
  }
  // Polls until the queue is empty, ending each voice after it starts; the voices heard.
  std::vector<int> playAll() {
    std::vector<int> heard;
    for (int poll = 0; poll < 100 && drive.sounds.callouts.count > 0; ++poll) {
      const std::size_t before = sound.calls.size();
      kankoQueuePlay(drive);
      if (sound.calls.size() > before) {
        EXPECT_EQ(sound.calls.back(), "once 1");
        heard.push_back(sound.bound[kChannel] - 100);
        kankoQueuePlay(drive);  // still playing: nothing moves
        EXPECT_EQ(sound.calls.size(), before + 1);
        sound.playing[kChannel] = false;
      }
    }
    return heard;
  }
};

TEST_F(CalloutTest, TimeCalloutPicksOneBandAndSaysWhetherTheTimeIsAheadOrPast) {
  const auto voicesFor = [this](int clock, int target) {
    drive.sounds.callouts = CalloutQueue();
    s.fast_tick_count = clock;
    timeKanko(drive, target);
    return queuedVoices();
  };
  EXPECT_EQ(voicesFor(1000, 1200), (std::vector<int>{18}));
  EXPECT_EQ(voicesFor(1000, 1301), (std::vector<int>{6, 17}));
  EXPECT_EQ(voicesFor(1000, 2000), (std::vector<int>{8, 17}));
  EXPECT_EQ(voicesFor(5000, 4000), (std::vector<int>{8, 16}));
  EXPECT_EQ(voicesFor(5000, 2000), (std::vector<int>{14, 16}));  // d = 3000
  EXPECT_EQ(voicesFor(1000, 4001), (std::vector<int>{}));        // d = 3001
  // A time check calls out every "[Time]" record strictly around the frame.
  route.times[0] = {100, 200, 2000};
  route.times[1] = {150, 160, 9000};
  route.timeCount = 2;
  s.frame = 160;
  drive.sounds.callouts = CalloutQueue();
  timeCheck(drive, 0);
  EXPECT_EQ(queuedVoices(), (std::vector<int>{8, 17}));
}

TEST_F(CalloutTest, QueueDropsTheThirteenthAndPlaysTheTwelveInOrderEachAfterThePrevious) {
  for (int v = 0; v < 13; ++v)
    kankoQueueAdd(drive, v);
  EXPECT_EQ(drive.sounds.callouts.count, 12);
  EXPECT_EQ(playAll(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CalloutTest, WithCalloutsOffThreeVoicesTakeTheirTurnsWithoutSound) {
  drive.setup.settings.kanko = 1;
  for (int v = 0; v < 3; ++v)
    kankoQueueAdd(drive, v);
  // One voice a poll; the last leaves the queue on the poll after its turn, as a played one does.
  for (int poll = 0; poll < 3; ++poll) {
    kankoQueuePlay(drive);
    EXPECT_EQ(sound.bound[kChannel], 100 + poll);
  }
  kankoQueuePlay(drive);
  EXPECT_EQ(drive.sounds.callouts.count, 0);
  EXPECT_TRUE(sound.calls.empty());
}

TEST_F(CalloutTest, AVoiceWithoutSoundReportsAPlayErrorAndGivesWayToTheNext) {
  drive.route->kankoSound[4] = "voice4.wav";  // named, but it did not load
  drive.sounds.voiceSound[4] = -1;
  kankoQueueAdd(drive, 4);
  kankoQueueAdd(drive, 5);
  kankoQueueAdd(drive, 541);  // names no voice: dropped
  kankoQueuePlay(drive);
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"喚呼の再生エラー"}));
  EXPECT_EQ(playAll(), (std::vector<int>{5}));
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(CalloutTest, AVoiceTheRouteLeavesEmptyGivesWaySilently) {
  drive.route->kankoSound[19] = "";
  drive.sounds.voiceSound[19] = -1;
  kankoQueueAdd(drive, 19);
  kankoQueueAdd(drive, 5);
  EXPECT_EQ(playAll(), (std::vector<int>{5}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CalloutTest, TheResumeLoopRestartsOnceTheQueueRunsDry) {
  CalloutQueue& q = drive.sounds.callouts;
  q.resumeLoopPending = true;
  q.resumeLoopChannel = 40;
  kankoQueueAdd(drive, 7);
  kankoQueuePlay(drive);
  sound.playing[kChannel] = false;
  kankoQueuePlay(drive);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"once 1", "stop 40", "loop 40"}));
  EXPECT_FALSE(q.resumeLoopPending);
}

TEST_F(CalloutTest, StationEventsSelectRecordsByWhenAndAct) {
  route.stationCallouts[0] = {2, 3, 40};
  route.stationCallouts[1] = {2, 3, 41};
  route.stationCallouts[2] = {1, 3, 42};    // another station
  route.stationCallouts[3] = {2, 4, 43};    // event 0 ...
  route.stationCallouts[4] = {2, 4, 999};   // ... ignores the call-out key
  route.stationCallouts[5] = {2, 4, 1500};  // ... and times
  route.stationCallouts[6] = {2, 0, 1301};  // event 1: a time call-out
  route.stationCallouts[7] = {2, 2, 999};   // event 3: the call-out key
  route.stationCalloutCount = 8;
  s.callout_station = 2;
  s.fast_tick_count = 1000;
  s.pending_callout = 3;
  const auto voicesFor = [this](int event) {
    drive.sounds.callouts = CalloutQueue();
    stationCallout(drive, event);
    return queuedVoices();
  };
  EXPECT_EQ(voicesFor(4), (std::vector<int>{20, 40, 41}));
  EXPECT_EQ(voicesFor(0), (std::vector<int>{43}));
  EXPECT_EQ(voicesFor(1), (std::vector<int>{6, 17}));
  EXPECT_EQ(voicesFor(3), (std::vector<int>{1003}));
  EXPECT_EQ(voicesFor(6), (std::vector<int>{}));
}

TEST_F(CalloutTest, CalloutKeyPlaysThePendingCalloutOnceThenTheArmedSecondSoundWhileMoving) {
  s.pending_callout = 2;
  s.second_callout = 4;
  s.second_callout_armed = true;
  calloutKey(drive);
  calloutKey(drive);  // played already; standing, so not the second sound either
  EXPECT_EQ(queuedVoices(), (std::vector<int>{1002}));
  s.speed = 30;
  calloutKey(drive);
  calloutKey(drive);  // the second sound only once
  EXPECT_EQ(queuedVoices(), (std::vector<int>{1002, 1004}));
  s.pending_callout = 900;  // a time check
  route.times[0] = {0, 1000, 2000};
  route.timeCount = 1;
  s.frame = 10;
  s.fast_tick_count = 1000;
  calloutKey(drive);
  EXPECT_EQ(queuedVoices(), (std::vector<int>{1002, 1004, 8, 17}));
}

TEST_F(CalloutTest, BoardsTimePointsAndCrossingsWaitForTheKeyWhereTheyStand) {
  route.signs[0] = {100, 200, 0, 3};  // a board with other sound 2
  route.signs[1] = {100, 200, 0, 0};  // a kilometre post
  route.signCount = 2;
  route.times[0] = {300, 400, 2000};
  route.timeCount = 1;
  route.crossings[0] = {0, 25, 500, 600, 0};
  route.crossingCount = 1;
  s.fast_tick_count = 1000;
  s.speed = 30;
  // The train's frame at a tick, with the key pressed or not.
  const auto at = [this](int frame, bool press) {
    s.frame = frame;
    runLinesideCallouts(drive);
    if (press) calloutKey(drive);
  };
  at(150, true);
  at(160, true);  // said already; no signal in view
  at(250, true);
  at(350, true);  // the time check: 1000 ticks early
  at(360, true);
  at(550, true);  // the crossing, entered
  at(560, true);  // said: it waits no more
  at(650, false);
  at(550, false);  // entered again, then left unsaid
  at(610, true);
  EXPECT_EQ(queuedVoices(), (std::vector<int>{1002, 8, 17, 25}));
}

TEST_F(CalloutTest, CalloutKeyCallsOutTheSignalOrThePendingCrossings) {
  route.kankoSoundCount = 24;  // voices 21, 22, 23
  route.signalCallouts[0] = {5, 0, 30};
  route.signalCallouts[1] = {5, 1, 31};
  route.signalCallouts[2] = {6, 0, 32};
  route.signalCallouts[3] = {5, 2, 33};
  route.signalCallouts[4] = {5, 0, 23};  // the signal's name: said once, in its place
  route.signalCalloutCount = 5;
  route.crossings[3].crossVoice = 25;
  route.crossings[7].crossVoice = 26;
  route.crossingCount = 8;
  s.callout_signal = 5;
  s.signal_callout_state = 1;
  s.signal_callout_number = 2;
  s.signal_aspect = 1;
  s.crossing_pending[0] = 3;
  s.crossing_pending[1] = 7;
  s.crossing_picture_shown = true;  // the crossing is in view: the signal first
  s.speed = 40;
  calloutKey(drive);
  EXPECT_EQ(queuedVoices(), (std::vector<int>{30, 23, 5, 31, 33}));
  drive.sounds.callouts = CalloutQueue();
  s.crossing_picture_shown = false;
  calloutKey(drive);
  calloutKey(drive);
  EXPECT_EQ(queuedVoices(), (std::vector<int>{25, 26}));
  // No crossing left; a call-out number beyond the route's voices plays no numbered voice.
  s.signal_callout_number = 3;
  s.signal_aspect = 15;
  calloutKey(drive);
  EXPECT_EQ(queuedVoices(), (std::vector<int>{25, 26, 2, 31, 33}));
}

}  // namespace
}  // namespace velimoro
