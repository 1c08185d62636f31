#pragma once

#include <string>
#include <vector>

#include "tools/content/route_builder.h"

namespace velimoro::content {

/// Writes the pictures the routes share (signal aspects, plates, boards, posts, gradient and
/// crossing signs, the standby screen, the animations' pictures, the lineside boards of the
/// other-picture list and the road traffic signal's pictures) below `root`.
void writeRouteArt(const std::string& root);

/// Writes the timetable card of one route: a row per station with its departure time, on pages
/// of the route's page height when the route turns its pages.
void writeStaffCard(const BuiltRoute& route, const std::string& root);

}  // namespace velimoro::content
