#pragma once

#include <ostream>

#include "tools/check/finding.h"

namespace velimoro::check {

/// Writes each finding on a line of its own in the form compilers use, which editors and CI
/// understand: "FILE:LINE: error: TEXT" or "FILE:LINE: warning: TEXT" ("FILE: error: TEXT" for
/// the file as a whole).
void writeText(const Findings& findings, std::ostream& out);

/// Writes each finding as one JSON object a line: {"file", "line", "severity", "message"}.
void writeJsonLines(const Findings& findings, std::ostream& out);

/// Whether any finding is an error.
bool anyError(const Findings& findings);

}  // namespace velimoro::check
