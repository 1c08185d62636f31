#pragma once

#include <functional>
#include <optional>
#include <string>

#include "data/ui_strings.h"
#include "tools/check/finding.h"

namespace velimoro::check {

/// The number of frames of the video at `path`; nullopt when it cannot be opened.
using FrameCounter = std::function<std::optional<int>(const std::string& path)>;

/// How the route videos and scene movies are looked at: not at all, or found through the
/// installation's "[Path]" and, with a frame counter, counted.
struct VideoCheck {
  const UiStrings* strings = nullptr;  // null: the videos are not looked for
  FrameCounter frames;                 // empty: found but not counted
};

/// Checks the route data file `fileName` below `root` (named `shown` in the findings): every
/// fault the program would stop at, then the files it names, its frame-speed segments, the
/// places that lie outside them, and with `videos` its route video and scene movies.
void checkRouteFile(const std::string& root, const std::string& fileName, const std::string& shown,
                    const VideoCheck& videos, Findings& out);

}  // namespace velimoro::check
