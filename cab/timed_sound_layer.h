#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "media/sound_layer.h"

namespace velimoro {

/// The sound layer as the simulation sees it: every call goes on to the host's layer, but a
/// sound played once counts as playing for its own length of drive time, not for as long as the
/// sound device takes. The models wait on sounds (doors, departures, the call-out queue), so a
/// drive then depends only on its inputs and their times, and a recording of it replays exactly
/// without a sound device. A looped sound plays until it is stopped; a sound whose length the
/// host's layer cannot tell plays as long as the host's layer says.
class TimedSoundLayer final : public media::SoundLayer {
 public:
  /// Sounds through `inner`, on the drive time `*nowMs`.
  TimedSoundLayer(media::SoundLayer& inner, const std::int64_t* nowMs)
      : m_inner(inner), m_nowMs(nowMs) {}

  int loadSound(const std::string& path, std::string& error) override;
  void bind(int channel, int sound) override;
  void play(int channel, bool looped) override;
  void stop(int channel) override;
  bool isPlaying(int channel) const override;
  void setVolume(int channel, int hundredthsOfDecibel) override;
  void setFrequency(int channel, int hertz) override;
  std::int64_t soundLengthMs(int sound) const override;
  int soundRateHz(int sound) const override { return m_inner.soundRateHz(sound); }
  /// The volume last set on `channel` (hundredths of a decibel; 0 before any).
  int volume(int channel) const {
    return valid(channel) ? m_volume[static_cast<std::size_t>(channel)] : 0;
  }

 private:
  static bool valid(int channel) { return channel >= 0 && channel < kChannels; }

  media::SoundLayer& m_inner;
  const std::int64_t* m_nowMs;
  std::array<int, kChannels> m_bound = [] {
    std::array<int, kChannels> none{};
    none.fill(-1);
    return none;
  }();
  std::array<bool, kChannels> m_looped{};
  std::array<bool, kChannels> m_timed{};          // a once-played sound of known length
  std::array<std::int64_t, kChannels> m_endMs{};  // ... ends here
  std::array<int, kChannels> m_volume{};
};

}  // namespace velimoro
