#include "data/paths.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace velimoro {
namespace {

namespace fs = std::filesystem;

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

bool pathExists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

}  // namespace

std::string joinDataPath(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  path += name;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::string resolvePath(const std::string& folder, const std::string& name) {
  const std::string relative = joinDataPath("", name);
  const bool absolute = !relative.empty() && relative.front() == '/';
  const std::string literal = absolute ? relative : joinDataPath(folder, name);
  if (relative.empty() || pathExists(literal)) return literal;

  // Walk the components below the folder, taking a case-insensitive match where the exact
  // component is missing.
  fs::path current = absolute ? fs::path("/") : fs::path(folder.empty() ? "." : folder);
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t slash = relative.find('/', start);
    const std::size_t end = slash == std::string::npos ? relative.size() : slash;
    if (end > start) parts.push_back(relative.substr(start, end - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  for (const std::string& part : parts) {
    fs::path next = current / part;
    if (!pathExists(next)) {
      std::error_code ec;
      bool found = false;
      for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
        if (equalsIgnoringCase(it->path().filename().string(), part)) {
          next = it->path();
          found = true;
          break;
        }
      }
      if (!found) return literal;
    }
    current = next;
  }
  std::string resolved = current.lexically_normal().string();
  if (folder.empty() && resolved.rfind("./", 0) == 0) resolved.erase(0, 2);
  return resolved;
}

std::string canonicalPath(const std::string& path) {
  std::error_code ec;
  const fs::path canonical = fs::canonical(path, ec);
  return ec ? path : canonical.string();
}

}  // namespace velimoro
