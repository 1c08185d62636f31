#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/content/route_builder.h"
#include "tools/content/video_render.h"

namespace velimoro::content {

/// Renders one scene movie of a built route to `path` (an MJPEG AVI of `size` at the route
/// videos' frame rate) and returns the frames written. A boarding scene shows the picture the route
/// video has at the stop with passengers walking to the doors; a passing-train scene shows the
/// route video's own frames of its range with a train passing on the loop track, so the picture
/// does not jump where the scene begins. Throws std::runtime_error on failure.
int renderSceneMovie(const BuiltRoute& route, const BuiltScene& scene, const std::string& path,
                     VideoSize size = {});

/// Renders every scene movie the routes name into `root`/move/, beside the route videos, each
/// once; returns the number of movies written.
int writeSceneMovies(const std::vector<BuiltRoute>& routes, const std::string& root,
                     std::ostream& progress, VideoSize size = {});

}  // namespace velimoro::content
