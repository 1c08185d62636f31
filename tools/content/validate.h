#pragma once

#include <string>
#include <vector>

namespace velimoro::content {

/// Reads back every train, route and string file in `root` with the system's own readers and
/// checks that every file they name exists and that each route's tables agree with each other
/// (stations, pictures, sounds and frames that one section names another holds). With
/// `videos`, every route video and scene movie the routes name must open and hold the frames
/// the route plays; without, the routes still name them but they are not looked for. Throws
/// std::runtime_error whose message names the data file and the fault.
void validateDemo(const std::string& root, const std::vector<std::string>& trainFiles,
                  const std::vector<std::string>& routeFiles, bool videos = false);

/// The scene-movie part of validateDemo with videos: every scene movie the routes name opens
/// and holds at least the frames the route plays.
void validateSceneMovies(const std::string& root, const std::vector<std::string>& routeFiles);

}  // namespace velimoro::content
