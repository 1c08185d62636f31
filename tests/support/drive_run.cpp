#include "support/drive_run.h"

#include <sstream>

#include "support/test_support.h"

namespace velimoro::testing {

int fastTickOf(const CsvRow& row) {
  return std::stoi(row.at("fast_tick_count"));
}

const CsvRow& DriveRun::at(double seconds) const {
  return trace.at(static_cast<std::size_t>(seconds * 10 + 0.5) - 1);
}

const CsvRow* DriveRun::rowAtOrAfter(int fastTick) const {
  for (const CsvRow& row : trace) {
    if (fastTickOf(row) >= fastTick) return &row;
  }
  return nullptr;
}

const CsvRow* DriveRun::firstRow(const std::string& column, const std::string& text,
                                 int fromTick) const {
  for (const CsvRow& row : trace) {
    if (fastTickOf(row) >= fromTick && row.at(column) == text) return &row;
  }
  return nullptr;
}

std::vector<int> DriveRun::eventTicks(const std::string& kind, int channel) const {
  std::vector<int> ticks;
  for (const CsvRow& e : events) {
    if (e.at("kind") == kind && std::stoi(e.at("channel")) == channel)
      ticks.push_back(fastTickOf(e));
  }
  return ticks;
}

headless::Options driveOptions(const std::string& root, const std::string& route,
                               const std::string& train, std::optional<double> seconds) {
  headless::Options o;
  o.root = root;
  o.route = route;
  o.train = train;
  o.seconds = seconds;
  return o;
}

DriveRun runHeadlessDrive(headless::Options options, const std::string& script) {
  TempDir dir;
  options.script = dir.writeBytes("script.txt", script);
  options.trace = dir.file("trace.csv");
  options.events = dir.file("events.csv");
  std::ostringstream out, err;
  DriveRun run;
  run.status = headless::runDrive(options, out, err);
  run.out = out.str();
  run.err = err.str();
  run.trace = readCsvFile(options.trace);
  run.events = readCsvFile(options.events);
  return run;
}

}  // namespace velimoro::testing
