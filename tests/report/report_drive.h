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
};

/// Runs tests/golden/NAME.txt with `train` on `route` from station 1 for `seconds`, as the golden
/// drives run.
ReportedDrive runReportedDrive(const std::string& name, const std::string& train,
                               const std::string& route, double seconds);

}  // namespace velimoro::testing
