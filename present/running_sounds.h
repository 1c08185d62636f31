#pragma once

#include "sim/sim_drive.h"
#include "sim/sound_system.h"

namespace velimoro {

// The running sounds that follow the speed, each looping on its own channel.
//
// [EngineSound1] (every train): an entry loops while |speed| lies within p1 .. p3 (inclusive)
// and its `number` allows it, and is silent otherwise. `number` 1 is a motor sound that sounds
// only under power (effective power notch above 0), 2 one that sounds only without power, and
// any other value (0 by convention) a running sound heard whatever the handles. The playback
// rate is p4, p5, p6 times the sound's own sampling rate at the speeds p1, p2, p3, and the level
// p7, p8, p9 hundredths of a decibel (0 full, -10000 silent), both linear in the speed between.
//
// [EngineSound3] (diesel railcars, Engine_Type 0): an entry loops while |speed| lies strictly
// between p1 and p2, the engine runs and the effective power notch lies within numberA ..
// numberB (either way round), so a diesel's engine note follows its throttle; silent
// otherwise. The rate factor runs from p3 to p4 and the level (hundredths of a decibel) from p5
// to p6 between the two speeds.

/// Tick step: starts, adjusts and stops the [EngineSound1] and [EngineSound3] sounds.
void runRunningSounds(SimDrive& drive);

/// Start of a run: no running sound is kept looping.
void resetEngineSounds(SoundSystem& sounds);

}  // namespace velimoro
