// Golden drives: whole drives of the demo installation whose traces are kept, one row a second,
// in tests/golden. A change that alters how a train drives shows here as the fields and ticks
// it changed; after an intended change, scripts/update-golden writes the traces again and the
// diff of tests/golden shows what changed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/csv_table.h"
#include "support/demo_root.h"
#include "support/test_support.h"
#include "tools/content/generator.h"
#include "tools/drive/headless.h"

namespace velimoro {
namespace {

using testing::sameCell;

const std::string kGolden = VELIMORO_SOURCE_DIR "/tests/golden/";

struct GoldenDrive {
  const char* name;  // tests/golden/NAME.txt is the script, NAME.csv the trace
  const char* train;
  const char* route;
  int start;
  double seconds;
};

constexpr GoldenDrive kDrives[] = {
    {"electric_local", "train_QT600.dat", "line_up1_local.dat", 1, 300},
    {"diesel_mountain", "train_QT500.dat", "line_up2.dat", 1, 330},
    {"electric_protection", "train_QT600.dat", "line_up3.dat", 1, 300},
};

// Copies the header and every tenth tick of a trace: a row a second.
void keepSeconds(const std::string& trace, const std::string& kept) {
  std::ifstream in(trace);
  std::ofstream out(kept);
  std::string line;
  for (int n = 0; std::getline(in, line); ++n) {
    if (n % 10 == 0) out << line << '\n';
  }
}

class Golden : public ::testing::TestWithParam<GoldenDrive> {};

TEST_P(Golden, TheDriveRunsAsItsKeptTrace) {
  const GoldenDrive& golden = GetParam();
  testing::TempDir work;
  headless::Options o;
  o.root = testing::demoRoot();
  o.train = golden.train;
  o.route = golden.route;
  o.start = golden.start;
  o.seconds = golden.seconds;
  o.settings.ats = 0;
  o.script = kGolden + golden.name + ".txt";
  o.trace = work.file("trace.csv");
  std::ostringstream out, err;
  ASSERT_EQ(headless::runDrive(o, out, err), 0) << err.str();
  const std::string expectedPath = kGolden + golden.name + ".csv";
  if (std::getenv("VELIMORO_UPDATE_GOLDEN") != nullptr) {
    keepSeconds(o.trace, expectedPath);
    GTEST_SKIP() << "trace written to " << expectedPath;
  }
  keepSeconds(o.trace, work.file("seconds.csv"));
  const auto expected = testing::readCsvFile(expectedPath);
  const auto actual = testing::readCsvFile(work.file("seconds.csv"));
  ASSERT_FALSE(expected.empty()) << "no kept trace " << expectedPath;
  ASSERT_EQ(actual.size(), expected.size()) << "rows of " << golden.name;
  int faults = 0;
  for (std::size_t i = 0; i < expected.size() && faults < 10; ++i) {
    for (const auto& [column, value] : expected[i]) {
      const auto found = actual[i].find(column);
      const std::string shown = found == actual[i].end() ? "(no column)" : found->second;
      if (!sameCell(value, shown)) {
        ADD_FAILURE() << golden.name << " tick " << expected[i].at("tick_count") << " " << column
                      << ": kept " << value << ", now " << shown;
        if (++faults == 10) break;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Drives, Golden, ::testing::ValuesIn(kDrives),
                         [](const auto& drive) { return std::string(drive.param.name); });

}  // namespace
}  // namespace velimoro
