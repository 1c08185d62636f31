// Signals and train protection through the headless driver: routes written into a temporary
// data root beside the scenario trains, checked on the trace and the events.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "support/csv_table.h"
#include "support/test_support.h"
#include "tools/drive/headless.h"

namespace velimoro::headless {
namespace {

using velimoro::testing::CsvRow;
namespace fs = std::filesystem;

// A route filmed at 108 km/h, so that a frame is 1 m, starting at frame 100 between two
// stations where nobody stops, with the sections in `extra` (in the file's order of sections).
std::vector<std::string> route(const std::vector<std::string>& beforeStations,
                               const std::vector<std::string>& afterStations) {
  std::vector<std::string> lines = {
      "[LineName]", "Signal line", "[StartPos]",  "100",    "[FrameRate]", "30",
      "[Friction]", "0.3",         "[MovieStop]", "100000", "#",           "[Speed_Signal]",
      "0",          "25",          "45",          "75",     "110",         "#"};
  lines.insert(lines.end(), beforeStations.begin(), beforeStations.end());
  for (const char* line : {"[Station]", "Start,2,100,300,0,0,0,0,0,0,0,0,0,0",
                           "End,2,99000,300,0,0,0,0,0,0,0,0,0,0", "#"})
    lines.emplace_back(line);
  lines.insert(lines.end(), afterStations.begin(), afterStations.end());
  for (const char* line : {"[SpeedUnit]", "0,100000,108,108", "#"})
    lines.emplace_back(line);
  return lines;
}

// Brakes released (the cylinder empties in about 17 s) and the train running at 60 km/h twenty
// seconds after the start, the dead-man timer off.
const std::string kRunAt60 =
    "0 start\n"
    "0.5 set deadman_off 1\n"
    "1 set brake_handle 0\n"
    "1 set brake_change_pending 1\n"
    "1 set sap_change_pending 1\n"
    "20 set speed 60\n";

struct SignalRun {
  std::vector<CsvRow> trace;
  std::vector<CsvRow> events;

  double value(std::size_t row, const std::string& column) const {
    return std::stod(trace.at(row).at(column));
  }
  // The first trace row from `from` on whose `column` reads `text`; trace.size() when none.
  std::size_t first(const std::string& column, const std::string& text,
                    std::size_t from = 0) const {
    for (std::size_t i = from; i < trace.size(); ++i) {
      if (trace[i].at(column) == text) return i;
    }
    return trace.size();
  }
  // The trace row of the tick at or after the event's fast step.
  std::size_t rowOf(const CsvRow& event) const {
    const int step = std::stoi(event.at("fast_tick_count"));
    for (std::size_t i = 0; i < trace.size(); ++i) {
      if (std::stoi(trace[i].at("fast_tick_count")) >= step) return i;
    }
    return trace.size();
  }
  std::vector<std::size_t> eventRows(const std::string& kind, int channel) const {
    std::vector<std::size_t> rows;
    for (const CsvRow& e : events) {
      if (e.at("kind") == kind && std::stoi(e.at("channel")) == channel) rows.push_back(rowOf(e));
    }
    return rows;
  }
};

// Drives `train` (a scenario train; with `atsType` set, a copy of it with that [ATS_Type]) on
// the route for `seconds` with the train protection switched on.
SignalRun driveOn(const std::vector<std::string>& routeLines, const std::string& script,
                  double seconds, const std::string& train = "electric_bt1.dat", int atsType = -1) {
  velimoro::testing::TempDir dir;
  const std::string scenarios = std::string(VELIMORO_SOURCE_DIR) + "/tests/scenarios";
  for (const auto& entry : fs::directory_iterator(scenarios)) {
    fs::copy(entry.path(), dir.file(entry.path().filename().string()));
  }
  std::string trainFile = train;
  if (atsType >= 0) {
    std::ifstream in(dir.file(train), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string key = "[ATS_Type]\r\n0\r\n";
    const auto at = text.find(key);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) {
      text.replace(at, key.size(), "[ATS_Type]\r\n" + std::to_string(atsType) + "\r\n");
    }
    trainFile = "ats" + std::to_string(atsType) + "_" + train;
    dir.writeBytes(trainFile, text);
  }
  dir.writeCp932("line_signal.dat", velimoro::testing::crlfLines(routeLines));
  Options o;
  o.root = dir.path();
  o.route = "line_signal.dat";
  o.train = trainFile;
  o.seconds = seconds;
  o.script = dir.writeBytes("script.txt", script);
  o.trace = dir.file("trace.csv");
  o.events = dir.file("events.csv");
  o.settings.ats = 0;
  std::ostringstream out, err;
  EXPECT_EQ(runDrive(o, out, err), 0) << err.str();
  return {velimoro::testing::readCsvFile(o.trace), velimoro::testing::readCsvFile(o.events)};
}

// The scenario train's sounds: 1 EB, 3 the ATS alarm, 4 the chime, 5 the ATC bell.
constexpr int kEbSound = 1;
constexpr int kAlarmSound = 3;
constexpr int kChimeSound = 4;
constexpr int kAtcSound = 5;

TEST(SignalsScenario, AnUnansweredAlarmAtARedSignalBrakesAfterAtsTimeAndResetsAtRest) {
  // A red signal (fixed state 0) whose alarm beacon is at frame 200 and its own frame at 800.
  const SignalRun run = driveOn(route({}, {"[Signal]", "2,0,0,2,100,800,200,800,0,0,0,0", "#"}),
                                kRunAt60 + "60 key /\n65 key r\n", 70);
  const std::size_t alarm = run.first("ats_warning", "1");
  ASSERT_LT(alarm, run.trace.size());
  EXPECT_GE(run.value(alarm, "frame"), 201);
  EXPECT_LE(run.value(alarm, "frame"), 209);
  EXPECT_LT(run.value(alarm - 1, "frame"), 201);
  EXPECT_EQ(run.value(alarm, "signal_aspect"), 6);
  const auto alarmLoops = run.eventRows("play_loop", kAlarmSound);
  ASSERT_FALSE(alarmLoops.empty());
  EXPECT_EQ(alarmLoops.front(), alarm);
  // [ATS_Time] 5: the emergency brake 50 ticks later, with its sound.
  const std::size_t eb = run.first("ats_eb", "1");
  ASSERT_LT(eb, run.trace.size());
  EXPECT_EQ(eb - alarm, 50u);
  const auto ebSounds = run.eventRows("play_once", kEbSound);
  ASSERT_FALSE(ebSounds.empty());
  EXPECT_EQ(ebSounds.front(), eb);
  // Stopped before the signal, at EB, "r" resets the protection.
  const std::size_t reset = run.first("ats_eb", "0", eb);
  ASSERT_LT(reset, run.trace.size());
  EXPECT_NEAR(std::stod(run.trace[reset].at("tick_count")) / 10, 65, 0.15);
  EXPECT_EQ(run.value(reset, "speed"), 0);
  EXPECT_LT(run.value(reset, "frame"), 800);
  EXPECT_EQ(run.trace[reset].at("ats_warning"), "0");
  EXPECT_EQ(run.trace[reset].at("ats_timer"), "0");
}

TEST(SignalsScenario, ConfirmationStopsTheAlarmAndTheStopBeaconBrakesAtOnce) {
  // The alarm beacon at frame 200, the signal at 400; the driver brakes, acknowledges and
  // releases again before the signal.
  const SignalRun run = driveOn(route({}, {"[Signal]", "2,0,0,2,100,400,200,400,0,0,0,0", "#"}),
                                kRunAt60 +
                                    "27.5 set brake_handle -2\n"
                                    "27.5 set brake_change_pending 1\n"
                                    "27.5 set sap_change_pending 1\n"
                                    "28 key space\n"
                                    "29 set brake_handle 0\n"
                                    "29 set brake_change_pending 1\n"
                                    "29 set sap_change_pending 1\n",
                                60);
  const std::size_t alarm = run.first("ats_warning", "1");
  ASSERT_LT(alarm, run.trace.size());
  EXPECT_LT(std::stod(run.trace[alarm].at("tick_count")), 275);
  const std::size_t answered = run.first("ats_warning", "0", alarm);
  ASSERT_LT(answered, run.trace.size());
  EXPECT_NEAR(std::stod(run.trace[answered].at("tick_count")) / 10, 28, 0.15);
  const auto chimes = run.eventRows("play_once", kChimeSound);
  ASSERT_FALSE(chimes.empty());
  EXPECT_EQ(chimes.front(), answered);
  const auto alarmStops = run.eventRows("stop", kAlarmSound);
  ASSERT_FALSE(alarmStops.empty());
  EXPECT_EQ(alarmStops.back(), answered);
  // No brake until the signal; then at once, on the first tick past it.
  const std::size_t eb = run.first("ats_eb", "1");
  ASSERT_LT(eb, run.trace.size());
  EXPECT_GE(run.value(eb, "frame"), 401);
  EXPECT_LE(run.value(eb, "frame"), 419);
  EXPECT_LT(run.value(eb - 1, "frame"), 401);
  EXPECT_EQ(run.trace[eb].at("ats_state"), "999");  // the stop check acted and is over
  EXPECT_GT(run.value(eb, "speed"), 20);
}

TEST(SignalsScenario, AtsPatternBrakesOnTheCurveToFifteenMetresBeforeTheSignal) {
  // A red signal at frame 1000 (1000 m) on an ATS-P train whose brake, released since the start,
  // works at its service rate of 4.0 km/h/s (4.5 only in EB at the start).
  const SignalRun run = driveOn(route({}, {"[Signal]", "2,0,0,2,500,1000,0,1000,0,0,0,0", "#"}),
                                kRunAt60, 90, "electric_bt1.dat", 1);
  const std::size_t braking = run.first("atsp_state", "2");
  ASSERT_LT(braking, run.trace.size());
  EXPECT_EQ(run.trace[braking].at("ats_pattern_brake"), "1");
  const auto pattern = [&](std::size_t row) {
    const double metres = (100000 - run.value(row, "position_cm") - 1500) / 100;
    return std::nearbyint(std::sqrt(5.76 * 4.0 * metres));
  };
  EXPECT_LT(pattern(braking), run.value(braking, "speed"));
  EXPECT_GE(pattern(braking - 1), run.value(braking - 1, "speed"));
  for (std::size_t row = 0; row < braking; ++row)
    EXPECT_EQ(run.trace[row].at("atsp_state"), "0");
  // It holds: the state stays until a reset.
  EXPECT_EQ(run.trace.back().at("atsp_state"), "2");
  EXPECT_EQ(run.trace.back().at("speed").substr(0, 4), "0.00");
}

TEST(SignalsScenario, CabSignalCodeBrakesAboveItsSpeedAndReleasesBelowIt) {
  // A cab signal carrying code 24 ("[Speed_Signal]" entry 2: 45 km/h) over the whole run.
  const SignalRun run = driveOn(route({}, {"[Signal]", "2,4,0,6,50,5000,0,5000,0,0,0,24", "#"}),
                                kRunAt60, 60, "electric_bt1.dat", 2);
  EXPECT_EQ(run.trace.front().at("signal_aspect"), "24");
  ASSERT_FALSE(run.eventRows("play_once", kAtcSound).empty());
  EXPECT_EQ(run.eventRows("play_once", kAtcSound).front(), 0u);
  const std::size_t braking = run.first("ats_pattern_brake", "1");
  ASSERT_LT(braking, run.trace.size());
  EXPECT_GT(run.value(braking, "speed"), 44.6);
  const std::size_t released = run.first("ats_pattern_brake", "0", braking);
  ASSERT_LT(released, run.trace.size());
  EXPECT_LE(run.value(released, "speed"), 44.6);
  EXPECT_GT(run.value(released - 1, "speed"), 44.6);
  EXPECT_EQ(run.trace[released].at("ats_eb"), "0");
}

TEST(SignalsScenario, SignalsFollowThePrecedingTrain) {
  // The preceding train leaves frame 600 at 30 km/h; the train stands in view of signal 0,
  // whose block runs to 1000, the next ones to 1500, 2000 and 2500.
  const SignalRun run =
      driveOn(route({"[Pre_Train]", "600,0", "0,30,0", "#"},
                    {"[Signal]", "0,0,0,3,50,500,0,500,0,0,0,0", "0,0,0,3,600,1000,0,1000,0,0,0,0",
                     "0,0,0,3,1100,1500,0,1500,0,0,0,0", "0,0,0,3,1600,2000,0,2000,0,0,0,0",
                     "0,0,0,3,2100,2500,0,2500,0,0,0,0", "#"}),
              "0 start\n", 240);
  ASSERT_GT(std::stoi(run.trace.back().at("pre_train_frame")), 2600);
  std::set<int> seen;
  for (std::size_t row = 0; row < run.trace.size(); ++row) {
    const int preTrain = std::stoi(run.trace[row].at("pre_train_frame"));
    // Blocks clear: 0 stop (9), 1 or 2 caution (10), 3 reduced speed (11), 4 clear (12).
    const int expected = preTrain < 1000 ? 9 : preTrain < 2000 ? 10 : preTrain < 2500 ? 11 : 12;
    EXPECT_EQ(std::stoi(run.trace[row].at("signal_aspect")), expected) << "pre-train " << preTrain;
    seen.insert(expected);
  }
  EXPECT_EQ(seen, (std::set<int>{9, 10, 11, 12}));
}

TEST(SignalsScenario, RoadTrafficSignalPhasesAndTexts) {
  // 42 m ahead of the standing train: phases of 5, 3 and 2 s, the first letting the train pass;
  // the detector between frames 50 and 142 answers while the train is beyond its midpoint.
  const SignalRun run =
      driveOn(route({}, {"[TrafficSignal]",
                         "142,50,300,0,50,1,1,30,0,2,20,0,0,0,0,0,0,0,0,0,0,50,200,0,1,1", "#"}),
              "0 start\n", 30);
  ASSERT_GE(run.trace.size(), 300u);
  for (std::size_t row = 0; row < 300; ++row) {
    const int tick = std::stoi(run.trace[row].at("tick_count"));
    const bool stopPhase = (tick - 1) % 100 < 50;
    EXPECT_EQ(run.trace[row].at("traffic_stop_text"), stopPhase ? "信号停止 42m" : "")
        << "tick " << tick;
    EXPECT_EQ(run.trace[row].at("traffic_detect_text"), "トロコン反応") << "tick " << tick;
  }
}

}  // namespace
}  // namespace velimoro::headless
