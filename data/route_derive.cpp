#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/rounding.h"
#include "data/route_reader.h"
#include "data/wave_header.h"
#include "media/translate.h"

namespace velimoro {
namespace {

int clampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

[[noreturn]] void segmentFault(const FrameSpeedEntry& segment) {
  throw DataError(media::fill(
      media::translate("RouteReader", "路線ファイルに誤りがあります。%1:%2"),
      {"[SpeedUnit]", std::to_string(segment.fromFrame) + "," + std::to_string(segment.toFrame)}));
}

// Segment s runs from distance start[s] to frameSpeeds[s].endCm. A segment whose distances
// could reach beyond RouteData::kMaxDistanceCm (speeds no number, or far beyond any train's)
// is a fault of the route file.
std::vector<std::int64_t> segmentStarts(RouteData& route) {
  constexpr auto kMax = static_cast<long double>(RouteData::kMaxDistanceCm);
  std::vector<std::int64_t> start(static_cast<std::size_t>(route.frameSpeedCount));
  std::int64_t acc = 0;
  for (int s = 0; s < route.frameSpeedCount; ++s) {
    FrameSpeedEntry& segment = route.frameSpeeds[static_cast<std::size_t>(s)];
    start[static_cast<std::size_t>(s)] = acc;
    const long double frames = static_cast<long double>(segment.toFrame) - segment.fromFrame;
    // Within a segment a distance lies no farther from its start than twice this.
    const long double reach =
        (std::fabs(segment.fromSpeed) + std::fabs(segment.toSpeed)) * std::fabs(frames) / 2.16L;
    if (!(reach <= kMax)) segmentFault(segment);
    acc += roundHalfEven((segment.fromSpeed + segment.toSpeed) * frames / 2.16L);
    if (acc > RouteData::kMaxDistanceCm || acc < -RouteData::kMaxDistanceCm) segmentFault(segment);
    segment.endCm = acc;
  }
  return start;
}

// Calls visit(segment, object) for every object whose frame lies in a segment (both ends
// included), segment by segment in file order and, within a segment, in object order: the
// order of a walk over every object for every segment, found by searching the objects sorted
// by frame instead. An object in several segments is visited once for each.
template <typename FrameOf, typename Visit>
void forEachInSegments(const RouteData& route, int objectCount, FrameOf frameOf, Visit visit) {
  if (objectCount <= 0) return;
  std::vector<std::pair<int, int>> byFrame;  // {frame, object}
  byFrame.reserve(static_cast<std::size_t>(objectCount));
  for (int i = 0; i < objectCount; ++i)
    byFrame.emplace_back(frameOf(i), i);
  std::sort(byFrame.begin(), byFrame.end());
  std::vector<int> hits;
  for (int s = 0; s < route.frameSpeedCount; ++s) {
    const FrameSpeedEntry& segment = route.frameSpeeds[static_cast<std::size_t>(s)];
    if (segment.fromFrame > segment.toFrame) continue;
    const auto first = std::partition_point(
        byFrame.begin(), byFrame.end(), [&](const auto& e) { return e.first < segment.fromFrame; });
    const auto last = std::partition_point(
        first, byFrame.end(), [&](const auto& e) { return e.first <= segment.toFrame; });
    if (first == last) continue;
    hits.clear();
    for (auto it = first; it != last; ++it)
      hits.push_back(it->second);
    std::sort(hits.begin(), hits.end());
    for (const int i : hits)
      visit(s, i);
  }
}

void addEvent(RouteData& route, int segment, const RouteEvent& event) {
  if (route.eventCount >= RouteData::kEvents) {
    segmentFault(route.frameSpeeds[static_cast<std::size_t>(segment)]);
  }
  route.events[static_cast<std::size_t>(route.eventCount++)] = event;
}

void clearDerived(RouteData& route) {
  route.eventCount = 0;
  for (int i = 0; i < route.speedLimitCount; ++i) {
    route.speedLimits[static_cast<std::size_t>(i)].positionCm = 0;
  }
  for (int i = 0; i < route.stationCount; ++i) {
    StationEntry& station = route.stations[static_cast<std::size_t>(i)];
    station.stopCm = station.stopMinCm = station.stopMaxCm = 0;
  }
  for (int i = 0; i < route.trafficSignalCount; ++i) {
    TrafficSignalEntry& signal = route.trafficSignals[static_cast<std::size_t>(i)];
    signal.positionCm = signal.position2Cm = 0;
  }
  for (int i = 0; i < route.dopplerCount; ++i) {
    route.doppler[static_cast<std::size_t>(i)].positionCm = 0;
  }
  for (int i = 0; i < route.tunnelCount; ++i) {
    TunnelEntry& tunnel = route.tunnels[static_cast<std::size_t>(i)];
    tunnel.entryCm = tunnel.exitCm = 0;
  }
}

int soundSeconds(const RouteData& route, int sound) {
  if (sound < 0 || sound >= route.soundDataCount) return 0;
  return route.soundLength[static_cast<std::size_t>(sound)];
}

}  // namespace

bool waveLengthSeconds(const std::string& path, int& seconds, std::string& error) {
  seconds = 0;
  WaveHeader header;
  if (!readWaveHeader(path, header, error)) return false;
  // The route reads the length at the fixed places of a plain header, whatever the chunks say.
  if (!header.fixedWords || header.fixedBytesPerSecond == 0) return true;
  seconds = clampToInt(
      roundHalfEven(static_cast<long double>(header.fixedDataBytes) / header.fixedBytesPerSecond));
  return true;
}

void measureRouteSounds(const std::string& root, RouteData& route, media::MessageSink& messages) {
  for (int i = 0; i < route.soundDataCount; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    std::string error;
    if (!waveLengthSeconds(resolvePath(root, route.soundData[slot]), route.soundLength[slot],
                           error)) {
      messages.show(error);
      route.soundLength[slot] = 0;
    }
  }
}

std::int64_t segmentDistanceCm(const FrameSpeedEntry& segment, std::int64_t accCm, int frame) {
  // A segment of one frame has no length to spread its speeds over.
  if (segment.toFrame == segment.fromFrame) return accCm;
  const long double a = segment.fromFrame;
  const long double b = segment.toFrame;
  const long double c = segment.fromSpeed;
  const long double d = segment.toSpeed;
  const long double x = frame;
  // The mean of the filming speeds at a and x (km/h to m/s) times the time between the two
  // frames at 30 frames per second, in centimetres.
  return accCm +
         roundHalfEven(((d - c) / (b - a) * (x - a) + c + c) / 7.2L * ((x - a) / 30.0L) * 100.0L);
}

void deriveRouteDistances(RouteData& route) {
  clearDerived(route);
  route.frameSpeedsOrdered = true;
  for (int i = 0; i < route.frameSpeedCount; ++i) {
    const FrameSpeedEntry& segment = route.frameSpeeds[static_cast<std::size_t>(i)];
    const bool follows =
        i == 0 || segment.fromFrame >= route.frameSpeeds[static_cast<std::size_t>(i - 1)].toFrame;
    if (segment.toFrame < segment.fromFrame || !follows) route.frameSpeedsOrdered = false;
  }
  const std::vector<std::int64_t> start = segmentStarts(route);
  const auto distance = [&](int segment, int frame) {
    const auto s = static_cast<std::size_t>(segment);
    return segmentDistanceCm(route.frameSpeeds[s], start[s], frame);
  };

  forEachInSegments(
      route, route.signalCount,
      [&](int i) { return route.signals[static_cast<std::size_t>(i)].position; },
      [&](int s, int i) {
        const SignalEntry& signal = route.signals[static_cast<std::size_t>(i)];
        addEvent(route, s, RouteEvent{distance(s, signal.position), 1, 0, i});
      });

  forEachInSegments(
      route, route.speedLimitCount,
      [&](int i) { return route.speedLimits[static_cast<std::size_t>(i)].position; },
      [&](int s, int i) {
        SpeedLimitEntry& limit = route.speedLimits[static_cast<std::size_t>(i)];
        limit.positionCm = distance(s, limit.position);
        addEvent(route, s, RouteEvent{limit.positionCm, 2, limit.limit, limit.limitC});
      });

  forEachInSegments(
      route, route.stationCount,
      [&](int i) { return route.stations[static_cast<std::size_t>(i)].stopFrame; },
      [&](int s, int i) {
        StationEntry& station = route.stations[static_cast<std::size_t>(i)];
        station.stopCm = distance(s, station.stopFrame);
        station.stopMinCm = station.stopCm - station.stopTolerance;
        station.stopMaxCm = station.stopCm + station.stopTolerance;
      });

  forEachInSegments(
      route, route.trafficSignalCount,
      [&](int i) { return route.trafficSignals[static_cast<std::size_t>(i)].position(); },
      [&](int s, int i) {
        TrafficSignalEntry& signal = route.trafficSignals[static_cast<std::size_t>(i)];
        signal.positionCm = distance(s, signal.position());
      });
  forEachInSegments(
      route, route.trafficSignalCount,
      [&](int i) { return route.trafficSignals[static_cast<std::size_t>(i)].position2(); },
      [&](int s, int i) {
        TrafficSignalEntry& signal = route.trafficSignals[static_cast<std::size_t>(i)];
        signal.position2Cm = distance(s, signal.position2());
      });

  forEachInSegments(
      route, route.dopplerCount,
      [&](int i) { return route.doppler[static_cast<std::size_t>(i)].position; },
      [&](int s, int i) {
        DopplerEntry& point = route.doppler[static_cast<std::size_t>(i)];
        point.positionCm = distance(s, point.position);
      });

  forEachInSegments(
      route, route.tunnelCount,
      [&](int i) { return route.tunnels[static_cast<std::size_t>(i)].entry; },
      [&](int s, int i) {
        TunnelEntry& tunnel = route.tunnels[static_cast<std::size_t>(i)];
        tunnel.entryCm = distance(s, tunnel.entry);
      });
  forEachInSegments(
      route, route.tunnelCount,
      [&](int i) { return route.tunnels[static_cast<std::size_t>(i)].exit; },
      [&](int s, int i) {
        TunnelEntry& tunnel = route.tunnels[static_cast<std::size_t>(i)];
        tunnel.exitCm = distance(s, tunnel.exit);
      });

  // Equal distances keep their order: signals before limits, each in file order.
  std::stable_sort(route.events.begin(), route.events.begin() + route.eventCount,
                   [](const RouteEvent& a, const RouteEvent& b) { return a.cm < b.cm; });
}

std::vector<MoveMenuEntry> moveMenuEntries(const RouteData& route) {
  std::vector<MoveMenuEntry> entries;
  // The last station is never offered: a run cannot start where it ends.
  for (int i = 0; i + 1 < route.stationCount; ++i) {
    const StationEntry& station = route.stations[static_cast<std::size_t>(i)];
    if (station.kind == 0 || station.kind == 2) entries.push_back({i, station.name});
  }
  return entries;
}

StartPoint routeStartPoint(const RouteData& route, int startIndex) {
  StartPoint start;
  if (route.stationCount <= 0) {
    start.frame = route.startPos;
    start.nextStation = 1;
    return start;
  }
  const int index = std::clamp(startIndex, 0, route.stationCount - 1);
  const StationEntry& station = route.stations[static_cast<std::size_t>(index)];
  start.frame = index < 1 ? route.startPos : station.stopFrame;
  // A run from a later station begins on arrival, so the arrival announcement as well as the
  // departure announcement still lie before the departure time.
  std::int64_t clock = std::int64_t{station.departTime} -
                       30 * std::int64_t{soundSeconds(route, station.departSound2)};
  if (index >= 1) clock -= 30 * std::int64_t{soundSeconds(route, station.departSound1)};
  start.clockTicks = clampToInt(clock);
  start.doorsOpen = station.kind == 0;
  start.nextStation = index + 1;
  return start;
}

}  // namespace velimoro
