// A drive typed into the cab window and recorded replays in the headless driver to the same
// trace, row for row: the window and the replay run one session on one scheduler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/csv_table.h"
#include "support/test_support.h"
#include "tools/content/generator.h"
#include "tools/drive/headless.h"

namespace velimoro {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Recording, ADriveTypedIntoTheWindowReplaysHeadlessToTheSameTrace) {
  testing::TempDir dir;
  std::ostringstream progress;
  content::generateDemo(dir.path(), progress);
  // The one-man railcar: reverser forward, doors closed with "d", the brake released notch by
  // notch while the brake pipe charges, then power; keys every 250 ms.
  const std::string drive =
      " --root " + dir.path() + " --train train_QT600.dat --route line_up2.dat --start 0";
  const std::string window = "ALSOFT_DRIVERS=null QT_QPA_PLATFORM=offscreen " VELIMORO_WINDOW_EXE +
                             drive + " --seconds 5 --keys fd,,,,,,,,,zzzz --record " +
                             dir.file("drive.txt") + " --trace " + dir.file("window.csv") +
                             " 2>/dev/null";
  ASSERT_EQ(std::system(window.c_str()), 0);

  headless::Options replay;
  replay.root = dir.path();
  replay.train = "train_QT600.dat";
  replay.route = "line_up2.dat";
  replay.script = dir.file("drive.txt");
  replay.trace = dir.file("replay.csv");
  std::ostringstream out, err;
  ASSERT_EQ(headless::runDrive(replay, out, err), 0) << err.str();

  const auto trace = testing::readCsvFile(replay.trace);
  ASSERT_GT(trace.size(), 40u);
  EXPECT_EQ(trace.back().at("power_notch"), "4");
  EXPECT_EQ(trace.back().at("doors_open"), "0");
  EXPECT_EQ(readAll(dir.file("window.csv")), readAll(replay.trace));
}

}  // namespace
}  // namespace velimoro
