#include "present/running_sounds.h"

#include <algorithm>
#include <cmath>

#include "present/sound_channels.h"

namespace velimoro {
namespace {

constexpr int kMotorUnderPower = 1;
constexpr int kMotorWithoutPower = 2;

// `y0` at `x0` to `y1` at `x1`, linear in `x`; `y0` when the two speeds coincide.
long double interpolate(long double x, long double x0, long double x1, long double y0,
                        long double y1) {
  if (x1 == x0) return y0;
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

bool engine1Allowed(int number, int powerNotch) {
  if (number == kMotorUnderPower) return powerNotch > 0;
  if (number == kMotorWithoutPower) return powerNotch <= 0;
  return true;
}

// Keeps `channel` looping at `rate` and `level` while `on`, and stops it once when it goes off.
void driveLoop(SimDrive& drive, int channel, bool on, bool& wasOn, long double rate,
               long double level) {
  if (on) {
    if (!channelPlaying(drive, channel)) playChannel(drive, channel, true);
    setChannelRate(drive, channel, rate);
    setChannelVolume(drive, channel, level);
  } else if (wasOn && channelPlaying(drive, channel)) {
    stopChannel(drive, channel);
  }
  wasOn = on;
}

void runEngineSound1(SimDrive& drive, long double speed) {
  const TrainSpec& train = *drive.train;
  SoundSystem& sounds = drive.sounds;
  const int count = std::min(sounds.layout.engine1Sounds, train.EngineSound1Count);
  for (int i = 0; i < count; ++i) {
    const int channel = engine1Channel(sounds.layout, i);
    if (channel < 0) continue;
    const EngineSound1Entry& entry = train.EngineSound1[i];
    const auto& p = entry.p;
    const bool on =
        p[0] <= speed && speed <= p[2] && engine1Allowed(entry.number, drive.state.power_notch);
    const bool low = speed <= p[1];
    const long double rate = low ? interpolate(speed, p[0], p[1], p[3], p[4])
                                 : interpolate(speed, p[1], p[2], p[4], p[5]);
    const long double level = low ? interpolate(speed, p[0], p[1], p[6], p[7])
                                  : interpolate(speed, p[1], p[2], p[7], p[8]);
    driveLoop(drive, channel, on, sounds.engine1On[static_cast<std::size_t>(i)], rate, level);
  }
}

void runEngineSound3(SimDrive& drive, long double speed) {
  const TrainSpec& train = *drive.train;
  const SimState& s = drive.state;
  SoundSystem& sounds = drive.sounds;
  const int count = std::min(sounds.layout.engine3Sounds, train.EngineSound3Count);
  for (int i = 0; i < count; ++i) {
    const int channel = engine3Channel(sounds.layout, i);
    if (channel < 0) continue;
    const EngineSound3Entry& entry = train.EngineSound3[i];
    const auto& p = entry.p;
    const int lowNotch = std::min(entry.numberA, entry.numberB);
    const int highNotch = std::max(entry.numberA, entry.numberB);
    const bool on = p[0] < speed && speed < p[1] && s.engine_running && lowNotch <= s.power_notch &&
                    s.power_notch <= highNotch;
    const long double rate = interpolate(speed, p[0], p[1], p[2], p[3]);
    const long double level = interpolate(speed, p[0], p[1], p[4], p[5]);
    driveLoop(drive, channel, on, sounds.engine3On[static_cast<std::size_t>(i)], rate, level);
  }
}

}  // namespace

void runRunningSounds(SimDrive& drive) {
  const long double speed = std::fabs(drive.state.speed);
  runEngineSound1(drive, speed);
  // The engine sounds belong to a diesel railcar only.
  if (drive.train->Engine_Type == 0) runEngineSound3(drive, speed);
}

void resetEngineSounds(SoundSystem& sounds) {
  sounds.engine1On.fill(false);
  sounds.engine3On.fill(false);
}

}  // namespace velimoro
