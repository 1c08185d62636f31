#include "persist/save_slots.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "data/csv.h"
#include "data/numbers.h"
#include "data/rounding.h"
#include "persist/settings.h"
#include "sim/doors.h"
#include "sim/handle_texts.h"
#include "sim/relocation.h"

namespace velimoro {
namespace {

constexpr int kStopWithDoors = 0;
constexpr int kNone = 999;
// Shown signal values no aspect has, so the pictures in view are drawn again.
constexpr int kRedraw = 1000;
// No train runs this fast: a slot that says so is damaged.
constexpr long double kFastestKmh = 1000;

std::string lineKey(int slot) {
  return "Save" + std::to_string(slot);
}

std::string labelKey(int slot) {
  return lineKey(slot) + "Title";
}

int stationCount(const RouteData& route) {
  return std::clamp(route.stationCount, 0, RouteData::kTable);
}

std::string wholeNumber(long double value) {
  return std::to_string(roundHalfEven(value));
}

// The saved numbers as the drive can take them; nothing for a damaged line.
std::optional<SavedState> parseState(std::string_view line, const RouteData& route) {
  const auto number = [&](int field) { return parseInt(csvField(line, field)); };
  const auto real = [&](int field) { return parseExtended(csvField(line, field)); };
  const auto windowStation = number(2);
  const auto speed = real(3);
  const auto frame = number(4);
  const auto clock = number(5);
  const auto position = real(6);
  const auto preTrain = number(7);
  if (!windowStation || !speed || !frame || !clock || !position || !preTrain) return std::nullopt;
  if (*windowStation < 0 || *windowStation >= std::max(stationCount(route), 1)) return std::nullopt;
  if (std::fabs(*speed) > kFastestKmh || *frame < 0) return std::nullopt;
  if (std::fabs(*position) > static_cast<long double>(RouteData::kMaxDistanceCm)) {
    return std::nullopt;
  }
  return SavedState{*windowStation, *speed, *frame, *clock, *position, *preTrain};
}

}  // namespace

std::string slotRouteName(const SimDrive& drive) {
  return std::filesystem::path(drive.setup.routeFile).filename().string();
}

std::string stateLine(const SimDrive& drive) {
  const SimState& s = drive.state;
  return slotRouteName(drive) + "," + std::to_string(s.window_station) + "," +
         wholeNumber(s.speed) + "," + std::to_string(s.frame) + "," +
         std::to_string(s.fast_tick_count) + "," + wholeNumber(s.position_cm) + "," +
         std::to_string(s.pre_train_frame);
}

std::string slotLabel(const RouteData& route, long double positionCm) {
  const int count = stationCount(route);
  const auto stopOf = [&](int i) {
    return static_cast<long double>(route.stations[static_cast<std::size_t>(i)].stopCm);
  };
  for (int i = 0; i < count; ++i) {
    const bool last = i == count - 1;
    if (stopOf(i) > positionCm || (!last && positionCm >= stopOf(i + 1))) continue;
    const std::string next = last ? "" : route.stations[static_cast<std::size_t>(i) + 1].name;
    return route.lineName2 + "（" + route.stations[static_cast<std::size_t>(i)].name + "～" + next +
           "）";
  }
  return {};
}

std::string storedLabel(media::SettingsStore& store, int slot) {
  return store.readText(kSettingsApplication, labelKey(slot)).value_or("");
}

std::string storedLine(media::SettingsStore& store, int slot) {
  return store.readText(kSettingsApplication, lineKey(slot)).value_or("");
}

bool saveSlot(media::SettingsStore& store, int slot, const SimDrive& drive, std::string& error) {
  const std::string oldLine = storedLine(store, slot);
  const std::string oldLabel = storedLabel(store, slot);
  store.writeText(kSettingsApplication, lineKey(slot), stateLine(drive));
  store.writeText(kSettingsApplication, labelKey(slot),
                  slotLabel(*drive.route, drive.state.position_cm));
  if (store.flush(kSettingsApplication, error)) return true;
  // The slot on file is as it was; the menus must not show what never reached it.
  store.writeText(kSettingsApplication, lineKey(slot), oldLine);
  store.writeText(kSettingsApplication, labelKey(slot), oldLabel);
  return false;
}

std::optional<SavedState> readSlot(media::SettingsStore& store, int slot, const SimDrive& drive,
                                   std::string& message) {
  const std::string line = storedLine(store, slot);
  if (line.empty()) {
    message = kNothingSavedMessage;
    return std::nullopt;
  }
  if (csvField(line, 1) != slotRouteName(drive)) {
    message = kOtherRouteMessage;
    return std::nullopt;
  }
  std::optional<SavedState> saved = parseState(line, *drive.route);
  if (!saved) message = kNothingSavedMessage;
  return saved;
}

void restoreState(SimDrive& drive, const SavedState& saved) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const TrainSpec& train = *drive.train;
  int stopsBefore = 0;
  for (int i = 0; i < std::min(saved.windowStation, stationCount(route)); ++i) {
    if (route.stations[static_cast<std::size_t>(i)].kind == kStopWithDoors) ++stopsBefore;
  }

  s.speed = saved.speed;
  s.frame_accum = 0;
  forgetRunProgress(drive);
  closeDoorsAtOnce(drive);

  s.frame = saved.frame;
  s.fast_tick_count = saved.clock;
  s.clock_last_second = -1;
  s.pre_train_frame = saved.preTrainFrame;
  s.pre_train_accum = 0;
  s.pre_train_calib = -1;
  s.window_station = saved.windowStation;
  s.signal_shown = kRedraw;
  s.traffic_phase_shown = kRedraw;
  s.slope_image = 0;
  s.slope_text.clear();
  s.pending_callout = kNone;
  s.second_callout_armed = false;
  s.departure_pending = false;

  // Power off; a running train keeps running with the brake released, a standing one holds on
  // full service.
  s.power_handle = 0;
  s.power_notch = 0;
  s.brake_handle = s.speed > 0 ? 0 : 1 - train.Brake;
  s.brake_notch = s.brake_handle;
  s.sap_notch = s.brake_handle;
  s.power_change_pending = false;
  s.brake_change_pending = false;
  s.sap_change_pending = false;

  // The saved position stands; the frame-speed table's segment is found afresh from the frame,
  // without snapping the position to its boundary.
  s.position_cm = saved.positionCm;
  s.position_step_cm = 0;
  s.calib_index = -1;
  if (const int next = nextStopAfter(route, saved.windowStation); next >= 0) {
    s.next_stop_station = next;
    s.next_stop_cm =
        static_cast<long double>(route.stations[static_cast<std::size_t>(next)].stopCm);
  }
  s.remain_cm = s.next_stop_cm - s.position_cm;

  s.announce_index = 2 * stopsBefore + 1;
  refillCrossingCallouts(drive);
  clearSignalsOutOfView(drive);
  masconupdate(drive);
}

}  // namespace velimoro
