#pragma once

#include <cstdint>
#include <string>

namespace velimoro::media {

/// The sound channels of a drive: 256 channels, each bound to one loaded sound. Volumes are in
/// hundredths of a decibel (0 full, -10000 silent); frequencies in Hz against the sound's own
/// sampling rate.
class SoundLayer {
 public:
  static constexpr int kChannels = 256;

  virtual ~SoundLayer() = default;

  /// Loads a sound file and returns its id (>= 0); on failure returns -1 and sets `error` to the
  /// message the user sees.
  virtual int loadSound(const std::string& path, std::string& error) = 0;
  /// Binds loaded sound `sound` to `channel`; no change when it is bound already.
  virtual void bind(int channel, int sound) = 0;
  /// Plays `channel` from the start, once or looped.
  virtual void play(int channel, bool looped) = 0;
  virtual void stop(int channel) = 0;
  virtual bool isPlaying(int channel) const = 0;
  virtual void setVolume(int channel, int hundredthsOfDecibel) = 0;
  virtual void setFrequency(int channel, int hertz) = 0;
  /// Sampling rate in Hz of loaded sound `sound` as its decoder read it; 0 when unknown.
  virtual int soundRateHz(int sound) const {
    (void)sound;
    return 0;
  }
  /// Playing time in ms of loaded sound `sound` at its own rate; -1 when unknown.
  virtual std::int64_t soundLengthMs(int sound) const {
    (void)sound;
    return -1;
  }
};

}  // namespace velimoro::media
