#include "cab/drive.h"

#include <algorithm>
#include <filesystem>

#include "data/controller_map.h"
#include "data/data_error.h"
#include "data/route_reader.h"
#include "data/train_reader.h"
#include "data/ui_strings.h"
#include "present/callouts.h"
#include "present/sound_channels.h"
#include "sim/handle_texts.h"
#include "sim/relocation.h"

namespace velimoro {
namespace {

// The route that runs without train protection whatever the settings say.
constexpr const char* kUnprotectedRoute = "line_in.dat";

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
    if (drive->media.status) drive->media.status(text);
  };
  status("設定ファイルを読み込んでいます");
  const ControllerMap codes = drive->setup.controllers;
  drive->setup.controllers = readControllerMap(setup.root);
  drive->setup.controllers.PowerCode = codes.PowerCode;
  drive->setup.controllers.BrakeCode = codes.BrakeCode;
  drive->setup.controllers.EmergencyCode = codes.EmergencyCode;
  readTrainFile({setup.root, setup.trainFolder, setup.trainFile}, *drive->train,
                drive->media.pictures, drive->pictures);
  readRouteFile(setup.root, setup.routeFile, *drive->route, drive->media.pictures, drive->pictures);
  drive->strings = readUiStrings(setup.root);
  status("運転台を描画しています");
  if (drive->media.pictureStore != nullptr && drive->media.sprites != nullptr) {
    buildPanel(*drive, drive->panel, *drive->media.pictureStore, *drive->media.sprites);
  }
  drive->staffPicture = loadStaffPicture(setup.root, *drive->route, drive->media.pictures);
  loadTrainSounds(*drive);
  status("DirectSoundオブジェクトを作成しています(環境音)");
  measureRouteSounds(setup.root, *drive->route, drive->media.messages);
  loadRouteAndEngineSounds(*drive);
  status("環境をセットアップしています");
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
