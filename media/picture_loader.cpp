#include "media/picture_loader.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace velimoro::media {
namespace {

std::int64_t littleEndian(const unsigned char* bytes, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i)
    value = (value << 8) | bytes[i];
  return count == 4 ? static_cast<std::int32_t>(value) : static_cast<std::int64_t>(value);
}

}  // namespace

std::optional<std::pair<int, int>> PictureLoader::size(int) const {
  return std::nullopt;
}

std::optional<std::pair<int, int>> bmpSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[26] = {};
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
  if (header[0] != 'B' || header[1] != 'M') return std::nullopt;
  const std::int64_t infoSize = littleEndian(header + 14, 4);
  std::int64_t width = 0;
  std::int64_t height = 0;
  if (infoSize == 12) {
    // The old OS/2 header keeps 16-bit sizes.
    width = littleEndian(header + 18, 2);
    height = littleEndian(header + 20, 2);
  } else if (infoSize >= 40) {
    width = littleEndian(header + 18, 4);
    height = std::abs(littleEndian(header + 22, 4));  // negative: stored top-down
  } else {
    return std::nullopt;
  }
  if (width <= 0 || height <= 0) return std::nullopt;
  return std::pair<int, int>(static_cast<int>(width), static_cast<int>(height));
}

std::optional<int> FileCheckPictureLoader::load(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  m_sizes.push_back(bmpSize(path));
  return static_cast<int>(m_sizes.size()) - 1;
}

std::optional<std::pair<int, int>> FileCheckPictureLoader::size(int handle) const {
  if (handle < 0 || static_cast<std::size_t>(handle) >= m_sizes.size()) return std::nullopt;
  return m_sizes[static_cast<std::size_t>(handle)];
}

}  // namespace velimoro::media
