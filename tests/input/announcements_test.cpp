// The in-car announcement keys of a one-man train and the boarding events they may draw.
#include <gtest/gtest.h>

#include "controls_fixture.h"
#include "present/sound_channels.h"

namespace velimoro {
namespace {

struct Announcements : testing::ControlsTest {
  // Route sounds 0..2 sit after the train's 60 sounds: channels 60..62. Entry 0 is the standing
  // announcement; entries 1..3 name route sounds 1, 2 and 0.
  Announcements() {
    RouteData& route = *drive.route;
    route.oneMan = 1;
    route.soundDataCount = 3;
    route.announce[0].sound = 0;
    route.announce[1].sound = 1;
    route.announce[2].sound = 2;
    route.announce[3].sound = 0;
    route.announceCount = 3;
    route.stationCount = 4;
    drive.sounds.layout = channelLayout(train, route);
    s.announce_index = 1;
  }
};

TEST_F(Announcements, EachKeyPlaysTheNextAnnouncementOnceTheLastHasEnded) {
  press("c");
  EXPECT_EQ(s.announce_index, 2);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"stop 60", "stop 61", "once 61"}));
  sound.calls.clear();
  sound.playing[62] = true;  // the next one plays already: the key waits
  press("1");
  EXPECT_EQ(s.announce_index, 2);
  EXPECT_EQ(sound.calls, std::vector<std::string>{});
  sound.playing[62] = false;
  press("1");
  EXPECT_EQ(s.announce_index, 3);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"stop 61", "stop 62", "once 62"}));
  press("c");
  EXPECT_EQ(s.announce_index, 4);
  press("c");  // past the last entry
  EXPECT_EQ(s.announce_index, 4);
  sound.calls.clear();
  press("-");
  EXPECT_EQ(s.announce_index, 3);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"stop 60"}));
  press("---");
  EXPECT_EQ(s.announce_index, 0);
  press("-");
  EXPECT_EQ(s.announce_index, 0);
}

TEST_F(Announcements, OnlyOneManTrainsAnnounceAndBadSoundsPlayNothing) {
  drive.route->oneMan = 0;
  press("c1-");
  EXPECT_EQ(s.announce_index, 1);
  drive.route->oneMan = 1;
  drive.route->announce[1].sound = 7;  // no such route sound
  press("c");
  EXPECT_EQ(s.announce_index, 2);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"stop 60"}));
}

TEST_F(Announcements, OneRouteSkipsItsFourthAnnouncement) {
  drive.setup.routeFile = "line_up1_local.dat";
  drive.route->announce[4].sound = 2;
  drive.route->announceCount = 4;
  s.announce_index = 3;
  press("c");
  EXPECT_EQ(s.announce_index, 5);
  EXPECT_EQ(sound.calls.back(), "once 62");
}

TEST_F(Announcements, AStationsValueElevenGivesTheChanceOfBoarding) {
  s.fast_tick_count = 4321;
  drive.route->stations[1].stationValue11 = 11;  // draws 0..10: always
  press("c");
  EXPECT_TRUE(s.boarding_event);
  EXPECT_TRUE(s.boarding_event_open);
  EXPECT_EQ(s.boarding_event_tick, 4321);
  s.boarding_event = s.boarding_event_open = false;
  press("c");  // station 2 has no value: no draw
  EXPECT_FALSE(s.boarding_event);

  // One chance in a thousand: about 11 boardings in a thousand presses, the same every run.
  int boardings = 0;
  drive.route->stations[1].stationValue11 = 1000;
  for (int i = 0; i < 1000; ++i) {
    s.announce_index = 1;
    s.boarding_event = false;
    sound.playing.fill(false);
    press("c");
    boardings += s.boarding_event ? 1 : 0;
  }
  EXPECT_GT(boardings, 2);
  EXPECT_LT(boardings, 30);
}

}  // namespace
}  // namespace velimoro
