// A train put down elsewhere, by the Move menu or a restored save slot, runs on as a run started
// there: at every station of every demo route, with both demo trains, a drive that has been
// running elsewhere (moving, braking, announcing, under protection) is jumped to the station, and
// later restored from a slot saved there, and each then drives a minute on a fixed script. A drive
// that does the same with nothing behind it, right after its start, is the reference: the two
// must leave the same trace and the same sounds and call-outs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "support/demo_root.h"
#include "support/drive_run.h"

namespace velimoro {
namespace {

using testing::CsvRow;
using testing::DriveRun;
using testing::runHeadlessDrive;
using testing::sameCell;

// Drive times are multiples of 3.3 s, where a fast step and a tick fall due together: from each
// the steps run in the same order as from the start.
constexpr double kFreshAt = 3.3;
constexpr double kJumpAt = 33;
constexpr double kLoadAt = 132;
constexpr double kDriveOn = 60;

// Script lines by their drive time; written out in time order, lines of one time in the order
// they were added.
struct Script {
  std::vector<std::pair<double, std::string>> lines;

  Script& at(double t, const std::string& command) {
    lines.emplace_back(t, command);
    return *this;
  }
  // A minute of driving from a stand from `t` on (the lines before `end`), the same for both
  // trains: off the brake, four steps of power, the call-out key, coast, the ATS
  // acknowledgement, three steps of brake, off again and power once more.
  Script& driveOn(double t, double end = 1e9) {
    const auto line = [&](double after, const char* command) {
      if (t + after < end) at(t + after, command);
    };
    line(0.5, "key 5");
    for (double step : {2.0, 2.3, 2.6, 2.9})
      line(step, "key 8");
    line(12, "vkey Enter");
    line(25, "key 5");
    line(30, "key space");
    for (double step : {35.0, 35.5, 36.0})
      line(step, "key 2");
    line(50, "key 5");
    line(55, "key 8");
    line(55.5, "key 8");
    return *this;
  }
  std::string text() const {
    auto sorted = lines;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::ostringstream out;
    for (const auto& [t, command] : sorted)
      out << t << ' ' << command << '\n';
    return out.str();
  }
};

// The trace rows from `at` on, as many as `reference` has, and the events after the move at
// `at`, each without the step counter the drive keeps.
struct Segment {
  std::vector<CsvRow> rows;
  std::vector<std::string> events;
};

Segment segmentOf(const DriveRun& run, double at, std::size_t rows, int move) {
  Segment segment;
  // The row of the tick at `at`, the first after the move.
  const auto first = static_cast<std::size_t>(std::lround(at * 10)) - 1;
  for (std::size_t i = first; i < first + rows && i < run.trace.size(); ++i) {
    CsvRow row = run.trace[i];
    row.erase("tick_count");
    segment.rows.push_back(row);
  }
  if (segment.rows.empty()) return segment;
  // The events from the move on, up to the next one or the end of the rows.
  int moves = 0;
  for (const CsvRow& e : run.events) {
    if (e.at("kind") == "move" && ++moves > move) break;
    if (moves == move && testing::fastTickOf(e) <= testing::fastTickOf(segment.rows.back())) {
      segment.events.push_back(e.at("fast_tick_count") + " " + e.at("kind") + " " +
                               e.at("channel") + " " + e.at("detail"));
    }
  }
  return segment;
}

// The first cells and events where `moved` differs from `fresh`, described for the failure.
std::string differences(const Segment& fresh, const Segment& moved) {
  std::ostringstream out;
  int faults = 0;
  if (moved.rows.size() != fresh.rows.size()) out << " rows " << moved.rows.size() << "\n";
  for (std::size_t i = 0; i < std::min(fresh.rows.size(), moved.rows.size()) && faults < 6; ++i) {
    for (const auto& [column, value] : fresh.rows[i]) {
      const std::string& shown = moved.rows[i].at(column);
      if (!sameCell(value, shown) && faults++ < 6) {
        out << "  "
            << "+" << static_cast<double>(i) / 10 << " s " << column << ": fresh " << value
            << ", moved " << shown << "\n";
      }
    }
  }
  if (moved.events != fresh.events) {
    std::size_t i = 0;
    while (i < fresh.events.size() && i < moved.events.size() && fresh.events[i] == moved.events[i])
      ++i;
    out << "  event " << i << ": fresh \"" << (i < fresh.events.size() ? fresh.events[i] : "(none)")
        << "\", moved \"" << (i < moved.events.size() ? moved.events[i] : "(none)") << "\"\n";
  }
  return out.str();
}

struct Case {
  const char* route;
  // Per station, what meets a jump there at once: 'd' for a stop the conductor announces, whose
  // doors hold the train until the departure announcement, 'a' for a stop without doors, whose
  // arrival is announced, '-' for a passing point or a one-man stop, whose driver opens the
  // doors first.
  const char* announced;
};

constexpr Case kRoutes[] = {
    {"line_up1_local.dat", "dddddd"}, {"line_up1_rapid.dat", "d-d--d"}, {"line_up2.dat", "--a--"},
    {"line_up3.dat", "d-dd"},         {"line_in.dat", "aaa"},           {"line_out.dat", "aad"},
};

// The demo's announcements: each stop's own arrival announcement, and the departure melody.
bool announcesArrival(const std::string& event) {
  return event.find(" play_once ") != std::string::npos && event.ends_with("_arrive.wav");
}

bool announcesDeparture(const std::string& event) {
  return event.find(" play_once ") != std::string::npos && event.ends_with(" melody.wav");
}

TEST(DriveOn, AJumpOrARestoreRunsOnAsAFreshDriveFromThere) {
  static testing::TempDir config;  // the store finds its folder once per process
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  const std::size_t rows = static_cast<std::size_t>(kDriveOn * 10);
  for (const char* train : {"train_QT600.dat", "train_QT500.dat"}) {
    for (const Case& c : kRoutes) {
      headless::Options options = testing::driveOptions(testing::demoRoot(), c.route, train);
      options.settings.ats = 0;  // the protection acts
      const int stations = static_cast<int>(std::string_view(c.announced).size());
      for (int station = 0; station < stations; ++station) {
        const std::string where =
            std::string(train) + " " + c.route + " station " + std::to_string(station);
        const int other = (station + 1) % stations;
        // The reference jump saves the place half a minute on, running.
        const std::string to = "jump " + std::to_string(station);
        options.seconds = kFreshAt + kDriveOn;
        const DriveRun jumped = runHeadlessDrive(options, Script()
                                                              .at(0, "start")
                                                              .at(kFreshAt, to)
                                                              .driveOn(kFreshAt)
                                                              .at(kFreshAt + 30, "save 1")
                                                              .text());
        ASSERT_EQ(jumped.status, 0) << where << jumped.err;
        const DriveRun restored = runHeadlessDrive(
            options, Script().at(0, "start").at(kFreshAt, "load 1").driveOn(kFreshAt).text());
        // Elsewhere first: jumped to another station, driven half a minute there with constant
        // speed asked for; then jumped to the station, and after a minute there brought to a stand
        // on the emergency brake before the slot is restored.
        options.seconds = kLoadAt + kDriveOn;
        Script elsewhere;
        elsewhere.at(0, "start").at(0, "jump " + std::to_string(other)).driveOn(0, kJumpAt);
        elsewhere.at(20, "key t");
        elsewhere.at(kJumpAt, to).driveOn(kJumpAt, kLoadAt).at(kJumpAt + 30, "save 1");
        elsewhere.at(kJumpAt + kDriveOn, "key 0").at(kLoadAt, "load 1").driveOn(kLoadAt);
        const DriveRun moved = runHeadlessDrive(options, elsewhere.text());
        ASSERT_EQ(moved.status, 0) << where << moved.err;
        ASSERT_EQ(moved.number(kLoadAt - 0.1, "speed"), 0) << where;

        const Segment freshJump = segmentOf(jumped, kFreshAt, rows, 1);
        EXPECT_EQ(differences(freshJump, segmentOf(moved, kJumpAt, rows, 2)), "")
            << where << ": jump";
        // The stop's arrival announcement starts at the first tick, the departure announcement
        // before the departure time.
        const int first = testing::fastTickOf(freshJump.rows.front());
        const auto& events = freshJump.events;
        if (c.announced[station] != '-') {
          const auto arrival = std::find_if(events.begin(), events.end(), announcesArrival);
          ASSERT_NE(arrival, events.end()) << where;
          EXPECT_LE(std::stoi(*arrival), first) << where << ": " << *arrival;
        }
        if (c.announced[station] == 'd') {
          const auto departure = std::find_if(events.begin(), events.end(), announcesDeparture);
          ASSERT_NE(departure, events.end()) << where;
          EXPECT_LE(std::stoi(*departure), first + 20 * 30) << where << ": " << *departure;
        }
        const Segment freshLoad = segmentOf(restored, kFreshAt, rows, 1);
        EXPECT_EQ(differences(freshLoad, segmentOf(moved, kLoadAt, rows, 3)), "")
            << where << ": restore";
        // Saved moving, the train runs on from the stand it was restored at: the released brake
        // holds no pressure. (Beyond the last station the line ends and stops it.)
        const double saved = jumped.number(kFreshAt + 30, "speed");
        if (saved > 5 && station < stations - 1) {
          EXPECT_GT(moved.number(kLoadAt + 3, "speed"), saved - 3) << where;
          EXPECT_EQ(moved.number(kLoadAt + 0.1, "bc"), 0) << where;
        }
      }
    }
  }
}

}  // namespace
}  // namespace velimoro
