#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velimoro::content {

/// A station of a line; positions are metres from the line's start.
struct StationDesign {
  std::string name;
  std::string id;       // ASCII, names the station's announcement files
  std::string reading;  // kana for the voices
  double metre = 0;
  int doorSide = 0;  // 0 doors on the left, 1 on the right
};

struct SpanDesign {
  double from = 0;  // metres
  double to = 0;
  double value = 0;  // limit km/h, gradient per mille or tunnel darkness
};

/// One filmed run of track: what the route video will show and what every route file on that
/// video shares (frames, signals, limits, slopes, tunnels, crossings).
struct LineDesign {
  std::string video;     // base name of the route video
  double lineSpeed = 0;  // km/h the filming train runs at between stations
  double end = 0;        // metres where the video ends
  std::vector<StationDesign> stations;
  std::vector<SpanDesign> limits;
  std::vector<SpanDesign> slopes;
  std::vector<SpanDesign> tunnels;
  std::vector<SpanDesign> bridges;
  std::vector<double> crossings;
  // Stop points of road traffic signals that guard a level crossing a few metres beyond them.
  std::vector<double> roadSignals;
  bool protection = true;  // signals with train protection beacons
  bool shunting = false;   // yard moves: shunting signals, walking-pace limits
};

/// A train running ahead on the same line: it stands at `station` until `departs`, then runs at
/// `speed` from stop to stop, standing `dwellSeconds` at every station, and ends at the last.
struct PrecedingTrainDesign {
  std::size_t station = 0;
  int departs = 0;   // ticks of 1/30 s
  double speed = 0;  // km/h
  int dwellSeconds = 0;
};

/// A short movie that stands in for the route video.
enum class SceneKind {
  kBoarding,      // while the train stands at `station`: passengers walk to the doors
  kPassingTrain,  // while the train runs `from` .. `to`: a train passes on the loop track
};
struct MovieSceneDesign {
  SceneKind kind = SceneKind::kBoarding;
  std::string movie;  // base name; the file lies beside the route videos
  std::size_t station = 0;
  double from = 0;  // metres, running scenes
  double to = 0;
};

/// An animated lineside thing shown on the cab while the train runs `from` .. `to`.
enum class AnimKind { kCrossingLamps, kFlag };
struct AnimDesign {
  AnimKind kind = AnimKind::kCrossingLamps;
  double from = 0;  // metres
  double to = 0;
  int ticksPerPicture = 0;  // the picture steps after this many ticks more
};

/// Lineside boards of the other-picture list, each with the call-out said on seeing it.
enum class BoardKind { kRockfall, kWhistle };

struct BoardDesign {
  BoardKind kind = BoardKind::kRockfall;
  double metre = 0;  // where it stands; the call-out key says it in the 120 m before
};

/// One route data file on a line.
struct RouteDesign {
  std::string file;  // "line_up1_local.dat"
  std::string lineName;
  std::string lineName2;
  LineDesign line;
  std::vector<int> kinds;  // per station: 0 stop with doors, 1 pass, 2 stop without doors
  int firstDeparture = 0;  // ticks of 1/30 s
  int oneMan = 0;
  std::vector<double> speedChecks;  // metres of overspeed check points at the limit there
  bool cabSignalApproach = false;   // a cab-signal check section before the last station
  int staffPageRows = 0;            // station rows a timetable card page holds; 0 one page
  bool stopSounds = false;          // lists each stop's arrival sound ("[StopSound]")
  std::optional<PrecedingTrainDesign> precedingTrain;
  std::vector<MovieSceneDesign> scenes;
  std::vector<AnimDesign> anims;
  std::vector<BoardDesign> boards;
};

/// The six routes of the title screen, in menu order.
std::vector<RouteDesign> demoRoutes();

/// Time of day in ticks of 1/30 s.
constexpr int clockTicks(int hours, int minutes, int seconds) {
  return ((hours * 60 + minutes) * 60 + seconds) * 30;
}

}  // namespace velimoro::content
