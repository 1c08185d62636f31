#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "sim/sim_state.h"

namespace velimoro {

// The trace of a drive: CSV, one row per tick, with the state fields named in its header row.
// Both hosts write it, so a drive in the window and its replay compare field by field.

/// The trace columns, in order.
const std::vector<std::string>& traceColumns();

/// The header row.
void writeTraceHeader(std::ostream& out);

/// One row of `s`.
void writeTraceRow(std::ostream& out, const SimState& s);

/// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvQuote(const std::string& text);

}  // namespace velimoro
