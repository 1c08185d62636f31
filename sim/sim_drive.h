#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "data/controller_map.h"
#include "data/picture_lists.h"
#include "data/route_data.h"
#include "data/train_record.h"
#include "data/ui_strings.h"
#include "media/cab_screen.h"
#include "media/message_sink.h"
#include "media/picture_loader.h"
#include "media/sound_layer.h"
#include "sim/signal_tables.h"
#include "sim/sim_requests.h"
#include "sim/sim_state.h"
#include "sim/sound_system.h"

namespace velimoro {

/// The settings a drive reads at start: the four of the settings store and the crew-change
/// station chosen for the run.
struct DriveSettings {
  int kanko = 0;               // 1: no call-outs
  int information = 1;         // 1: guidance shown
  int ats = 1;                 // 1: beginner mode, the train protection does not act
  int aids = 0;                // 1: the driver-aid panel on the cab screen (on in a first run)
  int crewChangeStation = -1;  // the station where the crew changes and the run ends; -1 none
};

/// What the host chooses for one drive.
struct DriveSetup {
  std::string root;         // the data root (program folder)
  std::string trainFolder;  // "" for trains in the data root
  std::string trainFile;
  std::string routeFile;
  int startIndex = 0;  // 0 the route's start position, k >= 1 station k
  // With a frame (>= 0) the run starts there instead, standing with the doors closed, as if the
  // stations before had been left on time; -1 starts at startIndex.
  int startFrame = -1;
  DriveSettings settings;
  // The game controller's codes from the settings store; the start-up adds the lines of
  // "mascon.dat".
  ControllerMap controllers;
  int videoFrameCount = 0;  // frames of the opened route video; 0 when none could be opened
};

/// The media a drive talks to, owned by the host.
struct DriveMedia {
  media::SoundLayer& sound;
  media::PictureLoader& pictures;
  media::MessageSink& messages;
  std::function<void(const std::string&)> status;  // start-up progress texts; may be empty
  std::function<void()> backToTitle{};     // the run has ended: back to the title; may be empty
  std::function<void()> showCrewChange{};  // show the crew-change dialog in front; may be empty
  // The cab panel's pictures and sprites; the panel is built only when both are set. The store
  // must be the same object as `pictures`, which loads the train's picture strips.
  media::PictureStore* pictureStore = nullptr;
  media::SpriteEngine* sprites = nullptr;
};

/// The text panel beside the cab screen: its labels, filled by the tick while it is shown.
struct TextPanel {
  bool shown = false;
  std::string reverser, power, brake, gear, nextStation, crew, clock, trafficStop, trafficDetect,
      pattern, speed;
};

/// The simulated part of one drive: the data read for it, its running state, its sounds and the
/// media it talks to. The models of the fast step and the tick work on it; what they need of
/// the layers above (the driver's call-outs) they ask through `requests`.
struct SimDrive {
  SimDrive(const DriveSetup& setup, DriveMedia media);
  virtual ~SimDrive() = default;
  SimDrive(const SimDrive&) = delete;
  SimDrive& operator=(const SimDrive&) = delete;

  DriveSetup setup;
  DriveMedia media;
  std::unique_ptr<TrainSpec> train = std::make_unique<TrainSpec>();
  std::unique_ptr<RouteData> route = std::make_unique<RouteData>();
  UiStrings strings;
  PictureLists pictures;
  std::optional<int> staffPicture;
  SimState state;
  SignalTables signalTables;  // ATS beacons and signal states
  SoundSystem sounds;
  TextPanel textPanel;
  SimRequests* requests = nullptr;  // may be null: the requests are then dropped
};

/// Asks for call-out voice `voice`; dropped when nothing answers the drive's requests.
inline void requestCallout(SimDrive& drive, int voice) {
  if (drive.requests != nullptr) drive.requests->queueCallout(voice);
}

/// Asks for the station call-outs of station event `event`; dropped as requestCallout drops.
inline void requestStationCallout(SimDrive& drive, int event) {
  if (drive.requests != nullptr) drive.requests->stationCallout(event);
}

/// Frame of the end of the route: the video's frame count when a video is open, else entry 0 of
/// "[MovieStop]" when the route sets it, else 0 (no end).
int routeEndFrame(const SimDrive& drive);

/// Distance in cm of `frame` by the route's frame-speed table (0 outside it).
long double distanceOfFrame(const RouteData& route, int frame);

}  // namespace velimoro
