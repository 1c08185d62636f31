#pragma once

#include <string>
#include <vector>

#include "data/read_log.h"

namespace velimoro::check {

/// One thing the checker reports: an error (the drive would not start, or not as written) or a
/// warning, with the data file and the line (from 1; 0 for the file as a whole) it lies on.
struct Finding {
  std::string file;
  int line = 0;
  bool warning = false;
  std::string text;
};

using Findings = std::vector<Finding>;

/// The findings of one data file, as its checks add them.
class FileFindings {
 public:
  FileFindings(std::string file, Findings& out) : m_file(std::move(file)), m_out(out) {}

  void error(int line, std::string text) {
    m_out.push_back({m_file, line, false, std::move(text)});
  }
  void warning(int line, std::string text) {
    m_out.push_back({m_file, line, true, std::move(text)});
  }
  /// Everything a reader noted: its faults as errors, the rest as warnings.
  void add(const ReadLog& log) {
    for (const ReadLog::Note& note : log.notes())
      m_out.push_back({m_file, note.line, note.warning, note.text});
  }

 private:
  std::string m_file;
  Findings& m_out;
};

/// Whether the reader that wrote `log` could open its file (a fault of the whole file, line 0,
/// is one it could not).
inline bool opened(const ReadLog& log) {
  for (const ReadLog::Note& note : log.notes())
    if (!note.warning && note.line == 0) return false;
  return true;
}

}  // namespace velimoro::check
