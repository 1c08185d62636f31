#include "tools/content/validate.h"

#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/route_reader.h"
#include "data/train_reader.h"
#include "data/ui_strings.h"
#include "media/ffmpeg_video_reader.h"
#include "media/picture_loader.h"
#include "media/translate.h"
#include "tools/check/checker.h"
#include "tools/check/report.h"

namespace velimoro::content {
namespace {

// The demo train's own rules, beyond what the checker asks of any train: a panel, and a
// sound in "[DriveSound]" for every sound number it gives.
void checkTrain(const std::string& root, const std::string& file) {
  // The records are large; they live on the heap.
  auto owned = std::make_unique<TrainSpec>();
  TrainSpec& train = *owned;
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  readTrainFile({root, "", file}, train, pictures, lists);
  settleTrainBrake(train);
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

// The demo route's own numbers hang together: what one section names exists in another, and every
// range lies on the route's video.
void checkRouteTables(const std::string& root, const std::string& file, const RouteData& route,
                      const PictureLists& lists) {
  const auto fault = [&file](const std::string& what) {
    throw std::runtime_error(file + ": " + what);
  };
  const int end = route.movieStop[0];
  const auto onVideo = [end](int frame) { return frame >= 0 && frame <= end; };
  const auto isStation = [&route](int index) { return index >= 0 && index < route.stationCount; };

  if (route.staffSwitchCount > 0) {
    const auto size = media::bmpSize(resolvePath(root, route.staffImage));
    if (route.staffSwitch[0] <= 0 || !size ||
        size->second < route.staffSwitch[0] * route.staffSwitchCount)
      fault("the timetable card has fewer pages than [StafSwitch] turns to");
    // Page k shows from station staffSwitch[k] on; the pages follow the run.
    for (int k = 1; k < route.staffSwitchCount; ++k) {
      const int previous = k == 1 ? 0 : route.staffSwitch[k - 1];
      if (!isStation(route.staffSwitch[k]) || route.staffSwitch[k] <= previous)
        fault("[StafSwitch] names no later station for page " + std::to_string(k));
    }
  }

  for (int i = 0; i < route.movieSwitchCount; ++i) {
    const MovieSwitchEntry& m = route.movieSwitches[i];
    const std::string which = "scene " + m.movieText + ": ";
    if (m.movieText.empty() || m.movieLength <= 0 || m.fromFrame > m.toFrame ||
        !onVideo(m.fromFrame) || !onVideo(m.toFrame) || !onVideo(m.resumeFrame))
      fault(which + "its range, length or resume frame lies off the video");
    if (m.kind == 2) {
      bool atStop = false;
      for (int s = 0; s < route.stationCount; ++s)
        atStop = atStop || (m.fromFrame <= route.stations[s].stopFrame &&
                            route.stations[s].stopFrame <= m.toFrame);
      if (!atStop || m.resumeFrame < m.fromFrame || m.resumeFrame > m.toFrame)
        fault(which + "a standing scene must hold a stop and resume within its range");
    } else if (m.movieLength > m.toFrame - m.fromFrame + 1 || m.resumeFrame <= m.toFrame) {
      // It ends once the train has left the range having shown `movieLength` frames.
      fault(which + "a running scene must be shown out within its range and resume past it");
    }
  }

  if (route.preTrainCount > 0) {
    if (!onVideo(route.preTrainStart)) fault("the preceding train starts off the video");
    for (int k = 0; k < route.preTrainCount; ++k) {
      const PreTrainEntry& p = route.preTrains[k];
      if (!isStation(p.preA) || p.preB < 0) fault("[Pre_Train] record " + std::to_string(k));
      if (k > 0 && (p.preA <= route.preTrains[k - 1].preA || p.preC < route.preTrains[k - 1].preC))
        fault("[Pre_Train] records out of station or time order");
    }
    if (route.stations[route.preTrains[0].preA].stopFrame > route.preTrainStart)
      fault("the preceding train starts before its first station");
  }

  for (int i = 0; i < route.stopSoundCount; ++i)
    if (route.stopSounds[i] < 0 || route.stopSounds[i] >= route.soundDataCount)
      fault("[StopSound] names no route sound: " + std::to_string(route.stopSounds[i]));

  const int trafficPictures = static_cast<int>(lists.trafficSignal.size());
  for (int i = 0; i < route.trafficSignalCount; ++i) {
    const TrafficSignalEntry& t = route.trafficSignals[i];
    const auto picture = [&](int n) {
      const int p = t.field[static_cast<std::size_t>(n)];
      if (p < 0 || p >= trafficPictures)
        fault("[TrafficSignal] field " + std::to_string(n) + " names no picture");
    };
    bool passes = false;
    for (int phase = 1; phase <= 6; ++phase) {
      picture(3 * phase + 1);
      passes = passes || t.field[static_cast<std::size_t>(3 * phase + 3)] == 1;
    }
    picture(24);
    picture(25);
    if (!passes) fault("a road traffic signal that never lets the train pass");
    if (!(t.field[2] < t.position() && t.position() < t.field[3]) ||
        (t.position2() != 0 && !(t.field[2] <= t.position2() && t.position2() < t.position())))
      fault("a road traffic signal out of view of its stop point or detector");
  }

  for (int i = 0; i < route.animCount; ++i) {
    const AnimEntry& a = route.anims[i];
    if (a.from >= a.to || a.firstPicture < 0 || a.firstPicture + 14 > route.animImageCount)
      fault("[Anim] record " + std::to_string(i) + " wants pictures the list does not hold");
  }
}

// A scene movie in the video folder: it must open and hold at least the frames its record
// plays.
void requireSceneMovie(const std::string& root, const std::string& file, const UiStrings& strings,
                       const MovieSwitchEntry& scene) {
  const std::string path = resolvePath(root, videoFileName(strings, scene.movieText));
  media::FfmpegVideoReader reader;
  std::string error;
  if (!reader.open(path, error))
    throw std::runtime_error(
        media::fill(media::translate("ContentCheck", "%1: 場面の動画「%2」を開けません: %3"),
                    {file, scene.movieText, error}));
  if (reader.frameCount() < scene.movieLength)
    throw std::runtime_error(media::fill(
        media::translate("ContentCheck",
                         "%1: 場面の動画「%2」は%3フレームしかありませんが、路線は%4フレームを"
                         "再生します"),
        {file, scene.movieText, std::to_string(reader.frameCount()),
         std::to_string(scene.movieLength)}));
}

// The demo route's own rules: at least two stations in order along the line before the video
// ends, each with departure sounds from "[SoundData]", and the tables that agree.
void checkRoute(const std::string& root, const std::string& file) {
  auto owned = std::make_unique<RouteData>();
  RouteData& route = *owned;
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  readRouteFile(root, file, route, pictures, lists);
  deriveRouteDistances(route);
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
  checkRouteTables(root, file, route, lists);
}

std::optional<int> countFrames(const std::string& path) {
  media::FfmpegVideoReader reader;
  std::string error;
  if (!reader.open(path, error)) return std::nullopt;
  return reader.frameCount();
}

template <typename Check>
void guarded(const std::string& root, const std::string& file, Check check) {
  try {
    check(root, file);
  } catch (const DataError& e) {
    throw std::runtime_error(file + ": " + e.what());
  }
}

}  // namespace

void validateSceneMovies(const std::string& root, const std::vector<std::string>& routeFiles) {
  const UiStrings strings = readUiStrings(root);
  for (const std::string& file : routeFiles) {
    guarded(root, file, [&strings](const std::string& r, const std::string& f) {
      auto route = std::make_unique<RouteData>();
      media::FileCheckPictureLoader pictures;
      PictureLists lists;
      readRouteFile(r, f, *route, pictures, lists);
      for (int i = 0; i < route->movieSwitchCount; ++i)
        requireSceneMovie(r, f, strings, route->movieSwitches[i]);
    });
  }
}

void validateDemo(const std::string& root, const std::vector<std::string>& trainFiles,
                  const std::vector<std::string>& routeFiles, bool videos) {
  // The installation as an author's check sees it, and clean: no error and no warning. Without
  // videos the routes still name them; they are looked for only when rendered.
  check::CheckOptions options;
  options.root = root;
  options.videos = videos;
  options.frames = countFrames;
  const check::Findings findings = check::checkInstallation(options);
  if (!findings.empty()) {
    std::ostringstream text;
    check::writeText(findings, text);
    throw std::runtime_error(
        media::translate("ContentCheck", "作ったファイルにデータチェッカーが見つけたこと:") + "\n" +
        text.str());
  }
  for (const std::string& file : trainFiles)
    guarded(root, file, checkTrain);
  for (const std::string& file : routeFiles)
    guarded(root, file, checkRoute);
  const UiStrings strings = readUiStrings(root);
  if (strings.Path.empty() || strings.EB.empty())
    throw std::runtime_error("dorvanel.dat: texts missing");
  if (!std::filesystem::is_regular_file(resolvePath(root, "readme.html")))
    throw std::runtime_error("the demo installation has no readme.html");
}

}  // namespace velimoro::content
