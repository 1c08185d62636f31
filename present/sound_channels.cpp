#include "present/sound_channels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/rounding.h"
#include "media/translate.h"
#include "present/route_sounds.h"
#include "present/running_sounds.h"

namespace velimoro {
namespace {

constexpr int kChannels = SoundSystem::kChannels;

void showStatus(SimDrive& drive, const char* text) {
  if (drive.media.status) drive.media.status(media::translate("StartUp", text));
}

// Loads a sound that lives on `channel`; fatal when it cannot be loaded.
void loadChannelSound(SimDrive& drive, int channel, const std::string& path) {
  std::string error;
  const int sound = drive.media.sound.loadSound(path, error);
  if (sound < 0) throw DataError(error);
  drive.sounds.channelSound[static_cast<std::size_t>(channel)] = sound;
  drive.sounds.channelRate[static_cast<std::size_t>(channel)] =
      drive.media.sound.soundRateHz(sound);
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
void loadRouteSounds(SimDrive& drive) {
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
    drive.sounds.channelRate[static_cast<std::size_t>(channel)] =
        drive.media.sound.soundRateHz(sound);
  }
}

// Voices: an empty slot stays empty; a voice that cannot be loaded is reported and stays empty.
void loadVoices(SimDrive& drive) {
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
void loadOtherSounds(SimDrive& drive) {
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

void loadEngineSounds(SimDrive& drive) {
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
void bindChannelSounds(SimDrive& drive) {
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

void loadTrainSounds(SimDrive& drive) {
  showStatus(drive,
             VELIMORO_TEXT_NOOP("StartUp", "DirectSoundオブジェクトを作成しています(走行音)"));
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

void loadRouteAndEngineSounds(SimDrive& drive) {
  loadRouteSounds(drive);
  showStatus(drive, VELIMORO_TEXT_NOOP("StartUp", "DirectSoundオブジェクトを作成しています(喚呼)"));
  loadVoices(drive);
  loadOtherSounds(drive);
  loadEngineSounds(drive);
  showStatus(drive, VELIMORO_TEXT_NOOP("StartUp", "サウンドを読み込んでいます"));
  bindChannelSounds(drive);
  resetEngineSounds(drive.sounds);
}

}  // namespace velimoro
