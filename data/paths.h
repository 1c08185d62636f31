#pragma once

#include <string>

namespace velimoro {

/// The file a data file names, as this system finds it: "\" separators become "/", and when
/// the exact name does not exist each component is matched without regard to ASCII letter case,
/// so data sets copied from a Windows machine work unchanged. `folder` is the folder the name is
/// relative to ("" for the current folder); a name that starts with "/" is absolute. When nothing
/// matches, the literal path is returned so that opening it fails with that name.
std::string resolvePath(const std::string& folder, const std::string& name);

/// `folder` + `name` with "\" turned to "/", as the data files build paths: plain concatenation.
std::string joinDataPath(const std::string& folder, const std::string& name);

/// One spelling of the file at `path` (".", ".." and symbolic links resolved), so that two names
/// of one file compare equal; `path` itself when it cannot be resolved.
std::string canonicalPath(const std::string& path);

}  // namespace velimoro
