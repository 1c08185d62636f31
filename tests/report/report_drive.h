#pragma once

#include <string>
#include <vector>

#include "cab/report.h"
#include "support/demo_root.h"

namespace velimoro::testing {

/// What the trace of a drive shows at one tick: the oracle the report is checked against.
struct TraceRow {
  int tick = 0;
  long double cm = 0;
  long double speed = 0;
  bool atsWarning = false;
  bool atsEb = false;
};

/// A golden drive of the demo installation, run with the report collector beside a trace.
struct ReportedDrive {
  RunReport report;
  std::vector<TraceRow> trace;
  std::vector<int> departTimes;  // the route's departure times by station
  // Every text the drive showed: its messages and status lines, and, each tick, the cab
  // screen's texts and the driver-aid lines.
  std::vector<std::string> shown;
  // The texts the data files gave: the station and line names, which the report shows too, and
  // the handle and station words of "dorvanel.dat" and the power modes, which only the cab does.
  std::vector<std::string> names;
  std::vector<std::string> cabWords;
};

/// Runs tests/golden/NAME.txt with `train` on `route` from station 1 for `seconds`, as the golden
/// drives run, then the script lines `more` (at or after the golden script's last time).
ReportedDrive runReportedDrive(const std::string& name, const std::string& train,
                               const std::string& route, double seconds,
                               const std::string& more = "");

}  // namespace velimoro::testing
