#pragma once

#include <optional>
#include <string>

namespace velimoro::shell {

/// The first start of an installed program, which finds no data root: renders the demo
/// installation into the user's data folder with the content generator installed beside the
/// program, showing its progress (in a dialog, or on the error stream when `unattended`).
/// Returns the new data root; nothing when there is no generator beside the program; empty when
/// the rendering failed (after saying why) or was cancelled.
std::optional<std::string> renderDemoOnFirstStart(bool unattended);

}  // namespace velimoro::shell
