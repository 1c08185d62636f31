#include "data/wave_header.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace velimoro {
namespace {

// The chunks before the sound data are short; a file whose "data" chunk does not begin within
// this many bytes is not walked further.
constexpr std::size_t kHeadBytes = 64 * 1024;
constexpr std::size_t kPlainHeaderBytes = 44;

std::uint32_t littleEndian32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

bool tagIs(const std::vector<unsigned char>& bytes, std::size_t at, const char* tag) {
  return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

std::string cannotOpen(const std::string& path, int errorNumber) {
  return "Cannot open file \"" + path + "\". " + std::strerror(errorNumber);
}

// Each chunk: a four-letter tag, its size, its bytes and a pad byte when the size is odd.
void walkChunks(const std::vector<unsigned char>& head, std::int64_t fileBytes,
                WaveHeader& header) {
  if (head.size() < 12 || !tagIs(head, 0, "RIFF") || !tagIs(head, 8, "WAVE")) return;
  bool haveFormat = false;
  for (std::size_t at = 12; at + 8 <= head.size();) {
    const std::uint64_t size = littleEndian32(head, at + 4);
    const std::size_t body = at + 8;
    if (tagIs(head, at, "fmt ")) {
      if (size < 16 || body + 16 > head.size()) return;
      header.sampleRate =
          static_cast<int>(std::min<std::uint32_t>(littleEndian32(head, body + 4), 1u << 30));
      header.bytesPerSecond = littleEndian32(head, body + 8);
      haveFormat = true;
    } else if (tagIs(head, at, "data")) {
      if (!haveFormat) return;
      header.dataBytes = static_cast<std::int64_t>(
          std::min<std::uint64_t>(size, static_cast<std::uint64_t>(fileBytes) - body));
      header.chunks = true;
      return;
    }
    const std::uint64_t next = body + size + (size & 1);
    if (next > head.size()) return;
    at = static_cast<std::size_t>(next);
  }
}

}  // namespace

std::int64_t WaveHeader::durationMs() const {
  if (!chunks || bytesPerSecond <= 0) return -1;
  return dataBytes * 1000 / bytesPerSecond;
}

bool readWaveHeader(const std::string& path, WaveHeader& header, std::string& error) {
  header = WaveHeader();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = cannotOpen(path, errno);
    return false;
  }
  std::vector<unsigned char> head(kHeadBytes);
  head.resize(std::fread(head.data(), 1, head.size(), file));
  const int readError = std::ferror(file) != 0 ? errno : 0;
  std::int64_t fileBytes = static_cast<std::int64_t>(head.size());
  if (readError == 0 && head.size() == kHeadBytes && std::fseek(file, 0, SEEK_END) == 0) {
    fileBytes = std::max<std::int64_t>(fileBytes, std::ftell(file));
  }
  std::fclose(file);
  if (readError != 0) {
    error = cannotOpen(path, readError);
    return false;
  }
  if (head.size() >= kPlainHeaderBytes) {
    header.fixedWords = true;
    header.fixedBytesPerSecond = littleEndian32(head, 28);
    header.fixedDataBytes = littleEndian32(head, 40);
  }
  walkChunks(head, fileBytes, header);
  return true;
}

}  // namespace velimoro
