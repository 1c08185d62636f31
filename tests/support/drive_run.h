#pragma once

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "support/csv_table.h"
#include "tools/drive/headless.h"

namespace velimoro::testing {

/// The folder of the scenario trains, route and sounds.
inline const std::string kScenarioRoot = VELIMORO_SOURCE_DIR "/tests/scenarios";

/// The fast step of a trace or event row.
int fastTickOf(const CsvRow& row);

/// What one drive of the headless driver left: its exit status, summary and error text, and the
/// rows of its trace (one a tick) and of its events.
struct DriveRun {
  int status = 0;
  std::string out;
  std::string err;
  std::vector<CsvRow> trace;
  std::vector<CsvRow> events;

  /// The trace row of the tick `seconds` after a start at 0 s (a tick every 0.1 s).
  const CsvRow& at(double seconds) const;
  /// `column` of the row at `seconds` as a number.
  double number(double seconds, const std::string& column) const {
    return testing::number(at(seconds), column);
  }
  /// The first trace row at or after fast step `fastTick`, the tick that shows an event's effect;
  /// nullptr when the trace ends before.
  const CsvRow* rowAtOrAfter(int fastTick) const;
  /// The first trace row from fast step `fromTick` on whose `column` reads `text`; nullptr when
  /// none does.
  const CsvRow* firstRow(const std::string& column, const std::string& text,
                         int fromTick = INT_MIN) const;
  /// The fast steps of the events of `kind` on `channel`, in order.
  std::vector<int> eventTicks(const std::string& kind, int channel) const;
};

/// Options for a drive of `train` on `route` in the data root `root` for `seconds` (by default
/// the driver's), with the settings of a first run.
headless::Options driveOptions(const std::string& root, const std::string& route,
                               const std::string& train,
                               std::optional<double> seconds = std::nullopt);

/// Runs one drive of the headless driver as `options` say with `script` as its script text; the
/// script, the trace and the events live in a temporary folder, whatever `options` names.
DriveRun runHeadlessDrive(headless::Options options, const std::string& script);

}  // namespace velimoro::testing
