#pragma once

#include <optional>
#include <string>

namespace velimoro::check {

/// What the header of a WAVE file says of its length where the program reads it (the 32-bit
/// words at bytes 28 and 40, as in a plain 44-byte header), against what the file holds (the
/// bytes per second of its "fmt " chunk and the bytes its "data" chunk really has).
struct WaveLength {
  long long headerBytes = 0;
  long long headerBytesPerSecond = 0;
  long long dataBytes = 0;
  long long bytesPerSecond = 0;

  bool agrees() const { return headerBytes == dataBytes && headerBytesPerSecond == bytesPerSecond; }
};

/// Measures the WAVE file at `path`; nullopt when it cannot be read or its chunks are not those
/// of a WAVE file (a "RIFF" "WAVE" file with a "fmt " chunk before its "data" chunk).
std::optional<WaveLength> measureWave(const std::string& path);

}  // namespace velimoro::check
