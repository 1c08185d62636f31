#pragma once

#include "media/video_reader.h"
#include "present/screen_pass.h"
#include "sim/sim_drive.h"

namespace velimoro {

// The short scene movies of the route's "[MovieSwitch]" records. A standing scene (kind 2)
// plays once while the train stands in its frame range and plays by time; a running scene
// replaces the route video while the train passes its range and follows the train's frame.
// When a scene ends the route video is opened again, the train goes on from the record's resume
// frame and the record is done for the rest of the run.
//
// The reader's file is swapped here: the host runs these calls and the fast step one at a
// time, never at once.

/// Once per tick: starts the scene of the first record whose conditions hold, or ends the
/// scene that has played out.
void runSceneMovies(ScreenPass& pass, SimDrive& drive, media::VideoReader& video);

/// Once per fast step, after the train's frame has moved: a standing scene advances one frame
/// every 30 / "[FrameRate]" fast steps; a running scene shows the frame the train has reached
/// inside its range.
void advanceSceneFrame(ScreenPass& pass, const SimDrive& drive);

/// Takes the picture back to the route video when a scene movie shows or the run mode plays the
/// video by time or follows at an offset: the route video is opened again (when there is a
/// reader), the picture follows the train's frame in run mode 0 and the next pass decodes.
void returnToRouteVideo(ScreenPass& pass, SimDrive& drive, media::VideoReader* video);

}  // namespace velimoro
