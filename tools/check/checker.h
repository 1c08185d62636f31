#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/check/finding.h"
#include "tools/check/route_check.h"

namespace velimoro::check {

struct CheckOptions {
  /// The data root. Without named files, every data file in it is checked; with them, the
  /// names inside them are taken relative to it (to each file's own folder when it is empty).
  std::string root;
  std::vector<std::string> files;
  /// Look for the route videos and scene movies (counting their frames with `frames` when set).
  bool videos = true;
  FrameCounter frames;
  /// Asked before each file: true ends the check there, with the findings so far.
  std::function<bool()> stop;
};

/// Checks an installation, or the files named, and returns every finding: file by file in the
/// order checked ("dorvanel.dat", "mascon.dat", "operation.dat", then the train and route data
/// files by path), each file's in line order. A file of the root is a train or a route data file
/// by its content; one that is neither is passed over, but a named one is an error.
Findings checkInstallation(const CheckOptions& options);

}  // namespace velimoro::check
