#pragma once

#include <string>
#include <vector>

#include "tools/content/route_design.h"

namespace velimoro::content {

/// Writes the sounds every route shares (chime, departure melody, crossing bell, bridge,
/// standing announcement) below `root`.
void writeRouteSounds(const std::string& root);

/// Writes the arrival and next-stop announcements of every station of `routes`, each once.
/// Returns the number of files written.
int writeStationAnnouncements(const std::vector<RouteDesign>& routes, const std::string& root);

/// Writes the call-out voices, and the call-outs of the lineside boards that routes list in
/// "[OtherImageList]", below `root`; returns the number written.
int writeCalloutVoices(const std::string& root);

}  // namespace velimoro::content
