#include "sim/channels.h"

#include <algorithm>
#include <cmath>

#include "data/rounding.h"

namespace velimoro {
namespace {

constexpr int kChannels = SoundSystem::kChannels;
constexpr int kSilent = -10000;  // hundredths of a decibel
// The frequencies the sound device plays; the speed-following factors can ask for more.
constexpr long double kMinHertz = 100;
constexpr long double kMaxHertz = 200000;

bool isChannel(int channel) {
  return channel >= 0 && channel < kChannels;
}

int channelOrNone(long long channel) {
  return channel >= 0 && channel < kChannels ? static_cast<int>(channel) : -1;
}

}  // namespace

ChannelLayout channelLayout(const TrainSpec& train, const RouteData& route) {
  ChannelLayout layout;
  layout.trainSounds = std::clamp(train.DriveSoundCount, 0, TrainSpec::kMaxDriveSounds);
  layout.routeSounds = std::clamp(route.soundDataCount, 0, RouteData::kTable);
  layout.engine1Sounds = std::clamp(train.EngineSound1Count, 0, TrainSpec::kMaxEngineSounds);
  layout.engine3Sounds = std::clamp(train.EngineSound3Count, 0, TrainSpec::kMaxEngineSounds);
  layout.calloutChannel = layout.trainSounds + layout.routeSounds + layout.engine1Sounds + 1;
  layout.guidanceChannel = layout.calloutChannel + 1;
  return layout;
}

int trainSoundChannel(const ChannelLayout& layout, int number) {
  if (number < 0 || number >= layout.trainSounds) return -1;
  return channelOrNone(number);
}

int routeSoundChannel(const ChannelLayout& layout, int index) {
  if (index < 0 || index >= layout.routeSounds) return -1;
  return channelOrNone(static_cast<long long>(layout.trainSounds) + index);
}

int engine1Channel(const ChannelLayout& layout, int entry) {
  if (entry < 0 || entry >= layout.engine1Sounds) return -1;
  return channelOrNone(static_cast<long long>(layout.trainSounds) + layout.routeSounds + entry);
}

int engine3Channel(const ChannelLayout& layout, int entry) {
  if (entry < 0 || entry >= layout.engine3Sounds) return -1;
  // The first takes the channel before the call-out channel; the others follow the guidance
  // channel.
  const long long first =
      static_cast<long long>(layout.trainSounds) + layout.routeSounds + layout.engine1Sounds;
  return channelOrNone(entry == 0 ? first : first + 2 + entry);
}

int calloutChannel(const ChannelLayout& layout) {
  return channelOrNone(layout.calloutChannel);
}

int guidanceChannel(const ChannelLayout& layout) {
  return channelOrNone(layout.guidanceChannel);
}

void playChannel(SimDrive& drive, int channel, bool looped) {
  if (!isChannel(channel)) return;
  drive.sounds.startedLooped[static_cast<std::size_t>(channel)] = looped;
  drive.media.sound.play(channel, looped);
}

void stopChannel(SimDrive& drive, int channel) {
  if (isChannel(channel)) drive.media.sound.stop(channel);
}

bool channelPlaying(const SimDrive& drive, int channel) {
  return isChannel(channel) && drive.media.sound.isPlaying(channel);
}

void setChannelVolume(SimDrive& drive, int channel, long double hundredthsOfDecibel) {
  if (!isChannel(channel)) return;
  const long double volume = std::isnan(hundredthsOfDecibel)
                                 ? kSilent
                                 : std::clamp<long double>(hundredthsOfDecibel, kSilent, 0);
  drive.media.sound.setVolume(channel, static_cast<int>(roundHalfEven(volume)));
}

void setChannelRate(SimDrive& drive, int channel, long double factor) {
  if (!isChannel(channel) || !(factor > 0)) return;
  const int rate = drive.sounds.channelRate[static_cast<std::size_t>(channel)];
  if (rate <= 0) return;
  const long double hertz = std::clamp(rate * factor, kMinHertz, kMaxHertz);
  drive.media.sound.setFrequency(channel, static_cast<int>(roundHalfEven(hertz)));
}

}  // namespace velimoro
