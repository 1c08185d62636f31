#pragma once

#include <string>

namespace velimoro::check {

enum class FileKind { kTrain, kRoute, kUiStrings, kControllerMap, kHelpText, kUnknown };

/// The kind of the data file at `path`. "dorvanel.dat", "mascon.dat" and "operation.dat" are
/// known by their names (in any letter case). Any other file is a train or a route data file by
/// its content: the kind whose reader recognises more of its lines as section headers (and
/// neither when none are, or as many of each).
FileKind fileKind(const std::string& path);

}  // namespace velimoro::check
