#include "sim/train_sounds.h"

#include "sim/channels.h"

namespace velimoro {
namespace {

bool isTrainSound(const SimDrive& drive, int number) {
  return number >= 0 && number < drive.train->DriveSoundCount &&
         number < media::SoundLayer::kChannels;
}

}  // namespace

void playTrainSound(SimDrive& drive, int number, bool looped) {
  if (isTrainSound(drive, number)) playChannel(drive, number, looped);
}

void stopTrainSound(SimDrive& drive, int number) {
  if (isTrainSound(drive, number)) drive.media.sound.stop(number);
}

bool trainSoundPlaying(const SimDrive& drive, int number) {
  return isTrainSound(drive, number) && drive.media.sound.isPlaying(number);
}

void setTrainSoundVolume(SimDrive& drive, int number, int hundredthsOfDecibel) {
  if (isTrainSound(drive, number)) drive.media.sound.setVolume(number, hundredthsOfDecibel);
}

}  // namespace velimoro
