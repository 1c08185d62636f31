#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velimoro {

/// What a WAVE file's header says of its sound. The route's sound lengths are read at fixed
/// places, the 32-bit words at bytes 28 and 40 of a plain 44-byte header; the chunks themselves
/// ("fmt " and "data", wherever they stand) say what the file really holds.
struct WaveHeader {
  bool fixedWords = false;  // the file has the 44 bytes of a plain header
  std::int64_t fixedBytesPerSecond = 0;
  std::int64_t fixedDataBytes = 0;

  bool chunks = false;  // a "RIFF" "WAVE" file with a "fmt " chunk before its "data" chunk
  int sampleRate = 0;
  std::int64_t bytesPerSecond = 0;
  std::int64_t dataBytes = 0;  // as much of the data chunk as the file holds

  /// Whether the fixed places say what the chunks say.
  bool fixedWordsAgree() const {
    return fixedDataBytes == dataBytes && fixedBytesPerSecond == bytesPerSecond;
  }
  /// Playing time in ms by the chunks; -1 when they give no length.
  std::int64_t durationMs() const;
};

/// Reads the header of the WAVE file at `path`. False with `error` set to the user's message
/// when the file cannot be opened or read; a file that is no WAVE file reads with `chunks`
/// false (and `fixedWords` false when it is shorter than 44 bytes).
bool readWaveHeader(const std::string& path, WaveHeader& header, std::string& error);

}  // namespace velimoro
