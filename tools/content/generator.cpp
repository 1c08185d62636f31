#include "tools/content/generator.h"

#include <filesystem>
#include <vector>

#include "media/translate.h"
#include "tools/content/route_art.h"
#include "tools/content/route_builder.h"
#include "tools/content/route_sounds.h"
#include "tools/content/scene_movies.h"
#include "tools/content/title_files.h"
#include "tools/content/train_files.h"
#include "tools/content/ui_files.h"
#include "tools/content/validate.h"
#include "tools/content/video_render.h"
#include "tools/content/voices.h"
#include "tools/content/writers.h"
#include "tools/end_signal.h"

namespace velimoro::content {

void generateDemo(const std::string& root, std::ostream& progress, bool videos, bool hd) {
  std::filesystem::create_directories(root);
  if (!speechAvailable())
    throw std::runtime_error(
        media::translate("ContentProgress",
                         "喚呼の音声と車内放送には espeak-ng が必要です。インストールしてください"
                         "（scripts/install-deps）"));

  const std::vector<TrainDesign> trains = {electricTrainDesign(), dieselTrainDesign()};
  std::vector<std::string> trainFiles;
  for (const TrainDesign& t : trains) {
    writeTrain(t, root);
    trainFiles.push_back(t.fileName());
  }
  progress << media::fill(media::translate("ContentProgress",
                                           "車両: 運転台の絵と音つきの車両ファイル %1 本"),
                          {std::to_string(trainFiles.size())})
           << '\n';
  tools::throwOnEndSignal();

  const std::vector<RouteDesign> routes = demoRoutes();
  std::vector<std::string> routeFiles;
  std::vector<BuiltRoute> builtRoutes;
  for (const RouteDesign& r : routes) {
    const BuiltRoute& built = builtRoutes.emplace_back(buildRoute(r));
    writeBytes(root + "/" + r.file, routeDocument(built).bytes());
    writeStaffCard(built, root);
    routeFiles.push_back(r.file);
  }
  progress << media::fill(
                  media::translate("ContentProgress", "路線: 時刻表つきの路線ファイル %1 本"),
                  {std::to_string(routeFiles.size())})
           << '\n';
  tools::throwOnEndSignal();

  writeRouteArt(root);
  progress << media::translate("ContentProgress", "路線の画像: 信号機、標識、キロポスト、看板")
           << '\n';
  tools::throwOnEndSignal();

  writeRouteSounds(root);
  const int announcements = writeStationAnnouncements(routes, root);
  progress << media::fill(media::translate("ContentProgress", "音: 路線の音と駅の車内放送 %1 件"),
                          {std::to_string(announcements)})
           << '\n';
  tools::throwOnEndSignal();

  const int voices = writeCalloutVoices(root);
  progress << media::fill(media::translate("ContentProgress", "喚呼: 喚呼の音声 %1 件"),
                          {std::to_string(voices)})
           << '\n';
  tools::throwOnEndSignal();

  writeUiFiles(root);
  progress << media::translate("ContentProgress",
                               "文字列: dorvanel.dat、mascon.dat、operation.dat、readme.html")
           << '\n';
  tools::throwOnEndSignal();

  writeTitleFiles(root);
  progress << media::translate("ContentProgress",
                               "タイトル画面: ボタン、路線図、タイトルの絵、スライド、音楽")
           << '\n';
  tools::throwOnEndSignal();

  if (videos) {
    const VideoSize size = hd ? kHdVideoSize : VideoSize{};
    writeRouteVideos(builtRoutes, root, progress, size);
    const int scenes = writeSceneMovies(builtRoutes, root, progress, size);
    progress << media::fill(
                    media::translate("ContentProgress", "映像: 路線の映像と場面の動画 %1 本"),
                    {std::to_string(scenes)})
             << '\n';
    tools::throwOnEndSignal();
  }

  validateDemo(root, trainFiles, routeFiles, videos);
  progress << media::translate("ContentProgress",
                               "確認: 車両・路線・文字列のファイルはどれも読み戻せます")
           << '\n';
}

}  // namespace velimoro::content
