#pragma once

#include <map>
#include <string>
#include <vector>

namespace velimoro {

/// The file a data file names, as this system finds it: "\" separators become "/", and when
/// the exact name does not exist each component is matched without regard to ASCII letter case,
/// so data sets copied from a Windows machine work unchanged. `folder` is the folder the name is
/// relative to ("" for the current folder); a name that starts with "/" is absolute. When nothing
/// matches, the literal path is returned so that opening it fails with that name.
std::string resolvePath(const std::string& folder, const std::string& name);

/// Finds files as `resolvePath` does, for the many names of one data file: each folder is
/// listed once however many names a search without regard to case looks for in it, so a route
/// that names hundreds of pictures in another letter case does not read its picture folder
/// hundreds of times. Folders are taken as they were when first listed.
class PathResolver {
 public:
  /// As `resolvePath`; `exists`, when given, is set to whether the file was found.
  std::string resolve(const std::string& folder, const std::string& name, bool* exists = nullptr);

 private:
  // The entry names of `folder`, listed the first time they are asked for.
  const std::vector<std::string>& entries(const std::string& folder);

  std::map<std::string, std::vector<std::string>> m_entries;
};

/// `folder` + `name` with "\" turned to "/", as the data files build paths: plain concatenation.
std::string joinDataPath(const std::string& folder, const std::string& name);

/// One spelling of the file at `path` (".", ".." and symbolic links resolved), so that two names
/// of one file compare equal; `path` itself when it cannot be resolved.
std::string canonicalPath(const std::string& path);

}  // namespace velimoro
