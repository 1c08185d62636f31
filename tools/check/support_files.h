#pragma once

#include <optional>
#include <string>

#include "data/ui_strings.h"
#include "tools/check/finding.h"

namespace velimoro::check {

// The files beside the routes and trains, found by their names in the data root `root`; each
// check names its file `shown` in the findings.

/// "dorvanel.dat": its faults, and a "[Path]" that does not end with a separator. Returns its
/// texts when the file opens.
std::optional<UiStrings> checkUiStrings(const std::string& root, const std::string& shown,
                                        Findings& out);

/// "mascon.dat": its faults, codes the serial controller can never send, positions without one.
void checkControllerMap(const std::string& root, const std::string& shown, Findings& out);

/// "operation.dat", the help text: its faults.
void checkHelpText(const std::string& root, const std::string& shown, Findings& out);

}  // namespace velimoro::check
