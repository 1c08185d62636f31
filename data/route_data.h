#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/fixed.h"

namespace velimoro {

// Positions along a route are video frame numbers; the *Cm fields are distances derived from
// them by the frame-speed table. Times of day count ticks of 1/30 s.

struct AnnounceEntry {
  int sound = 0;    // route sound index
  int kind = 0;     // 0 after leaving the station, 1 before arriving
  int station = 0;  // station index
  int offset = 0;   // metres from the station's stop point
};

struct RouteSoundEntry {
  int sound = 0;
  int startFrame = 0;
  int stopFrame = 0;
  int refSpeed = 0;  // km/h
  int loop = 0;      // 0 once, 1 or more looped until stopFrame
  int pitchFollows = 0;
  int volumeFollows = 0;
};

struct DopplerEntry {
  int sound = 0;
  int position = 0;  // frame of the source
  int radius = 0;    // cm
  int noShift = 0;
  std::int64_t positionCm = 0;
};

struct TunnelEntry {
  int entry = 0;
  int exit = 0;
  int darkness = 0;  // 0..255
  std::int64_t entryCm = 0;
  std::int64_t exitCm = 0;
};

struct StationEntry {
  int kind = 0;
  std::string name;
  int stopFrame = 0;
  int stopTolerance = 0;  // cm, half width of the stopping window
  int departSound1 = 0;   // route sound index
  int departSound2 = 0;   // route sound index
  int stationValue7 = 0;
  int departTime = 0;  // ticks of 1/30 s
  std::int64_t stopCm = 0;
  std::int64_t stopMinCm = 0;
  std::int64_t stopMaxCm = 0;
  int stationValue9 = 0;
  int stationValue10 = 0;
  int stationValue11 = 0;
  int stationValue12 = 0;
  int stationValue13 = 0;
  int stationValue14 = 0;
};

struct SignalEntry {
  int signalA = 0;     // file field 1
  int signalB = 0;     // 2
  int signalC = 0;     // 3
  int signalType = 0;  // 4
  int signalK = 0;     // 11
  int signalL = 0;     // 12
  int showFrom = 0;    // 5: in view while showFrom < frame < showTo
  int showTo = 0;      // 6
  int signalG = 0;     // 7
  int position = 0;    // 8
  int signalI = 0;     // 9
  int signalJ = 0;     // 10
  int aspect = 0;      // runtime: current aspect
};

/// A road traffic signal. Its 26 file fields are kept by their file field numbers, as the rules
/// that use them name them.
struct TrafficSignalEntry {
  std::array<int, 27> field{};  // field[1] .. field[26]; field[0] unused
  std::array<int, 7> runtime{};
  std::int64_t positionCm = 0;   // of field 1
  std::int64_t position2Cm = 0;  // of field 22

  int position() const { return field[1]; }
  int position2() const { return field[22]; }
};

struct SlopeEntry {
  int from = 0;
  int to = 0;
  Fixed gradient;  // per mille, positive uphill
};

struct SignEntry {
  int from = 0;
  int to = 0;
  int image = 0;         // index into the second signal pictures
  int boardCallout = 0;  // 1 + the "[OtherImageList]" entry whose sound calls the sign out; 0 none
};

struct AnimEntry {
  int from = 0;
  int to = 0;
  int ticksPerPicture = 0;
  int firstPicture = 0;
};

struct SignalCalloutEntry {
  int signal = 0;
  int when = 0;
  int voice = 0;
};

struct StationCalloutEntry {
  int station = 0;
  int when = 0;
  int action = 0;  // 0..998 voice, 999 the Enter key, 1000 and above a time of day
};

struct SpeedLimitEntry {
  int limit = 0;  // km/h
  int image = 0;
  int limitC = 0;
  int position = 0;  // frame where the limit begins
  int limitE = 0;
  std::int64_t positionCm = 0;
};

/// "[SpeedCheck1]": checkA speed, checkB frame. "[SpeedCheck2]": checkA speed, checkB first
/// frame, checkC last frame.
struct SpeedCheckEntry {
  int checkA = 0;
  int checkB = 0;
  int checkC = 0;
};

struct CrossingEntry {
  int crossA = 0;
  int crossVoice = 0;
  int from = 0;
  int to = 0;
  int crossE = 0;
};

struct TimeEntry {
  int from = 0;
  int to = 0;
  int at = 0;    // time of day in ticks
  int done = 0;  // runtime flag
};

struct SwitchEntry {
  int switchFrame = 0;
  int switchValue = 0;  // kind of points
};

struct MovieSwitchEntry {
  int kind = 0;  // 2: a scene while standing; else a scene that replaces the video while running
  int fromFrame = 0;
  int toFrame = 0;
  std::string movieText;  // base name of the scene movie
  int movieLength = 0;    // frames
  bool done = false;      // runtime
  int resumeFrame = 0;
};

struct PreTrainEntry {
  int preA = 0;  // station index
  int preB = 0;  // speed, km/h
  int preC = 0;  // clock tick from which the speed applies
};

/// A segment of the filming-speed table: it turns frames into distances and sets the speed sum
/// per video frame.
struct FrameSpeedEntry {
  int fromFrame = 0;
  int toFrame = 0;
  long double fromSpeed = 0;  // km/h
  long double toSpeed = 0;
  std::int64_t endCm = 0;  // derived: distance at toFrame
};

struct RouteEvent {
  std::int64_t cm = 0;
  int type = 0;   // 1 signal, 2 speed limit
  int value = 0;  // limit: km/h
  int index = 0;  // signal: its index; limit: limitC
};

/// A station offered by the Move menu.
struct MoveMenuEntry {
  int station = 0;
  std::string caption;
};

/// Everything read from a route data file, with the distances derived from it. Tables keep
/// their file order and a count; capacities are those of the file format.
struct RouteData {
  static constexpr int kTable = 501;
  static constexpr int kBigTable = 1000;
  static constexpr int kSmallTable = 100;
  static constexpr int kFrameSpeeds = 10000;
  static constexpr int kStaffSwitches = 10;
  static constexpr int kSpeedSignals = 11;
  static constexpr int kKankoSlots = 541;
  static constexpr int kKankoSound1Lines = 21;
  static constexpr int kFirstKankoSound2 = 21;
  // Signals and limits, each possibly twice when it stands on a segment boundary.
  static constexpr int kEvents = 4 * kTable;
  /// The farthest a distance along the route may lie, over eleven million km: the frame-speed
  /// segments of a route that reaches farther are refused, so that the arithmetic on distances
  /// (with margins and with the train's own steps) stays within 64 bits.
  static constexpr std::int64_t kMaxDistanceCm = std::int64_t{1} << 50;

  std::string lineName;
  std::string lineName2;
  int startPos = 0;
  int frameRate = 0;
  std::string staffImage;
  std::string staffBitmap;
  Fixed friction;
  std::string dataName;
  double perspectiveDistance = 0;
  int perspectiveHeight = 0;
  int preTrainStart = 0;
  int preTrainLimit = 0;
  int oneMan = 0;
  std::array<int, kStaffSwitches> staffSwitch{};
  int staffSwitchCount = 0;
  std::array<int, kSmallTable> movieStop{};
  int movieStopCount = 0;  // entries read; only entry 0 is used
  std::array<int, kSpeedSignals> speedSignal{};
  int speedSignalCount = 0;
  std::array<std::string, kKankoSlots> kankoSound{};
  int kankoSoundCount = kFirstKankoSound2;

  std::array<std::string, kTable> soundData{};
  int soundDataCount = 0;
  std::array<int, kTable> soundLength{};  // whole seconds, from the WAVE header
  std::array<AnnounceEntry, kTable> announce{};
  int announceCount = 0;  // records from entry 1 on; entry 0 holds the standing announcement
  std::array<RouteSoundEntry, kTable> sounds{};
  int soundCount = 0;
  std::array<DopplerEntry, kTable> doppler{};
  int dopplerCount = 0;
  std::array<TunnelEntry, kTable> tunnels{};
  int tunnelCount = 0;
  std::array<StationEntry, kTable> stations{};
  int stationCount = 0;
  std::array<int, kTable> stopSounds{};
  int stopSoundCount = 0;
  std::array<SignalEntry, kTable> signals{};
  int signalCount = 0;
  std::array<TrafficSignalEntry, kTable> trafficSignals{};
  int trafficSignalCount = 0;
  std::array<SlopeEntry, kTable> slopes{};
  int slopeCount = 0;
  std::array<SignEntry, kTable> signs{};
  int signCount = 0;
  std::array<AnimEntry, kTable> anims{};
  int animCount = 0;
  std::array<SignalCalloutEntry, kTable> signalCallouts{};
  int signalCalloutCount = 0;
  std::array<StationCalloutEntry, kTable> stationCallouts{};
  int stationCalloutCount = 0;
  std::array<SpeedLimitEntry, kTable> speedLimits{};
  int speedLimitCount = 0;
  std::array<SpeedCheckEntry, kTable> speedChecks1{};
  int speedCheck1Count = 0;
  std::array<SpeedCheckEntry, kTable> speedChecks2{};
  int speedCheck2Count = 0;
  std::array<CrossingEntry, kBigTable> crossings{};
  int crossingCount = 0;
  std::array<TimeEntry, kSmallTable> times{};
  int timeCount = 0;
  std::array<SwitchEntry, kTable> switches{};
  int switchCount = 0;
  std::array<MovieSwitchEntry, kSmallTable> movieSwitches{};
  int movieSwitchCount = 0;
  std::array<PreTrainEntry, kBigTable> preTrains{};
  int preTrainCount = 0;
  std::array<FrameSpeedEntry, kFrameSpeeds> frameSpeeds{};
  int frameSpeedCount = 0;
  // Derived: every segment runs forwards and starts at or after the end of the one before, so
  // a frame lies in at most one segment's [fromFrame, toFrame) and lookups may search.
  bool frameSpeedsOrdered = false;
  std::array<std::string, kBigTable> otherSounds{};
  int otherImageCount = 0;
  int animImageCount = 0;

  std::array<RouteEvent, kEvents> events{};
  int eventCount = 0;
};

}  // namespace velimoro
