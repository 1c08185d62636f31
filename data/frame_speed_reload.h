#pragma once

#include <string>

#include "data/route_data.h"

namespace velimoro {

/// The value display's reload of the filming-speed table from the route file at `path` (resolved):
/// the lines after "[SpeedUnit]" up to one beginning with "#", each "from,to,fromSpeed,toSpeed",
/// replace the table's entries from the first, and the count becomes the lines read. A line that
/// does not read ends the reload with the lines before it. False, with the table untouched, when
/// the file, the section or its first line cannot be read.
bool reloadFrameSpeeds(const std::string& path, RouteData& route);

}  // namespace velimoro
