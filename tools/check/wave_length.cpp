#include "tools/check/wave_length.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace velimoro::check {
namespace {

// The chunks before the sound data are short; a file whose "data" chunk does not begin within
// this many bytes is not walked further.
constexpr std::size_t kHeadBytes = 64 * 1024;

std::uint32_t littleEndian32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

bool tagIs(const std::vector<unsigned char>& bytes, std::size_t at, const char* tag) {
  for (int i = 0; i < 4; ++i)
    if (bytes[at + static_cast<std::size_t>(i)] != static_cast<unsigned char>(tag[i])) return false;
  return true;
}

}  // namespace

std::optional<WaveLength> measureWave(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t fileBytes = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> head(
      static_cast<std::size_t>(std::min<std::uintmax_t>(fileBytes, kHeadBytes)));
  if (!in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size())))
    return std::nullopt;
  if (head.size() < 44 || !tagIs(head, 0, "RIFF") || !tagIs(head, 8, "WAVE")) return std::nullopt;

  WaveLength length;
  length.headerBytesPerSecond = littleEndian32(head, 28);
  length.headerBytes = littleEndian32(head, 40);
  bool haveFormat = false;
  // Each chunk: a four-letter tag, its size, its bytes and a pad byte when the size is odd.
  for (std::size_t at = 12; at + 8 <= head.size();) {
    const std::uint64_t size = littleEndian32(head, at + 4);
    const std::size_t body = at + 8;
    if (tagIs(head, at, "fmt ")) {
      if (size < 16 || body + 16 > head.size()) return std::nullopt;
      length.bytesPerSecond = littleEndian32(head, body + 8);
      haveFormat = true;
    } else if (tagIs(head, at, "data")) {
      if (!haveFormat) return std::nullopt;
      length.dataBytes = static_cast<long long>(std::min<std::uint64_t>(size, fileBytes - body));
      return length;
    }
    const std::uint64_t next = body + size + (size & 1);
    if (next > head.size()) break;
    at = static_cast<std::size_t>(next);
  }
  return std::nullopt;
}

}  // namespace velimoro::check
