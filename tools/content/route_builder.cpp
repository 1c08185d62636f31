#include "tools/content/route_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "data/numbers.h"
#include "data/route_reader.h"
#include "data/route_records.h"
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
TrafficSignalEntry trafficSignalRecord(const BuiltRoute& r, double metre) {
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
  TrafficSignalEntry e;
  std::size_t n = 1;
  for (int v : {at, r.frameAt(metre - 120), r.frameAt(metre + 8)})
    e.field[n++] = v;
  for (const Phase& p : phases)
    for (int v : {p.picture, p.ticks, p.pass})
      e.field[n++] = v;
  // Detector, the end of its answer, its two lamps; 1: no stop sign at the detector.
  for (int v :
       {r.frameAt(metre - 60), at, static_cast<int>(kDetectWait), static_cast<int>(kDetectGo), 1})
    e.field[n++] = v;
  return e;
}

// A value as the route file holds it, to one place.
long double toOnePlace(double value) {
  return *parseExtended(fixed(value, 1));
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

namespace {

// Appends to a route file being written; a line the file could not hold is a fault of the
// generator.
struct RouteFileWriter {
  RouteDocument doc;

  void check(bool ok) const {
    if (!ok) throw std::logic_error("the route file refused a line");
  }
  void comment(const std::string& text) { check(doc.appendLooseLine(text)); }
  void section(RouteSection s, const std::string& note = {}) { check(doc.appendSection(s, note)); }
  void line(const std::string& text) { check(doc.appendLine(text)); }
  void end() { check(doc.endList()); }
};

}  // namespace

RouteDocument routeDocument(const BuiltRoute& r) {
  using S = RouteSection;
  const RouteDesign& d = r.design;
  const LineDesign& line = d.line;
  const std::size_t n = line.stations.size();
  RouteFileWriter w;
  w.comment("; " + d.lineName + " (velimoro デモ路線, 自動生成)");
  w.section(S::kLineName);
  w.line(d.lineName);
  w.section(S::kLineName2);
  w.line(d.lineName2);
  w.section(S::kStartPos);
  w.line(std::to_string(r.stationFrames.front()));
  w.section(S::kFrameRate);
  w.line("30");
  w.section(S::kStaf);
  w.line(staffPictureName(d));
  w.line(kRouteImages + "standby.bmp");
  w.section(S::kFriction);
  w.line(decimalText(Fixed::fromRaw(3500)));
  if (!r.staffPageStarts.empty()) {
    w.section(S::kStafSwitch, "page height, then the station from which each further page shows");
    w.line(std::to_string(staffPageHeight(d)));
    for (int station : r.staffPageStarts)
      w.line(std::to_string(station));
    w.end();
  }
  w.section(S::kMovieStop, "the last frame of the video");
  w.line(std::to_string(r.endFrame));
  w.end();
  if (!r.scenes.empty()) {
    w.section(S::kMovieSwitch,
              "kind (2 while standing, 0 while running), from, to, movie, frames, resume frame");
    for (const BuiltScene& sc : r.scenes)
      w.line(recordLine(MovieSwitchEntry{.kind = sc.kind,
                                         .fromFrame = sc.fromFrame,
                                         .toFrame = sc.toFrame,
                                         .movieText = sc.design.movie,
                                         .movieLength = sc.length,
                                         .resumeFrame = sc.resumeFrame}));
    w.end();
  }
  w.section(S::kSpeedSignal, "km/h per aspect: stop, restricting, caution, reduced, clear");
  for (int v :
       line.shunting ? std::vector<int>{0, 15, 25, 25, 35} : std::vector<int>{0, 25, 45, 65, 110})
    w.line(std::to_string(v));
  w.end();
  w.section(S::kDataName);
  w.line(line.video);
  w.section(S::kPerspective);
  w.line("20.0");
  w.line("150");
  if (!r.preTrains.empty()) {
    w.section(S::kPreTrain, "start frame, last frame; then station, km/h, from time of day");
    w.line(csv({r.preTrainStart, r.endFrame}));
    for (const PreTrainEntry& p : r.preTrains)
      w.line(recordLine(p));
    w.end();
  }
  w.section(S::kOneMan);
  w.line(std::to_string(d.oneMan));
  w.comment(
      "; route sounds: 0 arrival chime, 1 departure melody, 2 crossing bell, 3 bridge, "
      "4 standing announcement, then per station its arrival and next-stop announcements");
  w.section(S::kSoundData);
  for (const char* file :
       {"arrive_chime.wav", "melody.wav", "crossing.wav", "bridge.wav", "standing.wav"})
    w.line(kRouteSounds + file);
  for (const StationDesign& s : line.stations) {
    w.line(kStationSounds + s.id + "_arrive.wav");
    w.line(kStationSounds + s.id + "_next.wav");
  }
  w.end();
  w.section(S::kAnnounce, "sound, 0 after leaving / 1 before arriving, station, metres");
  w.line(std::to_string(kStanding));
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (!stops(d, i)) continue;
    std::size_t next = i + 1;
    while (next + 1 < n && !stops(d, next))
      ++next;
    w.line(recordLine(AnnounceEntry{.sound = stationNext(static_cast<int>(next)),
                                    .kind = 0,
                                    .station = static_cast<int>(i),
                                    .offset = 150}));
  }
  w.end();
  w.section(S::kKankoSound1);
  for (const VoiceLine& v : fixedVoices())
    w.line(kVoices + v.file);
  w.section(S::kKankoSound2);
  for (const VoiceLine& v : routeVoices())
    w.line(kVoices + v.file);
  w.end();
  w.section(S::kSound, "sound, start, stop, km/h, loop, pitch follows, volume follows");
  for (const SpanDesign& b : line.bridges)
    w.line(recordLine(RouteSoundEntry{.sound = kBridge,
                                      .startFrame = r.frameAt(b.from),
                                      .stopFrame = r.frameAt(b.to),
                                      .refSpeed = 60,
                                      .loop = 1,
                                      .pitchFollows = 1,
                                      .volumeFollows = 0}));
  w.end();
  w.section(S::kDoppler, "sound, frame, radius cm, no shift");
  for (double c : line.crossings)
    w.line(recordLine(DopplerEntry{
        .sound = kCrossingBell, .position = r.frameAt(c), .radius = 15000, .noShift = 0}));
  w.end();
  w.section(S::kTunnel, "entry, exit, darkness");
  for (const SpanDesign& t : line.tunnels)
    w.line(recordLine(TunnelEntry{.entry = r.frameAt(t.from),
                                  .exit = r.frameAt(t.to),
                                  .darkness = static_cast<int>(std::lround(t.value))}));
  w.end();
  w.section(S::kStation,
            "name, kind, stop frame, tolerance cm, arrival sound, departure sound, 0, "
            "departure time, 0, door side, 0, 0, marker left, marker shift");
  for (std::size_t i = 0; i < n; ++i) {
    const StationDesign& s = line.stations[i];
    StationEntry e;
    e.name = s.name;
    e.kind = d.kinds[i];
    e.stopFrame = r.stationFrames[i];
    e.stopTolerance = e.kind == 0 ? 200 : 300;
    e.departSound1 = e.kind == 1 ? kArriveChime : stationArrive(static_cast<int>(i));
    e.departSound2 = kMelody;
    e.departTime = r.departTimes[i];
    e.stationValue10 = s.doorSide;
    e.stationValue13 = s.doorSide == 1 ? 420 : 180;
    w.line(recordLine(e));
  }
  w.end();
  if (d.stopSounds) {
    w.section(S::kStopSound,
              "the arrival sound of each stop (kept with the route; the drive plays none)");
    for (std::size_t i = 0; i < n; ++i)
      if (stops(d, i)) w.line(std::to_string(stationArrive(static_cast<int>(i))));
    w.end();
  }
  w.comment("; [Signal] fields: 1 state mode (0 free, 2 fixed), 2 stored state, 3 mode parameter,");
  w.comment("; 4 lamp type,");
  w.comment(
      "; 5-6 frames in view, 7 warning beacon, 8 the signal, 9 number plate picture (0 none),");
  w.comment("; 10-11 side indicator pictures, 12 cab code");
  w.section(S::kSignal);
  for (const BuiltSignal& s : r.signals) {
    SignalEntry e;
    // A signal designed to show less than clear holds that state; the others are free and
    // follow the blocks ahead.
    e.signalA = s.state < 4 ? 2 : 0;
    e.signalB = s.state;
    e.signalType = s.lampType;
    e.showFrom = s.showFrom;
    e.showTo = s.showTo;
    e.signalG = s.beacon1;
    e.position = s.frame;
    e.signalI = s.plate;
    w.line(recordLine(e));
  }
  w.end();
  if (!line.roadSignals.empty()) {
    w.comment(
        "; [TrafficSignal] fields: 1 stop point, 2-3 frames in view, then six phases of picture,");
    w.comment(
        "; tenths of a second and may pass (1), 22 detector, 23 end of its answer, 24-25 its");
    w.comment("; pictures for stop and go, 26 0 when a stop sign stands at the detector");
    w.section(S::kTrafficSignal);
    for (double m : line.roadSignals)
      w.line(recordLine(trafficSignalRecord(r, m)));
    w.end();
  }
  w.section(S::kSlope, "per mille, from, to");
  for (const SpanDesign& s : line.slopes)
    w.line(recordLine(SlopeEntry{.from = r.frameAt(s.from),
                                 .to = r.frameAt(s.to),
                                 .gradient = Fixed::fromLongDouble(toOnePlace(s.value))}));
  w.end();
  w.section(S::kSign, "picture, from, to, call-out: kilometre posts, lineside boards");
  for (int km = 1; km <= kKilometrePosts && km * 1000 < line.end; ++km) {
    const int board = static_cast<int>(limitBoardSpeeds().size()) + km - 1;
    w.line(recordLine(SignEntry{.from = r.frameAt(km * 1000.0 - kSignInView),
                                .to = r.frameAt(km * 1000.0),
                                .image = board,
                                .boardCallout = 0}));
  }
  // A board's field 4 names its "[OtherImageList]" entry + 1, whose sound calls it out.
  for (std::size_t i = 0; i < d.boards.size(); ++i) {
    const BoardDesign& b = d.boards[i];
    w.line(recordLine(SignEntry{.from = r.frameAt(b.metre - kSignInView),
                                .to = r.frameAt(b.metre),
                                .image = boardSign(b.kind),
                                .boardCallout = static_cast<int>(i) + 1}));
  }
  w.end();
  const std::vector<AnimKind> anims = animKinds(d);
  if (!anims.empty()) {
    w.section(S::kAnim, "from, to, ticks per picture, first picture");
    for (const AnimDesign& a : d.anims) {
      const auto first = std::find(anims.begin(), anims.end(), a.kind) - anims.begin();
      w.line(recordLine(AnimEntry{.from = r.frameAt(a.from),
                                  .to = r.frameAt(a.to),
                                  .ticksPerPicture = a.ticksPerPicture,
                                  .firstPicture = static_cast<int>(first) * kAnimPictures}));
    }
    w.end();
  }
  w.section(S::kSignalKanko, "signal, when, voice");
  for (std::size_t i = 0; i < r.signals.size(); ++i)
    w.line(recordLine(
        SignalCalloutEntry{.signal = static_cast<int>(i), .when = 0, .voice = r.signals[i].voice}));
  w.end();
  w.section(S::kStationKanko, "station, when, action");
  for (std::size_t i = 0; i < n; ++i) {
    const int s = static_cast<int>(i);
    if (!stops(d, i)) continue;
    w.line(recordLine(StationCalloutEntry{.station = s, .when = 4, .action = kVoiceStopPosition}));
    if (i + 1 < n)
      w.line(recordLine(StationCalloutEntry{.station = s, .when = 3, .action = r.departTimes[i]}));
    if (d.oneMan == 0 && d.kinds[i] == 0 && i + 1 < n)
      w.line(recordLine(StationCalloutEntry{.station = s, .when = 5, .action = kVoiceDoorsClosed}));
  }
  w.end();
  w.section(S::kSpeedLimit, "km/h, board, 0, from, to");
  for (const SpanDesign& l : line.limits) {
    const int kmh = static_cast<int>(std::lround(l.value));
    w.line(recordLine(SpeedLimitEntry{.limit = kmh,
                                      .image = limitBoard(kmh),
                                      .limitC = 0,
                                      .position = r.frameAt(l.from),
                                      .limitE = r.frameAt(l.to)}));
  }
  w.end();
  w.section(S::kSpeedCheck1, "km/h, frame");
  for (double m : d.speedChecks) {
    for (const SpanDesign& l : line.limits)
      if (m >= l.from && m <= l.to)
        w.line(speedCheck1Line(SpeedCheckEntry{.checkA = static_cast<int>(std::lround(l.value)) + 5,
                                               .checkB = r.frameAt(m)}));
  }
  w.end();
  w.section(S::kSpeedCheck2, "km/h, first frame, last frame");
  if (d.cabSignalApproach)
    w.line(speedCheck2Line(SpeedCheckEntry{.checkA = 25,
                                           .checkB = r.frameAt(line.stations.back().metre - 300),
                                           .checkC = r.stationFrames.back()}));
  w.end();
  w.section(S::kSignImageList, "gradient boards");
  w.line(kRouteImages + "grade_up.bmp");
  w.line(kRouteImages + "grade_down.bmp");
  w.end();
  if (!d.boards.empty()) {
    w.section(S::kOtherImageList, "lineside boards, each with its call-out");
    for (const BoardDesign& b : d.boards) {
      w.line(boardPictureName(b.kind));
      w.line(boardSoundName(b.kind));
    }
    w.end();
  }
  if (!anims.empty()) {
    w.section(S::kAnimImageList);
    for (AnimKind kind : anims)
      for (int i = 0; i < kAnimPictures; ++i)
        w.line(animPictureName(kind, i));
    w.end();
  }
  w.section(S::kSignalImageList, "aspects 0-21, then number plates");
  for (int i = 0; i < kAspectPictures; ++i)
    w.line(kRouteImages + "aspect" + std::to_string(i) + ".bmp");
  for (int i = 1; i <= kPlatePictures; ++i)
    w.line(kRouteImages + "plate" + std::to_string(i) + ".bmp");
  w.end();
  if (!line.roadSignals.empty()) {
    w.section(S::kTrafficSignalImageList, "stop, go, clearing, detector answering stop, go");
    for (int i = 0; i < kTrafficPictures; ++i)
      w.line(trafficPictureName(i));
    w.end();
  }
  w.section(S::kSignalImageList2, "speed-limit boards, kilometre posts, lineside boards");
  for (int kmh : limitBoardSpeeds())
    w.line(kRouteImages + "limit" + std::to_string(kmh) + ".bmp");
  for (int km = 1; km <= kKilometrePosts; ++km)
    w.line(kRouteImages + "km" + std::to_string(km) + ".bmp");
  if (!d.boards.empty()) {
    for (BoardKind kind : kAllBoards)
      w.line(boardPictureName(kind));
  }
  w.end();
  w.section(S::kSpeedUnit, "from, to, filming km/h at from, at to");
  for (const FrameSpeedEntry& s : r.segments)
    w.line(recordLine(FrameSpeedEntry{.fromFrame = s.fromFrame,
                                      .toFrame = s.toFrame,
                                      .fromSpeed = toOnePlace(static_cast<double>(s.fromSpeed)),
                                      .toSpeed = toOnePlace(static_cast<double>(s.toSpeed))}));
  w.end();
  w.section(S::kCrossImageList);
  w.line(kRouteImages + "crossing.bmp");
  w.end();
  w.section(S::kCross, "0, voice, from, to, 0");
  for (double c : line.crossings)
    w.line(recordLine(CrossingEntry{.crossA = 0,
                                    .crossVoice = kVoiceCrossing,
                                    .from = r.frameAt(c - 250),
                                    .to = r.frameAt(c),
                                    .crossE = 0}));
  w.end();
  w.section(S::kTime, "from, to, time of day: passing points");
  for (std::size_t i = 1; i < n; ++i)
    if (!stops(d, i))
      w.line(recordLine(TimeEntry{.from = r.frameAt(line.stations[i].metre - 400),
                                  .to = r.stationFrames[i],
                                  .at = r.departTimes[i]}));
  w.end();
  w.section(S::kSwitch, "frame, kind of points");
  for (std::size_t i = 0; i < n; ++i) {
    const double at = line.stations[i].metre;
    if (i > 0)
      w.line(recordLine(SwitchEntry{.switchFrame = r.frameAt(at - 160), .switchValue = 0}));
    if (i + 1 < n)
      w.line(recordLine(SwitchEntry{.switchFrame = r.frameAt(at + 150), .switchValue = 1}));
  }
  w.end();
  return std::move(w.doc);
}

}  // namespace velimoro::content
