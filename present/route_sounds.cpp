#include "present/route_sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data/rounding.h"
#include "present/sound_channels.h"

namespace velimoro {
namespace {

// A frame-triggered sound starts when the train's frame is within this many frames of it.
constexpr long long kTriggerFrames = 4;
// The source of a Doppler sound stands this far beside the track, in cm.
constexpr long double kDopplerOffsetCm = 300;
// The speed of sound in km/h.
constexpr long double kSoundSpeed = 1220;
// An announcement window runs this far past its start, in cm.
constexpr long double kAnnounceWindowCm = 1000;
constexpr long double kVolumePerDecade = 2000;  // hundredths of a decibel
constexpr int kSilent = -10000;

bool nearFrame(int frame, int target) {
  return std::llabs(static_cast<long long>(target) - frame) <= kTriggerFrames;
}

// Hundredths of a decibel for a level ratio; silence for none at all.
long double volumeOfRatio(long double ratio) {
  if (!(ratio > 0)) return kSilent;
  return static_cast<long double>(roundHalfEven(std::log10(ratio) * kVolumePerDecade));
}

}  // namespace

void runRouteSounds(SimDrive& drive) {
  playRouteSoundRecords(drive);
  playDopplerSounds(drive);
  playAnnouncements(drive);
  playSwitchSounds(drive);
}

void playRouteSoundRecords(SimDrive& drive) {
  const RouteData& route = *drive.route;
  const SimState& s = drive.state;
  SoundSystem& sounds = drive.sounds;
  const int count = std::clamp(route.soundCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const RouteSoundEntry& record = route.sounds[i];
    const int channel = routeSoundChannel(sounds.layout, record.sound);
    if (channel < 0) continue;
    bool& started = sounds.soundStarted[static_cast<std::size_t>(i)];
    if (nearFrame(s.frame, record.startFrame)) {
      // Without a reference speed there is nothing for pitch and volume to follow.
      const bool follows = record.refSpeed > 0;
      const long double ratio = follows ? s.speed / record.refSpeed : 1;
      setChannelRate(drive, channel, record.pitchFollows != 0 && follows ? ratio : 1);
      const bool loudnessFollows = record.volumeFollows == 1 && s.speed > 0 && follows;
      setChannelVolume(drive, channel, loudnessFollows ? volumeOfRatio(ratio) : 0);
      if (!started) {
        stopChannel(drive, channel);
        playChannel(drive, channel, record.loop >= 1);
        started = true;
      }
    }
    if (record.loop >= 1 && started && nearFrame(s.frame, record.stopFrame) &&
        channelPlaying(drive, channel)) {
      stopChannel(drive, channel);
    }
  }
}

void playDopplerSounds(SimDrive& drive) {
  const RouteData& route = *drive.route;
  const SimState& s = drive.state;
  const int count = std::clamp(route.dopplerCount, 0, RouteData::kTable);
  bool anyInRange = false;
  for (int i = 0; i < count; ++i) {
    const DopplerEntry& source = route.doppler[i];
    const int channel = routeSoundChannel(drive.sounds.layout, source.sound);
    // A source without a radius is never heard.
    if (channel < 0 || source.radius <= 0) continue;
    const long double delta = static_cast<long double>(source.positionCm) - s.position_cm;
    const long double distance = std::fabs(delta);
    if (distance > source.radius) continue;
    anyInRange = true;
    if (!channelPlaying(drive, channel)) {
      stopChannel(drive, channel);
      playChannel(drive, channel, true);
    }
    if (source.noShift == 0) {
      // cos(atan(offset / delta)): the share of the train's speed along the line to the source.
      const long double g =
          distance / std::sqrt(distance * distance + kDopplerOffsetCm * kDopplerOffsetCm);
      const long double along = g * s.speed;
      setChannelRate(drive, channel,
                     kSoundSpeed / (delta > 0 ? kSoundSpeed - along : kSoundSpeed + along));
    }
    setChannelVolume(drive, channel, volumeOfRatio((source.radius - distance) / source.radius));
  }
  if (anyInRange) return;
  for (int i = 0; i < count; ++i) {
    const int channel = routeSoundChannel(drive.sounds.layout, route.doppler[i].sound);
    if (channelPlaying(drive, channel)) stopChannel(drive, channel);
  }
}

void playAnnouncements(SimDrive& drive) {
  const RouteData& route = *drive.route;
  if (route.oneMan != 0) return;
  const SimState& s = drive.state;
  const int last = std::clamp(route.announceCount, 0, RouteData::kTable - 1);
  for (int i = 1; i <= last; ++i) {
    const AnnounceEntry& record = route.announce[i];
    bool& heard = drive.sounds.announceInWindow[static_cast<std::size_t>(i)];
    if (record.station < 0 || record.station >= route.stationCount ||
        (record.kind != 0 && record.kind != 1)) {
      continue;
    }
    const long double stopCm = static_cast<long double>(route.stations[record.station].stopCm);
    const long double offsetCm = static_cast<long double>(record.offset) * 100;
    const long double startCm = record.kind == 0 ? stopCm + offsetCm : stopCm - offsetCm;
    if (s.position_cm < startCm || s.position_cm >= startCm + kAnnounceWindowCm) {
      heard = false;
      continue;
    }
    // Once per pass through the window: a train standing in it does not hear it again and again.
    if (heard) continue;
    heard = true;
    const int channel = routeSoundChannel(drive.sounds.layout, record.sound);
    if (channel < 0 || channelPlaying(drive, channel)) continue;
    stopChannel(drive, channel);
    playChannel(drive, channel, false);
  }
}

void playSwitchSounds(SimDrive& drive) {
  const RouteData& route = *drive.route;
  const TrainSpec& train = *drive.train;
  const SimState& s = drive.state;
  const long double speed = std::fabs(s.speed);
  const int count = std::clamp(route.switchCount, 0, RouteData::kTable);
  const int entries = std::clamp(train.SwitchSoundCount, 0, TrainSpec::kMaxSwitchSounds);
  for (int i = 0; i < count; ++i) {
    bool& played = drive.sounds.switchPlayed[static_cast<std::size_t>(i)];
    const SwitchEntry& points = route.switches[i];
    if (played || !nearFrame(s.frame, points.switchFrame)) continue;
    for (int k = 0; k < entries; ++k) {
      const SwitchSoundEntry& entry = train.SwitchSound[k];
      if (entry.valueB > speed && entry.valueC == points.switchValue) {
        const int channel = trainSoundChannel(drive.sounds.layout, entry.valueA);
        stopChannel(drive, channel);
        playChannel(drive, channel, false);
        played = true;
        break;
      }
    }
  }
}

void clearSoundTriggers(SoundSystem& sounds) {
  sounds.soundStarted.fill(false);
  sounds.switchPlayed.fill(false);
  sounds.announceInWindow.fill(false);
}

}  // namespace velimoro
