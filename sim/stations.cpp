#include "sim/stations.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "data/rounding.h"
#include "media/translate.h"
#include "sim/channels.h"
#include "sim/doors.h"
#include "sim/handle_texts.h"

namespace velimoro {
namespace {

constexpr int kStopWithDoors = 0;
constexpr int kPassingPoint = 1;
constexpr int kStopWithoutDoors = 2;
constexpr int kStopPositionOnly = 3;

// Station call-out events.
constexpr int kArrivingEvent = 0;
constexpr int kArrivedEvent = 1;
constexpr int kDepartureAnnouncedEvent = 2;
constexpr int kConductorClosesEvent = 5;

// The route sound of the start station's standing announcement.
constexpr int kStandingAnnouncementSound = 0;
constexpr int kTicksPerSecond = 30;

// The cab window without the timetable strip, and its back button 30 pixels inside the edge.
constexpr int kNarrowWidth = 750;
constexpr int kBackButtonInset = 30;

const char* const kBoardingDone = VELIMORO_TEXT_NOOP("Stations", "乗降完了");
const char* const kStopPositionText = VELIMORO_TEXT_NOOP("Stations", "停止位置まで進行");

bool standing(const SimState& s) {
  return std::fabs(s.speed) < 0.1L;
}

bool atRest(const SimState& s) {
  return roundHalfEven(s.speed) == 0;
}

bool isStop(int kind) {
  return kind == kStopWithDoors || kind >= kStopWithoutDoors;
}

// Playing time of route sound `index` in ticks of 1/30 s; 0 for a number outside the route's
// sound list.
std::int64_t soundTicks(const RouteData& route, int index) {
  if (index < 0 || index >= std::min(route.soundDataCount, RouteData::kTable)) return 0;
  return std::int64_t{kTicksPerSecond} * route.soundLength[static_cast<std::size_t>(index)];
}

int routeChannel(const SimDrive& drive, int index) {
  return routeSoundChannel(drive.sounds.layout, index);
}

void playRouteSound(SimDrive& drive, int index) {
  playChannel(drive, routeChannel(drive, index), false);
}

bool routeSoundPlaying(const SimDrive& drive, int index) {
  return channelPlaying(drive, routeChannel(drive, index));
}

void raiseCallout(SimDrive& drive, int station, int event) {
  drive.state.callout_station = station;
  requestStationCallout(drive, event);
}

void hideTimetableStrip(SimState& s) {
  if (!s.staf_shown) return;
  s.staf_shown = false;
  s.client_width = kNarrowWidth;
  s.staf_left = kNarrowWidth;
  s.back_button_left = kNarrowWidth - kBackButtonInset;
}

// The next station to stop at after station `i`; -1 when none follows.
int nextStop(const RouteData& route, int count, int i) {
  for (int j = i + 1; j < count; ++j) {
    if (isStop(route.stations[static_cast<std::size_t>(j)].kind)) return j;
  }
  return -1;
}

// Past station i's window and short of the next one's, the next station is announced; past the
// last station's window there is no next station.
void passWindow(SimDrive& drive, int count, int i) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const StationEntry& station = route.stations[static_cast<std::size_t>(i)];
  if (s.position_cm <= static_cast<long double>(station.stopMaxCm)) return;
  const bool last = i == count - 1;
  if (last) {
    s.next_station_text.clear();
  } else {
    const StationEntry& next = route.stations[static_cast<std::size_t>(i) + 1];
    if (s.position_cm >= static_cast<long double>(next.stopMinCm)) return;
    s.next_station_text = nextStationText(next, drive.strings);
  }
  StationFlags& flags = s.stations[static_cast<std::size_t>(i)];
  if (flags.in_window) s.stop_marker = false;
  flags.in_window = false;
}

void enterWindow(SimDrive& drive, int i) {
  SimState& s = drive.state;
  const StationEntry& station = drive.route->stations[static_cast<std::size_t>(i)];
  if (station.kind == kPassingPoint) return;
  if (s.position_cm < static_cast<long double>(station.stopMinCm) ||
      s.position_cm > static_cast<long double>(station.stopMaxCm)) {
    return;
  }
  s.stop_marker = true;
  s.next_station_text = station.name;
  s.window_station = i;
  s.stations[static_cast<std::size_t>(i)].in_window = true;
}

// The stop itself while the train is in station i's window and the conductor has not closed
// its doors: arrival, doors, announcements and the next stop.
void workStop(SimDrive& drive, int count, int i) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const StationEntry& station = route.stations[static_cast<std::size_t>(i)];
  StationFlags& flags = s.stations[static_cast<std::size_t>(i)];
  const bool oneMan = route.oneMan == 1;
  const int kind = station.kind;

  // The start station's standing announcement.
  if (kind == kStopWithDoors && (s.window_station == 0 || s.window_station == s.start_station) &&
      atRest(s) && !flags.arrived) {
    playRouteSound(drive, kStandingAnnouncementSound);
    s.arrival_tick = s.fast_tick_count;
    flags.arrived = true;
    s.departure_pending = true;
  }
  // The one-man driver's stop call-out, once, before the doors open.
  if (kind == kStopWithDoors && oneMan && !s.doors_open && atRest(s) && !flags.oneman_called) {
    flags.oneman_called = true;
    raiseCallout(drive, i, kArrivingEvent);
  }
  // The conductor opens the doors as soon as the train stands and announces the station.
  if (kind == kStopWithDoors && !oneMan && !s.doors_open && standing(s)) {
    raiseCallout(drive, i, kArrivingEvent);
    doorOperate(drive);
    flags.arrived = true;
    playRouteSound(drive, station.departSound1);
    s.arrival_tick = s.fast_tick_count;
    raiseCallout(drive, i, kArrivedEvent);
    s.departure_pending = true;
  }
  // The one-man driver has opened the doors: the station is announced. Its departure
  // announcement waits for the end of this one, as after the conductor's.
  if (kind == kStopWithDoors && oneMan && s.doors_open && !flags.arrived && atRest(s)) {
    playRouteSound(drive, station.departSound1);
    s.arrival_tick = s.fast_tick_count;
    flags.arrived = true;
    raiseCallout(drive, i, kArrivedEvent);
    s.departure_pending = true;
  }
  if (kind == kStopWithoutDoors && !flags.arrived && atRest(s)) {
    playRouteSound(drive, station.departSound1);
    s.arrival_tick = s.fast_tick_count;
    flags.arrived = true;
    s.departure_pending = true;
  }

  const std::int64_t now = s.fast_tick_count;
  const std::int64_t announceAt =
      std::int64_t{station.departTime} - soundTicks(route, station.departSound2);
  const bool kindReady =
      (kind >= kStopWithoutDoors && standing(s)) || (kind == kStopWithDoors && s.doors_open);
  if ((announceAt < now || oneMan) && !flags.depart_announced && kindReady) {
    const int next = nextStop(route, count, i);
    if (next >= 0) {
      s.next_stop_cm =
          static_cast<long double>(route.stations[static_cast<std::size_t>(next)].stopCm);
      s.next_stop_station = next;
    }
  }
  const bool announceReady =
      (kind == kStopWithoutDoors && standing(s)) || (kind == kStopWithDoors && s.doors_open);
  if (announceAt < now && !flags.depart_announced &&
      now - s.arrival_tick > soundTicks(route, station.departSound1) && announceReady) {
    playRouteSound(drive, station.departSound2);
    flags.depart_announced = true;
    hideTimetableStrip(s);
    s.arrival_tick = s.fast_tick_count;
    raiseCallout(drive, i, kDepartureAnnouncedEvent);
  }
  // The conductor closes the doors after the departure time, once the announcement has ended.
  if (!oneMan && station.departTime < now && s.doors_open && flags.depart_announced &&
      flags.arrived && !flags.departed &&
      now - s.arrival_tick > soundTicks(route, station.departSound2)) {
    doorOperate(drive);
    flags.departed = true;
    stopChannel(drive, routeChannel(drive, station.departSound1));
    raiseCallout(drive, i, kConductorClosesEvent);
  }
}

// The run ends at rest in the last station's window once the station's arrival announcement
// has ended. In the window of the crew-change station with the doors open the driver is asked,
// once, whether to end it there; going on, the run ends at the last station as any other.
void endRun(SimDrive& drive, int count, int i) {
  SimState& s = drive.state;
  const StationEntry& station = drive.route->stations[static_cast<std::size_t>(i)];
  const StationFlags& flags = s.stations[static_cast<std::size_t>(i)];
  if (!flags.in_window || !atRest(s) || s.run_ended) return;
  if (routeSoundPlaying(drive, station.departSound1)) return;
  const bool doorsOpenAtStop = station.kind == kStopWithDoors && s.doors_open;
  if (i == count - 1 && (doorsOpenAtStop || station.kind >= kStopWithoutDoors)) {
    s.run_ended = true;
    if (drive.media.backToTitle) drive.media.backToTitle();
    return;
  }
  if (i == drive.setup.settings.crewChangeStation && doorsOpenAtStop && !s.crew_change_asked) {
    s.crew_change_asked = true;
    if (drive.media.showCrewChange) drive.media.showCrewChange();
  }
}

}  // namespace

std::string nextStationText(const StationEntry& station, const UiStrings& strings) {
  switch (station.kind) {
    case kStopWithDoors:
      return station.name + strings.Stop;
    case kPassingPoint:
      return station.name + strings.Pass;
    case kStopPositionOnly:
      return media::translate("Stations", kStopPositionText);
    default:
      return station.kind >= kStopWithoutDoors ? station.name + strings.Stop2 : station.name;
  }
}

void runStations(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const int count = std::clamp(route.stationCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const StationEntry& station = route.stations[static_cast<std::size_t>(i)];
    passWindow(drive, count, i);
    enterWindow(drive, i);
    const StationFlags& flags = s.stations[static_cast<std::size_t>(i)];
    if (flags.in_window && route.oneMan == 1 && flags.arrived && s.door_cmd &&
        !routeSoundPlaying(drive, station.departSound1)) {
      s.crew_text = media::translate("Stations", kBoardingDone);
    }
    if (flags.in_window && !flags.departed) workStop(drive, count, i);
    endRun(drive, count, i);
  }
}

}  // namespace velimoro
