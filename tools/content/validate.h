#pragma once

#include <string>
#include <vector>

namespace velimoro::content {

/// Checks the installation in `root` with the data checker, which must find nothing (no error,
/// no warning), then the demo's own rules: each route's tables agree with each other (stations,
/// pictures, sounds and frames that one section names another holds) and each train gives a
/// panel and sounds for its sound numbers. With `videos`, the route videos and scene movies must
/// be there and hold the frames the routes play; without, the routes still name them but they
/// are not looked for. Throws std::runtime_error whose message names the data file and the
/// fault.
void validateDemo(const std::string& root, const std::vector<std::string>& trainFiles,
                  const std::vector<std::string>& routeFiles, bool videos = false);

/// The scene-movie part of validateDemo with videos: every scene movie the routes name opens
/// and holds at least the frames the route plays.
void validateSceneMovies(const std::string& root, const std::vector<std::string>& routeFiles);

}  // namespace velimoro::content
