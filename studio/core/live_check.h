#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/route_document.h"
#include "tools/check/route_check.h"

namespace velimoro::studio {

/// A finding of the data checker on the route being edited: its line (from 1; 0 for the file
/// as a whole) and, when the line places something on the video, that frame.
struct LiveFinding {
  int line = 0;
  bool warning = false;
  std::string text;
  std::optional<int> frame;
};

/// Checks `document` as the data checker checks a route file of the installation at `root`
/// (the names inside it taken relative to `root`, its video found through the root's
/// "dorvanel.dat" and counted with `frames` when given). The document is written to `scratch`,
/// a file of the caller's, for the reader; its findings come in line order. A scratch file that
/// cannot be written is a finding of line 0.
std::vector<LiveFinding> checkRouteDocument(const RouteDocument& document, const std::string& root,
                                            const std::string& scratch,
                                            const check::FrameCounter& frames = {});

/// The frame line `line` (from 1) of the document places on the video: a record's frame (the
/// frame field of a placed kind, a "[SpeedUnit]" segment's first frame, "[MovieStop]"'s end)
/// or "[StartPos]"; nullopt for any other line.
std::optional<int> frameOfLine(const RouteDocument& document, int line);

}  // namespace velimoro::studio
