#include "data/data_root.h"

#include <cstdlib>

namespace velimoro {

bool holdsUiStrings(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::is_regular_file(folder / "dorvanel.dat", error);
}

std::filesystem::path userDataRoot() {
  // A relative XDG_DATA_HOME is not a place to use: the default under HOME stands in for it.
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && std::filesystem::path(data).is_absolute())
    return std::filesystem::path(data) / "velimoro";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::filesystem::path(home) / ".local" / "share" / "velimoro";
  return {};
}

std::filesystem::path findDataRoot(const std::filesystem::path& programFolder) {
  if (!programFolder.empty() && holdsUiStrings(programFolder)) return programFolder;
  if (holdsUiStrings(".")) return ".";
  const std::filesystem::path user = userDataRoot();
  if (!user.empty() && holdsUiStrings(user)) return user;
  return {};
}

}  // namespace velimoro
