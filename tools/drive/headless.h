#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cab/drive.h"

namespace velimoro::headless {

/// The command line of the headless driver.
struct Options {
  std::string root;
  std::string route;
  std::string train;
  std::string trainFolder;
  int start = 0;
  int startFrame = -1;  // >= 0: start standing at this frame instead
  std::string script;
  std::optional<double> seconds;
  std::string trace;
  std::string events;
  std::string report;  // FILE.html or FILE.json
  DriveSettings settings;
};

/// Parses the arguments after the program name; throws std::runtime_error with the usage fault.
Options parseOptions(const std::vector<std::string>& args);

/// Runs one drive as the options say and prints its summary to `out`; faults go to `err`.
/// Returns the process exit status (1 for a data or script fault). After an end signal the
/// drive ends where it stands and what it wrote is kept.
int runDrive(const Options& options, std::ostream& out, std::ostream& err);

/// From now on SIGTERM, SIGINT and SIGHUP end the drive under way cleanly: its trace, events
/// and report are written, and the status is 0 (for SIGHUP 128 + 1).
void endDrivesOnSignals();

}  // namespace velimoro::headless
