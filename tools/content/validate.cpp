#include "tools/content/validate.h"

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/route_reader.h"
#include "data/train_reader.h"
#include "data/ui_strings.h"
#include "media/picture_loader.h"

namespace velimoro::content {
namespace {

void requireFile(const std::string& root, const std::string& dataFile, const std::string& name) {
  if (name.empty()) return;
  const std::string path = resolvePath(root, name);
  if (!std::filesystem::is_regular_file(path))
    throw std::runtime_error(dataFile + ": names \"" + name + "\", which does not exist");
}

void requireSound(const std::string& root, const std::string& dataFile, const std::string& name) {
  requireFile(root, dataFile, name);
  int seconds = 0;
  std::string error;
  if (!waveLengthSeconds(resolvePath(root, name), seconds, error))
    throw std::runtime_error(dataFile + ": sound \"" + name + "\": " + error);
}

void checkTrain(const std::string& root, const std::string& file) {
  // The records are large; they live on the heap.
  auto owned = std::make_unique<TrainSpec>();
  TrainSpec& train = *owned;
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  readTrainFile({root, "", file}, train, pictures, lists);
  settleTrainBrake(train);
  for (int i = 0; i < train.DriveSoundCount; ++i)
    requireSound(root, file, train.DriveSound[i]);
  for (int i = 0; i < train.EngineSound1Count; ++i)
    requireSound(root, file, train.EngineSound1[i].file);
  for (int i = 0; i < train.EngineSound3Count; ++i)
    requireSound(root, file, train.EngineSound3[i].file);
  for (const PanelElement* e :
       {&train.Panel, &train.Panel2, &train.Lamp_Door, &train.Lamp_Power, &train.Lamp_EB,
        &train.Lamp_Gen, &train.Lamp_Air, &train.Lamp_Ele, &train.Lamp_Ats1, &train.Lamp_Ats2,
        &train.Lamp_ATSP1, &train.Lamp_ATSP2, &train.Lamp_Fwd, &train.Lamp_Back, &train.Lamp_Const,
        &train.Lamp_Stop})
    requireFile(root, file, e->file);
  for (const GaugeNeedle* n :
       {&train.Needle_Speed, &train.Needle_BC, &train.Needle_SAP, &train.Needle_ER,
        &train.Needle_BP, &train.Needle_MR, &train.Needle_V, &train.Needle_I})
    requireFile(root, file, n->file);
  for (int i = 0; i < train.OtherCount; ++i)
    requireFile(root, file, train.Others[i].file);
  if (train.Panel.file.empty()) throw std::runtime_error(file + ": no panel picture");
  const int brakeSounds[] = {train.Sound_EB,       train.Sound_Ats1,      train.Sound_Ats2,
                             train.Sound_Atc,      train.Sound_Horn,      train.Sound_Horn2,
                             train.Sound_DoorOpen, train.Sound_DoorClose, train.CP_Start,
                             train.CP_Cnt,         train.CP_End};
  for (int number : brakeSounds)
    if (number < 0 || number >= train.DriveSoundCount)
      throw std::runtime_error(file + ": sound number " + std::to_string(number) +
                               " is not in [DriveSound]");
}

void checkRoute(const std::string& root, const std::string& file) {
  auto owned = std::make_unique<RouteData>();
  RouteData& route = *owned;
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  readRouteFile(root, file, route, pictures, lists);
  deriveRouteDistances(route);
  loadStaffPicture(root, route, pictures);
  requireFile(root, file, route.staffBitmap);
  for (int i = 0; i < route.soundDataCount; ++i)
    requireSound(root, file, route.soundData[i]);
  for (int i = 0; i < route.kankoSoundCount; ++i)
    requireSound(root, file, route.kankoSound[i]);
  for (int i = 0; i < route.otherImageCount; ++i)
    requireSound(root, file, route.otherSounds[i]);
  if (route.stationCount < 2) throw std::runtime_error(file + ": fewer than two stations");
  for (int i = 1; i < route.stationCount; ++i)
    if (route.stations[i].stopCm <= route.stations[i - 1].stopCm)
      throw std::runtime_error(file + ": station " + route.stations[i].name +
                               " does not lie beyond the one before");
  if (route.movieStop[0] <= route.stations[route.stationCount - 1].stopFrame)
    throw std::runtime_error(file + ": the video ends before the last station");
  for (int i = 0; i < route.stationCount; ++i) {
    const StationEntry& s = route.stations[i];
    for (int sound : {s.departSound1, s.departSound2})
      if (sound < 0 || sound >= route.soundDataCount)
        throw std::runtime_error(file + ": station " + s.name + " names route sound " +
                                 std::to_string(sound) + ", which is not in [SoundData]");
  }
}

}  // namespace

void validateDemo(const std::string& root, const std::vector<std::string>& trainFiles,
                  const std::vector<std::string>& routeFiles) {
  const auto guarded = [&](const std::string& file, auto check) {
    try {
      check(root, file);
    } catch (const DataError& e) {
      throw std::runtime_error(file + ": " + e.what());
    }
  };
  for (const std::string& file : trainFiles)
    guarded(file, checkTrain);
  for (const std::string& file : routeFiles)
    guarded(file, checkRoute);
  guarded("dorvanel.dat", [](const std::string& r, const std::string& f) {
    const UiStrings strings = readUiStrings(r);
    if (strings.Path.empty() || strings.EB.empty()) throw std::runtime_error(f + ": texts missing");
  });
  for (const char* file : {"mascon.dat", "operation.dat", "readme.html"})
    requireFile(root, "the demo installation", file);
}

}  // namespace velimoro::content
