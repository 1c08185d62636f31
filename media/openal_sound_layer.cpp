#include "media/openal_sound_layer.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "media/riff_chunks.h"
#include "media/translate.h"

namespace velimoro::media {

namespace {

// OpenAL takes a buffer's size in bytes as an int.
static_assert(DecodedSound::kMaxSamples <= INT_MAX / sizeof(std::int16_t));
constexpr sf_count_t kReadFrames = 4096;
// Frames to reserve from a header's count before reading shows how many there really are.
constexpr sf_count_t kMaxReservedFrames = sf_count_t{1} << 22;

constexpr int kSilentVolume = -10000;

// The loopback device mixes this many frames a period when no audio device opened.
constexpr int kRenderFrames = 512;

const char* const kNoDeviceNotice =
    VELIMORO_TEXT_NOOP("SoundLayer", "音声デバイスを開けなかったため、音を出さずに運転します。");

struct SndFileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

// A sound file's fault: `text` marked in "SoundFiles" with the file's path for %1 and `value`
// for %2.
std::string soundFault(const char* text, const std::string& path, std::string_view value = {}) {
  return fill(translate("SoundFiles", text), {path, value});
}

// Samples beyond full scale clip rather than wrap around into loud noise; a sample that is no
// number at all (a damaged float file) is silence.
std::int16_t toSixteenBits(float sample) {
  if (std::isnan(sample)) return 0;
  const float scaled = std::nearbyint(sample * 32768.0f);
  return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

// Plays the mixed sound of a loopback device into nowhere at the real pace, so that sounds run
// and end as they do on an audio device.
void renderToNowhere(std::stop_token stop, ALCdevice* device, LPALCRENDERSAMPLESSOFT render) {
  std::vector<ALshort> scratch(kRenderFrames * 2);
  const auto period = std::chrono::nanoseconds(std::chrono::seconds(1)) * kRenderFrames /
                      OpenAlSoundLayer::kOutputRate;
  auto next = std::chrono::steady_clock::now();
  while (!stop.stop_requested()) {
    render(device, scratch.data(), kRenderFrames);
    next += period;
    std::this_thread::sleep_until(next);
  }
}

// libsndfile walks the chunks of a WAVE file by their sizes, and a chunk before the sound data
// that claims to run far past the end of the file keeps it reading nothing for minutes. Such a
// file is damaged; it is refused before libsndfile opens it. The chunk's tag, or "" when the
// chunks are sound (or the file is no WAVE file).
std::string chunkPastTheEnd(const std::string& path) {
  constexpr std::size_t kHeadBytes = 64 * 1024;  // sound data begins within this many bytes
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return "";
  const std::streamoff fileBytes = in.tellg();
  in.seekg(0);
  std::vector<unsigned char> head(kHeadBytes);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  std::string pastTheEnd;
  forEachWaveChunk(head, [&](const RiffChunk& chunk) {
    if (chunk.tag == "data") return false;
    if (chunk.end() > static_cast<std::uint64_t>(fileBytes)) {
      pastTheEnd = chunk.tag;
      return false;
    }
    return true;
  });
  return pastTheEnd;
}

}  // namespace

std::optional<DecodedSound> decodeSoundFile(const std::string& path, std::string& error,
                                            std::size_t maxSamples) {
  if (const std::string tag = chunkPastTheEnd(path); !tag.empty()) {
    error = soundFault(
        VELIMORO_TEXT_NOOP(
            "SoundFiles",
            "ファイル「%1」を読み込めません。チャンク「%2」がファイルの終わりを越えています。"),
        path, tag);
    return std::nullopt;
  }
  SF_INFO info{};
  std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file) {
    error = soundFault(VELIMORO_TEXT_NOOP("SoundFiles", "ファイル「%1」を開けません。%2"), path,
                       sf_strerror(nullptr));
    return std::nullopt;
  }
  if (info.channels < 1 || info.channels > 2) {
    error = soundFault(VELIMORO_TEXT_NOOP("SoundFiles",
                                          "ファイル「%1」を読み込めません。チャンネルが %2 "
                                          "あります。音は1チャンネルか2チャンネルです。"),
                       path, std::to_string(info.channels));
    return std::nullopt;
  }
  if (info.samplerate <= 0) {
    error = soundFault(
        VELIMORO_TEXT_NOOP("SoundFiles",
                           "ファイル「%1」を読み込めません。サンプリング周波数がありません。"),
        path);
    return std::nullopt;
  }
  DecodedSound sound;
  sound.channels = info.channels;
  sound.sampleRate = info.samplerate;
  const auto channels = static_cast<std::size_t>(info.channels);
  // The header's frame count only sizes the first allocation: reading goes on to the real end.
  if (info.frames > 0) {
    sound.samples.reserve(static_cast<std::size_t>(std::min(info.frames, kMaxReservedFrames)) *
                          channels);
  }
  // Samples come as floats at full scale 1.0 whatever the file holds: libsndfile hands the
  // samples of a float file to a 16-bit reader unscaled, as near-silence.
  std::vector<float> block(static_cast<std::size_t>(kReadFrames) * channels);
  for (;;) {
    const sf_count_t read = sf_readf_float(file.get(), block.data(), kReadFrames);
    if (read <= 0) break;
    if (sound.samples.size() + static_cast<std::size_t>(read) * channels > maxSamples) {
      error =
          soundFault(VELIMORO_TEXT_NOOP("SoundFiles",
                                        "ファイル「%1」を読み込めません。音としては長すぎます。"),
                     path);
      return std::nullopt;
    }
    const auto end = block.begin() + static_cast<std::ptrdiff_t>(read * info.channels);
    std::transform(block.begin(), end, std::back_inserter(sound.samples), toSixteenBits);
    if (read < kReadFrames) break;
  }
  if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
    error = soundFault(VELIMORO_TEXT_NOOP("SoundFiles", "ファイル「%1」を読めません。%2"), path,
                       sf_strerror(file.get()));
    return std::nullopt;
  }
  return sound;
}

struct OpenAlSoundLayer::Al {
  struct Sound {
    ALuint buffer = 0;
    int sampleRate = 0;
    std::int64_t lengthMs = 0;
  };

  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  // Mixes the loopback device; not started when an audio device plays the sound.
  std::jthread renderer;
  // One source per channel, as many as OpenAL gave (all 256 unless it ran out).
  std::vector<ALuint> sources;
  // The sound bound to each channel, -1 for none.
  std::vector<int> bound;
  std::vector<Sound> sounds;

  bool openDevice();
  bool openLoopback();
  void close();

  // OpenAL calls act on the current context; another layer may have made its own current.
  void select() const {
    if (context != nullptr && alcGetCurrentContext() != context) alcMakeContextCurrent(context);
  }
  bool valid(int channel) const {
    return channel >= 0 && static_cast<std::size_t>(channel) < sources.size();
  }
};

bool OpenAlSoundLayer::Al::openDevice() {
  device = alcOpenDevice(nullptr);
  if (device == nullptr) return false;
  const ALCint attributes[] = {ALC_FREQUENCY, kOutputRate, 0};
  context = alcCreateContext(device, attributes);
  if (context != nullptr) return true;
  alcCloseDevice(device);
  device = nullptr;
  return false;
}

// OpenAL Soft keeps the one playback backend it chose at start-up, so its null output cannot be
// opened once that backend failed; a loopback device mixed by our own thread stands in for it.
bool OpenAlSoundLayer::Al::openLoopback() {
  if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") != ALC_TRUE) return false;
  auto openLoopbackDevice = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  auto renderSamples =
      reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  if (openLoopbackDevice == nullptr || renderSamples == nullptr) return false;
  device = openLoopbackDevice(nullptr);
  if (device == nullptr) return false;
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                               ALC_STEREO_SOFT,
                               ALC_FORMAT_TYPE_SOFT,
                               ALC_SHORT_SOFT,
                               ALC_FREQUENCY,
                               kOutputRate,
                               0};
  context = alcCreateContext(device, attributes);
  if (context == nullptr) {
    alcCloseDevice(device);
    device = nullptr;
    return false;
  }
  renderer = std::jthread(renderToNowhere, device, renderSamples);
  return true;
}

void OpenAlSoundLayer::Al::close() {
  if (renderer.joinable()) {
    renderer.request_stop();
    renderer.join();
  }
  if (context != nullptr) {
    select();
    // Sources go first: OpenAL keeps a buffer that a source still holds.
    if (!sources.empty()) alDeleteSources(static_cast<ALsizei>(sources.size()), sources.data());
    for (const Sound& sound : sounds)
      alDeleteBuffers(1, &sound.buffer);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
  }
  if (device != nullptr) alcCloseDevice(device);
  context = nullptr;
  device = nullptr;
  sources.clear();
  sounds.clear();
}

OpenAlSoundLayer::OpenAlSoundLayer() : m_al(std::make_unique<Al>()) {
  if (!m_al->openDevice()) {
    m_notice = translate("SoundLayer", kNoDeviceNotice);
    // Without even a loopback device the layer stays silent: sounds still load, channels do
    // nothing.
    if (!m_al->openLoopback()) return;
  }
  alcMakeContextCurrent(m_al->context);
  alGetError();
  for (int channel = 0; channel < kChannels; ++channel) {
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) break;
    m_al->sources.push_back(source);
  }
  m_al->bound.assign(m_al->sources.size(), -1);
}

OpenAlSoundLayer::~OpenAlSoundLayer() {
  m_al->close();
}

int OpenAlSoundLayer::loadSound(const std::string& path, std::string& error) {
  std::optional<DecodedSound> decoded = decodeSoundFile(path, error);
  if (!decoded) return -1;
  Al::Sound sound;
  sound.sampleRate = decoded->sampleRate;
  const auto frames = static_cast<std::int64_t>(decoded->samples.size()) / decoded->channels;
  sound.lengthMs = frames * 1000 / decoded->sampleRate;
  if (m_al->context != nullptr) {
    m_al->select();
    alGetError();
    alGenBuffers(1, &sound.buffer);
    if (alGetError() != AL_NO_ERROR) {
      error = soundFault(
          VELIMORO_TEXT_NOOP(
              "SoundFiles",
              "ファイル「%1」を読み込めません。OpenAL にこれ以上の音を置く余地がありません。"),
          path);
      return -1;
    }
    alBufferData(sound.buffer, decoded->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16,
                 decoded->samples.data(),
                 static_cast<ALsizei>(decoded->samples.size() * sizeof(std::int16_t)),
                 decoded->sampleRate);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteBuffers(1, &sound.buffer);
      error =
          soundFault(VELIMORO_TEXT_NOOP(
                         "SoundFiles",
                         "ファイル「%1」を読み込めません。OpenAL がそのサンプルを受け付けません。"),
                     path);
      return -1;
    }
  }
  m_al->sounds.push_back(sound);
  return static_cast<int>(m_al->sounds.size()) - 1;
}

int OpenAlSoundLayer::soundRateHz(int sound) const {
  if (sound < 0 || static_cast<std::size_t>(sound) >= m_al->sounds.size()) return 0;
  return m_al->sounds[static_cast<std::size_t>(sound)].sampleRate;
}

std::int64_t OpenAlSoundLayer::soundLengthMs(int sound) const {
  if (sound < 0 || static_cast<std::size_t>(sound) >= m_al->sounds.size()) return -1;
  return m_al->sounds[static_cast<std::size_t>(sound)].lengthMs;
}

void OpenAlSoundLayer::bind(int channel, int sound) {
  if (!m_al->valid(channel) || sound < 0 || static_cast<std::size_t>(sound) >= m_al->sounds.size())
    return;
  int& bound = m_al->bound[channel];
  if (bound == sound) return;
  m_al->select();
  const ALuint source = m_al->sources[channel];
  // OpenAL changes the buffer of a stopped source only. A frequency set for the previous sound
  // means nothing for this one, so the new sound starts at its own rate.
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(m_al->sounds[sound].buffer));
  alSourcef(source, AL_PITCH, 1.0f);
  bound = sound;
}

void OpenAlSoundLayer::play(int channel, bool looped) {
  if (!m_al->valid(channel) || m_al->bound[channel] < 0) return;
  m_al->select();
  const ALuint source = m_al->sources[channel];
  alSourcei(source, AL_LOOPING, looped ? AL_TRUE : AL_FALSE);
  // Playing a playing source starts it again from the beginning.
  alSourcePlay(source);
}

void OpenAlSoundLayer::stop(int channel) {
  if (!m_al->valid(channel)) return;
  m_al->select();
  alSourceStop(m_al->sources[channel]);
}

bool OpenAlSoundLayer::isPlaying(int channel) const {
  if (!m_al->valid(channel)) return false;
  m_al->select();
  ALint state = AL_STOPPED;
  alGetSourcei(m_al->sources[channel], AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

void OpenAlSoundLayer::setVolume(int channel, int hundredthsOfDecibel) {
  if (!m_al->valid(channel)) return;
  const int volume = std::min(hundredthsOfDecibel, 0);
  const float gain =
      volume <= kSilentVolume ? 0.0f : static_cast<float>(std::pow(10.0, volume / 2000.0));
  m_al->select();
  alSourcef(m_al->sources[channel], AL_GAIN, gain);
}

void OpenAlSoundLayer::setFrequency(int channel, int hertz) {
  if (!m_al->valid(channel) || m_al->bound[channel] < 0) return;
  const int rate = m_al->sounds[m_al->bound[channel]].sampleRate;
  const double pitch = std::clamp(static_cast<double>(hertz) / rate, static_cast<double>(kMinPitch),
                                  static_cast<double>(kMaxPitch));
  m_al->select();
  alSourcef(m_al->sources[channel], AL_PITCH, static_cast<float>(pitch));
}

float OpenAlSoundLayer::gainOf(int channel) const {
  if (!m_al->valid(channel)) return 0.0f;
  m_al->select();
  ALfloat gain = 0.0f;
  alGetSourcef(m_al->sources[channel], AL_GAIN, &gain);
  return gain;
}

float OpenAlSoundLayer::pitchOf(int channel) const {
  if (!m_al->valid(channel)) return 0.0f;
  m_al->select();
  ALfloat pitch = 0.0f;
  alGetSourcef(m_al->sources[channel], AL_PITCH, &pitch);
  return pitch;
}

}  // namespace velimoro::media
