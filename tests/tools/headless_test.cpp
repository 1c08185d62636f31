#include "tools/drive/headless.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "cab/script.h"
#include "cab/trace.h"
#include "support/child_process.h"
#include "support/drive_run.h"
#include "support/test_support.h"
#include "tools/drive/event_log.h"

namespace velimoro::headless {
namespace {

using velimoro::testing::crlfLines;
using velimoro::testing::CsvRow;
using velimoro::testing::DriveRun;
using velimoro::testing::number;
using velimoro::testing::runHeadlessDrive;
using velimoro::testing::TempDir;

// A two-handle electric train with delays of 3 (power) and 2 (brake) fast steps.
const std::vector<std::string> kTrain = velimoro::testing::splitBars(
    "; test train|[Handle]|1|[BrakeType]|1|[Brake]|9|[Power]|5|[NotchBack]|2|[PowerDelay]|3|"
    "[BrakeDelay]|2|[SAPDelay]|2|[EBPress]|440|[HighAirPress]|880|[Engine_Type]|1|[Cars]|4|"
    "[Tons]|140");

// Filmed at 36 km/h over frames 0..1000 (33333 cm) and 72 km/h over 1000..3000 (133333 cm);
// the route ends at frame 3000. Station 1 departs at 10:00:00 after 2 + 3 s of announcements.
std::vector<std::string> testRoute() {
  return velimoro::testing::splitBars(
      "[LineName]|試験線|[StartPos]|100|[FrameRate]|30|[MovieStop]|3000|#|"
      "[SoundData]|a.wav|b.wav|#|[Station]|始発,0,100,300,0,1,0,0,0,0,0,0,0,0|"
      "中町,0,1500,300,0,1,0,1080000,0,0,0,0,0,0|終点,0,2800,300,0,1,0,1090000,0,0,0,0,0,0|#|"
      "[SpeedUnit]|0,1000,36,36|1000,3000,72,72|#");
}

struct Fixture {
  TempDir dir;
  Fixture() {
    dir.writeCp932("train.dat", crlfLines(kTrain));
    dir.writeCp932("route.dat", crlfLines(testRoute()));
    dir.writeCp932("mascon.dat", "MP1\r\n");
    dir.writeCp932("dorvanel.dat",
                   crlfLines({"[Forward]", "前進", "[Neut]", "切", "[EB]", "非常"}));
    dir.writeBytes("a.wav", testing::waveFile(2));
    dir.writeBytes("b.wav", testing::waveFile(3));
  }
  Options options() const {
    return velimoro::testing::driveOptions(dir.path(), "route.dat", "train.dat");
  }
};

TEST(DriveScript, ParsesTimesCommandsAndComments) {
  std::istringstream in(
      "# a drive\n0 start\n1 set power_handle 1\r\n\n2.5 set speed 40  # comment\n2.5 key hash\n");
  const auto commands = parseScript(in, "s.txt");
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(commands[0].name, "start");
  EXPECT_EQ(commands[1].atMs, 1000);
  EXPECT_EQ(commands[2].atMs, 2500);
  EXPECT_EQ(commands[2].args, (std::vector<std::string>{"speed", "40"}));
  EXPECT_EQ(commands[2].line, 5);
  EXPECT_EQ(keyOfWord(commands[3].args[0]), '#');
  // Every byte a serial controller may send survives its script word, which stays one word.
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    bytes += static_cast<char>(b);
  const std::string word = serialWord(bytes);
  EXPECT_EQ(word.find_first_of(" #\t\r\n"), std::string::npos);
  EXPECT_EQ(serialChunkOfWord(word), bytes);
  EXPECT_EQ(serialWord("MP3"), "MP3");
  EXPECT_EQ(serialChunkOfWord("%"), std::nullopt);
  EXPECT_EQ(serialChunkOfWord("M%4"), std::nullopt);
  // The caption reads a chunk as CP932, and escapes what is none.
  EXPECT_EQ(serialCaptionText("\x82\x64\x82\x61"), "ＥＢ");
  EXPECT_EQ(serialCaptionText("MB\xFF"), "MB%FF");
}

TEST(DriveScript, RejectsBadLinesNamingFileAndLine) {
  const auto fails = [](const std::string& text, const std::string& message) {
    std::istringstream in(text);
    try {
      parseScript(in, "s.txt");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  };
  fails("0 start\nsoon start\n", "s.txt:2: 秒数の時刻がありません(「soon」があります)");
  fails("1 fly\n", "s.txt:1: 不明なコマンド「fly」");
  fails("1 set speed\n", "s.txt:1: 「set」の引数の数が違います");
  fails("-1 start\n", "s.txt:1: 秒数の時刻がありません(「-1」があります)");
  // A recording never goes back in time, and every argument is checked before anything runs.
  fails("2 start\n1.5 key z\n", "s.txt:2: 時刻が前の行より戻って 1.5 秒になっています");
  fails("1 key ab\n", "s.txt:1: key には1文字を指定します(「ab」ではなく)");
  fails("1 vkey F13\n", "s.txt:1: 不明な仮想キー「F13」");
  fails("1 vkey F1 ctrl\n", "s.txt:1: キーのあとには「shift」を指定します(「ctrl」ではなく)");
  fails("1 wheel left\n", "s.txt:1: wheel には up か down を指定します(「left」ではなく)");
  fails("1 serial 5%G0\n",
        "s.txt:1: serial には受信したバイトを %XX の形で指定します(「5%G0」ではなく)");
  fails("1 joystick 0 -32769 0\n",
        "s.txt:1: joystick には -32768 ～ 32767 の X と Y、16進数のボタンを指定します"
        "(「0 -32769 0」ではなく)");
  fails("1 joystick 0 0 10000\n",
        "s.txt:1: joystick には -32768 ～ 32767 の X と Y、16進数のボタンを指定します"
        "(「0 0 10000」ではなく)");
  fails("1 controller 3\n", "s.txt:1: controller には 0、1、2 のどれかを指定します(「3」ではなく)");
  fails("1 set no_such_field 1\n", "s.txt:1: 「no_such_field」を「1」にはできません");
}

TEST(DriveOptions, ParsesTheCommandLine) {
  const Options o =
      parseOptions({"--root", "r", "--route", "a.dat", "--train", "t.dat", "--start", "2",
                    "--start-frame", "700", "--seconds", "12.5", "--settings", "kanko=1,ats=0"});
  EXPECT_EQ(o.root, "r");
  EXPECT_EQ(o.start, 2);
  EXPECT_EQ(o.startFrame, 700);
  EXPECT_EQ(*o.seconds, 12.5);
  EXPECT_EQ(o.settings.kanko, 1);
  EXPECT_EQ(o.settings.information, 1);
  EXPECT_EQ(o.settings.ats, 0);
  EXPECT_THROW(parseOptions({"--route", "a.dat"}), std::runtime_error);
  EXPECT_THROW(parseOptions({"--route", "a", "--train", "t", "--start", "x"}), std::runtime_error);
  EXPECT_THROW(parseOptions({"--route", "a", "--train", "t", "--start-frame", "-1"}),
               std::runtime_error);
  EXPECT_THROW(parseOptions({"--route", "a", "--train", "t", "--settings", "sound=1"}),
               std::runtime_error);
}

TEST(EventLog, QuotesDetailsThatNeedIt) {
  EXPECT_EQ(csvQuote("plain"), "plain");
  EXPECT_EQ(csvQuote("a,b"), "\"a,b\"");
  EXPECT_EQ(csvQuote("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(HeadlessDrive, StartsStoppedAndAppliesTheNotchAfterItsDelay) {
  Fixture f;
  const DriveRun d = runHeadlessDrive(f.options(),
                                      "0.5 set power_handle 3\n0.5 set power_change_pending 1\n"
                                      "1 start\n2 quit\n");
  ASSERT_EQ(d.status, 0) << d.err;
  const auto& trace = d.trace;
  // Before "start" nothing runs; the ticks at 1.1 .. 1.9 s run, and "quit" at 2 s comes before
  // the steps of its instant.
  ASSERT_EQ(trace.size(), 9u);
  EXPECT_EQ(trace[0].at("brake_notch"), "-9");
  EXPECT_EQ(trace[0].at("power_notch"), "3");        // three fast steps before the first tick
  EXPECT_EQ(trace[0].at("clock_text"), "23:59:57");  // the clock started before midnight
  const auto& events = d.events;
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].at("kind"), "notch");
  EXPECT_EQ(events[0].at("detail"), "P3 B-9");
  // The notch came on the third fast step: the clock started at 0 (station 0 departs at 0 with
  // a 3 s announcement before it, so -90, plus three steps).
  EXPECT_EQ(events[0].at("fast_tick_count"), "-87");
  EXPECT_NE(d.out.find("試験線"), std::string::npos);
}

// The aids' columns follow the route ahead, and an automatic brake is an event named by its
// cause: here the EB device, 65 s at speed without a handle moved (60 s of them before 20 s).
TEST(HeadlessDrive, TracesTheAidsAndNamesTheAutomaticBrakeByItsCause) {
  Options o = velimoro::testing::driveOptions(VELIMORO_SOURCE_DIR "/tests/scenarios",
                                              "line_scenario.dat", "electric_bt1.dat");
  o.seconds = 40;
  const DriveRun d =
      runHeadlessDrive(o,
                       "0 start\n0 set brake_handle 0\n0 set brake_change_pending 1\n"
                       "1 set power_handle 3\n1 set power_change_pending 1\n"
                       "20 set eb_device_count 600\n");
  ASSERT_EQ(d.status, 0) << d.err;
  for (double t : {1.0, 10.0, 19.0}) {
    EXPECT_NEAR(d.number(t, "aid_stop_cm"),
                d.number(t, "next_stop_cm") - d.number(t, "position_cm"), 0.01)
        << t;
  }
  const auto brakes = d.eventTicks("brake", -1);
  ASSERT_EQ(brakes.size(), 1u);
  for (const auto& e : d.events) {
    if (e.at("kind") == "brake") {
      EXPECT_EQ(e.at("detail"), "vigilance");
    }
  }
  const CsvRow* after = d.rowAtOrAfter(brakes[0]);
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->at("brake_cause"), "1");
  EXPECT_EQ(after->at("ats_eb"), "1");
}

TEST(HeadlessDrive, FrameAndPositionFollowTheFilmingSpeedThroughCalibrationRecords) {
  Fixture f;
  // In debug mode the train runs at the filming speed: one frame per fast step.
  const DriveRun d = runHeadlessDrive(f.options(), "0 start\n0.1 set debug_mode 1\n100 quit\n");
  ASSERT_EQ(d.status, 0) << d.err;
  bool crossed = false;
  for (const CsvRow& row : d.trace) {
    const double frame = number(row, "frame");
    const double position = number(row, "position_cm");
    // Distance of the frame: 33.333 cm a frame up to 1000, 66.667 cm a frame beyond.
    const double expected = frame <= 1000 ? frame * 100.0 / 3 : 33333 + (frame - 1000) * 200.0 / 3;
    if (frame < 3000) {
      EXPECT_NEAR(position, expected, 140) << "frame " << frame;
    }
    if (!crossed && row.at("calib_index") == "1") {
      crossed = true;
      EXPECT_EQ(row.at("frame_scale"), "72");
    }
  }
  EXPECT_TRUE(crossed);
  // The route ends at its "[MovieStop]" frame: stopped dead, power off.
  EXPECT_EQ(d.trace.back().at("frame"), "3000");
  EXPECT_EQ(number(d.trace.back(), "speed"), 0);
}

TEST(HeadlessDrive, ClockShowsOneHourAfter108000FastSteps) {
  Fixture f;
  f.dir.writeCp932("route.dat", crlfLines({"[Station]", "始発,2,100,300,0,0,0,0,0,0,0,0,0,0", "#",
                                           "[SpeedUnit]", "0,1000,36,36", "#"}));
  Options o = f.options();
  o.seconds = 3570;
  const DriveRun d = runHeadlessDrive(o, "0 start\n");
  ASSERT_EQ(d.status, 0) << d.err;
  const CsvRow* hour = d.rowAtOrAfter(108000);
  ASSERT_NE(hour, nullptr);
  EXPECT_EQ(hour->at("clock_text"), "01:00:00");
}

TEST(HeadlessDrive, StartsAtALaterStationWithItsClockAndDoors) {
  Fixture f;
  Options o = f.options();
  o.start = 1;
  const DriveRun d = runHeadlessDrive(o, "0 start\n0.2 quit\n");
  ASSERT_EQ(d.status, 0) << d.err;
  const auto& trace = d.trace;
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace[0].at("frame"), "1500");
  EXPECT_EQ(trace[0].at("doors_open"), "1");
  EXPECT_EQ(trace[0].at("station_index"), "1");
  // 10:00:00 less both announcements (2 s and 3 s), then six fast steps.
  EXPECT_EQ(std::stoi(trace[0].at("fast_tick_count")), 1080000 - 150 + 3);
  EXPECT_EQ(trace[0].at("clock_text"), "09:59:55");
  EXPECT_NEAR(number(trace[0], "position_cm"), 33333 + 500 * 200.0 / 3, 1);
}

// A run from a frame between stations stands there with the doors closed, at the departure time
// of the station behind it, the station ahead its next stop; driven on at the filming speed it
// runs as a fresh drive from the start does past the same frames, to the route's end.
TEST(HeadlessDrive, StartsStandingAtAFrameBetweenStations) {
  Fixture f;
  Options o = f.options();
  o.startFrame = 1200;
  const std::string script = "0 start\n0.1 set debug_mode 1\n100 quit\n";
  const DriveRun d = runHeadlessDrive(o, script);
  ASSERT_EQ(d.status, 0) << d.err;
  ASSERT_FALSE(d.trace.empty());
  const CsvRow& first = d.trace[0];
  EXPECT_EQ(first.at("frame"), "1200");
  EXPECT_NEAR(number(first, "position_cm"), 33333 + 200 * 200.0 / 3, 1);
  EXPECT_EQ(first.at("doors_open"), "0");
  EXPECT_EQ(number(first, "speed"), 0);
  EXPECT_NEAR(number(first, "next_stop_cm"), 33333 + 500 * 200.0 / 3, 1);
  EXPECT_NE(first.at("next_station_text").find("中町"), std::string::npos);
  EXPECT_EQ(first.at("clock_text"), "00:00:00");  // station 0 departs at 0

  const DriveRun fresh = runHeadlessDrive(f.options(), script);
  ASSERT_EQ(fresh.status, 0) << fresh.err;
  std::map<std::string, double> freshPosition;
  for (const CsvRow& row : fresh.trace)
    freshPosition.try_emplace(row.at("frame"), number(row, "position_cm"));
  int compared = 0;
  for (const CsvRow& row : d.trace) {
    const auto it = freshPosition.find(row.at("frame"));
    const double frame = number(row, "frame");
    if (it == freshPosition.end() || frame <= 1201 || frame >= 3000) continue;
    EXPECT_NEAR(number(row, "position_cm"), it->second, 70) << "frame " << row.at("frame");
    ++compared;
  }
  EXPECT_GT(compared, 400);
  EXPECT_EQ(d.trace.back().at("frame"), "3000");
}

// The Move and Save menus from a script: a jump to the middle station, a slot saved there at a
// stand and one saved running, both restored; the closing note shows what the slots hold.
TEST(HeadlessDrive, JumpsSavesAndRestoresThroughTheSettingsStore) {
  static TempDir config;  // the store finds its folder once per process
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  Fixture f;
  const DriveRun d = runHeadlessDrive(f.options(),
                                      "0 start\n0.5 jump 1\n1 save 1\n1.2 set speed 40\n"
                                      "1.2 set brake_handle 0\n1.2 set brake_notch 0\n1.2 set "
                                      "sap_notch 0\n3 save 2\n4 load 1\n5 load 2\n"
                                      "5.5 load 3\n6 quit\n");
  ASSERT_EQ(d.status, 0) << d.err;
  const auto expectRow = [&](double seconds, double frame, int brake, double speed) {
    EXPECT_NEAR(d.number(seconds, "frame"), frame, 1) << seconds;
    EXPECT_EQ(d.number(seconds, "brake_handle"), brake) << seconds;
    EXPECT_NEAR(d.number(seconds, "speed"), speed, 0.6) << seconds;
  };
  // Standing at the stop frame, 5 s of announcements before 10:00:00, one step short of EB; the
  // conductor opens the doors at once.
  expectRow(0.6, 1500, -8, 0);
  EXPECT_EQ(d.at(0.6).at("clock_text"), "09:59:55");
  expectRow(4.1, 1500, -8, 0);
  EXPECT_EQ(d.at(4.1).at("clock_text"), "09:59:55");
  // Restored running: the brake released, the train moving on from where it was saved.
  expectRow(5.1, d.number(3.0, "frame"), 0, d.number(3.0, "speed"));
  EXPECT_GT(d.number(5.1, "speed"), 20);
  EXPECT_EQ(d.at(5.1).at("doors_open"), "0");
  EXPECT_NE(d.out.find("スロット 1: route.dat,1,0,1500,"), std::string::npos) << d.out;
  EXPECT_NE(d.out.find(" （中町～終点）\n  スロット 2: route.dat,1,"), std::string::npos) << d.out;
  EXPECT_NE(d.err.find("message: 運転状態を保存しました"), std::string::npos);
  EXPECT_NE(d.err.find("message: 運転状態が保存されていません"), std::string::npos);

  const DriveRun none = runHeadlessDrive(f.options(), "0 start\n0.5 jump 3\n");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find(":2: 路線に駅 3 がありません"), std::string::npos) << none.err;
}

// A long drive ended by SIGTERM ends at once where it stands, keeping what it wrote: its trace is
// that of a fresh drive as long as the summary says it ran.
TEST(HeadlessDrive, EndsCleanlyOnSigtermWithTheTraceSoFar) {
  testing::TempDir dir;
  const std::string script = dir.writeBytes("drive.txt", "0 start\n0 key z\n");
  testing::ChildProcess drive(
      {VELIMORO_DRIVE_EXE, "--lang", "ja", "--root", testing::kScenarioRoot, "--route",
       "line_scenario.dat", "--train", "electric_bt1.dat", "--script", script, "--seconds",
       "1000000", "--trace", dir.file("trace.csv")},
      dir.path(), dir.file("out.txt"), dir.file("err.txt"));
  for (int wait = 0; wait < 400 && testing::readFile(dir.file("trace.csv")).size() < 100000; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  kill(drive.pid, SIGTERM);
  ASSERT_EQ(drive.waitFor(1000), 0) << testing::readFile(dir.file("err.txt"));
  const std::string out = testing::readFile(dir.file("out.txt"));
  // In the language of the fresh drive below, whose cab texts the trace holds too.
  const std::string simulated = "模擬時間 ";
  const std::size_t at = out.find(simulated);
  ASSERT_NE(at, std::string::npos) << out;
  const double seconds = std::stod(out.substr(at + simulated.size()));
  EXPECT_GT(seconds, 10.0);
  const testing::DriveRun fresh =
      testing::runHeadlessDrive(testing::driveOptions(testing::kScenarioRoot, "line_scenario.dat",
                                                      "electric_bt1.dat", seconds - 0.001),
                                "0 start\n0 key z\n");
  EXPECT_EQ(testing::readCsvFile(dir.file("trace.csv")), fresh.trace);
}

TEST(HeadlessDrive, ReportsDataErrorsWithTheirMessage) {
  Fixture f;
  f.dir.writeCp932("route.dat", crlfLines({"[Station]", "始発,0,100", "#"}));
  const DriveRun d = runHeadlessDrive(f.options(), "0 start\n");
  EXPECT_EQ(d.status, 1);
  EXPECT_EQ(d.err, "路線ファイルに誤りがあります。[Station]:始発,0,100\n");
}

}  // namespace
}  // namespace velimoro::headless
