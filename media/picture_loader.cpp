#include "media/picture_loader.h"

#include <filesystem>
#include <fstream>

namespace velimoro::media {

std::optional<int> FileCheckPictureLoader::load(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return m_next++;
}

}  // namespace velimoro::media
