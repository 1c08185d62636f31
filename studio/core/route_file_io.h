#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "data/route_document.h"

namespace velimoro::studio {

/// The largest route file the studio opens: far beyond any route (a full one of every table is
/// a few megabytes), and small enough that a damaged file cannot take the memory.
inline constexpr std::size_t kMaxRouteFileBytes = 64 * 1024 * 1024;

/// The document of the route file at `path`; nullopt with `error` set (the message the author
/// sees) when it cannot be read or is larger than kMaxRouteFileBytes.
std::optional<RouteDocument> openRouteDocument(const std::string& path, std::string& error);

/// The whole of a text file the author brings beside the route (a GPX track, a speed log) into
/// `text`; false with `error` set (the message the author sees) when it cannot be read or is
/// larger than kMaxRouteFileBytes.
bool readTextFile(const std::string& path, std::string& text, std::string& error);

/// The video of the route file at `path`: the "[Path]" of the "dorvanel.dat" beside it and the
/// route's "[DataName]", as the drive finds it; empty when the route names none.
std::string routeVideoPath(const std::string& path, const RouteDocument& route);

/// Writes `bytes` to `path` through a temporary file beside it that replaces the file only once
/// it is complete, so that a failed save leaves the file as it was. False with `error` set when
/// it cannot be written.
bool saveFileWhole(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace velimoro::studio
