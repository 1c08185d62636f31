#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "data/fixed.h"

namespace velimoro {

/// A decimal integer: leading blanks, an optional sign, digits and nothing after them; it must
/// fit in 32 bits.
std::optional<std::int32_t> parseInt(std::string_view text);

/// A decimal number (optional sign, digits with an optional "." part and exponent, blanks around
/// it) rounded half to even to four places.
std::optional<Fixed> parseFixed(std::string_view text);

/// A decimal floating-point number with "." as the decimal point; no infinities or NaNs.
std::optional<double> parseReal(std::string_view text);

/// The same as parseReal at the precision of an 80-bit float.
std::optional<long double> parseExtended(std::string_view text);

}  // namespace velimoro
