// Route sounds, Doppler sources and announcements of a test route through the headless driver,
// checked on the events file against the frames where the route puts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/demo_root.h"
#include "support/drive_run.h"
#include "support/test_support.h"

namespace velimoro::headless {
namespace {

using velimoro::testing::CsvRow;
using velimoro::testing::DriveRun;

// The scenario route filmed at 60 km/h (55.56 cm a frame), with a looped sound between frames
// 300 and 900 on route sound 0, a Doppler source at frame 1500 heard within 20 m on route sound
// 1, and an announcement (route sound 0) 100 m before station 1 at frame 3000. The stations
// have no departure sounds of their own (-1).
const std::vector<std::string> kRoute = velimoro::testing::splitBars(
    "[LineName]|Sound line|[StartPos]|100|[FrameRate]|30|[Friction]|0.3|[MovieStop]|100000|#|"
    "[OneMan]|0|[SoundData]|a.wav|b.wav|#|[Announce]|1|0,1,1,100|#|"
    "[Sound]|; sound,start,stop,km/h,loop,pitch,volume|0,300,900,60,1,1,1|#|"
    "[Doppler]|1,1500,2000,0|#|[Station]|Start,2,100,300,-1,-1,0,0,0,0,0,0,0,0|"
    "Middle,2,3000,300,-1,-1,0,0,0,0,0,0,0,0|End,2,9000,300,-1,-1,0,0,0,0,0,0,0,0|#|"
    "[SpeedUnit]|0,100000,60,60|#");

// The video frames at which the events of `kind` on `channel` happened: the frame of the first
// tick at or after each.
std::vector<int> framesOf(const DriveRun& run, const std::string& kind, int channel) {
  std::vector<int> frames;
  for (const int tick : run.eventTicks(kind, channel)) {
    const CsvRow* row = run.rowAtOrAfter(tick);
    frames.push_back(row == nullptr ? -1 : std::stoi(row->at("frame")));
  }
  return frames;
}

DriveRun driveThrough() {
  velimoro::testing::TempDir dir;
  std::filesystem::copy(velimoro::testing::kScenarioRoot, dir.path());
  dir.writeCp932("line_sound.dat", velimoro::testing::crlfLines(kRoute));
  dir.writeBytes("a.wav", velimoro::testing::waveFile(1));
  dir.writeBytes("b.wav", velimoro::testing::waveFile(2));
  // In debug mode the train runs at the filming speed: one frame a fast step.
  DriveRun run = velimoro::testing::runHeadlessDrive(
      velimoro::testing::driveOptions(dir.path(), "line_sound.dat", "electric_bt1.dat", 110),
      "0 start\n0.1 set debug_mode 1\n");
  EXPECT_EQ(run.status, 0) << run.err;
  return run;
}

TEST(SoundScenario, RouteSoundsDopplerAndAnnouncementsSoundWhereTheRoutePutsThem) {
  const DriveRun run = driveThrough();
  ASSERT_GT(std::stoi(run.trace.back().at("frame")), 3100);
  // Twenty train sounds come first: route sound 0 is channel 20, route sound 1 channel 21.
  const auto loops20 = framesOf(run, "play_loop", 20);
  ASSERT_FALSE(loops20.empty());
  EXPECT_NEAR(loops20.front(), 300, 8);  // within 4 frames of its start frame
  const auto stops20 = framesOf(run, "stop", 20);
  bool stoppedAtItsEnd = false;
  for (int frame : stops20)
    stoppedAtItsEnd = stoppedAtItsEnd || std::abs(frame - 900) < 8;
  EXPECT_TRUE(stoppedAtItsEnd);

  // The Doppler source at 83333 cm is heard within 2000 cm: frames 1464 to 1536.
  const auto doppler = framesOf(run, "play_loop", 21);
  ASSERT_EQ(doppler.size(), 1u);
  EXPECT_NEAR(doppler.front(), 1464, 6);
  const auto dopplerStops = framesOf(run, "stop", 21);
  ASSERT_FALSE(dopplerStops.empty());
  EXPECT_NEAR(dopplerStops.back(), 1536, 6);

  // The announcement plays once in the 10 m window 100 m before station 1's stop point:
  // 166667 - 10000 cm, frames 2820 to 2838.
  const auto announced = framesOf(run, "play_once", 20);
  ASSERT_EQ(announced.size(), 1u);
  EXPECT_GE(announced.front(), 2818);
  EXPECT_LE(announced.front(), 2842);
}

TEST(SoundScenario, TheCalloutKeyNamesSignalsCrossingsAndBoardsOfTheDemoLine) {
  // The mountain line at the filming speed, the call-out key pressed every two seconds: past
  // the starting, block and home signals, the first level crossing and the rockfall board.
  std::ostringstream script;
  script << "0 start\n0.1 set debug_mode 1\n";
  for (int second = 2; second < 200; second += 2)
    script << second << " vkey Enter\n";
  const DriveRun run = velimoro::testing::runHeadlessDrive(
      velimoro::testing::driveOptions(velimoro::testing::demoRoot(), "line_up2.dat",
                                      "train_QT600.dat", 200),
      script.str());
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> said;
  for (const CsvRow& event : run.events)
    if (event.at("kind") == "play_once") said.push_back(event.at("detail"));
  const auto times = [&](const std::string& file) {
    return std::count(said.begin(), said.end(), file);
  };
  // Each signal's name ("[SignalKanko]" of when 0) comes before its aspect.
  for (const char* name : {"k21.wav", "k22.wav", "k23.wav"}) {
    const auto at = std::find(said.begin(), said.end(), name);
    ASSERT_NE(at, said.end()) << name;
    ASSERT_NE(at + 1, said.end());
    EXPECT_EQ(at[1].substr(0, 2), "k0") << name << " then " << at[1];
  }
  // The crossing and the board are said once each, however often the key is pressed by them.
  EXPECT_EQ(times("k25.wav"), 1);
  EXPECT_EQ(times("board_rockfall.wav"), 1);
}

}  // namespace
}  // namespace velimoro::headless
