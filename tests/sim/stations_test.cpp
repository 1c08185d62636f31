#include "sim/stations.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include "input/controls.h"
#include "present/sound_channels.h"
#include "sim/doors.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using Calls = std::vector<std::string>;

// Twenty train sounds (door open 8, door close 9, departure signal 16), then route sounds 0, 1
// and 2 of 1, 2 and 3 seconds on channels 20, 21 and 22. Stations: A (kind 2) at 0 m, B (kind 0)
// at 1 km, C (a passing point) at 2 km and D (kind 0, the last) at 3 km, each with a window of
// plus or minus 10 m. B and D announce with route sound 1 on arrival and route sound 2 before
// departing. Station call-outs of B: event 0 voice 30, event 1 voice 31, event 2 voice 32,
// event 3 voice 33, event 5 voice 35.
struct StationTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
  RouteData& route = *drive.route;
  TrainSpec& train = *drive.train;
  static constexpr int kDoorOpen = 8, kDoorClose = 9, kDepSign = 16;
  static constexpr int kSound0 = 20, kArrivalSound = 21, kDepartureSound = 22;
  static constexpr int kDepartTimeB = 3000;

  StationTest() {
    train.DriveSoundCount = 20;
    train.Sound_DoorOpen = kDoorOpen;
    train.Sound_DoorClose = kDoorClose;
    train.DepSign = kDepSign;
    route.soundDataCount = 3;
    route.soundLength[0] = 1;
    route.soundLength[1] = 2;
    route.soundLength[2] = 3;
    station(0, "A", 2, 0, -1, -1, 0);
    station(1, "B", 0, 100000, 1, 2, kDepartTimeB);
    station(2, "C", 1, 200000, 1, 2, 0);
    station(3, "D", 0, 300000, 1, 2, 9000);
    route.stationCount = 4;
    const int whens[] = {4, 0, 1, 2, 5};
    const int voices[] = {30, 31, 32, 33, 35};
    for (int k = 0; k < 5; ++k)
      route.stationCallouts[k] = {1, whens[k], voices[k]};
    route.stationCalloutCount = 5;
    drive.sounds.layout = channelLayout(train, route);
    drive.strings.Stop = "停車";
    drive.strings.Pass = "通過";
    drive.strings.Stop2 = "着";
  }

  void station(int i, const char* name, int kind, int stopCm, int sound1, int sound2,
               int departTime) {
    StationEntry& e = route.stations[i];
    e.name = name;
    e.kind = kind;
    e.stopCm = stopCm;
    e.stopMinCm = stopCm - 1000;
    e.stopMaxCm = stopCm + 1000;
    e.departSound1 = sound1;
    e.departSound2 = sound2;
    e.departTime = departTime;
  }

  // The station steps of one tick, three fast steps after the last.
  void tick() {
    s.fast_tick_count += 3;
    closeDoorsAndDepart(drive);
    runStations(drive);
  }
  void tickUntil(int fastTicks) {
    while (s.fast_tick_count + 3 <= fastTicks)
      tick();
  }
  void standAt(long double positionCm) {
    s.position_cm = positionCm;
    s.speed = 0;
  }
  void end(int channel) { sound.playing[channel] = false; }
  std::vector<int> queuedVoices() const {
    std::vector<int> voices;
    const CalloutQueue& q = drive.sounds.callouts;
    for (int i = 0; i < q.count; ++i)
      voices.push_back(q.slots[i].voice);
    return voices;
  }
  Calls takeCalls() {
    Calls calls = sound.calls;
    sound.calls.clear();
    return calls;
  }
};

TEST_F(StationTest, NextStationTextNamesTheStationAndItsKind) {
  StationEntry e;
  e.name = "東";
  const std::pair<int, std::string> cases[] = {{0, "東停車"},           {1, "東通過"}, {2, "東着"},
                                               {3, "停止位置まで進行"}, {4, "東着"},   {-1, "東"}};
  for (const auto& [kind, text] : cases) {
    e.kind = kind;
    EXPECT_EQ(nextStationText(e, drive.strings), text) << kind;
  }
}

TEST_F(StationTest, WindowsAndPassingPointsSetTheTexts) {
  standAt(50000);  // between A and B
  tick();
  EXPECT_EQ(s.next_station_text, "B停車");
  EXPECT_FALSE(s.stop_marker);
  s.position_cm = 100500;  // running through B's window
  s.speed = 40;
  tick();
  EXPECT_EQ(s.next_station_text, "B");
  EXPECT_EQ(s.window_station, 1);
  EXPECT_TRUE(s.stations[1].in_window);
  EXPECT_TRUE(s.stop_marker);
  s.position_cm = 150000;  // past B: the passing point is next
  tick();
  EXPECT_EQ(s.next_station_text, "C通過");
  EXPECT_FALSE(s.stations[1].in_window);
  EXPECT_FALSE(s.stop_marker);

  // Standing in a passing point's window is no stop: no window, no doors, no announcement.
  sound.calls.clear();
  standAt(200000);
  for (int i = 0; i < 50; ++i)
    tick();
  EXPECT_FALSE(s.stations[2].in_window);
  EXPECT_EQ(s.window_station, 1);
  EXPECT_FALSE(s.doors_open);
  EXPECT_TRUE(sound.calls.empty());
  EXPECT_EQ(s.next_station_text, "C通過");
  s.position_cm = 250000;
  tick();
  EXPECT_EQ(s.next_station_text, "D停車");
  // Past the last station there is no next station.
  s.position_cm = 320000;
  tick();
  EXPECT_EQ(s.next_station_text, "");
}

TEST_F(StationTest, ConductorOpensAtRestAndClosesAfterTheDepartureTimeAndAnnouncement) {
  s.fast_tick_count = 2000;
  s.position_cm = 100500;
  s.speed = 0.1;  // still rolling: the doors stay shut
  tick();
  EXPECT_FALSE(s.doors_open);
  EXPECT_TRUE(sound.calls.empty());

  s.speed = 0.05;
  tick();  // 2006
  EXPECT_TRUE(s.doors_open);
  EXPECT_TRUE(s.door_cmd);
  EXPECT_TRUE(s.stations[1].arrived);
  EXPECT_TRUE(s.departure_pending);
  EXPECT_EQ(s.arrival_tick, 2006);
  EXPECT_EQ(takeCalls(), (Calls{"stop 8", "once 8", "once 21"}));
  EXPECT_EQ(queuedVoices(), (std::vector<int>{30, 31}));
  EXPECT_EQ(s.callout_station, 1);

  // The door key does nothing while the train moves, even with the doors open.
  s.speed = 0.1;
  doorOperate(drive);
  EXPECT_TRUE(s.doors_open);
  EXPECT_TRUE(sound.calls.empty());
  s.speed = 0;
  s.door_cmd = true;

  // The departure announcement is due 3 s (its length) before the departure time: the next
  // stop moves on to D, past the passing point.
  end(kArrivalSound);
  s.staf_shown = true;  // the timetable strip makes way for the departure
  s.client_width = 920;
  tickUntil(2910);
  EXPECT_FALSE(s.stations[1].depart_announced);
  EXPECT_EQ(s.next_stop_station, 0);
  tick();  // 2912
  EXPECT_TRUE(s.stations[1].depart_announced);
  EXPECT_EQ(s.next_stop_station, 3);
  EXPECT_EQ(s.next_stop_cm, 300000);
  EXPECT_EQ(takeCalls(), (Calls{"once 22"}));
  EXPECT_EQ(s.arrival_tick, 2912);
  EXPECT_FALSE(s.staf_shown);
  EXPECT_EQ(s.client_width, 750);

  // The conductor closes once the departure time has passed and the announcement has run its
  // 90 ticks: not at 3002 (exactly 90), at 3005.
  tickUntil(3003);
  EXPECT_TRUE(s.door_cmd);
  tick();
  EXPECT_FALSE(s.door_cmd);
  EXPECT_TRUE(s.doors_open);  // closing
  EXPECT_TRUE(s.stations[1].departed);
  EXPECT_EQ(takeCalls(), (Calls{"stop 9", "once 9", "stop 21"}));
  EXPECT_EQ(queuedVoices(), (std::vector<int>{30, 31, 32, 35}));

  // The doors are closed once the closing sound has ended; then the train departs.
  tick();
  EXPECT_TRUE(s.doors_open);
  end(kDoorClose);
  end(kDoorOpen);
  tick();
  EXPECT_FALSE(s.doors_open);
  EXPECT_FALSE(s.lamp_door);  // no lamp on this panel
  EXPECT_EQ(s.station_index, 1);
  EXPECT_EQ(takeCalls(), (Calls{"stop 16", "once 16"}));
  EXPECT_EQ(queuedVoices(), (std::vector<int>{30, 31, 32, 35, 19, 33}));
  // Standing on in the window, the doors do not open again.
  for (int i = 0; i < 20; ++i)
    tick();
  EXPECT_FALSE(s.doors_open);
  EXPECT_EQ(s.station_index, 1);
}

TEST_F(StationTest, DoorsCloseWhetherOrNotThePanelHasADoorLamp) {
  for (const bool lamp : {false, true}) {
    train.Lamp_Door.file = lamp ? "door.bmp" : "";
    s.doors_open = true;
    s.door_cmd = true;
    s.lamp_door = true;
    closeDoorsAndDepart(drive);  // a door command is pending
    EXPECT_TRUE(s.doors_open);
    EXPECT_FALSE(s.lamp_door);  // dark while the doors stand open
    s.door_cmd = false;
    sound.playing[kDoorClose] = true;
    closeDoorsAndDepart(drive);
    EXPECT_TRUE(s.doors_open);
    end(kDoorClose);
    closeDoorsAndDepart(drive);
    EXPECT_FALSE(s.doors_open);
    EXPECT_EQ(s.lamp_door, lamp);
    closeDoorsAndDepart(drive);  // closed doors depart once
  }
  EXPECT_EQ(s.station_index, 2);
}

TEST_F(StationTest, OneManDriverWorksTheDoorsAndTheAnnouncementsWaitForEachOther) {
  route.oneMan = 1;
  s.crew_text = "";
  s.fast_tick_count = 2950;  // arriving late: the departure announcement is due already
  standAt(100500);
  tick();
  tick();
  EXPECT_FALSE(s.doors_open);
  EXPECT_TRUE(s.stations[1].oneman_called);
  EXPECT_EQ(queuedVoices(), (std::vector<int>{30}));
  EXPECT_TRUE(sound.calls.empty());

  doorOperate(drive);  // the door key
  sound.calls.clear();
  tick();  // 2959
  EXPECT_TRUE(s.stations[1].arrived);
  EXPECT_EQ(s.arrival_tick, 2959);
  EXPECT_EQ(s.next_stop_station, 3);  // at once on a one-man train
  EXPECT_EQ(takeCalls(), (Calls{"once 21"}));
  EXPECT_EQ(queuedVoices(), (std::vector<int>{30, 31}));
  EXPECT_EQ(s.crew_text, "");

  // The departure announcement follows the arrival one's 60 ticks, not at once.
  tickUntil(3019);
  EXPECT_FALSE(s.stations[1].depart_announced);
  end(kArrivalSound);
  tick();  // 3022
  EXPECT_EQ(s.crew_text, "乗降完了");
  EXPECT_TRUE(s.stations[1].depart_announced);
  EXPECT_EQ(takeCalls(), (Calls{"once 22"}));

  // No conductor closes the doors, however long the train stands.
  tickUntil(4000);
  EXPECT_TRUE(s.door_cmd);
  doorOperate(drive);
  EXPECT_EQ(s.crew_text, "");
  end(kDoorClose);
  end(kDoorOpen);
  tick();
  EXPECT_FALSE(s.doors_open);
  EXPECT_EQ(s.station_index, 1);
}

TEST_F(StationTest, RunEndsOnlyAfterTheArrivalAnnouncementAtTheLastStation) {
  int backs = 0;
  drive.media.backToTitle = [&backs] { ++backs; };
  s.fast_tick_count = 8000;
  standAt(300200);
  tick();
  EXPECT_TRUE(s.doors_open);
  EXPECT_TRUE(sound.isPlaying(kArrivalSound));
  for (int i = 0; i < 10; ++i)
    tick();
  EXPECT_FALSE(s.run_ended);
  EXPECT_EQ(backs, 0);
  end(kArrivalSound);
  tick();
  EXPECT_TRUE(s.run_ended);
  tick();
  EXPECT_EQ(backs, 1);
}

TEST_F(StationTest, ALastStopWithoutDoorsEndsTheRunOnlyInItsWindow) {
  int backs = 0;
  drive.media.backToTitle = [&backs] { ++backs; };
  route.stations[3].kind = 2;
  standAt(250000);  // at rest, but short of the last station
  tick();
  EXPECT_FALSE(s.run_ended);
  standAt(300000);
  tick();
  EXPECT_TRUE(sound.isPlaying(kArrivalSound));
  EXPECT_FALSE(s.doors_open);
  EXPECT_FALSE(s.run_ended);
  end(kArrivalSound);
  tick();
  EXPECT_TRUE(s.run_ended);
  EXPECT_EQ(backs, 1);
}

TEST_F(StationTest, TheCrewChangeStationAsksOnceAndTheRunGoesOnToItsLastStation) {
  drive.setup.settings.crewChangeStation = 1;
  int dialogs = 0, backs = 0;
  drive.media.showCrewChange = [&dialogs] { ++dialogs; };
  drive.media.backToTitle = [&backs] { ++backs; };
  standAt(100000);
  tick();
  EXPECT_TRUE(s.doors_open);
  EXPECT_EQ(dialogs, 0);
  end(kArrivalSound);
  tick();
  tick();
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(s.run_ended);  // the dialog asks; the driver may go on
  route.stations[3].kind = 2;
  standAt(300000);
  tick();
  end(kArrivalSound);
  tick();
  EXPECT_TRUE(s.run_ended);
  EXPECT_EQ(backs, 1);
  EXPECT_EQ(dialogs, 1);
}

TEST_F(StationTest, StartStationPlaysTheStandingAnnouncement) {
  s.start_station = 1;
  s.window_station = 1;
  s.doors_open = s.door_cmd = true;  // a stop with doors starts with them open
  s.fast_tick_count = 2000;
  standAt(100000);
  tick();
  EXPECT_EQ(takeCalls(), (Calls{"once 20"}));
  EXPECT_TRUE(s.stations[1].arrived);
  EXPECT_TRUE(s.departure_pending);
  EXPECT_EQ(s.arrival_tick, 2003);
  end(kSound0);
  for (int i = 0; i < 5; ++i)
    tick();
  EXPECT_TRUE(sound.calls.empty());
}

TEST_F(StationTest, BadSoundNumbersAndAnEmptyRoutePlayNothingButStillStop) {
  route.stations[1].departSound1 = 99;
  route.stations[1].departSound2 = -5;
  s.fast_tick_count = 2990;
  standAt(100000);
  tick();
  EXPECT_TRUE(s.doors_open);
  EXPECT_EQ(takeCalls(), (Calls{"stop 8", "once 8"}));
  tickUntil(3010);
  EXPECT_TRUE(s.stations[1].depart_announced);
  EXPECT_TRUE(s.stations[1].departed);
  EXPECT_EQ(takeCalls(), (Calls{"stop 9", "once 9"}));

  route.stationCount = 0;
  s = SimState();
  standAt(100000);
  tick();
  EXPECT_FALSE(s.doors_open);
  EXPECT_FALSE(s.stations[1].in_window);
  EXPECT_EQ(s.next_station_text, "");
}

}  // namespace
}  // namespace velimoro
