#include "tools/check/wave_length.h"

namespace velimoro::check {

std::optional<WaveHeader> measureWave(const std::string& path) {
  WaveHeader header;
  std::string error;
  if (!readWaveHeader(path, header, error) || !header.chunks || !header.fixedWords) {
    return std::nullopt;
  }
  return header;
}

}  // namespace velimoro::check
