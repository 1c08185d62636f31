#pragma once

#include "sim/sim_drive.h"
#include "sim/sound_system.h"

namespace velimoro {

// Sounds along the line, started by the train's frame and position each tick. They play on the
// route-sound channels ("[SoundData]" entry k on channel T + k), except the points sounds, which
// are train sounds.

/// Tick step: "[Sound]" records, Doppler sources, conductor announcements and points sounds.
void runRouteSounds(SimDrive& drive);

/// "[Sound]" records: each starts once, when the frame comes within 4 frames of its start frame,
/// with pitch and volume following the speed there; a looping one stops at its stop frame.
void playRouteSoundRecords(SimDrive& drive);

/// "[Doppler]" sources: loop while the train is within their radius, louder nearer, higher in
/// pitch while approaching and lower once passed; all stop when none is in range.
void playDopplerSounds(SimDrive& drive);

/// "[Announce]" records of routes with a conductor: each plays once on entering the 10 m window
/// at its distance from its station's stop point.
void playAnnouncements(SimDrive& drive);

/// "[Switch]" records: each sounds once within 4 frames of its points, with the first of the
/// train's [SwitchSound] entries for that kind of points and a speed below the entry's limit.
void playSwitchSounds(SimDrive& drive);

/// Clears the per-run flags of the sound triggers (start of a run, station jump).
void clearSoundTriggers(SoundSystem& sounds);

}  // namespace velimoro
