#pragma once

#include "sim/sim_drive.h"
#include "sim/train_sounds.h"

namespace velimoro {

/// Restarts train sound `number`: stops it, then plays it once from the start.
inline void restartTrainSound(SimDrive& drive, int number) {
  stopTrainSound(drive, number);
  playTrainSound(drive, number, false);
}

/// Plays train sound `number` once from the start unless it is playing already.
inline void playTrainSoundIfIdle(SimDrive& drive, int number) {
  if (trainSoundPlaying(drive, number)) return;
  stopTrainSound(drive, number);
  playTrainSound(drive, number, false);
}

}  // namespace velimoro
