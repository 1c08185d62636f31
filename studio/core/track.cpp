#include "studio/core/track.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "media/translate.h"

namespace velimoro::studio {
namespace {

constexpr double kEarthRadiusMetres = 6371008.8;

std::optional<double> number(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

// The value of attribute `name` inside the tag text `tag`.
std::optional<double> attribute(std::string_view tag, std::string_view name) {
  for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
    const bool starts = at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' ||
                                   tag[at - 1] == '\n' || tag[at - 1] == '\r');
    std::size_t i = at + name.size();
    while (i < tag.size() && tag[i] == ' ')
      ++i;
    if (!starts || i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && tag[i] == ' ')
      ++i;
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) continue;
    const std::size_t close = tag.find(tag[i], i + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return number(tag.substr(i + 1, close - i - 1));
  }
  return std::nullopt;
}

// The text of the first element `name` inside `body`.
std::optional<std::string_view> element(std::string_view body, std::string_view name) {
  const std::string open = "<" + std::string(name) + ">";
  const std::string close = "</" + std::string(name) + ">";
  const std::size_t from = body.find(open);
  if (from == std::string_view::npos) return std::nullopt;
  const std::size_t to = body.find(close, from);
  if (to == std::string_view::npos) return std::nullopt;
  return body.substr(from + open.size(), to - from - open.size());
}

int digits(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// Days from 1970-01-01 to the date (proleptic Gregorian calendar).
long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::optional<double> isoSeconds(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\n' || t.front() == '\r'))
    t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\n' || t.back() == '\r'))
    t.remove_suffix(1);
  const int y = digits(t, 0, 4), mo = digits(t, 5, 2), d = digits(t, 8, 2);
  const int h = digits(t, 11, 2), mi = digits(t, 14, 2), s = digits(t, 17, 2);
  if (y < 0 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 24 || mi < 0 || mi > 59 ||
      s < 0 || s > 60 || t[4] != '-' || t[7] != '-' || (t[10] != 'T' && t[10] != ' ') ||
      t[13] != ':' || t[16] != ':')
    return std::nullopt;
  double seconds =
      static_cast<double>(daysFromCivil(y, mo, d)) * 86400.0 + h * 3600.0 + mi * 60.0 + s;
  std::size_t i = 19;
  if (i < t.size() && t[i] == '.') {
    double scale = 0.1;
    for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, scale /= 10)
      seconds += (t[i] - '0') * scale;
  }
  if (i == t.size()) return seconds;  // no zone: taken as UTC
  if (t[i] == 'Z' && i + 1 == t.size()) return seconds;
  if ((t[i] == '+' || t[i] == '-') && i + 6 == t.size() && t[i + 3] == ':') {
    const int zh = digits(t, i + 1, 2), zm = digits(t, i + 4, 2);
    if (zh < 0 || zm < 0) return std::nullopt;
    const double offset = zh * 3600.0 + zm * 60.0;
    return t[i] == '+' ? seconds - offset : seconds + offset;
  }
  return std::nullopt;
}

double metresBetween(const TrackPoint& a, const TrackPoint& b) {
  constexpr double kRadians = std::numbers::pi / 180;
  const double p1 = a.latitude * kRadians, p2 = b.latitude * kRadians;
  const double dp = p2 - p1, dl = (b.longitude - a.longitude) * kRadians;
  const double h = std::sin(dp / 2) * std::sin(dp / 2) +
                   std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
  return 2 * kEarthRadiusMetres * std::asin(std::sqrt(std::min(1.0, h)));
}

bool readGpx(std::string_view text, std::vector<TrackPoint>& points, std::string& error) {
  points.clear();
  for (std::size_t at = text.find("<trkpt"); at != std::string_view::npos;
       at = text.find("<trkpt", at + 1)) {
    const std::size_t tagEnd = text.find('>', at);
    if (tagEnd == std::string_view::npos) break;
    const std::string_view tag = text.substr(at, tagEnd - at);
    const std::size_t close = text.find("</trkpt>", tagEnd);
    const std::string_view body =
        tag.ends_with('/')
            ? std::string_view()
            : text.substr(tagEnd + 1,
                          (close == std::string_view::npos ? text.size() : close) - tagEnd - 1);
    const auto lat = attribute(tag, "lat"), lon = attribute(tag, "lon");
    const auto time = element(body, "time");
    if (!lat || !lon || !time || std::fabs(*lat) > 90 || std::fabs(*lon) > 180) continue;
    const auto seconds = isoSeconds(*time);
    if (!seconds) continue;
    TrackPoint p{*seconds, *lat, *lon, std::nullopt};
    if (const auto ele = element(body, "ele")) p.elevation = number(*ele);
    // A clock that stands or runs back gives no speed.
    if (!points.empty() && p.seconds <= points.back().seconds) continue;
    points.push_back(p);
  }
  if (points.size() < 2) {
    error = media::translate("velimoro::studio::Track", "軌跡に場所と時刻のある点が二つありません");
    points.clear();
    return false;
  }
  return true;
}

bool readSpeedLog(std::string_view text, std::vector<SpeedSample>& samples, std::string& error) {
  samples.clear();
  int lineNumber = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
    const std::size_t comma = line.find_first_of(",;\t");
    const auto seconds =
        comma == std::string_view::npos ? std::nullopt : number(line.substr(0, comma));
    const auto kmh =
        comma == std::string_view::npos ? std::nullopt : number(line.substr(comma + 1));
    if (!seconds || !kmh || *kmh < 0) {
      if (lineNumber == 1) continue;  // a heading
      error = media::fill(
          media::translate("velimoro::studio::Track", "%1 行目が「秒,km/h」ではありません"),
          {std::to_string(lineNumber)});
      samples.clear();
      return false;
    }
    if (!samples.empty() && *seconds <= samples.back().seconds) continue;
    samples.push_back({*seconds, *kmh});
  }
  if (samples.size() < 2) {
    error = media::translate("velimoro::studio::Track", "速度記録に記録が二つありません");
    return false;
  }
  return true;
}

}  // namespace velimoro::studio
