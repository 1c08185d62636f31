#include "tools/content/route_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "data/route_reader.h"
#include "tools/content/callout_voices.h"

namespace velimoro::content {
namespace {

constexpr double kStationSpeed = 25;  // km/h the filming train passes its stops at
constexpr double kRamp = 450;         // metres to reach line speed from a stop

// Route sounds ("[SoundData]") shared by every route, then two per station.
enum RouteSound : int { kArriveChime, kMelody, kCrossingBell, kBridge, kStanding, kFirstStation };

int stationArrive(int station) {
  return kFirstStation + 2 * station;
}

int stationNext(int station) {
  return kFirstStation + 2 * station + 1;
}

std::string fixed(double v, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::string csv(std::initializer_list<long long> values) {
  std::string line;
  for (long long v : values)
    line += (line.empty() ? "" : ",") + std::to_string(v);
  return line;
}

bool stops(const RouteDesign& d, std::size_t station) {
  return d.kinds.at(station) != 1;
}

// Speed knots of the filmed run: slow at every stop of the filming train, line speed between,
// and no faster than a limit over its span.
std::vector<std::pair<double, double>> speedKnots(const LineDesign& line) {
  std::vector<std::pair<double, double>> knots;
  const auto cap = [&](double metre, double speed) {
    for (const SpanDesign& limit : line.limits)
      if (metre >= limit.from - 150 && metre <= limit.to) speed = std::min(speed, limit.value - 5);
    return speed;
  };
  for (std::size_t i = 0; i < line.stations.size(); ++i) {
    const double at = line.stations[i].metre;
    knots.push_back({at, kStationSpeed});
    if (i + 1 < line.stations.size()) {
      const double next = line.stations[i + 1].metre;
      const double gap = next - at;
      const double ramp = std::min(kRamp, gap / 3);
      for (double m = at + ramp; m < next - ramp; m += 100)
        knots.push_back({m, cap(m, line.lineSpeed)});
      knots.push_back({next - ramp, cap(next - ramp, line.lineSpeed)});
    }
  }
  knots.push_back({line.end, kStationSpeed});
  return knots;
}

std::vector<FrameSpeedEntry> segmentsOf(const LineDesign& line) {
  const auto knots = speedKnots(line);
  std::vector<FrameSpeedEntry> segments;
  int frame = 0;
  for (std::size_t i = 0; i + 1 < knots.size(); ++i) {
    const auto [m0, c] = knots[i];
    const auto [m1, d] = knots[i + 1];
    if (m1 <= m0) continue;
    // Frames at 30 a second over the span at the mean of the two speeds.
    const int frames = std::max(1, static_cast<int>(std::lround(216 * (m1 - m0) / (c + d))));
    FrameSpeedEntry e;
    e.fromFrame = frame;
    e.toFrame = frame + frames;
    e.fromSpeed = c;
    e.toSpeed = d;
    segments.push_back(e);
    frame += frames;
  }
  return segments;
}

// Running time in seconds between two stops at a little under the line speed, with time to
// accelerate and brake.
int runningSeconds(double metres, double lineSpeed) {
  return static_cast<int>(std::lround(metres / (lineSpeed * 0.8 / 3.6) + 25));
}

int roundUpToQuarterMinute(int ticks) {
  return (ticks + 449) / 450 * 450;
}

void placeSignals(BuiltRoute& r) {
  const LineDesign& line = r.design.line;
  struct Plan {
    double metre;
    int lampType;
    int state;
    int plate;
    int voice;
  };
  std::vector<Plan> plan;
  const std::size_t n = line.stations.size();
  int block = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double at = line.stations[i].metre;
    if (line.shunting) {
      if (i + 1 < n) plan.push_back({at + 30, 0, 4, 0, kVoiceShuntingSignal});
      continue;
    }
    // The last home signal shows caution: the train runs into a terminal track.
    if (i > 0) plan.push_back({at - 250, 3, i + 1 == n ? 2 : 4, 0, kVoiceHomeSignal});
    if (i + 1 == n) continue;
    plan.push_back({at + 120, 3, 4, 0, kVoiceStartingSignal});
    const double from = at + 120, to = line.stations[i + 1].metre - 250;
    const int count = static_cast<int>((to - from) / 1200);
    for (int k = 1; k <= count; ++k) {
      ++block;
      plan.push_back({from + (to - from) * k / (count + 1), 3, block % 3 == 0 ? 3 : 4,
                      kAspectPictures + (block - 1) % kPlatePictures, kVoiceBlockSignal});
    }
  }
  double lastShown = -1e9;
  for (const Plan& p : plan) {
    BuiltSignal s;
    s.metre = p.metre;
    s.frame = r.frameAt(p.metre);
    const double from = std::max({lastShown + 2, p.metre - 600, 1.0});
    s.showFrom = r.frameAt(from);
    s.showTo = r.frameAt(p.metre + 5);
    s.beacon1 = line.protection ? r.frameAt(std::min(from + 30, p.metre - 20)) : 0;
    s.lampType = p.lampType;
    s.state = p.state;
    s.plate = p.plate;
    s.voice = p.voice;
    lastShown = p.metre + 5;
    r.signals.push_back(s);
  }
}

// Scene movies.
constexpr int kBoardingFrames = 150;  // five seconds of passengers boarding
constexpr double kStopWindow = 2;     // metres either side of the stop point
constexpr int kSceneOverrun = 30;     // frames a running scene holds beyond its range

void placeScenes(BuiltRoute& r) {
  for (const MovieSceneDesign& d : r.design.scenes) {
    BuiltScene s;
    s.design = d;
    if (d.kind == SceneKind::kBoarding) {
      // Plays once the train stands within the stopping window; the run goes on from the stop.
      const double at = r.design.line.stations.at(d.station).metre;
      s.kind = 2;
      s.fromFrame = r.frameAt(at - kStopWindow);
      s.toFrame = r.frameAt(at + kStopWindow);
      s.length = kBoardingFrames;
      s.resumeFrame = r.stationFrames.at(d.station);
      s.movieFrames = s.length;
    } else {
      // Follows the train frame for frame; it ends once the train has left the range, and the
      // route video goes on at the frame just past it.
      s.kind = 0;
      s.fromFrame = r.frameAt(d.from);
      s.toFrame = r.frameAt(d.to) - 1;
      s.length = s.toFrame - s.fromFrame + 1;
      s.resumeFrame = s.toFrame + 1;
      s.movieFrames = s.length + kSceneOverrun;
    }
    r.scenes.push_back(s);
  }
}

// Pages of the timetable card: each further page begins with the last stop the page before
// shows, so the row of the station the train stands at stays in view when the page turns.
void pageStaffCard(BuiltRoute& r) {
  const RouteDesign& d = r.design;
  const int rows = d.staffPageRows;
  const int count = static_cast<int>(d.line.stations.size());
  if (rows < 2) return;
  int start = 0;
  while (start + rows < count) {
    int next = start + rows - 1;
    for (int s = next; s > start; --s) {
      if (stops(d, static_cast<std::size_t>(s))) {
        next = s;
        break;
      }
    }
    r.staffPageStarts.push_back(next);
    start = next;
  }
}

// The preceding train stands at its first station until its departure, runs at its speed to
// the next station, stands there for its dwell, and so on; at the last station it stays.
void planPrecedingTrain(BuiltRoute& r) {
  if (!r.design.precedingTrain) return;
  const PrecedingTrainDesign& p = *r.design.precedingTrain;
  const auto& stations = r.design.line.stations;
  const int speed = static_cast<int>(std::lround(p.speed));
  r.preTrainStart = r.stationFrames.at(p.station);
  int departs = p.departs;
  for (std::size_t i = p.station; i + 1 < stations.size(); ++i) {
    r.preTrains.push_back({static_cast<int>(i), speed, departs});
    const double seconds = (stations[i + 1].metre - stations[i].metre) / (p.speed / 3.6);
    departs += static_cast<int>(std::lround(30 * seconds)) + 30 * p.dwellSeconds;
  }
  r.preTrains.push_back({static_cast<int>(stations.size()) - 1, 0, departs - 30 * p.dwellSeconds});
}

// The kinds of animation a route shows, in order of first use; each takes kAnimPictures
// pictures of the route's animation list in that order.
std::vector<AnimKind> animKinds(const RouteDesign& d) {
  std::vector<AnimKind> kinds;
  for (const AnimDesign& a : d.anims)
    if (std::find(kinds.begin(), kinds.end(), a.kind) == kinds.end()) kinds.push_back(a.kind);
  return kinds;
}

// A road traffic signal: six phases of (picture, tenths of a second, may pass), the road's
// green first, then the train's turn; a detector 60 m before the stop point answers the train.
std::string trafficSignalRecord(const BuiltRoute& r, double metre) {
  struct Phase {
    int picture;
    int ticks;
    int pass;
  };
  const Phase phases[6] = {{kTrafficStop, 200, 0},     // road green
                           {kTrafficStop, 30, 0},      // road amber
                           {kTrafficStop, 20, 0},      // all red
                           {kTrafficGo, 150, 1},       // the train's turn
                           {kTrafficClearing, 30, 0},  // the train's turn ends
                           {kTrafficStop, 20, 0}};     // all red
  const int at = r.frameAt(metre);
  std::string line = csv({at, r.frameAt(metre - 120), r.frameAt(metre + 8)});
  for (const Phase& p : phases)
    line += "," + csv({p.picture, p.ticks, p.pass});
  // Detector, the end of its answer, its two lamps; 1: no stop sign at the detector.
  line += "," + csv({r.frameAt(metre - 60), at, kDetectWait, kDetectGo, 1});
  return line;
}

int limitBoard(int kmh) {
  const auto& speeds = limitBoardSpeeds();
  const auto it = std::find(speeds.begin(), speeds.end(), kmh);
  if (it == speeds.end()) throw std::logic_error("no board for " + std::to_string(kmh) + " km/h");
  return static_cast<int>(it - speeds.begin());
}

// Signs come into view this many metres before they stand.
constexpr double kSignInView = 120;

// A lineside board's picture in "[SignalImageList2]", after the kilometre posts.
int boardSign(BoardKind kind) {
  const auto at = std::find(kAllBoards.begin(), kAllBoards.end(), kind) - kAllBoards.begin();
  return static_cast<int>(limitBoardSpeeds().size()) + kKilometrePosts + static_cast<int>(at);
}

}  // namespace

const std::vector<int>& limitBoardSpeeds() {
  static const std::vector<int> speeds = {15, 25, 35, 40, 45, 50, 55, 60, 65, 75};
  return speeds;
}

std::string staffPictureName(const RouteDesign& design) {
  const std::string base = design.file.substr(0, design.file.size() - 4);
  return kRouteImages + "staff_" + base + ".bmp";
}

int staffPageHeight(const RouteDesign& design) {
  const int rows = design.staffPageRows > 0 ? design.staffPageRows
                                            : static_cast<int>(design.line.stations.size());
  return kStaffHeader + kStaffRow * rows;
}

std::string animPictureName(AnimKind kind, int picture) {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", picture);
  return kRouteImages + (kind == AnimKind::kCrossingLamps ? "anim_lamps" : "anim_flag") + number +
         ".bmp";
}

std::string boardPictureName(BoardKind kind) {
  return kRouteImages + (kind == BoardKind::kRockfall ? "board_rockfall" : "board_whistle") +
         ".bmp";
}

std::string boardSoundName(BoardKind kind) {
  return kVoices + (kind == BoardKind::kRockfall ? "board_rockfall" : "board_whistle") + ".wav";
}

std::string trafficPictureName(int picture) {
  static const char* const names[kTrafficPictures] = {"road_stop", "road_go", "road_clearing",
                                                      "road_detect_wait", "road_detect_go"};
  return kRouteImages + names[std::clamp(picture, 0, kTrafficPictures - 1)] + ".bmp";
}

int BuiltRoute::frameAt(double metre) const {
  const std::int64_t target = std::llround(metre * 100);
  std::int64_t acc = 0;
  for (const FrameSpeedEntry& s : segments) {
    if (segmentDistanceCm(s, acc, s.toFrame) >= target) {
      int lo = s.fromFrame, hi = s.toFrame;
      while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (segmentDistanceCm(s, acc, mid) >= target) {
          hi = mid;
        } else {
          lo = mid + 1;
        }
      }
      return lo;
    }
    acc = segmentDistanceCm(s, acc, s.toFrame);
  }
  return segments.empty() ? 0 : segments.back().toFrame;
}

BuiltRoute buildRoute(const RouteDesign& design) {
  if (design.kinds.size() != design.line.stations.size())
    throw std::logic_error(design.file + ": one kind per station");
  BuiltRoute r;
  r.design = design;
  r.segments = segmentsOf(design.line);
  r.endFrame = r.frameAt(design.line.end);
  int clock = design.firstDeparture;
  double lastStop = 0;
  for (std::size_t i = 0; i < design.line.stations.size(); ++i) {
    const double at = design.line.stations[i].metre;
    r.stationFrames.push_back(r.frameAt(at));
    if (i > 0) {
      // Passing points get the time the train runs through; stops a dwell after arriving.
      const int arrive = clock + 30 * runningSeconds(at - lastStop, design.line.lineSpeed);
      clock = stops(design, i) ? roundUpToQuarterMinute(arrive + 30 * 25) : arrive;
    }
    r.departTimes.push_back(clock);
    if (stops(design, i)) lastStop = at;
  }
  placeSignals(r);
  placeScenes(r);
  pageStaffCard(r);
  planPrecedingTrain(r);
  return r;
}

std::vector<std::string> routeFileLines(const BuiltRoute& r) {
  const RouteDesign& d = r.design;
  const LineDesign& line = d.line;
  const std::size_t n = line.stations.size();
  std::vector<std::string> out;
  const auto add = [&out](const std::string& s) { out.push_back(s); };
  add("; " + d.lineName + " (velimoro デモ路線, 自動生成)");
  add("[LineName]");
  add(d.lineName);
  add("[LineName2]");
  add(d.lineName2);
  add("[StartPos]");
  add(std::to_string(r.stationFrames.front()));
  add("[FrameRate]");
  add("30");
  add("[Staf]");
  add(staffPictureName(d));
  add(kRouteImages + "standby.bmp");
  add("[Friction]");
  add("0.35");
  if (!r.staffPageStarts.empty()) {
    add("[StafSwitch] page height, then the station from which each further page shows");
    add(std::to_string(staffPageHeight(d)));
    for (int station : r.staffPageStarts)
      add(std::to_string(station));
    add("#");
  }
  add("[MovieStop] the last frame of the video");
  add(std::to_string(r.endFrame));
  add("#");
  if (!r.scenes.empty()) {
    add("[MovieSwitch] kind (2 while standing, 0 while running), from, to, movie, frames, "
        "resume frame");
    for (const BuiltScene& sc : r.scenes)
      add(csv({sc.kind, sc.fromFrame, sc.toFrame}) + "," + sc.design.movie + "," +
          csv({sc.length, sc.resumeFrame}));
    add("#");
  }
  add("[Speed_Signal] km/h per aspect: stop, restricting, caution, reduced, clear");
  for (int v :
       line.shunting ? std::vector<int>{0, 15, 25, 25, 35} : std::vector<int>{0, 25, 45, 65, 110})
    add(std::to_string(v));
  add("#");
  add("[DataName]");
  add(line.video);
  add("[Perspective]");
  add("20.0");
  add("150");
  if (!r.preTrains.empty()) {
    add("[Pre_Train] start frame, last frame; then station, km/h, from time of day");
    add(csv({r.preTrainStart, r.endFrame}));
    for (const PreTrainEntry& p : r.preTrains)
      add(csv({p.preA, p.preB, p.preC}));
    add("#");
  }
  add("[OneMan]");
  add(std::to_string(d.oneMan));
  add("; route sounds: 0 arrival chime, 1 departure melody, 2 crossing bell, 3 bridge, "
      "4 standing announcement, then per station its arrival and next-stop announcements");
  add("[SoundData]");
  for (const char* file :
       {"arrive_chime.wav", "melody.wav", "crossing.wav", "bridge.wav", "standing.wav"})
    add(kRouteSounds + file);
  for (const StationDesign& s : line.stations) {
    add(kStationSounds + s.id + "_arrive.wav");
    add(kStationSounds + s.id + "_next.wav");
  }
  add("#");
  add("[Announce] sound, 0 after leaving / 1 before arriving, station, metres");
  add(std::to_string(kStanding));
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (!stops(d, i)) continue;
    std::size_t next = i + 1;
    while (next + 1 < n && !stops(d, next))
      ++next;
    add(csv({stationNext(static_cast<int>(next)), 0, static_cast<long long>(i), 150}));
  }
  add("#");
  add("[KankoSound1]");
  for (const VoiceLine& v : fixedVoices())
    add(kVoices + v.file);
  add("[KankoSound2]");
  for (const VoiceLine& v : routeVoices())
    add(kVoices + v.file);
  add("#");
  add("[Sound] sound, start, stop, km/h, loop, pitch follows, volume follows");
  for (const SpanDesign& b : line.bridges)
    add(csv({kBridge, r.frameAt(b.from), r.frameAt(b.to), 60, 1, 1, 0}));
  add("#");
  add("[Doppler] sound, frame, radius cm, no shift");
  for (double c : line.crossings)
    add(csv({kCrossingBell, r.frameAt(c), 15000, 0}));
  add("#");
  add("[Tunnel] entry, exit, darkness");
  for (const SpanDesign& t : line.tunnels)
    add(csv({r.frameAt(t.from), r.frameAt(t.to), std::lround(t.value)}));
  add("#");
  add("[Station] name, kind, stop frame, tolerance cm, arrival sound, departure sound, 0, "
      "departure time, 0, door side, 0, 0, marker left, marker shift");
  for (std::size_t i = 0; i < n; ++i) {
    const StationDesign& s = line.stations[i];
    const int kind = d.kinds[i];
    const int arrive = kind == 1 ? kArriveChime : stationArrive(static_cast<int>(i));
    add(s.name + "," +
        csv({kind, r.stationFrames[i], kind == 0 ? 200 : 300, arrive, kMelody, 0, r.departTimes[i],
             0, s.doorSide, 0, 0, s.doorSide == 1 ? 420 : 180, 0}));
  }
  add("#");
  if (d.stopSounds) {
    add("[StopSound] the arrival sound of each stop (kept with the route; the drive plays none)");
    for (std::size_t i = 0; i < n; ++i)
      if (stops(d, i)) add(std::to_string(stationArrive(static_cast<int>(i))));
    add("#");
  }
  add("; [Signal] fields: 1 state mode (0 free, 2 fixed), 2 stored state, 3 mode parameter,");
  add("; 4 lamp type,");
  add("; 5-6 frames in view, 7 warning beacon, 8 the signal, 9 number plate picture (0 none),");
  add("; 10-11 side indicator pictures, 12 cab code");
  add("[Signal]");
  for (const BuiltSignal& s : r.signals)
    add(csv(
        // A signal designed to show less than clear holds that state; the others are free and
        // follow the blocks ahead.
        {s.state < 4 ? 2 : 0, s.state, 0, s.lampType, s.showFrom, s.showTo, s.beacon1, s.frame,
         s.plate, 0, 0, 0}));
  add("#");
  if (!line.roadSignals.empty()) {
    add("; [TrafficSignal] fields: 1 stop point, 2-3 frames in view, then six phases of picture,");
    add("; tenths of a second and may pass (1), 22 detector, 23 end of its answer, 24-25 its");
    add("; pictures for stop and go, 26 0 when a stop sign stands at the detector");
    add("[TrafficSignal]");
    for (double m : line.roadSignals)
      add(trafficSignalRecord(r, m));
    add("#");
  }
  add("[Slope] per mille, from, to");
  for (const SpanDesign& s : line.slopes)
    add(fixed(s.value, 1) + "," + csv({r.frameAt(s.from), r.frameAt(s.to)}));
  add("#");
  add("[Sign] picture, from, to, call-out: kilometre posts, lineside boards");
  for (int km = 1; km <= kKilometrePosts && km * 1000 < line.end; ++km) {
    const int board = static_cast<int>(limitBoardSpeeds().size()) + km - 1;
    add(csv({board, r.frameAt(km * 1000.0 - kSignInView), r.frameAt(km * 1000.0), 0}));
  }
  // A board's field 4 names its "[OtherImageList]" entry + 1, whose sound calls it out.
  for (std::size_t i = 0; i < d.boards.size(); ++i) {
    const BoardDesign& b = d.boards[i];
    add(csv({boardSign(b.kind), r.frameAt(b.metre - kSignInView), r.frameAt(b.metre),
             static_cast<long long>(i) + 1}));
  }
  add("#");
  const std::vector<AnimKind> anims = animKinds(d);
  if (!anims.empty()) {
    add("[Anim] from, to, ticks per picture, first picture");
    for (const AnimDesign& a : d.anims) {
      const auto first = std::find(anims.begin(), anims.end(), a.kind) - anims.begin();
      add(csv({r.frameAt(a.from), r.frameAt(a.to), a.ticksPerPicture, first * kAnimPictures}));
    }
    add("#");
  }
  add("[SignalKanko] signal, when, voice");
  for (std::size_t i = 0; i < r.signals.size(); ++i)
    add(csv({static_cast<long long>(i), 0, r.signals[i].voice}));
  add("#");
  add("[StationKanko] station, when, action");
  for (std::size_t i = 0; i < n; ++i) {
    const long long s = static_cast<long long>(i);
    if (!stops(d, i)) continue;
    add(csv({s, 4, kVoiceStopPosition}));
    if (i + 1 < n) add(csv({s, 3, r.departTimes[i]}));
    if (d.oneMan == 0 && d.kinds[i] == 0 && i + 1 < n) add(csv({s, 5, kVoiceDoorsClosed}));
  }
  add("#");
  add("[SpeedLimit] km/h, board, 0, from, to");
  for (const SpanDesign& l : line.limits) {
    const int kmh = static_cast<int>(std::lround(l.value));
    add(csv({kmh, limitBoard(kmh), 0, r.frameAt(l.from), r.frameAt(l.to)}));
  }
  add("#");
  add("[SpeedCheck1] km/h, frame");
  for (double m : d.speedChecks) {
    for (const SpanDesign& l : line.limits)
      if (m >= l.from && m <= l.to) add(csv({std::lround(l.value) + 5, r.frameAt(m)}));
  }
  add("#");
  add("[SpeedCheck2] km/h, first frame, last frame");
  if (d.cabSignalApproach)
    add(csv({25, r.frameAt(line.stations.back().metre - 300), r.stationFrames.back()}));
  add("#");
  add("[SignImageList] gradient boards");
  add(kRouteImages + "grade_up.bmp");
  add(kRouteImages + "grade_down.bmp");
  add("#");
  if (!d.boards.empty()) {
    add("[OtherImageList] lineside boards, each with its call-out");
    for (const BoardDesign& b : d.boards) {
      add(boardPictureName(b.kind));
      add(boardSoundName(b.kind));
    }
    add("#");
  }
  if (!anims.empty()) {
    add("[AnimImageList]");
    for (AnimKind kind : anims)
      for (int i = 0; i < kAnimPictures; ++i)
        add(animPictureName(kind, i));
    add("#");
  }
  add("[SignalImageList] aspects 0-21, then number plates");
  for (int i = 0; i < kAspectPictures; ++i)
    add(kRouteImages + "aspect" + std::to_string(i) + ".bmp");
  for (int i = 1; i <= kPlatePictures; ++i)
    add(kRouteImages + "plate" + std::to_string(i) + ".bmp");
  add("#");
  if (!line.roadSignals.empty()) {
    add("[TrafficSignalImageList] stop, go, clearing, detector answering stop, go");
    for (int i = 0; i < kTrafficPictures; ++i)
      add(trafficPictureName(i));
    add("#");
  }
  add("[SignalImageList2] speed-limit boards, kilometre posts, lineside boards");
  for (int kmh : limitBoardSpeeds())
    add(kRouteImages + "limit" + std::to_string(kmh) + ".bmp");
  for (int km = 1; km <= kKilometrePosts; ++km)
    add(kRouteImages + "km" + std::to_string(km) + ".bmp");
  if (!d.boards.empty()) {
    for (BoardKind kind : kAllBoards)
      add(boardPictureName(kind));
  }
  add("#");
  add("[SpeedUnit] from, to, filming km/h at from, at to");
  for (const FrameSpeedEntry& s : r.segments)
    add(csv({s.fromFrame, s.toFrame}) + "," + fixed(static_cast<double>(s.fromSpeed), 1) + "," +
        fixed(static_cast<double>(s.toSpeed), 1));
  add("#");
  add("[CrossImageList]");
  add(kRouteImages + "crossing.bmp");
  add("#");
  add("[Cross] 0, voice, from, to, 0");
  for (double c : line.crossings)
    add(csv({0, kVoiceCrossing, r.frameAt(c - 250), r.frameAt(c), 0}));
  add("#");
  add("[Time] from, to, time of day: passing points");
  for (std::size_t i = 1; i < n; ++i)
    if (!stops(d, i))
      add(csv({r.frameAt(line.stations[i].metre - 400), r.stationFrames[i], r.departTimes[i]}));
  add("#");
  add("[Switch] frame, kind of points");
  for (std::size_t i = 0; i < n; ++i) {
    const double at = line.stations[i].metre;
    if (i > 0) add(csv({r.frameAt(at - 160), 0}));
    if (i + 1 < n) add(csv({r.frameAt(at + 150), 1}));
  }
  add("#");
  return out;
}

}  // namespace velimoro::content
