#include "sim/relocation.h"

#include <algorithm>

#include "media/translate.h"
#include "sim/air_brakes.h"
#include "sim/channels.h"
#include "sim/fast_step.h"
#include "sim/signal_tables.h"

namespace velimoro {
namespace {

constexpr int kStopWithDoors = 0;
constexpr int kPassingPoint = 1;
// Shown signal values no aspect has, so the pictures in view are drawn again.
constexpr int kRedraw = 1000;

template <typename Table>
int countOf(int count, const Table& table) {
  return std::clamp(count, 0, static_cast<int>(table.size()));
}

bool signalInView(const RouteData& route, int frame) {
  for (int i = 0; i < countOf(route.signalCount, route.signals); ++i) {
    const SignalEntry& signal = route.signals[static_cast<std::size_t>(i)];
    if (signal.showFrom < frame && frame < signal.showTo) return true;
  }
  for (int i = 0; i < countOf(route.trafficSignalCount, route.trafficSignals); ++i) {
    const TrafficSignalEntry& signal = route.trafficSignals[static_cast<std::size_t>(i)];
    if (signal.field[2] < frame && frame < signal.field[3]) return true;
  }
  return false;
}

// A signal in view keeps its pictures on the screen until the next tick draws the signal of the
// new place over them; shown values no aspect or phase has make sure it does.
void keepSignalPictures(SimState& s, const SimState& kept) {
  s.signal_picture = kept.signal_picture;
  s.signal_picture_x = kept.signal_picture_x;
  s.signal_left_picture = kept.signal_left_picture;
  s.signal_left_x = kept.signal_left_x;
  s.signal_right_picture = kept.signal_right_picture;
  s.signal_right_x = kept.signal_right_x;
  s.signal_plate_picture = kept.signal_plate_picture;
  s.traffic_signal_picture = kept.traffic_signal_picture;
  s.traffic_signal_picture2 = kept.traffic_signal_picture2;
  s.signal_shown = kRedraw;
  s.traffic_phase_shown = kRedraw;
}

}  // namespace

void putTrainAt(SimDrive& drive, const Placement& place) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  const RouteData& route = *drive.route;
  const SimState kept = s;
  s = SimState();
  // The driver's, the settings' and the window's.
  s.reverser = kept.reverser;
  s.reverser_text = kept.reverser_text;
  s.lamp_fwd = kept.lamp_fwd;
  s.lamp_back = kept.lamp_back;
  s.power_mode = kept.power_mode;
  s.input_blocked = kept.input_blocked;
  s.controller_type = kept.controller_type;
  s.usb_last_sum = kept.usb_last_sum;
  s.swap_keypad = kept.swap_keypad;
  s.debug_mode = kept.debug_mode;
  s.deadman_off = kept.deadman_off;
  s.resistance_off = kept.resistance_off;
  s.ats_active = kept.ats_active;
  s.beginner_mode = kept.beginner_mode;
  s.lamp_ats1 = kept.lamp_ats1;
  s.video_end_frame = kept.video_end_frame;
  s.tick_count = kept.tick_count;
  s.random_seed = kept.random_seed;
  s.staf_shown = kept.staf_shown;
  s.staf_top = kept.staf_top;
  s.staf_left = kept.staf_left;
  s.client_width = kept.client_width;
  s.back_button_left = kept.back_button_left;
  s.view_select = kept.view_select;
  s.value_window_shown = kept.value_window_shown;

  s.frame = place.frame;
  s.position_cm = place.positionCm;
  s.fast_tick_count = place.clock;
  s.speed = place.speed;
  s.doors_open = place.doorsOpen;
  s.door_cmd = place.doorsOpen;
  // The door pilot lamp shows closed doors.
  s.lamp_door = !train.Lamp_Door.file.empty() && !s.doors_open;
  s.window_station = place.windowStation;
  s.start_station = place.startStation;
  s.station_index = place.stationIndex;
  s.next_stop_station = place.nextStopStation;
  s.next_stop_cm = place.nextStopCm;
  s.remain_cm = place.nextStopCm - place.positionCm;
  s.next_station_text = place.nextStationText;
  s.announce_index = place.announceIndex;
  s.pre_train_frame = place.preTrainFrame;
  calibrateFrame(s, route);

  s.power_handle = 0;
  s.power_notch = 0;
  s.brake_handle = place.brakeHandle;
  s.brake_notch = place.brakeHandle;
  s.sap_notch = place.brakeHandle;
  s.brake_rate_first = train.BrakeRate[0];
  s.bc = Fixed::fromInt(train.EBPress);
  s.mr = Fixed::fromInt(train.HighAirPress);
  s.crew_text = route.oneMan == 1 ? std::string()
                                  : media::fill(media::translate("Stations", "%1両"),
                                                {std::to_string(train.Cars)});
  s.gear_text = train.Engine_Type == 0 ? media::translate("HandleTexts", "変速") : "";
}

void relocateTrain(SimDrive& drive, const Placement& place) {
  const SimState kept = drive.state;
  forgetRunProgress(drive);
  restartTrafficSignals(*drive.route);
  putTrainAt(drive, place);
  settleAirPressures(drive.state, *drive.train);
  refillCrossingCallouts(drive);
  if (signalInView(*drive.route, drive.state.frame)) keepSignalPictures(drive.state, kept);
}

void forgetRunProgress(SimDrive& drive) {
  SimState& s = drive.state;
  RouteData& route = *drive.route;
  s.stations.fill(StationFlags{});
  for (int i = 0; i < countOf(route.movieSwitchCount, route.movieSwitches); ++i)
    route.movieSwitches[static_cast<std::size_t>(i)].done = false;
  for (int i = 0; i < countOf(route.timeCount, route.times); ++i)
    route.times[static_cast<std::size_t>(i)].done = 0;
  SoundSystem& sounds = drive.sounds;
  sounds.soundStarted.fill(false);
  sounds.switchPlayed.fill(false);
  sounds.announceInWindow.fill(false);
  // The engine sounds stop with their channels; the running sounds start them again.
  sounds.engine1On.fill(false);
  sounds.engine3On.fill(false);
  sounds.callouts = CalloutQueue{};
  s.crossing_pending.fill(-1);
  // The guidance is taken up afresh: its sound stops with the channels below.
  s.guidance_text.clear();
  s.last_guidance.clear();
  s.guidance_shown.clear();
  // A drive paused now does not play them again when it resumes.
  for (int channel = 1; channel < SoundSystem::kChannels; ++channel) {
    stopChannel(drive, channel);
    sounds.paused[static_cast<std::size_t>(channel)] = PausedChannel::kSilent;
  }
}

void refillCrossingCallouts(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  s.crossing_pending.fill(-1);
  std::size_t filled = 0;
  for (int i = 0; i < countOf(route.crossingCount, route.crossings); ++i) {
    const CrossingEntry& crossing = route.crossings[static_cast<std::size_t>(i)];
    if (filled == s.crossing_pending.size()) break;
    if (crossing.from <= s.frame && s.frame < crossing.to) s.crossing_pending[filled++] = i;
  }
  s.crossing_picture_shown = false;
  // The crossings around the new frame are taken up here; the tick adds those entered later.
  s.lineside_frame = s.frame;
}

int announceIndexPast(const RouteData& route, int stations) {
  int stops = 0;
  for (int i = 0; i < std::min(stations, countOf(route.stationCount, route.stations)); ++i) {
    if (route.stations[static_cast<std::size_t>(i)].kind == kStopWithDoors) ++stops;
  }
  return 2 * stops + 1;
}

int nextStopAfter(const RouteData& route, int station) {
  for (int j = std::max(station + 1, 0); j < countOf(route.stationCount, route.stations); ++j) {
    const int kind = route.stations[static_cast<std::size_t>(j)].kind;
    if (kind == 0 || kind > kPassingPoint) return j;
  }
  return -1;
}

}  // namespace velimoro
