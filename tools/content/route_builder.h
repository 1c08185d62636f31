#pragma once

#include <string>
#include <vector>

#include "data/route_data.h"
#include "tools/content/route_design.h"

namespace velimoro::content {

/// A line-side signal placed on the filmed run.
struct BuiltSignal {
  double metre = 0;
  int frame = 0;
  int showFrom = 0;  // in view while showFrom < frame < showTo
  int showTo = 0;
  int beacon1 = 0;  // 0: no warning beacon
  int lampType = 0;
  int state = 0;
  int plate = 0;  // 0 none, else the picture index of its number plate
  int voice = 0;  // the call-out voice naming the signal
};

/// A route design turned into frames: the filming-speed table and every object's frame.
struct BuiltRoute {
  RouteDesign design;
  std::vector<FrameSpeedEntry> segments;
  std::vector<int> stationFrames;
  std::vector<int> departTimes;  // ticks; for passing points the passing time
  std::vector<BuiltSignal> signals;
  int endFrame = 0;

  /// The first frame whose distance reaches `metre` along the run.
  int frameAt(double metre) const;
};

/// Places everything of the route on the frames of its filmed run.
BuiltRoute buildRoute(const RouteDesign& design);

/// The lines of the route data file (UTF-8; written as CP932).
std::vector<std::string> routeFileLines(const BuiltRoute& route);

/// Folders and fixed file names of the route material, relative to the data root.
inline const std::string kRouteImages = "image\\route\\";
inline const std::string kRouteSounds = "sound\\route\\";
inline const std::string kStationSounds = "sound\\station\\";
inline const std::string kVoices = "sound\\voice\\";

/// Aspect pictures come first in the signal picture list, one per aspect code 0..21; the
/// number plates of block signals follow.
inline constexpr int kAspectPictures = 22;
inline constexpr int kPlatePictures = 9;
/// Speed-limit boards of the second signal list, then the kilometre posts.
const std::vector<int>& limitBoardSpeeds();
inline constexpr int kKilometrePosts = 9;

/// The staff card picture of a route ("image\route\staff_<video>_<n>.bmp").
std::string staffPictureName(const RouteDesign& design);

}  // namespace velimoro::content
