#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/picture_lists.h"
#include "data/read_log.h"
#include "data/route_data.h"
#include "media/message_sink.h"
#include "media/picture_loader.h"

namespace velimoro {

/// Reads the route data file `root` + `fileName` into `route`; images named by its image-list
/// sections are loaded relative to `root` and appended to `lists`. Throws DataError with the
/// message the user sees ("路線ファイルに誤りがあります。" + label + ":" + line) on the first
/// fault; with a `log`, notes every fault there instead, going on at a list's next record or
/// else at the next section, and notes the line of every section and record.
void readRouteFile(const std::string& root, const std::string& fileName, RouteData& route,
                   media::PictureLoader& pictures, PictureLists& lists, ReadLog* log = nullptr);

/// Whether `line` opens a section of the route data file (starts with one of its headers).
bool opensRouteSection(std::string_view line);

/// Loads the timetable card picture `route.staffImage` relative to `root`; nullopt when the
/// route names none. Throws DataError (the name + "が見つかりません") when it cannot be loaded.
std::optional<int> loadStaffPicture(const std::string& root, const RouteData& route,
                                    media::PictureLoader& pictures);

/// Playing time in whole seconds of a WAVE file, from its header (data size at byte 40 over bytes
/// per second at byte 28, rounded); 0 for a header shorter than 44 bytes or 0 bytes per second.
/// Returns false and sets `error` when the file cannot be read.
bool waveLengthSeconds(const std::string& path, int& seconds, std::string& error);

/// Measures every route sound ("[SoundData]", relative to `root`) into `route.soundLength`; a
/// file that cannot be read shows its error through `messages` and counts 0 seconds.
void measureRouteSounds(const std::string& root, RouteData& route, media::MessageSink& messages);

/// Distance in cm of `frame` within frame-speed segment `segment`, given the distance `accCm`
/// at the segment's first frame.
std::int64_t segmentDistanceCm(const FrameSpeedEntry& segment, std::int64_t accCm, int frame);

/// Fills the derived distances of stations, traffic signals, Doppler points, tunnels and speed
/// limits, each segment's endCm, and the sorted events table.
void deriveRouteDistances(RouteData& route);

/// The stations the Move menu offers, in ascending index order (never the last station).
std::vector<MoveMenuEntry> moveMenuEntries(const RouteData& route);

/// Where and when a run that starts at station index `startIndex` begins.
struct StartPoint {
  int frame = 0;
  int clockTicks = 0;  // time of day in ticks of 1/30 s
  bool doorsOpen = false;
  int nextStation = 0;
};
StartPoint routeStartPoint(const RouteData& route, int startIndex);

}  // namespace velimoro
