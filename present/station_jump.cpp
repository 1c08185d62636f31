#include "present/station_jump.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "present/scene_movies.h"
#include "sim/handle_texts.h"
#include "sim/relocation.h"

namespace velimoro {
namespace {

constexpr int kStopWithDoors = 0;
constexpr int kTicksPerSecond = 30;

std::int64_t soundTicks(const RouteData& route, int sound) {
  if (sound < 0 || sound >= std::min(route.soundDataCount, RouteData::kTable)) return 0;
  return std::int64_t{kTicksPerSecond} * route.soundLength[static_cast<std::size_t>(sound)];
}

// Both announcements of the station still lie ahead: the arrival and the departure announcement
// end at the departure time. This holds for the first station too, unlike the run's own start.
int jumpClock(const RouteData& route, const StationEntry& station) {
  const std::int64_t clock = std::int64_t{station.departTime} -
                             soundTicks(route, station.departSound2) -
                             soundTicks(route, station.departSound1);
  return static_cast<int>(std::clamp<std::int64_t>(clock, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// Where the preceding train has got to at the clock `ticks`: the stop of the latest record's
// station it has left by then, else its start.
int precedingTrainFrameAt(const RouteData& route, int ticks) {
  int frame = route.preTrainStart;
  const int count = std::clamp(route.preTrainCount, 0, RouteData::kBigTable);
  for (int k = 0; k < count; ++k) {
    const PreTrainEntry& record = route.preTrains[static_cast<std::size_t>(k)];
    if (record.preA < 0 || record.preA >= std::min(route.stationCount, RouteData::kTable)) continue;
    if (record.preC > ticks) continue;
    frame = std::max(frame, route.stations[static_cast<std::size_t>(record.preA)].stopFrame);
  }
  return frame;
}

}  // namespace

void jumpToStation(ScreenPass& pass, SimDrive& drive, media::VideoReader* video, int station) {
  const RouteData& route = *drive.route;
  const StationEntry& target = route.stations[static_cast<std::size_t>(station)];
  returnToRouteVideo(pass, drive, video);

  // Standing at the stop point, the doors closed, the power off and the brake one step short of
  // emergency; the station is the next stop and the run counts as started there.
  Placement place;
  place.frame = target.stopFrame;
  place.positionCm = static_cast<long double>(target.stopCm);
  place.clock = jumpClock(route, target);
  place.brakeHandle = 1 - drive.train->Brake;
  place.startStation = station;
  place.stationIndex = station;
  place.nextStopStation = station;
  place.nextStopCm = place.positionCm;
  place.nextStationText = target.name;
  place.announceIndex = announceIndexPast(route, station);
  place.preTrainFrame = precedingTrainFrameAt(route, place.clock);
  relocateTrain(drive, place);
  // Two drivers: the conductor announces the station as the doors open, and the standing
  // announcement of a start station is not played over it. A stop without doors still has its
  // arrival announcement ahead.
  if (route.oneMan == 0 && target.kind == kStopWithDoors) {
    drive.state.stations[static_cast<std::size_t>(station)].arrived = true;
  }
  pass.lastFetchedFrame = -1;
  pass.reverseFlag = 0;
  masconupdate(drive);
}

}  // namespace velimoro
