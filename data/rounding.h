#pragma once

#include <cmath>
#include <cstdint>

namespace velimoro {

/// Rounds to the nearest whole number, halves to even (the rounding of every "round" in the
/// data formats and the models); NaN gives 0 and values beyond 64 bits saturate.
inline std::int64_t roundHalfEven(long double value) {
  if (std::isnan(value)) return 0;
  constexpr long double kLimit = 9.2e18L;
  if (value >= kLimit) return static_cast<std::int64_t>(kLimit);
  if (value <= -kLimit) return -static_cast<std::int64_t>(kLimit);
  return std::llrint(value);  // the default rounding mode: halves to even
}

}  // namespace velimoro
