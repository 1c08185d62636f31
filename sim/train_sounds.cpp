#include "sim/train_sounds.h"

#include "present/sound_channels.h"

namespace velimoro {
namespace {

bool isTrainSound(const Drive& drive, int number) {
  return number >= 0 && number < drive.train->DriveSoundCount &&
         number < media::SoundLayer::kChannels;
}

}  // namespace

void playTrainSound(Drive& drive, int number, bool looped) {
  if (isTrainSound(drive, number)) playChannel(drive, number, looped);
}

void stopTrainSound(Drive& drive, int number) {
  if (isTrainSound(drive, number)) drive.media.sound.stop(number);
}

bool trainSoundPlaying(const Drive& drive, int number) {
  return isTrainSound(drive, number) && drive.media.sound.isPlaying(number);
}

void setTrainSoundVolume(Drive& drive, int number, int hundredthsOfDecibel) {
  if (isTrainSound(drive, number)) drive.media.sound.setVolume(number, hundredthsOfDecibel);
}

}  // namespace velimoro
