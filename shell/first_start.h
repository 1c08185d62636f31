#pragma once

#include <QString>
#include <optional>
#include <string>
#include <utility>

namespace velimoro::shell {

/// The first start of an installed program, which finds no data root: renders the demo
/// installation into the user's data folder with the content generator installed beside the
/// program, showing its progress (in a dialog, or on the error stream when `unattended`).
/// Returns the new data root; nothing when there is no generator beside the program; empty when
/// the rendering failed (after saying why) or was cancelled.
std::optional<std::string> renderDemoOnFirstStart(bool unattended);

/// The frames rendered and the frames in all of a route video's progress line of the content
/// generator ("… 12/300 frames", or in whatever language it speaks); nothing for another line.
std::optional<std::pair<int, int>> renderedFrames(const QString& line);

}  // namespace velimoro::shell
