#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/sound_layer.h"

namespace velimoro::media {

/// A sound file's samples as the sound layer hands them to OpenAL: 16-bit, interleaved.
struct DecodedSound {
  /// The most samples a sound decodes to (128 MiB, over twelve minutes of 44.1 kHz stereo): a
  /// small compressed file must not take memory without limit.
  static constexpr std::size_t kMaxSamples = std::size_t{1} << 26;

  std::vector<std::int16_t> samples;
  int channels = 0;
  int sampleRate = 0;
};

/// Decodes a sound file (WAVE PCM 8/16/24/32-bit, float, IMA or MS ADPCM, any rate, mono or
/// stereo) into 16-bit samples; nullopt with `error` set to the user's message on failure, and
/// when the sound holds more than `maxSamples` samples.
std::optional<DecodedSound> decodeSoundFile(const std::string& path, std::string& error,
                                            std::size_t maxSamples = DecodedSound::kMaxSamples);

/// The sound layer on OpenAL Soft: 256 sources mixed at 22050 Hz, one OpenAL buffer per loaded
/// sound, shared by every channel bound to it. When no audio device opens, the sounds play into
/// a device that renders to nowhere at the real pace, and `notice()` tells the user once.
class OpenAlSoundLayer final : public SoundLayer {
 public:
  static constexpr int kOutputRate = 22050;
  /// OpenAL takes only pitches above zero; a frequency of 0 Hz or less plays at this pitch, far
  /// below any audible use.
  static constexpr float kMinPitch = 1.0f / 1024.0f;
  /// OpenAL Soft's mixer steps no faster than 255 times a sound's own rate.
  static constexpr float kMaxPitch = 255.0f;

  OpenAlSoundLayer();
  ~OpenAlSoundLayer() override;
  OpenAlSoundLayer(const OpenAlSoundLayer&) = delete;
  OpenAlSoundLayer& operator=(const OpenAlSoundLayer&) = delete;

  int loadSound(const std::string& path, std::string& error) override;
  void bind(int channel, int sound) override;
  void play(int channel, bool looped) override;
  void stop(int channel) override;
  bool isPlaying(int channel) const override;
  void setVolume(int channel, int hundredthsOfDecibel) override;
  void setFrequency(int channel, int hertz) override;
  std::int64_t soundLengthMs(int sound) const override;
  int soundRateHz(int sound) const override;

  /// The one message for the user when sound goes nowhere (no audio device); empty otherwise.
  const std::string& notice() const { return m_notice; }
  /// AL_GAIN and AL_PITCH of a channel's source as OpenAL holds them; 0 for an invalid channel.
  float gainOf(int channel) const;
  float pitchOf(int channel) const;

 private:
  struct Al;
  std::unique_ptr<Al> m_al;
  std::string m_notice;
};

}  // namespace velimoro::media
