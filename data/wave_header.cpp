#include "data/wave_header.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "media/riff_chunks.h"
#include "media/translate.h"

namespace velimoro {
namespace {

// The chunks before the sound data are short; a file whose "data" chunk does not begin within
// this many bytes is not walked further.
constexpr std::size_t kHeadBytes = 64 * 1024;
constexpr std::size_t kPlainHeaderBytes = 44;

using media::littleEndian32;

std::string cannotOpen(const std::string& path, int errorNumber) {
  return media::fill(media::translate("SoundFiles", "ファイル「%1」を開けません。%2"),
                     {path, std::strerror(errorNumber)});
}

// The format's rate and byte rate from the "fmt " chunk, the length from the "data" chunk after
// it; the walk stops at a chunk that does not end within `head`.
void walkChunks(const std::vector<unsigned char>& head, std::int64_t fileBytes,
                WaveHeader& header) {
  bool haveFormat = false;
  media::forEachWaveChunk(head, [&](const media::RiffChunk& chunk) {
    if (chunk.tag == "fmt ") {
      if (chunk.size < 16 || chunk.body + 16 > head.size()) return false;
      header.sampleRate =
          static_cast<int>(std::min<std::uint32_t>(littleEndian32(head, chunk.body + 4), 1u << 30));
      header.bytesPerSecond = littleEndian32(head, chunk.body + 8);
      haveFormat = true;
    } else if (chunk.tag == "data") {
      if (!haveFormat) return false;
      header.dataBytes = static_cast<std::int64_t>(
          std::min<std::uint64_t>(chunk.size, static_cast<std::uint64_t>(fileBytes) - chunk.body));
      header.chunks = true;
      return false;
    }
    return chunk.end() <= head.size();
  });
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
