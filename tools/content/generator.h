#pragma once

#include <ostream>
#include <string>

namespace velimoro::content {

/// Renders the whole demo installation into `root` (created when missing), printing one line
/// per group of files to `progress`, then reads it back (validateDemo). The same program
/// writes the same bytes on every run. Throws std::runtime_error naming the file at fault.
/// The route videos take a few minutes and are rendered only when `videos` is set; `hd` renders
/// them and the scene movies at kHdVideoSize (several times longer) instead of their own size.
void generateDemo(const std::string& root, std::ostream& progress, bool videos = false,
                  bool hd = false);

}  // namespace velimoro::content
