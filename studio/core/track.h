#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velimoro::studio {

/// A point of a recorded track: its clock time, its place and, when the file gives one, its
/// height above sea level.
struct TrackPoint {
  double seconds = 0;  // since 1970-01-01 00:00 UTC
  double latitude = 0;
  double longitude = 0;
  std::optional<double> elevation;  // metres
};

/// The points of the first track of GPX text, in file order, with the points whose time does
/// not rise over the one before left out; false with `error` set when the text holds no two
/// time-stamped points. Reads any text to its end, however damaged.
bool readGpx(std::string_view text, std::vector<TrackPoint>& points, std::string& error);

/// Seconds since 1970 of an ISO 8601 UTC time such as "2024-05-01T10:00:00Z" or
/// "2024-05-01T10:00:00.5+09:00"; nullopt when it is none.
std::optional<double> isoSeconds(std::string_view text);

/// Great-circle distance in metres between two points (mean earth radius).
double metresBetween(const TrackPoint& a, const TrackPoint& b);

/// A speed log's samples: seconds from its start and km/h, one "seconds,km/h" line each (a
/// first line that is no numbers is taken as a heading and skipped); false with `error` naming
/// the first line that is neither, or when fewer than two samples rise in time.
struct SpeedSample {
  double seconds = 0;
  double kmh = 0;
};
bool readSpeedLog(std::string_view text, std::vector<SpeedSample>& samples, std::string& error);

}  // namespace velimoro::studio
