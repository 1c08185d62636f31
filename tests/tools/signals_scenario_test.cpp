// Signals and train protection through the headless driver: routes written into a temporary
// data root beside the scenario trains, checked on the trace and the events.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "sim/driver_aids.h"
#include "support/drive_run.h"
#include "support/test_support.h"

namespace velimoro::headless {
namespace {

using velimoro::testing::CsvRow;
using velimoro::testing::DriveRun;
using velimoro::testing::fastTickOf;
using velimoro::testing::number;

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

// The trace row before `row`.
const CsvRow& rowBefore(const DriveRun& run, const CsvRow* row) {
  return run.trace.at(static_cast<std::size_t>(row - run.trace.data()) - 1);
}

// The trace row of the tick that shows the first event of `kind` on `channel`, or nullptr.
const CsvRow* firstEventRow(const DriveRun& run, const std::string& kind, int channel) {
  const std::vector<int> ticks = run.eventTicks(kind, channel);
  return ticks.empty() ? nullptr : run.rowAtOrAfter(ticks.front());
}

// Drives `train` (a scenario train; with `atsType` set, a copy of it with that [ATS_Type]) on
// the route for `seconds` with the train protection switched on.
DriveRun driveOn(const std::vector<std::string>& routeLines, const std::string& script,
                 double seconds, const std::string& train = "electric_bt1.dat", int atsType = -1) {
  velimoro::testing::TempDir dir;
  std::filesystem::copy(velimoro::testing::kScenarioRoot, dir.path());
  std::string trainFile = train;
  if (atsType >= 0) {
    std::string text = velimoro::testing::readFile(dir.file(train));
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
  Options o = velimoro::testing::driveOptions(dir.path(), "line_signal.dat", trainFile, seconds);
  o.settings.ats = 0;
  DriveRun run = velimoro::testing::runHeadlessDrive(o, script);
  EXPECT_EQ(run.status, 0) << run.err;
  return run;
}

// The scenario train's sounds: 1 EB, 3 the ATS alarm, 4 the chime, 5 the ATC bell.
constexpr int kEbSound = 1;
constexpr int kAlarmSound = 3;
constexpr int kChimeSound = 4;
constexpr int kAtcSound = 5;

TEST(SignalsScenario, AnUnansweredAlarmAtARedSignalBrakesAfterAtsTimeAndResetsAtRest) {
  // A red signal (fixed state 0) whose alarm beacon is at frame 200 and its own frame at 800.
  const DriveRun run = driveOn(route({}, {"[Signal]", "2,0,0,2,100,800,200,800,0,0,0,0", "#"}),
                               kRunAt60 + "60 key /\n65 key r\n", 70);
  const CsvRow* alarm = run.firstRow("ats_warning", "1");
  ASSERT_NE(alarm, nullptr);
  EXPECT_GE(number(*alarm, "frame"), 201);
  EXPECT_LE(number(*alarm, "frame"), 209);
  EXPECT_LT(number(rowBefore(run, alarm), "frame"), 201);
  EXPECT_EQ(number(*alarm, "signal_aspect"), 6);
  ASSERT_FALSE(run.eventTicks("play_loop", kAlarmSound).empty());
  EXPECT_EQ(firstEventRow(run, "play_loop", kAlarmSound), alarm);
  // [ATS_Time] 5: the emergency brake 50 ticks later, with its sound.
  const CsvRow* eb = run.firstRow("ats_eb", "1");
  ASSERT_NE(eb, nullptr);
  EXPECT_EQ(eb - alarm, 50);
  ASSERT_FALSE(run.eventTicks("play_once", kEbSound).empty());
  EXPECT_EQ(firstEventRow(run, "play_once", kEbSound), eb);
  // Stopped before the signal, at EB, "r" resets the protection.
  const CsvRow* reset = run.firstRow("ats_eb", "0", fastTickOf(*eb));
  ASSERT_NE(reset, nullptr);
  EXPECT_NEAR(number(*reset, "tick_count") / 10, 65, 0.15);
  EXPECT_EQ(number(*reset, "speed"), 0);
  EXPECT_LT(number(*reset, "frame"), 800);
  EXPECT_EQ(reset->at("ats_warning"), "0");
  EXPECT_EQ(reset->at("ats_timer"), "0");
}

TEST(SignalsScenario, ConfirmationStopsTheAlarmAndTheStopBeaconBrakesAtOnce) {
  // The alarm beacon at frame 200, the signal at 400; the driver brakes, acknowledges and
  // releases again before the signal.
  const DriveRun run = driveOn(route({}, {"[Signal]", "2,0,0,2,100,400,200,400,0,0,0,0", "#"}),
                               kRunAt60 +
                                   "27.5 set brake_handle -2\n"
                                   "27.5 set brake_change_pending 1\n"
                                   "27.5 set sap_change_pending 1\n"
                                   "28 key space\n"
                                   "29 set brake_handle 0\n"
                                   "29 set brake_change_pending 1\n"
                                   "29 set sap_change_pending 1\n",
                               60);
  const CsvRow* alarm = run.firstRow("ats_warning", "1");
  ASSERT_NE(alarm, nullptr);
  EXPECT_LT(number(*alarm, "tick_count"), 275);
  const CsvRow* answered = run.firstRow("ats_warning", "0", fastTickOf(*alarm));
  ASSERT_NE(answered, nullptr);
  EXPECT_NEAR(number(*answered, "tick_count") / 10, 28, 0.15);
  ASSERT_FALSE(run.eventTicks("play_once", kChimeSound).empty());
  EXPECT_EQ(firstEventRow(run, "play_once", kChimeSound), answered);
  const std::vector<int> alarmStops = run.eventTicks("stop", kAlarmSound);
  ASSERT_FALSE(alarmStops.empty());
  EXPECT_EQ(run.rowAtOrAfter(alarmStops.back()), answered);
  // No brake until the signal; then at once, on the first tick past it.
  const CsvRow* eb = run.firstRow("ats_eb", "1");
  ASSERT_NE(eb, nullptr);
  EXPECT_GE(number(*eb, "frame"), 401);
  EXPECT_LE(number(*eb, "frame"), 419);
  EXPECT_LT(number(rowBefore(run, eb), "frame"), 401);
  EXPECT_EQ(eb->at("ats_state"), "999");  // the stop check acted and is over
  EXPECT_GT(number(*eb, "speed"), 20);
}

TEST(SignalsScenario, AtsPatternBrakesOnTheCurveToFifteenMetresBeforeTheSignal) {
  // A red signal at frame 1000 (1000 m) on an ATS-P train whose brake, released since the start,
  // works at its service rate of 4.0 km/h/s (4.5 only in EB at the start).
  const DriveRun run = driveOn(route({}, {"[Signal]", "2,0,0,2,500,1000,0,1000,0,0,0,0", "#"}),
                               kRunAt60, 90, "electric_bt1.dat", 1);
  const CsvRow* braking = run.firstRow("atsp_state", "2");
  ASSERT_NE(braking, nullptr);
  EXPECT_EQ(braking->at("ats_pattern_brake"), "1");
  const auto pattern = [](const CsvRow& row) {
    const double metres = (100000 - number(row, "position_cm") - 1500) / 100;
    return std::nearbyint(std::sqrt(5.76 * 4.0 * metres));
  };
  EXPECT_LT(pattern(*braking), number(*braking, "speed"));
  const CsvRow& before = rowBefore(run, braking);
  EXPECT_GE(pattern(before), number(before, "speed"));
  for (const CsvRow* row = run.trace.data(); row != braking; ++row)
    EXPECT_EQ(row->at("atsp_state"), "0");
  // It holds: the state stays until a reset.
  EXPECT_EQ(run.trace.back().at("atsp_state"), "2");
  EXPECT_EQ(run.trace.back().at("speed").substr(0, 4), "0.00");
}

TEST(SignalsScenario, CabSignalCodeBrakesAboveItsSpeedAndReleasesBelowIt) {
  // A cab signal carrying code 24 ("[Speed_Signal]" entry 2: 45 km/h) over the whole run.
  const DriveRun run = driveOn(route({}, {"[Signal]", "2,4,0,6,50,5000,0,5000,0,0,0,24", "#"}),
                               kRunAt60, 60, "electric_bt1.dat", 2);
  EXPECT_EQ(run.trace.front().at("signal_aspect"), "24");
  ASSERT_FALSE(run.eventTicks("play_once", kAtcSound).empty());
  EXPECT_EQ(firstEventRow(run, "play_once", kAtcSound), &run.trace.front());
  const CsvRow* braking = run.firstRow("ats_pattern_brake", "1");
  ASSERT_NE(braking, nullptr);
  EXPECT_GT(number(*braking, "speed"), 44.6);
  const CsvRow* released = run.firstRow("ats_pattern_brake", "0", fastTickOf(*braking));
  ASSERT_NE(released, nullptr);
  EXPECT_LE(number(*released, "speed"), 44.6);
  EXPECT_GT(number(rowBefore(run, released), "speed"), 44.6);
  EXPECT_EQ(released->at("ats_eb"), "0");
}

// Each automatic brake, met in a whole drive: one "brake" event names its cause, the trace names
// it for as long as it holds, and after the driver's EB, a stand and "r" the train takes power
// and gains speed as a fresh start from a stand does.
struct BrakeCase {
  const char* name;
  int number;  // the trace's brake_cause
  std::vector<std::string> sections;
  int atsType;
  std::string provoke;
  double brakedBy;  // seconds: the driver's EB follows, the reset 20 s later
};

// The driver's reset at a stand in EB, then everything off and full power forward.
std::string resetAndPower(double at) {
  std::string script;
  for (const char* key : {"r", "f", "5", "z", "z", "z", "z", "z"})
    script += std::to_string(at) + " key " + key + "\n";
  return script;
}

TEST(SignalsScenario, EveryAutomaticBrakeIsNamedAndTheDriveGoesOnAfterItsReset) {
  const std::string noDeadMan = "0 start\n0.5 set deadman_off 1\n";
  // kRunAt60 with the dead-man timer on; no handle moves, so it counts from 20 s.
  std::string watched = kRunAt60;
  watched.erase(watched.find("0.5 set deadman_off 1\n"), 22);
  const std::vector<BrakeCase> cases = {
      {"vigilance", 1, {}, -1, watched, 90},
      // The alarm beacon at 200 m, unanswered for 5 s.
      {"ats_warning", 2, {"[Signal]", "2,0,0,2,100,800,200,800,0,0,0,0", "#"}, -1, kRunAt60, 35},
      // A red signal without an alarm beacon, run past.
      {"ats_stop", 3, {"[Signal]", "2,0,0,2,100,400,0,400,0,0,0,0", "#"}, -1, kRunAt60, 45},
      // A 30 km/h limit at 1000 m: the pattern to 25 km/h there. (At a red signal the pattern
      // would hold the train after the reset, as it should.)
      {"ats_pattern", 4, {"[SpeedLimit]", "30,0,1000,1000,2000", "#"}, 1, kRunAt60, 75},
      // 60 km/h over a 55 km/h check at 300 m.
      {"speed_check", 5, {"[SpeedCheck1]", "55,300", "#"}, -1, kRunAt60, 35},
      // Code 24 (45 km/h) over the whole run.
      {"cab_signal", 6, {"[Signal]", "2,4,0,6,50,5000,0,5000,0,0,0,24", "#"}, 2, kRunAt60, 30},
      // Forward on a 25 per mille climb with the brakes released.
      {"roll_back", 7, {"[Slope]", "25,0,100000", "#"}, -1, noDeadMan + "0.5 key f\n1 key 5\n", 50},
  };
  for (const BrakeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const double resetAt = c.brakedBy + 20;
    const auto lines = route({}, c.sections);
    const DriveRun run =
        driveOn(lines, c.provoke + std::to_string(c.brakedBy) + " key 0\n" + resetAndPower(resetAt),
                resetAt + 25, "electric_bt1.dat", c.atsType);
    const std::vector<int> brakes = run.eventTicks("brake", -1);
    ASSERT_EQ(brakes.size(), 1u);
    for (const CsvRow& e : run.events) {
      if (e.at("kind") == "brake") {
        EXPECT_EQ(e.at("detail"), c.name);
      }
    }
    const CsvRow* row = run.rowAtOrAfter(brakes[0]);
    ASSERT_NE(row, nullptr);
    EXPECT_LT(number(*row, "tick_count"), c.brakedBy * 10);
    const CsvRow* end = run.trace.data() + run.trace.size();
    for (; row != end && (row->at("ats_eb") == "1" || row->at("ats_pattern_brake") == "1"); ++row)
      EXPECT_EQ(number(*row, "brake_cause"), c.number) << number(*row, "tick_count");
    ASSERT_NE(row, end);
    // The overlay's text says what releases it: slowing down, or the reset.
    if (std::string(brakeCauseText(brakeCauseOf(c.number))).ends_with("減速で解除")) {
      EXPECT_LT(number(*row, "tick_count"), c.brakedBy * 10);
    } else {
      EXPECT_NEAR(number(*row, "tick_count"), resetAt * 10, 1);
    }
    // Released for good: the cause is gone, and once the cylinder has emptied full power gains
    // speed as on a fresh start from a stand (the pipe may refill sooner or later than there, and
    // the current's ramp meet the release at another step).
    for (const CsvRow* r = row; r != end; ++r)
      EXPECT_EQ(r->at("brake_cause"), "0") << number(*r, "tick_count");
    const DriveRun fresh =
        driveOn(lines, noDeadMan + resetAndPower(1), 26, "electric_bt1.dat", c.atsType);
    const auto gainIn5s = [](const DriveRun& d, const CsvRow* from) {
      const CsvRow* released = d.firstRow("bc", "0.0000", fastTickOf(*from));
      if (released == nullptr) return 0.0;
      const auto i = static_cast<std::size_t>(released - d.trace.data());
      return i + 50 < d.trace.size() ? number(d.trace[i + 50], "speed") - number(*released, "speed")
                                     : 0.0;
    };
    EXPECT_EQ(run.trace.back().at("power_notch"), "5");
    const double gain = gainIn5s(run, &run.at(resetAt));
    EXPECT_GT(gain, 5);
    EXPECT_NEAR(gain, gainIn5s(fresh, fresh.trace.data()), 1.5);
  }
}

TEST(SignalsScenario, SignalsFollowThePrecedingTrain) {
  // The preceding train leaves frame 600 at 30 km/h; the train stands in view of signal 0,
  // whose block runs to 1000, the next ones to 1500, 2000 and 2500.
  const DriveRun run =
      driveOn(route({"[Pre_Train]", "600,0", "0,30,0", "#"},
                    {"[Signal]", "0,0,0,3,50,500,0,500,0,0,0,0", "0,0,0,3,600,1000,0,1000,0,0,0,0",
                     "0,0,0,3,1100,1500,0,1500,0,0,0,0", "0,0,0,3,1600,2000,0,2000,0,0,0,0",
                     "0,0,0,3,2100,2500,0,2500,0,0,0,0", "#"}),
              "0 start\n", 240);
  ASSERT_GT(std::stoi(run.trace.back().at("pre_train_frame")), 2600);
  std::set<int> seen;
  for (const CsvRow& row : run.trace) {
    const int preTrain = std::stoi(row.at("pre_train_frame"));
    // Blocks clear: 0 stop (9), 1 or 2 caution (10), 3 reduced speed (11), 4 clear (12).
    const int expected = preTrain < 1000 ? 9 : preTrain < 2000 ? 10 : preTrain < 2500 ? 11 : 12;
    EXPECT_EQ(std::stoi(row.at("signal_aspect")), expected) << "pre-train " << preTrain;
    seen.insert(expected);
  }
  EXPECT_EQ(seen, (std::set<int>{9, 10, 11, 12}));
}

TEST(SignalsScenario, RoadTrafficSignalPhasesAndTexts) {
  // 42 m ahead of the standing train: phases of 5, 3 and 2 s, the first letting the train pass;
  // the detector between frames 50 and 142 answers while the train is beyond its midpoint.
  const DriveRun run =
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
