#pragma once

#include <cmath>
#include <compare>
#include <cstdint>

namespace velimoro {

/// A decimal value with exactly four places, held as a count of ten-thousandths. Every store from
/// a wider value rounds half to even, so results do not depend on the order of conversions.
class Fixed {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Fixed() = default;

  /// The value whose count of ten-thousandths is `raw`.
  static constexpr Fixed fromRaw(std::int64_t raw) {
    Fixed f;
    f.m_raw = raw;
    return f;
  }
  /// A whole number.
  static constexpr Fixed fromInt(std::int64_t value) { return fromRaw(value * kScale); }
  /// `value` rounded half to even to four places; NaN gives 0 and out-of-range values saturate.
  static Fixed fromLongDouble(long double value) {
    if (std::isnan(value)) return Fixed();
    const long double scaled = value * static_cast<long double>(kScale);
    constexpr long double kLimit = 9.2e18L;
    if (scaled >= kLimit) return fromRaw(static_cast<std::int64_t>(kLimit));
    if (scaled <= -kLimit) return fromRaw(-static_cast<std::int64_t>(kLimit));
    return fromRaw(std::llrint(scaled));  // the default rounding mode: halves to even
  }

  constexpr std::int64_t raw() const { return m_raw; }
  constexpr long double toLongDouble() const {
    return static_cast<long double>(m_raw) / static_cast<long double>(kScale);
  }
  constexpr double toDouble() const {
    return static_cast<double>(m_raw) / static_cast<double>(kScale);
  }

  constexpr Fixed operator-() const { return fromRaw(-m_raw); }
  constexpr Fixed operator+(Fixed other) const { return fromRaw(m_raw + other.m_raw); }
  constexpr Fixed operator-(Fixed other) const { return fromRaw(m_raw - other.m_raw); }
  constexpr Fixed& operator+=(Fixed other) {
    m_raw += other.m_raw;
    return *this;
  }
  constexpr Fixed& operator-=(Fixed other) {
    m_raw -= other.m_raw;
    return *this;
  }
  constexpr auto operator<=>(const Fixed&) const = default;

 private:
  std::int64_t m_raw = 0;
};

}  // namespace velimoro
