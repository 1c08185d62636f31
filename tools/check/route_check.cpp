#include "tools/check/route_check.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "data/data_error.h"
#include "data/read_log.h"
#include "data/route_reader.h"
#include "media/picture_loader.h"
#include "media/translate.h"
#include "tools/check/named_files.h"

namespace velimoro::check {
namespace {

// A place along the route given as a frame: the line that gives it and what it is (a name put
// into the findings' texts).
struct Place {
  int line = 0;
  std::string what;
  int frame = 0;
  bool hasDistance = false;  // the derivation gives it a distance from "[SpeedUnit]"
};

std::vector<Place> placesOf(const RouteData& route, const ReadLog& log) {
  std::vector<Place> places;
  if (log.sectionLine("[StartPos]") > 0)
    places.push_back({log.sectionLine("[StartPos]") + 1, media::translate("RouteCheck", "開始位置"),
                      route.startPos});
  for (int i = 0; i < std::min(route.stationCount, RouteData::kTable); ++i)
    places.push_back({log.recordLine("[Station]", i),
                      media::fill(media::translate("RouteCheck", "%1駅"), {route.stations[i].name}),
                      route.stations[i].stopFrame, true});
  for (int i = 0; i < std::min(route.signalCount, RouteData::kTable); ++i)
    places.push_back({log.recordLine("[Signal]", i),
                      media::fill(media::translate("RouteCheck", "信号%1"), {std::to_string(i)}),
                      route.signals[i].position, true});
  for (int i = 0; i < std::min(route.speedLimitCount, RouteData::kTable); ++i)
    places.push_back(
        {log.recordLine("[SpeedLimit]", i),
         media::fill(media::translate("RouteCheck", "速度制限%1"), {std::to_string(i)}),
         route.speedLimits[i].position, true});
  if (route.movieStopCount > 0)
    places.push_back({log.recordLine("[MovieStop]", 0),
                      media::translate("RouteCheck", "路線の終端"), route.movieStop[0]});
  return places;
}

// The segments follow each other: each starts at the frame where the one before ends (that
// frame belongs to both), and none ends before it starts.
void checkFrameSpeeds(const RouteData& route, const ReadLog& log, FileFindings& f) {
  const int count = std::min(route.frameSpeedCount, RouteData::kFrameSpeeds);
  for (int i = 0; i < count; ++i) {
    const FrameSpeedEntry& s = route.frameSpeeds[i];
    const int line = log.recordLine("[SpeedUnit]", i);
    if (s.toFrame < s.fromFrame)
      f.warning(line, media::fill(media::translate(
                                      "RouteCheck",
                                      "区間がフレーム%1で終わり、始まりのフレーム%2より前です"),
                                  {std::to_string(s.toFrame), std::to_string(s.fromFrame)}));
    if (i == 0) continue;
    const int end = route.frameSpeeds[i - 1].toFrame;
    const std::string from = std::to_string(s.fromFrame);
    const std::string before = std::to_string(end);
    if (s.fromFrame > end)
      f.warning(line,
                media::fill(media::translate(
                                "RouteCheck",
                                "区間がフレーム%1から始まり、前の区間はフレーム%2で終わります。"
                                "その間の距離は数えられません（すき間）"),
                            {from, before}));
    else if (s.fromFrame < end)
      f.warning(line,
                media::fill(media::translate(
                                "RouteCheck",
                                "区間がフレーム%1から始まり、前の区間はフレーム%2で終わります。"
                                "その間のフレームは二重に数えられます（重なり）"),
                            {from, before}));
  }
}

void checkPlacesInSegments(const RouteData& route, const ReadLog& log, FileFindings& f) {
  const int count = std::min(route.frameSpeedCount, RouteData::kFrameSpeeds);
  if (count == 0) {
    f.warning(0,
              media::translate("RouteCheck",
                               "[SpeedUnit]の区間がありません。路線上の距離はすべて0になります"));
    return;
  }
  for (const Place& place : placesOf(route, log)) {
    if (!place.hasDistance) continue;
    bool inside = false;
    for (int i = 0; i < count && !inside; ++i)
      inside = route.frameSpeeds[i].fromFrame <= place.frame &&
               place.frame <= route.frameSpeeds[i].toFrame;
    if (!inside)
      f.warning(place.line,
                media::fill(media::translate("RouteCheck",
                                             "フレーム%2の%1はどの[SpeedUnit]の区間にも入って"
                                             "いません。その距離は0と数えられます"),
                            {place.what, std::to_string(place.frame)}));
  }
}

void checkSounds(const RouteData& route, const ReadLog& log, NamedFiles& files) {
  // A route sound or a voice that does not load stays silent; the sound of an "[OtherImageList]"
  // entry stops the start-up.
  for (int i = 0; i < std::min(route.soundDataCount, RouteData::kTable); ++i)
    files.sound(log.recordLine("[SoundData]", i), route.soundData[i], false);
  const int firstVoiceLine = log.sectionLine("[KankoSound1]") + 1;
  for (int i = 0; i < RouteData::kKankoSound1Lines; ++i)
    files.sound(firstVoiceLine + i, route.kankoSound[i], false);
  for (int i = RouteData::kFirstKankoSound2;
       i < std::min(route.kankoSoundCount, RouteData::kKankoSlots); ++i)
    files.sound(log.recordLine("[KankoSound2]", i), route.kankoSound[i], false);
  for (int i = 0; i < std::min(route.otherImageCount, RouteData::kBigTable); ++i)
    files.sound(log.recordLine("[OtherImageList]", i) + 1, route.otherSounds[i], true);
}

// The video the drive opens for `dataName`; says which when the ".avi" file is missing and one of
// the other containers stands in for it.
std::string shownVideo(int line, const UiStrings& strings, const std::string& dataName,
                       const NamedFiles& files, FileFindings& f) {
  const std::string avi = videoFileName(strings, dataName);
  const std::string shown = findVideoFileName(files.folder(), strings, dataName);
  if (shown != avi)
    f.warning(line,
              media::fill(media::translate("RouteCheck",
                                           "映像「%1」がありません。運転では「%2」を映します"),
                          {avi, shown}));
  return shown;
}

void checkVideos(const RouteData& route, const ReadLog& log, const VideoCheck& videos,
                 NamedFiles& files, FileFindings& f) {
  if (videos.strings == nullptr) return;
  const int nameLine = log.sectionLine("[DataName]");
  const int videoLine = nameLine > 0 ? nameLine + 1 : 0;
  const std::string video = shownVideo(videoLine, *videos.strings, route.dataName, files, f);
  // The drive's own message, in the language in use, as the cab would show it.
  const std::string shown =
      media::fill(media::translate("ScreenPass", "%1映像ファイルを開けません"), {video});
  const auto path = files.expect(
      videoLine, video,
      media::fill(
          media::translate("RouteCheck", "映像「%1」がありません。運転では「%2」と表示されます"),
          {"%1", shown}));
  if (path && videos.frames) {
    const auto frames = videos.frames(*path);
    if (!frames) {
      f.warning(videoLine,
                media::fill(media::translate("RouteCheck", "映像「%1」を開けません"), {video}));
    } else {
      for (const Place& place : placesOf(route, log))
        if (place.frame >= *frames)
          f.warning(
              place.line,
              media::fill(media::translate("RouteCheck",
                                           "フレーム%2の%1は、映像の%3フレームより先に"
                                           "あります"),
                          {place.what, std::to_string(place.frame), std::to_string(*frames)}));
    }
  }
  for (int i = 0; i < std::min(route.movieSwitchCount, RouteData::kSmallTable); ++i) {
    const MovieSwitchEntry& m = route.movieSwitches[i];
    const int line = log.recordLine("[MovieSwitch]", i);
    const std::string movie = shownVideo(line, *videos.strings, m.movieText, files, f);
    const auto moviePath = files.expect(
        line, movie,
        media::translate("RouteCheck",
                         "場面の動画「%1」がありません。代わりに路線の映像が続きます"));
    if (!moviePath || !videos.frames) continue;
    const auto frames = videos.frames(*moviePath);
    if (frames && *frames < m.movieLength)
      f.warning(line,
                media::fill(media::translate("RouteCheck",
                                             "場面の動画「%1」は%2フレームしかありませんが、記録は"
                                             "%3フレームを再生します"),
                            {movie, std::to_string(*frames), std::to_string(m.movieLength)}));
  }
}

}  // namespace

void checkRouteFile(const std::string& root, const std::string& fileName, const std::string& shown,
                    const VideoCheck& videos, Findings& out) {
  FileFindings f(shown, out);
  // The record is large; it lives on the heap.
  auto route = std::make_unique<RouteData>();
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  ReadLog log;
  readRouteFile(root, fileName, *route, pictures, lists, &log);
  f.add(log);
  if (!opened(log)) return;
  try {
    deriveRouteDistances(*route);
  } catch (const DataError& e) {
    f.error(log.sectionLine("[SpeedUnit]"), e.what());
  }

  NamedFiles files(f, root);
  for (const ReadLog::NamedFile& loaded : log.loadedFiles())
    files.spelling(loaded.line, loaded.name);
  // "[Staf]": the timetable card, which the start-up loads, then the standby picture the cab
  // shows while the drive stands still.
  const int staffLine = log.sectionLine("[Staf]") + 1;
  try {
    loadStaffPicture(root, *route, pictures);
    files.spelling(staffLine, route->staffImage);
  } catch (const DataError& e) {
    f.error(staffLine, e.what());
  }
  files.expectPicture(staffLine + 1, route->staffBitmap);
  checkSounds(*route, log, files);
  checkFrameSpeeds(*route, log, f);
  checkPlacesInSegments(*route, log, f);
  checkVideos(*route, log, videos, files, f);
}

}  // namespace velimoro::check
