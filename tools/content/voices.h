#pragma once

#include <string>

#include "tools/content/synth.h"

namespace velimoro::content {

/// Speaks `text` (kana) with espeak-ng's Japanese voice and returns the samples at
/// kSampleRate. Throws std::runtime_error when espeak-ng is missing or fails.
Samples speak(const std::string& text);

/// Whether espeak-ng can be run.
bool speechAvailable();

}  // namespace velimoro::content
