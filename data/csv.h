#pragma once

#include <string_view>

namespace velimoro {

/// Field n (from 1) of a comma-separated record line, untrimmed. A field beyond the last is the
/// text "Error", whose number conversion then fails and reports the reader's data error.
std::string_view csvField(std::string_view line, int n);

}  // namespace velimoro
