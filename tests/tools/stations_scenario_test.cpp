// Station stops through the headless driver: a train started at the route's start position
// runs up to the next station and stops in its window with the emergency brake; the trace and
// the events show the doors, the announcements, the departure and the end of the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/drive_run.h"
#include "support/test_support.h"

namespace velimoro::headless {
namespace {

using velimoro::testing::CsvRow;
using velimoro::testing::DriveRun;
using velimoro::testing::fastTickOf;
using velimoro::testing::number;

// Route sounds 0, 1, 2 (1, 2 and 3 s) sit on channels 20, 21, 22 after the train's twenty
// sounds; the call-out voices (all route sound 0's file) on channel 24. Train sounds: door open
// 8, door close 9, departure signal 16.
constexpr int kArrivalChannel = 21;
constexpr int kDepartureChannel = 22;
constexpr int kCalloutChannel = 24;
constexpr int kDoorCloseChannel = 9;
constexpr int kDepSignChannel = 16;
constexpr int kDepartTime = 1500;   // Middle's departure, ticks of 1/30 s
constexpr int kAnnounceTicks = 90;  // its departure announcement, 3 s
constexpr int kArrivalTicks = 60;   // its arrival announcement, 2 s

// The script: brakes off, four notches, then the emergency brake at 24 s. The train stops at
// frame 176, 97.8 m from the start of the route, inside Middle's window (100 m +- 20 m).
constexpr const char* kRunToMiddle =
    "0 start\n0.5 key 5\n1 key z\n1.1 key z\n1.2 key z\n1.3 key z\n24 key 0\n";

struct RouteShape {
  int oneMan = 0;
  int middleKind = 0;
  bool endStation = true;  // a third station beyond Middle
  int movieStop = 100000;
};

std::string routeText(const RouteShape& shape) {
  std::vector<std::string> lines = velimoro::testing::splitBars(
      "[LineName]|Station line|[StartPos]|100|[FrameRate]|30|[Friction]|0.3|[MovieStop]|" +
      std::to_string(shape.movieStop) + "|#|[OneMan]|" + std::to_string(shape.oneMan) +
      "|[SoundData]|a.wav|b.wav|c.wav|#|[KankoSound1]");
  for (int i = 0; i < 21; ++i)
    lines.push_back("a.wav");
  lines.insert(lines.end(), {"[Station]", "Start,2,100,300,-1,-1,0,0,0,0,0,0,0,0",
                             "Middle," + std::to_string(shape.middleKind) + ",180,2000,1,2,0," +
                                 std::to_string(kDepartTime) + ",0,0,0,0,0,0"});
  if (shape.endStation) lines.push_back("End,0,6000,2000,1,2,0,9000,0,0,0,0,0,0");
  lines.insert(lines.end(), {"#", "[SpeedUnit]", "0,100000,60,60", "#"});
  return velimoro::testing::crlfLines(lines);
}

// The values `column` takes over the drive, each change once.
std::vector<std::string> changes(const DriveRun& run, const std::string& column) {
  std::vector<std::string> values;
  for (const CsvRow& row : run.trace) {
    if (values.empty() || values.back() != row.at(column)) values.push_back(row.at(column));
  }
  return values;
}

struct RunSetup {
  RouteShape shape;
  std::string routeFile = "line_station.dat";
  std::string script = kRunToMiddle;
  std::string trainExtra;  // lines appended to the train file
  std::string settings = "";
  double seconds = 60;
};

DriveRun drive(const RunSetup& setup) {
  velimoro::testing::TempDir dir;
  std::filesystem::copy(velimoro::testing::kScenarioRoot, dir.path());
  if (!setup.trainExtra.empty()) {
    std::ofstream train(dir.file("electric_bt1.dat"), std::ios::app | std::ios::binary);
    train << setup.trainExtra;
  }
  dir.writeCp932(setup.routeFile, routeText(setup.shape));
  dir.writeBytes("a.wav", velimoro::testing::waveFile(1));
  dir.writeBytes("b.wav", velimoro::testing::waveFile(2));
  dir.writeBytes("c.wav", velimoro::testing::waveFile(3));
  std::vector<std::string> args = {"--root",        dir.path(), "--route",
                                   setup.routeFile, "--train",  "electric_bt1.dat"};
  if (!setup.settings.empty()) args.insert(args.end(), {"--settings", setup.settings});
  Options o = parseOptions(args);
  o.seconds = setup.seconds;
  DriveRun run = velimoro::testing::runHeadlessDrive(o, setup.script);
  EXPECT_EQ(run.status, 0) << run.err;
  return run;
}

TEST(StationScenario, TwoPersonTrainStopsInTheWindowAndTheConductorWorksTheDoors) {
  const DriveRun run = drive({});
  ASSERT_FALSE(run.trace.empty());
  EXPECT_EQ(run.trace.front().at("crew_text"), "4両");
  EXPECT_EQ(run.trace.front().at("next_station_text"), "Start");

  // The doors open by themselves once the train stands in Middle's window.
  const CsvRow* opened = run.firstRow("doors_open", "1");
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(number(*opened, "speed"), 0);
  EXPECT_EQ(opened->at("door_cmd"), "1");
  EXPECT_EQ(opened->at("window_station"), "1");
  EXPECT_EQ(opened->at("next_station_text"), "Middle");
  const long double position = std::stold(opened->at("position_cm"));
  EXPECT_GE(position, 8000);
  EXPECT_LE(position, 12000);
  const int openTick = fastTickOf(*opened);
  EXPECT_EQ(run.eventTicks("play_once", kArrivalChannel), std::vector<int>{openTick});

  // The departure announcement 3 s before the departure time; the next stop moves on with it.
  const auto announced = run.eventTicks("play_once", kDepartureChannel);
  ASSERT_EQ(announced.size(), 1u);
  EXPECT_GT(announced[0], kDepartTime - kAnnounceTicks);
  EXPECT_LE(announced[0], kDepartTime - kAnnounceTicks + 3);
  const CsvRow* nextStop = run.firstRow("next_stop_cm", "333333.000000");
  ASSERT_NE(nextStop, nullptr);
  EXPECT_EQ(fastTickOf(*nextStop), announced[0]);

  // The conductor closes after the departure time and the announcement's length; the doors
  // count as closed when the closing sound has ended, and the train departs.
  const CsvRow* closing = run.firstRow("door_cmd", "0", openTick);
  ASSERT_NE(closing, nullptr);
  const int closeTick = fastTickOf(*closing);
  EXPECT_GT(closeTick, kDepartTime);
  EXPECT_GT(closeTick, announced[0] + kAnnounceTicks);
  EXPECT_EQ(closing->at("doors_open"), "1");
  EXPECT_EQ(closing->at("status_text"), "ドアを閉めています");
  EXPECT_EQ(run.eventTicks("play_once", kDoorCloseChannel), std::vector<int>{closeTick});
  const CsvRow* closed = run.firstRow("doors_open", "0", closeTick);
  ASSERT_NE(closed, nullptr);
  const int departTick = fastTickOf(*closed);
  EXPECT_GE(departTick, closeTick + 15);  // the closing sound plays 0.5 s
  EXPECT_EQ(closed->at("station_index"), "1");
  EXPECT_EQ(run.eventTicks("play_once", kDepSignChannel), std::vector<int>{departTick});
  // The call-out of the doors closed plays at once on the call-out channel.
  const auto callouts = run.eventTicks("play_once", kCalloutChannel);
  EXPECT_NE(std::find(callouts.begin(), callouts.end(), departTick), callouts.end());
  EXPECT_EQ(run.trace.back().at("lamp_door"), "0");
  EXPECT_EQ(run.trace.back().at("run_ended"), "0");
}

TEST(StationScenario, DoorLampLightsWithClosedDoorsAndItsAbsenceDelaysNothing) {
  RunSetup withLamp;
  withLamp.trainExtra = "[Lamp_Door]\r\ndoor.bmp\r\n10\r\n10\r\n";
  const DriveRun lamp = drive(withLamp);
  const DriveRun plain = drive({});
  EXPECT_EQ(changes(lamp, "lamp_door"), (std::vector<std::string>{"1", "0", "1"}));
  EXPECT_EQ(changes(plain, "lamp_door"), std::vector<std::string>{"0"});
  EXPECT_EQ(changes(lamp, "doors_open"), (std::vector<std::string>{"0", "1", "0"}));
  // The lamp goes dark on the tick after the doors opened and lights as they close.
  const CsvRow* dark = lamp.firstRow("lamp_door", "0");
  ASSERT_NE(dark, nullptr);
  EXPECT_EQ(dark->at("doors_open"), "1");
  const CsvRow* lit = lamp.firstRow("lamp_door", "1", fastTickOf(*dark));
  ASSERT_NE(lit, nullptr);
  EXPECT_EQ(lit->at("doors_open"), "0");
  // Both trains depart at the same moment.
  EXPECT_EQ(lamp.eventTicks("play_once", kDepSignChannel),
            plain.eventTicks("play_once", kDepSignChannel));
}

TEST(StationScenario, OneManDriverOpensAndClosesWithTheDoorKey) {
  RunSetup setup;
  setup.shape.oneMan = 1;
  setup.script = std::string(kRunToMiddle) + "34 key d\n55 key d\n";
  const DriveRun run = drive(setup);
  EXPECT_EQ(run.trace.front().at("crew_text"), "");
  // Standing in the window, the doors wait for the key.
  const CsvRow* opened = run.firstRow("doors_open", "1");
  ASSERT_NE(opened, nullptr);
  const int openTick = fastTickOf(*opened);
  EXPECT_GT(openTick, 33 * 30);
  const CsvRow* stood = run.firstRow("window_station", "1");
  ASSERT_NE(stood, nullptr);
  EXPECT_LT(fastTickOf(*stood), openTick - 5 * 30);
  // The arrival announcement with the doors; the next stop at once; the boarding done once the
  // announcement has ended.
  EXPECT_EQ(run.eventTicks("play_once", kArrivalChannel), std::vector<int>{openTick});
  EXPECT_EQ(opened->at("next_stop_cm"), "333333.000000");
  EXPECT_EQ(opened->at("crew_text"), "");
  const CsvRow* boarded = run.firstRow("crew_text", "乗降完了");
  ASSERT_NE(boarded, nullptr);
  EXPECT_GE(fastTickOf(*boarded), openTick + kArrivalTicks);
  EXPECT_LE(fastTickOf(*boarded), openTick + kArrivalTicks + 4);
  // No conductor: the doors stay open past the departure time until the key closes them.
  const CsvRow* closing = run.firstRow("door_cmd", "0", openTick);
  ASSERT_NE(closing, nullptr);
  EXPECT_GT(fastTickOf(*closing), 54 * 30);
  EXPECT_EQ(closing->at("crew_text"), "");
  const CsvRow* closed = run.firstRow("doors_open", "0", openTick);
  ASSERT_NE(closed, nullptr);
  EXPECT_EQ(closed->at("station_index"), "1");
  EXPECT_EQ(run.eventTicks("play_once", kDepSignChannel), std::vector<int>{fastTickOf(*closed)});
}

TEST(StationScenario, PassingPointIsNoStop) {
  RunSetup setup;
  setup.shape.middleKind = 1;
  const DriveRun run = drive(setup);
  EXPECT_EQ(changes(run, "next_station_text"), (std::vector<std::string>{"Start", "Middle通過"}));
  EXPECT_EQ(changes(run, "window_station"), std::vector<std::string>{"0"});
  EXPECT_EQ(changes(run, "doors_open"), std::vector<std::string>{"0"});
  EXPECT_EQ(number(run.trace.back(), "speed"), 0);
  for (int channel : {20, kArrivalChannel, kDepartureChannel}) {
    EXPECT_TRUE(run.eventTicks("play_once", channel).empty()) << channel;
  }
}

TEST(StationScenario, RunEndsAtTheLastStationAfterItsArrivalAnnouncement) {
  RunSetup setup;
  setup.shape.endStation = false;
  const DriveRun run = drive(setup);
  const CsvRow* opened = run.firstRow("doors_open", "1");
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->at("run_ended"), "0");
  const CsvRow* ended = run.firstRow("run_ended", "1");
  ASSERT_NE(ended, nullptr);
  EXPECT_GE(fastTickOf(*ended), fastTickOf(*opened) + kArrivalTicks);
  EXPECT_LE(fastTickOf(*ended), fastTickOf(*opened) + kArrivalTicks + 4);
  EXPECT_EQ(changes(run, "run_ended"), (std::vector<std::string>{"0", "1"}));
}

TEST(StationScenario, GuidanceSentencesFollowTheDrive) {
  // On this route the protection is off whatever the settings say; with the beginner mode off
  // the driver is told to mind the speed while taking more than one notch. The end of the line
  // (frame 250) is near: standing, the driver is told to turn round.
  RunSetup setup;
  setup.routeFile = "line_in.dat";
  setup.settings = "ats=0";
  setup.shape.movieStop = 250;
  const DriveRun run = drive(setup);
  EXPECT_EQ(changes(run, "guidance_shown"),
            (std::vector<std::string>{"BackSpaceキーを押して方向を転換し、発車してください。",
                                      "ATSが投入されていないため、速度に注意してください。", "",
                                      "BackSpaceキーを押して方向を転換し、発車してください。"}));
  // The notches fall to 0 with the emergency brake at 24 s, and the sentence goes with them.
  const CsvRow* cleared = run.firstRow("guidance_shown", "", 30);
  ASSERT_NE(cleared, nullptr);
  EXPECT_EQ(cleared->at("power_handle"), "0");
}

}  // namespace
}  // namespace velimoro::headless
