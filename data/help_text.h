#pragma once

#include <cstddef>
#include <string>

#include "data/read_log.h"

namespace velimoro {

/// "operation.dat", the help window's text: its first line is the window's caption, the lines
/// after it the text shown.
struct HelpText {
  /// The most text kept; a longer file is shown up to here.
  static constexpr std::size_t kMaxBytes = 1024 * 1024;

  std::string caption;
  std::string text;  // the lines after the caption, each ended by "\n"
};

/// Reads "operation.dat" in `root`. Throws DataError("operation.datが見つかりません") when the
/// file cannot be opened and DataError("operation.datに誤りがあります") on an unreadable line;
/// with a `log`, notes those there instead and warns when the file is empty or longer than is
/// kept.
HelpText readHelpText(const std::string& root, ReadLog* log = nullptr);

}  // namespace velimoro
