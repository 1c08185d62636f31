#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/test_support.h"
#include "tools/check/checker.h"

namespace velimoro::check {

using Lines = std::vector<std::string>;

/// A data root in a temporary folder, written file by file, and what the checker finds there.
class Installation {
 public:
  /// Writes the lines of `barLines` (split at "|") as a CP932 file with CR LF line ends.
  std::string write(const std::string& name, std::string_view barLines) const {
    return dir.writeCp932(name,
                          velimoro::testing::crlfLines(velimoro::testing::splitBars(barLines)));
  }
  /// What the checker finds in the files named, each as "LINE: error: TEXT" or
  /// "LINE: warning: TEXT" after its file's name (left out when one file is checked).
  Lines check(const std::vector<std::string>& names, const FrameCounter& frames = {}) const {
    CheckOptions options;
    options.root = dir.path();
    for (const std::string& name : names)
      options.files.push_back(dir.file(name));
    options.videos = static_cast<bool>(frames);
    options.frames = frames;
    Lines found;
    for (const Finding& f : checkInstallation(options)) {
      const std::string file = names.size() == 1 ? "" : f.file.substr(dir.path().size() + 1) + ":";
      found.push_back(file + std::to_string(f.line) + (f.warning ? ": warning: " : ": error: ") +
                      f.text);
    }
    return found;
  }
  Lines check(const std::string& name, const FrameCounter& frames = {}) const {
    return check(std::vector<std::string>{name}, frames);
  }

  velimoro::testing::TempDir dir;
};

}  // namespace velimoro::check
