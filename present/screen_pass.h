#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "media/cab_screen.h"
#include "media/video_reader.h"
#include "present/panel.h"
#include "present/picture_effects.h"
#include "sim/sim_drive.h"

namespace velimoro {

// The cab screen's idle pass: the route video frame of the train's position (or of a scene
// movie), the texts over it, the cab panel's sprites, the fade when the driver leaves, and the
// flip that shows it. It runs as often as the host is idle and draws at most every 33 ms.

/// The texts laid over the picture, in drawing order.
enum class OverlayText {
  kSpeed,
  kReverser,
  kNotch,
  kBrake,
  kGear,
  kStation,
  kPattern,
  kTrafficSignal,
  kTransponder,
  kCars,
  kExtraA,
  kExtraB,
  kGuidance,
};
inline constexpr int kOverlayTextCount = 13;

/// Width and height of a text as measured when it was last drawn.
struct TextBox {
  int width = 0;
  int height = 0;
};

/// What the picture shows.
enum VideoMode : int {
  kRouteVideo = 0,
  kStandingScene = 1,  // a scene movie that plays while the train stands
  kRunningScene = 2,   // a scene movie that replaces the route video while the train runs
};

/// The state of the cab screen's idle pass, kept for the cab window's lifetime.
struct ScreenPass {
  static constexpr int kPictureWidth = 604;
  static constexpr int kPictureHeight = 340;

  ScreenPass();

  int lastFetchedFrame = -1;       // the frame last decoded; -1 makes the next pass decode
  std::uint32_t lastPassTime = 0;  // ms
  int fps = 0;                     // passes per second, for the value display
  std::array<TextBox, kOverlayTextCount> textBoxes{};  // for the shading boxes of the next pass
  int fadeLevel = 0;                                   // 0 no fade; 1 .. 255 fading to black
  bool bandMode = false;  // texts in the window's labels, the guidance line in the text band
  int videoMode = kRouteVideo;
  int reverseFlag = 0;  // 1 after a switchback: the end-of-video hold looks backwards
  int subFrame = 0;     // frame inside the scene movie
  int sceneLength = 0;  // frames of the scene movie
  int sceneStartFrame = 0;
  int sceneRecord = -1;  // the "[MovieSwitch]" record playing; -1 none
  int sceneTicks = 0;    // fast steps since a standing scene started
  std::string extraTextA;
  std::string extraTextB;
  // The frames of the drive's save slots: a restore jumps there, so the reader keeps them ready
  // beside the stations' stop frames, also after a scene movie.
  std::vector<int> savedFrames;
  // The train's stop-line marker, stretched onto the square the tick places (stop_line_*).
  KeyedPicture stopLine;

  media::RgbPicture framePicture;  // the decoded frame, as the reader delivers it
  media::RgbPicture picture;       // the frame with its overlays, 604 x 340 at the surface's scale
};

/// The video frame the picture follows in run mode `s.run_mode`: the train's frame, the frame
/// of the video by time, or the train's frame less the offset.
int shownVideoFrame(const SimState& s);

/// One idle pass: unless less than 33 ms have passed since the last one or the simulation is
/// not running, fetches the frame, lays the texts and draws the screen. Returns true when the
/// fade has closed the cab (the host then closes the window).
bool runScreenPass(ScreenPass& pass, SimDrive& drive, const CabPanel& panel,
                   media::VideoReader* video, media::CabSurface& surface, std::uint32_t nowMs,
                   bool simulationRunning);

/// Takes the train's stop-line picture from the picture store for the passes to draw; without
/// a store or a picture no marker is drawn.
void takeStopLinePicture(ScreenPass& pass, const SimDrive& drive);

/// Opens the route video and keeps its frame count in `video_end_frame`. When it cannot be
/// opened returns false with the message the user sees; the run goes on without pictures.
/// The reader is told the frames the drive may jump to (see expectRouteJumps).
bool openRouteVideo(SimDrive& drive, media::VideoReader& video, std::string& message,
                    const std::vector<int>& savedFrames = {});

/// Tells the route video's reader the frames a jump may land on: the save slots' frames first
/// (each restore goes there), then the stations' stop frames (the Move menu's jumps).
void expectRouteJumps(const SimDrive& drive, media::VideoReader& video,
                      const std::vector<int>& savedFrames);

}  // namespace velimoro
