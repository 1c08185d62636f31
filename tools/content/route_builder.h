#pragma once

#include <string>
#include <vector>

#include "data/route_data.h"
#include "data/route_document.h"
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

/// A scene movie placed on the run. It stands in for the route video over route frames
/// fromFrame .. toFrame; a running scene's frame k shows route frame fromFrame + k.
struct BuiltScene {
  MovieSceneDesign design;
  int kind = 0;  // 2 played while the train stands, 0 while it runs
  int fromFrame = 0;
  int toFrame = 0;
  int length = 0;       // frames the route file names
  int resumeFrame = 0;  // where the route video goes on afterwards
  int movieFrames = 0;  // frames of the movie file: a running scene a few more than `length`
};

/// A route design turned into frames: the filming-speed table and every object's frame.
struct BuiltRoute {
  RouteDesign design;
  std::vector<FrameSpeedEntry> segments;
  std::vector<int> stationFrames;
  std::vector<int> departTimes;  // ticks; for passing points the passing time
  std::vector<BuiltSignal> signals;
  std::vector<BuiltScene> scenes;
  // The timetable card: the station whose row heads each page after the first.
  std::vector<int> staffPageStarts;
  // The preceding train: its frame at the start and its timetable, one record per station.
  int preTrainStart = 0;
  std::vector<PreTrainEntry> preTrains;
  int endFrame = 0;

  /// The first frame whose distance reaches `metre` along the run.
  int frameAt(double metre) const;
};

/// Places everything of the route on the frames of its filmed run.
BuiltRoute buildRoute(const RouteDesign& design);

/// The route data file, with a note on each section's header and comments on its records.
RouteDocument routeDocument(const BuiltRoute& route);

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

/// The staff card picture of a route ("image\route\staff_<route file's base name>.bmp").
std::string staffPictureName(const RouteDesign& design);
/// Height in pixels of one page of a route's timetable card.
int staffPageHeight(const RouteDesign& design);
inline constexpr int kStaffHeader = 40;
inline constexpr int kStaffRow = 44;

/// Pictures of one animated thing: the cab steps through all of them in turn.
inline constexpr int kAnimPictures = 14;
std::string animPictureName(AnimKind kind, int picture);

/// The other-picture list's boards and the call-outs said on seeing them.
std::string boardPictureName(BoardKind kind);
std::string boardSoundName(BoardKind kind);
inline const std::vector<BoardKind> kAllBoards = {BoardKind::kRockfall, BoardKind::kWhistle};

/// Road traffic signal pictures: the train's stop, go and clearing lamps, then the detector's
/// lamp for a stop and for a go phase.
enum TrafficPicture : int { kTrafficStop, kTrafficGo, kTrafficClearing, kDetectWait, kDetectGo };
inline constexpr int kTrafficPictures = 5;
std::string trafficPictureName(int picture);

}  // namespace velimoro::content
