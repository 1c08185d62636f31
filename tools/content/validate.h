#pragma once

#include <string>
#include <vector>

namespace velimoro::content {

/// Reads back every train, route and string file in `root` with the system's own readers and
/// checks that every file they name exists. Throws std::runtime_error whose message names the
/// data file and the fault.
void validateDemo(const std::string& root, const std::vector<std::string>& trainFiles,
                  const std::vector<std::string>& routeFiles);

}  // namespace velimoro::content
