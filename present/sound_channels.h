#pragma once

#include <string>

#include "present/sound_system.h"
#include "sim/drive.h"

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

/// Sampling rate in Hz from a WAVE file's header (bytes 24 to 27); 0 when it cannot be read.
int waveSampleRate(const std::string& path);

/// Start-up, first sound step: shows its status, clears the route sound triggers and loads the
/// train's [DriveSound] files from the train folder. Throws DataError with the sound layer's
/// message when one cannot be loaded.
void loadTrainSounds(Drive& drive);

/// Start-up, after the route sound lengths are measured: loads the route sounds, the call-out
/// voices, the other sounds and the engine sounds, binds the channel sounds and resets the
/// engine-sound state. A route sound or voice that cannot be loaded is reported through the
/// messages and left silent; any other sound that cannot be loaded throws DataError.
void loadRouteAndEngineSounds(Drive& drive);

/// Plays `channel` from the start, once or looped, remembering how for a pause.
void playChannel(Drive& drive, int channel, bool looped);
/// Stops `channel`.
void stopChannel(Drive& drive, int channel);
/// Whether `channel` plays.
bool channelPlaying(const Drive& drive, int channel);
/// Sets the volume of `channel` in hundredths of a decibel, kept within -10000 .. 0.
void setChannelVolume(Drive& drive, int channel, long double hundredthsOfDecibel);
/// Plays `channel` at `factor` times its sound's own sampling rate; a factor of 0 or less, or a
/// sound of unknown rate, leaves the frequency as it is.
void setChannelRate(Drive& drive, int channel, long double factor);

}  // namespace velimoro
