#include "present/station_jump.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "present/scene_movies.h"
#include "sim/doors.h"
#include "sim/handle_texts.h"
#include "sim/relocation.h"

namespace velimoro {
namespace {

constexpr int kStopWithDoors = 0;
constexpr int kNoCallout = 999;
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

int restartStation(const SimDrive& drive) {
  const int count = std::clamp(drive.route->stationCount, 0, RouteData::kTable);
  return std::clamp(drive.state.window_station, 0, std::max(count - 1, 0));
}

void jumpToStation(ScreenPass& pass, SimDrive& drive, media::VideoReader* video, int station) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const TrainSpec& train = *drive.train;
  const StationEntry& target = route.stations[static_cast<std::size_t>(station)];
  int stopsBefore = 0;
  for (int i = 0; i < station; ++i) {
    if (route.stations[static_cast<std::size_t>(i)].kind == kStopWithDoors) ++stopsBefore;
  }
  returnToRouteVideo(pass, drive, video);

  // Standing, with nothing of the run behind it remembered.
  s.speed = 0;
  s.projected_speed = Fixed();
  s.frame_accum = 0;
  s.position_step_cm = 0;
  forgetRunProgress(drive);
  closeDoorsAtOnce(drive);

  s.frame = target.stopFrame;
  pass.lastFetchedFrame = -1;
  s.next_station_text = target.name;
  s.fast_tick_count = jumpClock(route, target);
  s.clock_last_second = -1;
  // Two drivers: the conductor announces the station; the standing announcement is over.
  if (route.oneMan == 0) s.stations[static_cast<std::size_t>(station)].arrived = true;
  s.pre_train_frame = precedingTrainFrameAt(route, s.fast_tick_count);
  s.pre_train_accum = 0;
  s.pre_train_calib = -1;

  // Power off and the brake one step short of emergency, taking effect at once.
  s.power_handle = 0;
  s.power_notch = 0;
  s.brake_handle = 1 - train.Brake;
  s.brake_notch = s.brake_handle;
  s.sap_notch = s.brake_handle;
  s.power_change_pending = false;
  s.brake_change_pending = false;
  s.sap_change_pending = false;
  s.pending_callout = kNoCallout;
  s.last_callout_key = kNoCallout;
  s.second_callout = kNoCallout;
  s.second_callout_armed = false;
  s.callout_station = kNoCallout;

  // The position is the stop point's; the next boundary of the frame-speed table is taken from
  // there, not snapped to.
  s.position_cm = static_cast<long double>(target.stopCm);
  s.calib_index = -1;
  s.next_stop_cm = s.position_cm;
  s.next_stop_station = station;
  s.remain_cm = 0;
  s.announce_index = 2 * stopsBefore + 1;
  if (route.oneMan == 1) s.crew_text.clear();
  refillCrossingCallouts(drive);
  pass.reverseFlag = 0;
  clearSignalsOutOfView(drive);
  masconupdate(drive);
}

}  // namespace velimoro
