#include "data/paths.h"

#include <algorithm>
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
  return PathResolver().resolve(folder, name);
}

std::string PathResolver::resolve(const std::string& folder, const std::string& name,
                                  bool* exists) {
  if (exists != nullptr) *exists = false;
  const std::string relative = joinDataPath("", name);
  const bool absolute = !relative.empty() && relative.front() == '/';
  const std::string literal = absolute ? relative : joinDataPath(folder, name);
  if (relative.empty()) return literal;
  if (pathExists(literal)) {
    if (exists != nullptr) *exists = true;
    return literal;
  }

  // Walk the components below the folder, taking a case-insensitive match where the exact
  // component is missing.
  fs::path current = absolute ? fs::path("/") : fs::path(folder.empty() ? "." : folder);
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t slash = relative.find('/', start);
    const std::size_t end = slash == std::string::npos ? relative.size() : slash;
    if (end > start) {
      const std::string part = relative.substr(start, end - start);
      fs::path next = current / part;
      if (!pathExists(next)) {
        const std::vector<std::string>& names = entries(current.string());
        const auto match = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
          return equalsIgnoringCase(n, part);
        });
        if (match == names.end()) return literal;
        next = current / *match;
      }
      current = std::move(next);
    }
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  std::string resolved = current.lexically_normal().string();
  if (folder.empty() && resolved.rfind("./", 0) == 0) resolved.erase(0, 2);
  if (exists != nullptr) *exists = true;
  return resolved;
}

const std::vector<std::string>& PathResolver::entries(const std::string& folder) {
  auto known = m_entries.find(folder);
  if (known != m_entries.end()) return known->second;
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    names.push_back(it->path().filename().string());
  return m_entries.emplace(folder, std::move(names)).first->second;
}

std::string canonicalPath(const std::string& path) {
  std::error_code ec;
  const fs::path canonical = fs::canonical(path, ec);
  return ec ? path : canonical.string();
}

}  // namespace velimoro
