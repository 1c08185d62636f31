#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/route_data.h"
#include "data/route_document.h"
#include "studio/core/track.h"

namespace velimoro::studio {

// The filming-speed table ("[SpeedUnit]") ties video frames to distances. A segment's speeds are
// not km/h of the filming train but the speeds at which one frame passes every 33 ms step: a
// segment from frame A to frame B adds (C + D) × (B − A) / 2.16 cm whatever the video's frame
// rate, so a speed is 108 × the metres a frame covers.

/// The distance along the run at a frame.
struct FrameDistance {
  int frame = 0;
  double metres = 0;
};

/// Route video frame `frame` was filmed at clock time `seconds` of the track or speed log.
struct ClockMark {
  int frame = 0;
  double seconds = 0;
};

/// Two frames and the distance between them in metres, as read off kilometre posts.
struct FramePair {
  int from = 0;
  int to = 0;
  double metres = 0;
};

/// The slowest speed a segment is given: the cab advances the video by the speed rounded to
/// whole km/h, so a segment below it would stand the video still while the train runs on.
inline constexpr double kSlowestFilmingSpeed = 1.0;

/// Maps frames to clock times: one mark with the video's `fps`, two or more through the first
/// and last (a camera clock that runs fast or slow). False with `error` set when the marks
/// give no forward-running clock.
struct FrameClock {
  double firstSeconds = 0;
  int firstFrame = 0;
  double secondsPerFrame = 0;

  double at(int frame) const { return firstSeconds + (frame - firstFrame) * secondsPerFrame; }
};
bool frameClock(std::vector<ClockMark> marks, double fps, FrameClock& clock, std::string& error);

/// Distances at frames 0, `step`, 2 × `step`, … and `lastFrame` along a track; before its first
/// and after its last point the distance stands.
std::vector<FrameDistance> trackDistances(const std::vector<TrackPoint>& track,
                                          const FrameClock& clock, int lastFrame, int step);
/// The same from a speed log, its speeds integrated over time.
std::vector<FrameDistance> speedLogDistances(const std::vector<SpeedSample>& log,
                                             const FrameClock& clock, int lastFrame, int step);
/// Distances at the pairs' frames: each pair's distance over its frames, a stretch between pairs
/// at the mean speed of the pairs beside it. False with `error` set for a pair that runs
/// backwards, has no distance, or overlaps another.
bool pairDistances(std::vector<FramePair> pairs, std::vector<FrameDistance>& out,
                   std::string& error);

/// The segments that reproduce the distances: each stretch between two given frames at its
/// mean speed, neighbours merged while the merged speed keeps every given distance within
/// `tolerance` (a fraction) of the distance from the merged segment's start. At most
/// RouteData::kFrameSpeeds segments: the tolerance widens until they fit.
std::vector<FrameSpeedEntry> speedSegments(const std::vector<FrameDistance>& distances,
                                           double tolerance = 0.0025);

/// "[Slope]" records from the track's elevations: gradients in per mille over `window` metres,
/// taken every `step` frames, rounded to 0.5 per mille and merged where they agree; level
/// stretches get no record. Empty when the track has no elevations.
std::vector<SlopeEntry> slopeRecords(const std::vector<TrackPoint>& track, const FrameClock& clock,
                                     int lastFrame, int step, double window = 100);

/// The route's filming-speed table as the reader takes it (records that do not read are left
/// out), and the distance in metres it gives at `frame`; 0 before the first segment, the last
/// segment's end after it.
std::vector<FrameSpeedEntry> speedTableOf(const RouteDocument& route);
double metresAtFrame(const std::vector<FrameSpeedEntry>& table, int frame);

/// What a calibration starts from: kilometre-post pairs, a GPX track or a speed log, the last two
/// aligned to the video by clock marks (the track's clock: seconds since 1970; the log's: seconds
/// from its start).
struct CalibrationSource {
  enum class Kind { kPosts, kTrack, kSpeedLog };
  Kind kind = Kind::kPosts;
  std::vector<FramePair> pairs;
  std::vector<TrackPoint> track;
  std::vector<SpeedSample> log;
  std::vector<ClockMark> marks;
  double fps = 30;
  int lastFrame = 0;    // the video's last frame
  bool slopes = false;  // also "[Slope]" records from the track's elevations
};

/// A calibration's outcome: the distances it found, the segments that give them, the slopes when
/// asked for, and the largest deviation of the segments' distances from the found ones, as a
/// fraction of the distance from the first given frame.
struct Calibration {
  std::vector<FrameDistance> distances;
  std::vector<FrameSpeedEntry> segments;
  std::vector<SlopeEntry> slopes;
  bool slopesAsked = false;
  double worstDeviation = 0;
};

/// Calibrates from `source`: distances sampled every second of video (every `fps` frames) for a
/// track or a log; for posts, the pairs' distances, run on at the nearest pair's speed to frame
/// 0 and to the last frame. False with `error` set (a text to show) when the source gives no
/// table.
bool calibrate(const CalibrationSource& source, Calibration& out, std::string& error);

/// A clock mark's time as typed: an ISO time, or seconds after `start` (a track's first point,
/// or 0 for a speed log); nullopt when it is neither.
std::optional<double> clockTime(std::string_view text, double start);

/// Puts the segments in place of the route's "[SpeedUnit]" records, and with `slopes` the slopes
/// in place of its "[Slope]" records; every other line stays. False when the document refuses.
bool writeCalibration(RouteDocument& route, const std::vector<FrameSpeedEntry>& segments,
                      const std::vector<SlopeEntry>* slopes);

}  // namespace velimoro::studio
