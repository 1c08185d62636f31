#include "tools/content/generator.h"

#include <filesystem>
#include <vector>

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
        "espeak-ng is needed for the call-out voices and announcements; install it "
        "(scripts/install-deps)");

  const std::vector<TrainDesign> trains = {electricTrainDesign(), dieselTrainDesign()};
  std::vector<std::string> trainFiles;
  for (const TrainDesign& t : trains) {
    writeTrain(t, root);
    trainFiles.push_back(t.fileName());
  }
  progress << "trains: " << trainFiles.size() << " train files with panels and sounds\n";
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
  progress << "routes: " << routeFiles.size() << " route files with timetable cards\n";
  tools::throwOnEndSignal();

  writeRouteArt(root);
  progress << "route pictures: signals, boards, posts, signs\n";
  tools::throwOnEndSignal();

  writeRouteSounds(root);
  const int announcements = writeStationAnnouncements(routes, root);
  progress << "sounds: route sounds and " << announcements << " station announcements\n";
  tools::throwOnEndSignal();

  const int voices = writeCalloutVoices(root);
  progress << "voices: " << voices << " call-out voices\n";
  tools::throwOnEndSignal();

  writeUiFiles(root);
  progress << "strings: dorvanel.dat, mascon.dat, operation.dat, readme.html\n";
  tools::throwOnEndSignal();

  writeTitleFiles(root);
  progress << "title screen: buttons, maps, title pictures, slides and music\n";
  tools::throwOnEndSignal();

  if (videos) {
    const VideoSize size = hd ? kHdVideoSize : VideoSize{};
    writeRouteVideos(builtRoutes, root, progress, size);
    const int scenes = writeSceneMovies(builtRoutes, root, progress, size);
    progress << "videos: route videos and " << scenes << " scene movies\n";
    tools::throwOnEndSignal();
  }

  validateDemo(root, trainFiles, routeFiles, videos);
  progress << "check: every train, route and string file reads back\n";
}

}  // namespace velimoro::content
