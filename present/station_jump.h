#pragma once

#include "media/video_reader.h"
#include "present/screen_pass.h"
#include "sim/sim_drive.h"

namespace velimoro {

// The Move menu: the train is put down, standing, at a station's stop position at that
// station's departure schedule, as if the run had started there (see sim/relocation.h): the
// video, the clock, the position, the handles, the brake pressures, the protection and the
// announcements start again from the station; channel 0 plays on. The simulation keeps running.

/// Puts the train at station `station`, one of the route's; a scene movie that shows gives way to
/// the route video in `video` (may be null without pictures).
void jumpToStation(ScreenPass& pass, SimDrive& drive, media::VideoReader* video, int station);

}  // namespace velimoro
