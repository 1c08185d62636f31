#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// A train's sounds sit on the first channels of the sound layer, sound k ([DriveSound] entry k)
// on channel k. A sound number that names no train sound plays nothing, so a bad number in a
// train file never sounds a route sound or a call-out by accident.

/// Plays train sound `number` from the start, once or looped.
void playTrainSound(SimDrive& drive, int number, bool looped);
/// Stops train sound `number`.
void stopTrainSound(SimDrive& drive, int number);
/// Whether train sound `number` plays.
bool trainSoundPlaying(const SimDrive& drive, int number);
/// Sets the volume of train sound `number` in hundredths of a decibel.
void setTrainSoundVolume(SimDrive& drive, int number, int hundredthsOfDecibel);

}  // namespace velimoro
