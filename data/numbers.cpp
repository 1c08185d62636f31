#include "data/numbers.h"

#include <charconv>
#include <limits>
#include <string>

namespace velimoro {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

// The parts of a decimal number: sign, all significant digits and the power of ten of the last
// digit. Accepts what a decimal text-to-float conversion accepts, without hexadecimal,
// infinities or NaNs.
struct Decimal {
  bool negative = false;
  std::string digits;
  long exponent = 0;
};

std::optional<Decimal> splitDecimal(std::string_view text) {
  text = trimBlanks(text);
  Decimal d;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) d.negative = text[i++] == '-';
  bool anyDigit = false;
  while (i < text.size() && isDigit(text[i])) {
    d.digits += text[i++];
    anyDigit = true;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      d.digits += text[i++];
      --d.exponent;
      anyDigit = true;
    }
  }
  if (!anyDigit) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
    if (i >= text.size() || !isDigit(text[i])) return std::nullopt;
    long e = 0;
    while (i < text.size() && isDigit(text[i])) {
      if (e < 100000) e = e * 10 + (text[i] - '0');
      ++i;
    }
    d.exponent += expNegative ? -e : e;
  }
  if (i != text.size()) return std::nullopt;
  return d;
}

template <typename T>
std::optional<T> parseFloating(std::string_view text) {
  if (!splitDecimal(text)) return std::nullopt;
  text = trimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::int32_t> parseInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!isDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<Fixed> parseFixed(std::string_view text) {
  const auto d = splitDecimal(text);
  if (!d) return std::nullopt;
  // The value is digits × 10^(exponent + 4) ten-thousandths: keep the digits above the cut,
  // then round on the ones below it.
  const std::string& digits = d->digits;
  const long n = static_cast<long>(digits.size());
  const long shift = d->exponent + 4;
  const long kept = n + shift;  // digits that stay above the decimal point of the count
  unsigned long long magnitude = 0;
  constexpr unsigned long long kMax = std::numeric_limits<std::int64_t>::max();
  for (long i = 0; i < kept; ++i) {
    const unsigned digit = i < n ? static_cast<unsigned>(digits[i] - '0') : 0u;
    if (magnitude > (kMax - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  const long firstDropped = kept < 0 ? 0 : kept;
  if (kept >= 0 && firstDropped < n) {
    const char first = digits[firstDropped];
    const bool restNonZero = digits.find_first_not_of('0', static_cast<std::size_t>(firstDropped) +
                                                               1) != std::string::npos;
    if (first > '5' || (first == '5' && (restNonZero || (magnitude & 1u) != 0))) ++magnitude;
  }
  // With kept < 0 every digit lies below half of the last place: the value rounds to zero.
  if (magnitude > kMax) return std::nullopt;
  const auto raw = static_cast<std::int64_t>(magnitude);
  return Fixed::fromRaw(d->negative ? -raw : raw);
}

std::optional<double> parseReal(std::string_view text) {
  return parseFloating<double>(text);
}

std::optional<long double> parseExtended(std::string_view text) {
  return parseFloating<long double>(text);
}

}  // namespace velimoro
