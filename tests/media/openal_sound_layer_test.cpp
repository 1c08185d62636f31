// The sound layer on OpenAL Soft itself, through its null output: sounds really play and end in
// real time. Sound files are written with libsndfile in the formats the data sets use.
#include "media/openal_sound_layer.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <numbers>
#include <thread>
#include <type_traits>
#include <vector>

#include "support/test_support.h"

namespace velimoro::media {
namespace {

using velimoro::testing::TempDir;

// Every test plays through OpenAL Soft's null output, as on a machine without a sound card.
class NullAudio final : public ::testing::Environment {
  void SetUp() override { setenv("ALSOFT_DRIVERS", "null", 1); }
};
[[maybe_unused]] auto* const kNullAudio = ::testing::AddGlobalTestEnvironment(new NullAudio);

void wait(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Interleaved samples (doubles at full scale 1.0, or 16-bit) as a WAVE file of an SF_FORMAT_*
// subtype.
template <typename Sample>
std::string writeWave(const std::string& path, int format, int rate, int channels,
                      const std::vector<Sample>& samples) {
  SF_INFO info{0, rate, channels, SF_FORMAT_WAV | format, 0, 0};
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
  if constexpr (std::is_same_v<Sample, double>) {
    sf_write_double(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  } else {
    sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  }
  sf_close(file);
  return path;
}

// A 441 Hz tone at half scale.
std::vector<double> tone(double seconds, int rate) {
  std::vector<double> samples(static_cast<std::size_t>(seconds * rate));
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = 0.5 * std::sin(2.0 * std::numbers::pi * 441.0 * static_cast<double>(i) / rate);
  return samples;
}

std::string writeTone(const TempDir& dir, const std::string& name, double seconds,
                      int rate = 22050) {
  return writeWave(dir.file(name), SF_FORMAT_PCM_16, rate, 1, tone(seconds, rate));
}

struct FormatCase {
  const char* name;
  int format;
  double rmsTolerance;  // in 16-bit steps; a tone decoded at the wrong scale is off by ~11000
};

class DecodeFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DecodeFormat, DecodesToSixteenBitsAtTheFilesOwnRate) {
  TempDir dir;
  const std::vector<double> written = tone(0.1, 11025);
  const std::string path = writeWave(dir.file("s.wav"), GetParam().format, 11025, 1, written);
  std::string error;
  const std::optional<DecodedSound> sound = decodeSoundFile(path, error);
  ASSERT_TRUE(sound.has_value()) << error;
  EXPECT_EQ(sound->channels, 1);
  EXPECT_EQ(sound->sampleRate, 11025);
  // ADPCM fills its last block, so a few frames may follow the written ones.
  ASSERT_GE(sound->samples.size(), written.size());
  EXPECT_LE(sound->samples.size(), written.size() + 2048);
  double squares = 0.0;
  for (std::size_t i = 0; i < written.size(); ++i)
    squares += std::pow(sound->samples[i] - written[i] * 32768.0, 2);
  EXPECT_LT(std::sqrt(squares / static_cast<double>(written.size())), GetParam().rmsTolerance);
  EXPECT_GE(OpenAlSoundLayer().loadSound(path, error), 0) << error;
}

INSTANTIATE_TEST_SUITE_P(Wave, DecodeFormat,
                         ::testing::Values(FormatCase{"pcm_u8", SF_FORMAT_PCM_U8, 300.0},
                                           FormatCase{"pcm_16", SF_FORMAT_PCM_16, 2.0},
                                           FormatCase{"pcm_24", SF_FORMAT_PCM_24, 2.0},
                                           FormatCase{"pcm_32", SF_FORMAT_PCM_32, 2.0},
                                           FormatCase{"float", SF_FORMAT_FLOAT, 2.0},
                                           FormatCase{"ima_adpcm", SF_FORMAT_IMA_ADPCM, 2000.0},
                                           FormatCase{"ms_adpcm", SF_FORMAT_MS_ADPCM, 600.0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(DecodeSoundFile, KeepsSamplesExactStereoInterleavedAndClipsLoudFloats) {
  TempDir dir;
  std::string error;
  const std::vector<std::int16_t> leftRight = {8192, -8192, 32767, -32768, 1, -1};
  auto stereo = decodeSoundFile(
      writeWave(dir.file("stereo.wav"), SF_FORMAT_PCM_16, 44100, 2, leftRight), error);
  ASSERT_TRUE(stereo.has_value()) << error;
  EXPECT_EQ(stereo->channels, 2);
  EXPECT_EQ(stereo->sampleRate, 44100);
  EXPECT_EQ(stereo->samples, leftRight);

  // Beyond full scale a float sample clips instead of wrapping into noise; no number is silence.
  const std::vector<double> loud = {1.5, -1.5, 4.0, 0.25, std::nan(""), -0.25};
  auto clipped =
      decodeSoundFile(writeWave(dir.file("loud.wav"), SF_FORMAT_FLOAT, 22050, 1, loud), error);
  ASSERT_TRUE(clipped.has_value()) << error;
  EXPECT_EQ(clipped->samples, (std::vector<std::int16_t>{32767, -32768, 32767, 8192, 0, -8192}));
}

TEST(DecodeSoundFile, BadFilesFailWithTheFileNamedAndTheReason) {
  TempDir dir;
  OpenAlSoundLayer layer;
  std::string error;
  const std::string missing = dir.file("missing.wav");
  EXPECT_EQ(layer.loadSound(missing, error), -1);
  EXPECT_EQ(error.rfind("ファイル「" + missing + "」を開けません。", 0), 0u) << error;
  EXPECT_GT(error.size(), missing.size() + 20) << "libsndfile's reason follows: " << error;

  const std::string corrupt = dir.writeBytes(
      "corrupt.wav", std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16) + std::string(40, '\x7f'));
  EXPECT_EQ(layer.loadSound(corrupt, error), -1);
  EXPECT_NE(error.find("「" + corrupt + "」"), std::string::npos) << error;

  const std::vector<double> threeChannels(30);
  EXPECT_EQ(layer.loadSound(
                writeWave(dir.file("3ch.wav"), SF_FORMAT_PCM_16, 22050, 3, threeChannels), error),
            -1);
  EXPECT_NE(error.find("チャンネルが 3 あります"), std::string::npos) << error;

  // A chunk that claims to run far past the end of the file (found by fuzzing: it kept the
  // decoder reading for minutes) is refused at once.
  const std::string pastTheEnd = VELIMORO_SOURCE_DIR "/tests/fuzz/sound/list-past-end.wav";
  EXPECT_FALSE(decodeSoundFile(pastTheEnd, error));
  EXPECT_NE(error.find("チャンク「LIST」がファイルの終わりを越えています"), std::string::npos)
      << error;

  // A sound that decodes to more samples than are kept is refused, not decoded without limit.
  EXPECT_FALSE(decodeSoundFile(writeTone(dir, "long.wav", 1.0), error, 10000));
  EXPECT_NE(error.find("長すぎます"), std::string::npos) << error;
}

class SoundLayerTest : public ::testing::Test {
 protected:
  int load(const std::string& name, double seconds, int rate = 22050) {
    std::string error;
    const int id = layer.loadSound(writeTone(dir, name, seconds, rate), error);
    EXPECT_GE(id, 0) << error;
    return id;
  }

  TempDir dir;
  OpenAlSoundLayer layer;
};

TEST_F(SoundLayerTest, SoundsPlayOnceOrLoopedInRealTimeSharingOneBuffer) {
  EXPECT_EQ(layer.notice(), "");
  const int sound = load("short.wav", 0.2);
  for (int channel : {0, 1, 2})
    layer.bind(channel, sound);
  layer.play(0, false);
  layer.play(1, false);
  layer.play(2, true);
  layer.bind(0, sound);  // already bound: goes on playing
  for (int channel : {0, 1, 2})
    EXPECT_TRUE(layer.isPlaying(channel)) << channel;

  wait(0.4);
  EXPECT_FALSE(layer.isPlaying(0));
  EXPECT_FALSE(layer.isPlaying(1));
  EXPECT_TRUE(layer.isPlaying(2)) << "a looped sound goes on past its end";
  layer.stop(2);
  EXPECT_FALSE(layer.isPlaying(2));
}

TEST_F(SoundLayerTest, PlayingAgainStartsFromTheBeginning) {
  layer.bind(7, load("bell.wav", 0.3));
  layer.play(7, false);
  wait(0.25);
  layer.play(7, false);
  wait(0.2);
  EXPECT_TRUE(layer.isPlaying(7)) << "0.45 s after the first start only a restarted sound plays";
}

TEST_F(SoundLayerTest, ChannelsWithoutASoundOrOutsideTheRangeDoNothing) {
  const int sound = load("door.wav", 0.2);
  layer.play(3, false);
  EXPECT_FALSE(layer.isPlaying(3));
  for (int channel : {-1, OpenAlSoundLayer::kChannels, INT_MIN, INT_MAX}) {
    layer.bind(channel, sound);
    layer.play(channel, true);
    layer.setVolume(channel, -100);
    layer.setFrequency(channel, 11025);
    layer.stop(channel);
    EXPECT_FALSE(layer.isPlaying(channel)) << channel;
  }
  // Unknown sound ids leave the bound sound in place.
  layer.bind(OpenAlSoundLayer::kChannels - 1, sound);
  layer.bind(OpenAlSoundLayer::kChannels - 1, 1);
  layer.bind(OpenAlSoundLayer::kChannels - 1, -1);
  layer.play(OpenAlSoundLayer::kChannels - 1, false);
  EXPECT_TRUE(layer.isPlaying(OpenAlSoundLayer::kChannels - 1));
}

TEST_F(SoundLayerTest, VolumeInHundredthsOfDecibelSetsTheGain) {
  const std::pair<int, float> cases[] = {
      {0, 1.0f},   {-600, 0.501187f}, {-2000, 0.1f},  {-9999, 1.00115e-5f},
      {500, 1.0f}, {-10000, 0.0f},    {-10001, 0.0f}, {INT_MIN, 0.0f}};
  for (const auto& [volume, gain] : cases) {
    layer.setVolume(10, volume);
    EXPECT_NEAR(layer.gainOf(10), gain, gain * 1e-3f) << volume;
  }
}

TEST_F(SoundLayerTest, FrequencySetsThePitchAgainstTheSoundsOwnRate) {
  const int sound22k = load("motor.wav", 0.05, 22050);
  const int sound8k = load("voice.wav", 0.05, 8000);
  // With no sound bound the frequency means nothing and is forgotten.
  layer.setFrequency(20, 11025);
  layer.bind(20, sound22k);
  EXPECT_FLOAT_EQ(layer.pitchOf(20), 1.0f);

  const std::pair<int, float> cases[] = {{11025, 0.5f},
                                         {44100, 2.0f},
                                         {0, OpenAlSoundLayer::kMinPitch},
                                         {-5000, OpenAlSoundLayer::kMinPitch},
                                         {INT_MAX, OpenAlSoundLayer::kMaxPitch}};
  for (const auto& [hertz, pitch] : cases) {
    layer.setFrequency(20, hertz);
    EXPECT_FLOAT_EQ(layer.pitchOf(20), pitch) << hertz;
  }
  // Bound to another sound, the channel plays it at its own rate until told otherwise.
  layer.bind(20, sound8k);
  EXPECT_FLOAT_EQ(layer.pitchOf(20), 1.0f);
  layer.setFrequency(20, 4000);
  EXPECT_FLOAT_EQ(layer.pitchOf(20), 0.5f);
}

// In a child process whose OpenAL Soft starts with no output it can open: the exit code is 0
// when sound still plays and ends.
int playWithoutAudioDevice() {
  setenv("ALSOFT_DRIVERS", "none", 1);
  TempDir dir;
  OpenAlSoundLayer layer;
  std::string error;
  layer.bind(0, layer.loadSound(writeTone(dir, "tone.wav", 0.2), error));
  layer.play(0, false);
  const bool started = layer.isPlaying(0);
  wait(0.4);
  std::cerr << "notice: " << layer.notice() << "\n";
  return started && !layer.isPlaying(0) ? 0 : 1;
}

TEST(SoundLayerWithoutDevice, SoundsStillPlayAndEndWithOneNotice) {
  // The child runs the program afresh, so OpenAL Soft chooses its output again there.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::_Exit(playWithoutAudioDevice()), ::testing::ExitedWithCode(0),
              "notice: 音声デバイスを開けなかったため");
}

}  // namespace
}  // namespace velimoro::media
