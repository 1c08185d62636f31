#include "present/sound_channels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/rounding.h"
#include "present/route_sounds.h"
#include "present/running_sounds.h"

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

void showStatus(Drive& drive, const char* text) {
  if (drive.media.status) drive.media.status(text);
}

// Loads a sound that lives on `channel`; fatal when it cannot be loaded.
void loadChannelSound(Drive& drive, int channel, const std::string& path) {
  std::string error;
  const int sound = drive.media.sound.loadSound(path, error);
  if (sound < 0) throw DataError(error);
  drive.sounds.channelSound[static_cast<std::size_t>(channel)] = sound;
  drive.sounds.channelRate[static_cast<std::size_t>(channel)] = waveSampleRate(path);
}

bool fileOpens(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// Route sounds: one that cannot be loaded stays silent and the start-up goes on. A file that
// cannot be opened at all was reported when its length was measured, so only a file that opens
// but does not load is reported here.
void loadRouteSounds(Drive& drive) {
  const RouteData& route = *drive.route;
  for (int i = 0; i < route.soundDataCount; ++i) {
    const int channel = routeSoundChannel(drive.sounds.layout, i);
    if (channel < 0) continue;
    const std::string path = resolvePath(drive.setup.root, route.soundData[i]);
    std::string error;
    const int sound = drive.media.sound.loadSound(path, error);
    if (sound < 0) {
      if (fileOpens(path)) drive.media.messages.show(error);
      continue;
    }
    drive.sounds.channelSound[static_cast<std::size_t>(channel)] = sound;
    drive.sounds.channelRate[static_cast<std::size_t>(channel)] = waveSampleRate(path);
  }
}

// Voices: an empty slot stays empty; a voice that cannot be loaded is reported and stays empty.
void loadVoices(Drive& drive) {
  const RouteData& route = *drive.route;
  const int count = std::clamp(route.kankoSoundCount, 0, RouteData::kKankoSlots);
  for (int voice = 0; voice < count; ++voice) {
    const std::string& name = route.kankoSound[voice];
    if (name.empty()) continue;
    std::string error;
    const int sound = drive.media.sound.loadSound(resolvePath(drive.setup.root, name), error);
    if (sound < 0) drive.media.messages.show(error);
    drive.sounds.voiceSound[static_cast<std::size_t>(voice)] = sound < 0 ? -1 : sound;
  }
}

// The sounds of "[OtherImageList]" entries; an entry without a sound name has none.
void loadOtherSounds(Drive& drive) {
  const RouteData& route = *drive.route;
  const int count = std::clamp(route.otherImageCount, 0, RouteData::kBigTable);
  for (int i = 0; i < count; ++i) {
    const std::string& name = route.otherSounds[i];
    if (name.empty()) continue;
    std::string error;
    const int sound = drive.media.sound.loadSound(resolvePath(drive.setup.root, name), error);
    if (sound < 0) throw DataError(error);
    drive.sounds.otherSound[static_cast<std::size_t>(i)] = sound;
  }
}

void loadEngineSounds(Drive& drive) {
  const TrainSpec& train = *drive.train;
  const ChannelLayout& layout = drive.sounds.layout;
  for (int i = 0; i < layout.engine1Sounds; ++i) {
    const int channel = engine1Channel(layout, i);
    if (channel < 0) continue;
    loadChannelSound(
        drive, channel,
        resolvePath(drive.setup.root, drive.setup.trainFolder + train.EngineSound1[i].file));
  }
  for (int i = 0; i < layout.engine3Sounds; ++i) {
    const int channel = engine3Channel(layout, i);
    if (channel < 0) continue;
    loadChannelSound(
        drive, channel,
        resolvePath(drive.setup.root, drive.setup.trainFolder + train.EngineSound3[i].file));
  }
}

// Binds in the order of the lists: running sounds, route sounds, then both engine lists.
void bindChannelSounds(Drive& drive) {
  const ChannelLayout& layout = drive.sounds.layout;
  const auto bindChannel = [&drive](int channel) {
    if (channel < 0) return;
    const int sound = drive.sounds.channelSound[static_cast<std::size_t>(channel)];
    if (sound >= 0) drive.media.sound.bind(channel, sound);
  };
  for (int i = 0; i < layout.trainSounds; ++i)
    bindChannel(trainSoundChannel(layout, i));
  for (int i = 0; i < layout.routeSounds; ++i)
    bindChannel(routeSoundChannel(layout, i));
  for (int i = 0; i < layout.engine1Sounds; ++i)
    bindChannel(engine1Channel(layout, i));
  for (int i = 0; i < layout.engine3Sounds; ++i)
    bindChannel(engine3Channel(layout, i));
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

int waveSampleRate(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 0;
  unsigned char header[28];
  const std::size_t got = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  if (got < sizeof header) return 0;
  const std::uint32_t rate =
      static_cast<std::uint32_t>(header[24]) | static_cast<std::uint32_t>(header[25]) << 8 |
      static_cast<std::uint32_t>(header[26]) << 16 | static_cast<std::uint32_t>(header[27]) << 24;
  return rate > static_cast<std::uint32_t>(kMaxHertz) ? 0 : static_cast<int>(rate);
}

void loadTrainSounds(Drive& drive) {
  showStatus(drive, "DirectSoundオブジェクトを作成しています(走行音)");
  drive.sounds = SoundSystem();
  drive.sounds.layout = channelLayout(*drive.train, *drive.route);
  clearSoundTriggers(drive.sounds);
  const ChannelLayout& layout = drive.sounds.layout;
  for (int i = 0; i < layout.trainSounds; ++i) {
    const int channel = trainSoundChannel(layout, i);
    if (channel < 0) continue;
    loadChannelSound(
        drive, channel,
        resolvePath(drive.setup.root, drive.setup.trainFolder + drive.train->DriveSound[i]));
  }
}

void loadRouteAndEngineSounds(Drive& drive) {
  loadRouteSounds(drive);
  showStatus(drive, "DirectSoundオブジェクトを作成しています(喚呼)");
  loadVoices(drive);
  loadOtherSounds(drive);
  loadEngineSounds(drive);
  showStatus(drive, "サウンドを読み込んでいます");
  bindChannelSounds(drive);
  resetEngineSounds(drive.sounds);
}

void playChannel(Drive& drive, int channel, bool looped) {
  if (!isChannel(channel)) return;
  drive.sounds.startedLooped[static_cast<std::size_t>(channel)] = looped;
  drive.media.sound.play(channel, looped);
}

void stopChannel(Drive& drive, int channel) {
  if (isChannel(channel)) drive.media.sound.stop(channel);
}

bool channelPlaying(const Drive& drive, int channel) {
  return isChannel(channel) && drive.media.sound.isPlaying(channel);
}

void setChannelVolume(Drive& drive, int channel, long double hundredthsOfDecibel) {
  if (!isChannel(channel)) return;
  const long double volume = std::isnan(hundredthsOfDecibel)
                                 ? kSilent
                                 : std::clamp<long double>(hundredthsOfDecibel, kSilent, 0);
  drive.media.sound.setVolume(channel, static_cast<int>(roundHalfEven(volume)));
}

void setChannelRate(Drive& drive, int channel, long double factor) {
  if (!isChannel(channel) || !(factor > 0)) return;
  const int rate = drive.sounds.channelRate[static_cast<std::size_t>(channel)];
  if (rate <= 0) return;
  const long double hertz = std::clamp(rate * factor, kMinHertz, kMaxHertz);
  drive.media.sound.setFrequency(channel, static_cast<int>(roundHalfEven(hertz)));
}

}  // namespace velimoro
