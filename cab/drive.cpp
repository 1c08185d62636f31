#include "cab/drive.h"

#include <algorithm>
#include <filesystem>

#include "data/controller_map.h"
#include "data/data_error.h"
#include "data/route_reader.h"
#include "data/train_reader.h"
#include "data/ui_strings.h"
#include "media/translate.h"
#include "present/callouts.h"
#include "present/sound_channels.h"
#include "sim/handle_texts.h"
#include "sim/relocation.h"

namespace velimoro {
namespace {

// The route that runs without train protection whatever the settings say.
constexpr const char* kUnprotectedRoute = "line_in.dat";

// A run from a frame of the route: standing there with the doors closed and the brake one step
// short of emergency, the stations before it left at their departure times and the first one
// beyond it the next stop.
Placement placementAtFrame(const RouteData& route, const TrainSpec& train, int frame) {
  const int count = std::clamp(route.stationCount, 0, RouteData::kTable);
  int ahead = 0;
  while (ahead < count && route.stations[static_cast<std::size_t>(ahead)].stopFrame <= frame)
    ++ahead;
  const int behind = ahead - 1;
  ahead = std::min(ahead, count - 1);

  Placement place;
  place.frame = frame;
  place.positionCm = distanceOfFrame(route, frame);
  place.clock = behind >= 0 ? route.stations[static_cast<std::size_t>(behind)].departTime
                            : routeStartPoint(route, 0).clockTicks;
  place.brakeHandle = 1 - train.Brake;
  place.windowStation = std::max(behind, 0);
  place.startStation = std::max(behind, 0);
  place.stationIndex = std::max(behind + 1, 0);
  place.nextStopStation = std::max(ahead, 0);
  if (count > 0) {
    const StationEntry& next = route.stations[static_cast<std::size_t>(ahead)];
    place.nextStopCm = static_cast<long double>(next.stopCm);
    place.nextStationText = next.name;
  }
  place.announceIndex = announceIndexPast(route, behind + 1);
  place.preTrainFrame = route.preTrainStart;
  return place;
}

void setInitialState(Drive& drive) {
  const TrainSpec& train = *drive.train;
  const RouteData& route = *drive.route;
  SimState& s = drive.state;
  const StartPoint start = routeStartPoint(route, drive.setup.startIndex);
  const int startStation =
      route.stationCount > 0 ? std::clamp(drive.setup.startIndex, 0, route.stationCount - 1) : 0;

  // Nothing of the start-up before reaches the run.
  s = SimState();
  Placement place;
  place.frame = start.frame;
  place.positionCm = distanceOfFrame(route, start.frame);
  place.clock = start.clockTicks;
  place.brakeHandle = -train.Brake;
  place.doorsOpen = start.doorsOpen;
  place.startStation = startStation;
  place.stationIndex = startStation;
  place.nextStopStation = startStation;
  if (route.stationCount > 0) {
    place.nextStopCm = static_cast<long double>(route.stations[startStation].stopCm);
    place.nextStationText = route.stations[startStation].name;
  }
  place.announceIndex = drive.setup.startIndex + 1;
  place.preTrainFrame = route.preTrainStart;
  if (drive.setup.startFrame >= 0) place = placementAtFrame(route, train, drive.setup.startFrame);
  putTrainAt(drive, place);
  s.video_end_frame = drive.setup.videoFrameCount;

  setBeginnerMode(s, drive.setup.settings.ats == 1);
  const std::string routeName = std::filesystem::path(drive.setup.routeFile).filename().string();
  if (routeName == kUnprotectedRoute) {
    s.ats_active = false;
    s.lamp_ats1 = false;
  }
}

}  // namespace

void setBeginnerMode(SimState& s, bool on) {
  s.beginner_mode = on;
  s.ats_active = !on;
  s.lamp_ats1 = s.ats_active;
}

Drive::Drive(const DriveSetup& driveSetup, DriveMedia driveMedia)
    : SimDrive(driveSetup, std::move(driveMedia)) {
  requests = this;
}

void Drive::queueCallout(int voice) {
  kankoQueueAdd(*this, voice);
}

void Drive::stationCallout(int event) {
  velimoro::stationCallout(*this, event);
}

std::unique_ptr<Drive> startDrive(const DriveSetup& setup, DriveMedia media) {
  auto drive = std::make_unique<Drive>(setup, std::move(media));
  const auto status = [&drive](const char* text) {
    if (drive->media.status) drive->media.status(media::translate("StartUp", text));
  };
  status(VELIMORO_TEXT_NOOP("StartUp", "設定ファイルを読み込んでいます"));
  const ControllerMap codes = drive->setup.controllers;
  drive->setup.controllers = readControllerMap(setup.root);
  drive->setup.controllers.PowerCode = codes.PowerCode;
  drive->setup.controllers.BrakeCode = codes.BrakeCode;
  drive->setup.controllers.EmergencyCode = codes.EmergencyCode;
  readTrainFile({setup.root, setup.trainFolder, setup.trainFile}, *drive->train,
                drive->media.pictures, drive->pictures);
  readRouteFile(setup.root, setup.routeFile, *drive->route, drive->media.pictures, drive->pictures);
  drive->strings = readUiStrings(setup.root);
  status(VELIMORO_TEXT_NOOP("StartUp", "運転台を描画しています"));
  if (drive->media.pictureStore != nullptr && drive->media.sprites != nullptr) {
    buildPanel(*drive, drive->panel, *drive->media.pictureStore, *drive->media.sprites);
  }
  drive->staffPicture = loadStaffPicture(setup.root, *drive->route, drive->media.pictures);
  loadTrainSounds(*drive);
  status(VELIMORO_TEXT_NOOP("StartUp", "DirectSoundオブジェクトを作成しています(環境音)"));
  measureRouteSounds(setup.root, *drive->route, drive->media.messages);
  loadRouteAndEngineSounds(*drive);
  status(VELIMORO_TEXT_NOOP("StartUp", "環境をセットアップしています"));
  deriveRouteDistances(*drive->route);
  prepareSignals(*drive->route, drive->signalTables);
  settleTrainBrake(*drive->train);
  requireDrivableTrain(*drive->train);
  setInitialState(*drive);
  drive->state.reverser_text = drive->strings.Forward;
  masconupdate(*drive);
  return drive;
}

}  // namespace velimoro
