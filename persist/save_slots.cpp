#include "persist/save_slots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>

#include "data/csv.h"
#include "data/numbers.h"
#include "data/rounding.h"
#include "persist/settings.h"
#include "sim/handle_texts.h"
#include "sim/relocation.h"

namespace velimoro {
namespace {

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

// How far a saved position may lie from the distance of its frame: the distance integrated
// from the speed drifts from the video's by a metre or two within a frame-speed record.
constexpr long double kPositionSlackCm = 1000;
// A train may run a little over its top speed downhill; one that states none has no train's
// speed beyond the fastest.
constexpr long double kOverspeedKmh = 10;
constexpr long double kFastestKmh = 1000;
constexpr std::int64_t kDayTicks = std::int64_t{24} * 60 * 60 * 30;
// A switchback runs on this many frames past the end of the line.
constexpr int kSwitchbackFrames = 2;

// The last frame a train can stand at: the video's last when one is open, else the last the
// route's tables reach.
std::int64_t lastFrame(const SimDrive& drive) {
  if (drive.state.video_end_frame > 0) return drive.state.video_end_frame;
  const RouteData& route = *drive.route;
  std::int64_t last = route.startPos;
  for (int i = 0; i < std::clamp(route.frameSpeedCount, 0, RouteData::kFrameSpeeds); ++i)
    last = std::max<std::int64_t>(last, route.frameSpeeds[static_cast<std::size_t>(i)].toFrame);
  for (int i = 0; i < std::clamp(route.movieStopCount, 0, RouteData::kSmallTable); ++i) {
    last = std::max(last,
                    std::int64_t{route.movieStop[static_cast<std::size_t>(i)]} + kSwitchbackFrames);
  }
  for (int i = 0; i < stationCount(route); ++i)
    last = std::max<std::int64_t>(last, route.stations[static_cast<std::size_t>(i)].stopFrame);
  return last;
}

bool inFrameSpeedTable(const RouteData& route, int frame) {
  for (int i = 0; i < std::clamp(route.frameSpeedCount, 0, RouteData::kFrameSpeeds); ++i) {
    const FrameSpeedEntry& record = route.frameSpeeds[static_cast<std::size_t>(i)];
    if (record.fromFrame <= frame && frame <= record.toFrame) return true;
  }
  return false;
}

// What makes a saved state one the drive cannot have had; empty when it fits.
std::string misfit(const SavedState& saved, const SimDrive& drive) {
  const RouteData& route = *drive.route;
  const int stations = stationCount(route);
  if (saved.windowStation < 0 || saved.windowStation >= std::max(stations, 1)) {
    return media::fill(media::translate("SaveSlots", "駅 %1 はこの路線にありません"),
                       {std::to_string(saved.windowStation)});
  }
  const int maxSpeed = drive.train->MaxSpeed;
  const long double top = maxSpeed > 0 ? maxSpeed + kOverspeedKmh : kFastestKmh;
  if (std::fabs(saved.speed) > top) {
    return media::fill(media::translate("SaveSlots", "速度 %1 km/h は列車の最高速度を超えています"),
                       {wholeNumber(saved.speed)});
  }
  const std::int64_t last = lastFrame(drive);
  if (saved.frame < 0 || saved.frame > last) {
    return media::fill(
        media::translate("SaveSlots", "フレーム %1 は路線のフレーム 0 ～ %2 の外にあります"),
        {std::to_string(saved.frame), std::to_string(last)});
  }
  std::int64_t earliest = 0, latest = 0;
  for (int i = 0; i < stations; ++i) {
    const std::int64_t time = route.stations[static_cast<std::size_t>(i)].departTime;
    earliest = i == 0 ? time : std::min(earliest, time);
    latest = i == 0 ? time : std::max(latest, time);
  }
  if (saved.clock < earliest - kDayTicks || saved.clock > latest + kDayTicks) {
    return media::fill(media::translate("SaveSlots", "時刻 %1 がダイヤから1日以上離れています"),
                       {std::to_string(saved.clock)});
  }
  if (inFrameSpeedTable(route, saved.frame) &&
      std::fabs(saved.positionCm - distanceOfFrame(route, saved.frame)) > kPositionSlackCm) {
    return media::fill(media::translate("SaveSlots", "位置 %1 cm がフレーム %2 の位置と合いません"),
                       {wholeNumber(saved.positionCm), std::to_string(saved.frame)});
  }
  if (stations > 0 && saved.windowStation > 0) {
    const StationEntry& station = route.stations[static_cast<std::size_t>(saved.windowStation)];
    if (static_cast<long double>(station.stopMinCm) - kPositionSlackCm > saved.positionCm) {
      return media::fill(media::translate("SaveSlots", "駅 %1 が位置より先にあります"),
                         {std::to_string(saved.windowStation)});
    }
  }
  if (saved.preTrainFrame < 0) {
    return media::fill(media::translate("SaveSlots", "先行列車のフレーム %1 が負の値です"),
                       {std::to_string(saved.preTrainFrame)});
  }
  return {};
}

// The saved numbers of a state line; nothing with what is wrong for a line the drive cannot
// take.
std::optional<SavedState> parseState(std::string_view line, const SimDrive& drive,
                                     std::string& fault) {
  const auto number = [&](int field) { return parseInt(csvField(line, field)); };
  const auto real = [&](int field) { return parseExtended(csvField(line, field)); };
  const auto windowStation = number(2);
  const auto speed = real(3);
  const auto frame = number(4);
  const auto clock = number(5);
  const auto position = real(6);
  const auto preTrain = number(7);
  if (!windowStation || !speed || !frame || !clock || !position || !preTrain) {
    fault = media::fill(media::translate("SaveSlots", "路線名のあとに数が7つありません: 「%1」"),
                        {line});
    return std::nullopt;
  }
  const SavedState saved{*windowStation, *speed, *frame, *clock, *position, *preTrain};
  fault = misfit(saved, drive);
  if (!fault.empty()) return std::nullopt;
  return saved;
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
                                   std::string& message, std::string& fault) {
  const std::string line = storedLine(store, slot);
  if (line.empty()) {
    message = media::translate("SaveSlots", kNothingSavedMessage);
    return std::nullopt;
  }
  if (csvField(line, 1) != slotRouteName(drive)) {
    message = media::translate("SaveSlots", kOtherRouteMessage);
    return std::nullopt;
  }
  std::optional<SavedState> saved = parseState(line, drive, fault);
  if (!saved) {
    message = media::translate("SaveSlots", kDamagedMessage);
    fault = lineKey(slot) + ": " + fault;
  }
  return saved;
}

void restoreState(SimDrive& drive, const SavedState& saved) {
  const RouteData& route = *drive.route;
  const TrainSpec& train = *drive.train;
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
  place.announceIndex = announceIndexPast(route, saved.windowStation);
  place.preTrainFrame = saved.preTrainFrame;
  relocateTrain(drive, place);
  masconupdate(drive);
}

}  // namespace velimoro
