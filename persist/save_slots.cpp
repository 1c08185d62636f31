#include "persist/save_slots.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "data/csv.h"
#include "data/numbers.h"
#include "data/rounding.h"
#include "persist/settings.h"
#include "sim/handle_texts.h"
#include "sim/relocation.h"

namespace velimoro {
namespace {

constexpr int kStopWithDoors = 0;
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
  const RouteData& route = *drive.route;
  const TrainSpec& train = *drive.train;
  int stopsBefore = 0;
  for (int i = 0; i < std::min(saved.windowStation, stationCount(route)); ++i) {
    if (route.stations[static_cast<std::size_t>(i)].kind == kStopWithDoors) ++stopsBefore;
  }
  Placement place;
  place.frame = saved.frame;
  place.positionCm = saved.positionCm;
  place.clock = saved.clock;
  place.speed = saved.speed;
  // Power off; a running train keeps running with the brake released, a standing one holds on
  // full service.
  place.brakeHandle = saved.speed > 0 ? 0 : 1 - train.Brake;
  place.windowStation = saved.windowStation;
  place.startStation = drive.state.start_station;
  place.stationIndex = saved.windowStation;
  const int next = nextStopAfter(route, saved.windowStation);
  place.nextStopStation = next >= 0 ? next : saved.windowStation;
  if (stationCount(route) > 0) {
    const StationEntry& station = route.stations[static_cast<std::size_t>(place.nextStopStation)];
    place.nextStopCm = static_cast<long double>(station.stopCm);
    place.nextStationText = station.name;
  }
  place.announceIndex = 2 * stopsBefore + 1;
  place.preTrainFrame = saved.preTrainFrame;
  relocateTrain(drive, place);
  masconupdate(drive);
}

}  // namespace velimoro
