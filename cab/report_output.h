#pragma once

#include <ostream>

#include "cab/report.h"

namespace velimoro {

/// Writes `report` as JSON: the run, the score with its deductions and rules, the stations,
/// the limit sections the train ran in, the events and the plot's samples.
void writeReportJson(std::ostream& out, const RunReport& report);

/// Writes `report` as one self-contained HTML page: the plot as inline SVG above the tables.
void writeReportHtml(std::ostream& out, const RunReport& report);

/// Writes the report file `path`: JSON when it ends in ".json", else HTML. Returns false when
/// the file cannot be written.
bool writeReportFile(const std::string& path, const RunReport& report);

}  // namespace velimoro
