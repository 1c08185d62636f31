#include "present/scene_movies.h"

#include <string>

#include "data/paths.h"
#include "data/rounding.h"
#include "data/ui_strings.h"

namespace velimoro {
namespace {

constexpr int kRunningSceneSlack = 60;  // frames a running scene may overrun its length

bool inRange(const MovieSwitchEntry& record, int frame) {
  return record.fromFrame <= frame && frame <= record.toFrame;
}

// Opens the record's movie and starts showing it; false (with the route video back) when it
// cannot be opened, so the run goes on with the route video.
bool openScene(ScreenPass& pass, SimDrive& drive, media::VideoReader& video, int index) {
  MovieSwitchEntry& record = drive.route->movieSwitches[index];
  std::string error;
  const std::string file = findVideoFileName(drive.setup.root, drive.strings, record.movieText);
  if (!video.open(resolvePath(drive.setup.root, file), error)) {
    std::string message;
    openRouteVideo(drive, video, message, pass.savedFrames);
    record.done = true;
    pass.lastFetchedFrame = -1;
    return false;
  }
  pass.sceneRecord = index;
  pass.sceneLength = record.movieLength;
  pass.lastFetchedFrame = -1;
  return true;
}

// Back to the route video at the record's resume frame; the record is done.
void endScene(ScreenPass& pass, SimDrive& drive, media::VideoReader& video) {
  std::string message;
  openRouteVideo(drive, video, message, pass.savedFrames);
  MovieSwitchEntry& record = drive.route->movieSwitches[pass.sceneRecord];
  pass.videoMode = kRouteVideo;
  drive.state.frame = record.resumeFrame;
  pass.subFrame = 0;
  record.done = true;
  pass.sceneRecord = -1;
  pass.lastFetchedFrame = -1;
}

void startScenes(ScreenPass& pass, SimDrive& drive, media::VideoReader& video) {
  SimState& s = drive.state;
  const bool standing = roundHalfEven(s.speed) == 0;
  for (int i = 0; i < drive.route->movieSwitchCount; ++i) {
    const MovieSwitchEntry& record = drive.route->movieSwitches[i];
    if (record.done || pass.videoMode != kRouteVideo || !inRange(record, s.frame)) continue;
    if (record.kind == 2) {
      if (!standing) continue;
      if (!openScene(pass, drive, video, i)) continue;
      pass.videoMode = kStandingScene;
      pass.subFrame = 0;
      pass.sceneTicks = 0;
      pass.sceneStartFrame = s.frame;
    } else {
      if (!openScene(pass, drive, video, i)) continue;
      pass.subFrame = s.frame - record.fromFrame;
      pass.sceneStartFrame = record.fromFrame;
      video.decodeFrame(1, pass.framePicture);
      pass.videoMode = kRunningScene;
    }
  }
}

}  // namespace

void runSceneMovies(ScreenPass& pass, SimDrive& drive, media::VideoReader& video) {
  if (pass.sceneRecord >= 0 && pass.sceneRecord < drive.route->movieSwitchCount) {
    const MovieSwitchEntry& record = drive.route->movieSwitches[pass.sceneRecord];
    if (pass.videoMode == kStandingScene && pass.subFrame >= pass.sceneLength) {
      endScene(pass, drive, video);
    } else if (pass.videoMode == kRunningScene && !inRange(record, drive.state.frame) &&
               pass.sceneLength <= pass.subFrame &&
               pass.subFrame <= pass.sceneLength + kRunningSceneSlack) {
      endScene(pass, drive, video);
    }
  }
  startScenes(pass, drive, video);
}

void advanceSceneFrame(ScreenPass& pass, const SimDrive& drive) {
  if (pass.videoMode == kStandingScene) {
    const int rate = drive.route->frameRate;
    const int every = rate > 0 && rate <= 30 ? 30 / rate : 1;
    if (++pass.sceneTicks % every == 0) ++pass.subFrame;
  } else if (pass.videoMode == kRunningScene) {
    pass.subFrame = drive.state.frame - pass.sceneStartFrame;
  }
}

void returnToRouteVideo(ScreenPass& pass, SimDrive& drive, media::VideoReader* video) {
  if (pass.videoMode == kRouteVideo && drive.state.run_mode == 0) return;
  if (video != nullptr && pass.videoMode != kRouteVideo) {
    std::string message;
    openRouteVideo(drive, *video, message, pass.savedFrames);
  }
  drive.state.run_mode = 0;
  pass.videoMode = kRouteVideo;
  pass.sceneRecord = -1;
  pass.subFrame = 0;
  pass.lastFetchedFrame = -1;
}

}  // namespace velimoro
