#pragma once

#include "sim/sim_drive.h"
#include "sim/sound_system.h"

namespace velimoro {

// Every channel lookup below answers -1 for a sound that has no channel (a number outside its
// list, or a channel beyond the last of the sound layer), and every channel operation ignores
// -1, so a bad sound number in a data file plays nothing.

/// The channel layout for the train's and the route's sound lists.
ChannelLayout channelLayout(const TrainSpec& train, const RouteData& route);

/// Channel of train sound `number` ([DriveSound] entry).
int trainSoundChannel(const ChannelLayout& layout, int number);
/// Channel of route sound `index` ("[SoundData]" entry).
int routeSoundChannel(const ChannelLayout& layout, int index);
/// Channel of [EngineSound1] entry `entry`.
int engine1Channel(const ChannelLayout& layout, int entry);
/// Channel of [EngineSound3] entry `entry`.
int engine3Channel(const ChannelLayout& layout, int entry);
/// The call-out voice channel.
int calloutChannel(const ChannelLayout& layout);
/// The channel of the guidance sound.
int guidanceChannel(const ChannelLayout& layout);

/// Plays `channel` from the start, once or looped, remembering how for a pause.
void playChannel(SimDrive& drive, int channel, bool looped);
/// Stops `channel`.
void stopChannel(SimDrive& drive, int channel);
/// Whether `channel` plays.
bool channelPlaying(const SimDrive& drive, int channel);
/// Sets the volume of `channel` in hundredths of a decibel, kept within -10000 .. 0.
void setChannelVolume(SimDrive& drive, int channel, long double hundredthsOfDecibel);
/// Plays `channel` at `factor` times its sound's own sampling rate; a factor of 0 or less, or a
/// sound of unknown rate, leaves the frequency as it is.
void setChannelRate(SimDrive& drive, int channel, long double factor);

}  // namespace velimoro
