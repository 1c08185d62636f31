#include "present/sound_pause.h"

#include "present/sound_channels.h"

namespace velimoro {

void pauseSounds(SimDrive& drive) {
  SoundSystem& sounds = drive.sounds;
  for (int channel = 0; channel < SoundSystem::kChannels; ++channel) {
    const auto slot = static_cast<std::size_t>(channel);
    if (!drive.media.sound.isPlaying(channel)) {
      sounds.paused[slot] = PausedChannel::kSilent;
      continue;
    }
    sounds.paused[slot] =
        sounds.startedLooped[slot] ? PausedChannel::kLooped : PausedChannel::kOnce;
    drive.media.sound.stop(channel);
  }
}

void resumeSounds(SimDrive& drive) {
  SoundSystem& sounds = drive.sounds;
  for (int channel = 0; channel < SoundSystem::kChannels; ++channel) {
    const auto slot = static_cast<std::size_t>(channel);
    const PausedChannel was = sounds.paused[slot];
    sounds.paused[slot] = PausedChannel::kSilent;
    if (was != PausedChannel::kSilent) playChannel(drive, channel, was == PausedChannel::kLooped);
  }
}

}  // namespace velimoro
