#pragma once

#include <optional>
#include <string>

#include "data/wave_header.h"

namespace velimoro::check {

/// The header of the WAVE file at `path` with both its fixed words and its chunks; nullopt when
/// it cannot be read or is not a WAVE file whose "fmt " chunk stands before its "data" chunk.
std::optional<WaveHeader> measureWave(const std::string& path);

}  // namespace velimoro::check
