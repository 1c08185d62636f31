#pragma once

#include <filesystem>
#include <string>

namespace velimoro {

/// Whether `folder` holds "dorvanel.dat", which marks a data root.
bool holdsUiStrings(const std::filesystem::path& folder);

/// The user's own data root: "velimoro" under XDG_DATA_HOME, else under ~/.local/share; empty
/// when neither variable names a folder. Installed copies of the program look here last, and
/// the content generator renders the demo installation here when asked.
std::filesystem::path userDataRoot();

/// The data root a program started without --root uses: the program's own folder or the current
/// folder, whichever holds "dorvanel.dat", else the user's data root when it does; empty when
/// none does.
std::filesystem::path findDataRoot(const std::filesystem::path& programFolder);

}  // namespace velimoro
