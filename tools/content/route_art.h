#pragma once

#include <string>
#include <vector>

#include "tools/content/route_builder.h"

namespace velimoro::content {

/// Writes the pictures every route shares (signal aspects, plates, boards, posts, gradient and
/// crossing signs, the standby screen) below `root`.
void writeRouteArt(const std::string& root);

/// Writes the timetable card of one route: a row per station with its departure time.
void writeStaffCard(const BuiltRoute& route, const std::string& root);

}  // namespace velimoro::content
