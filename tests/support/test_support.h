#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "data/wave_header.h"
#include "media/message_sink.h"
#include "media/picture_loader.h"

namespace velimoro::testing {

/// A folder under the system's temporary folder, removed with its contents at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return m_path; }
  /// Full path of `name` inside the folder.
  std::string file(const std::string& name) const { return m_path + "/" + name; }
  /// Writes `utf8Text` as a CP932 file (as data files come from Windows); returns its path.
  std::string writeCp932(const std::string& name, const std::string& utf8Text) const;
  /// Writes the bytes as they stand; returns the path.
  std::string writeBytes(const std::string& name, const std::string& bytes) const;

 private:
  std::string m_path;
};

/// The bytes of the file at `path`; empty when it cannot be read.
std::string readFile(const std::string& path);

/// UTF-8 text encoded to CP932.
std::string toCp932(const std::string& utf8Text);

/// The lines of `text` split at "|", so that a short file fits on one line of a test.
std::vector<std::string> splitBars(std::string_view text);

/// Lines joined with CR LF, as a Windows editor writes them.
std::string crlfLines(const std::vector<std::string>& lines);

/// A WAVE header of `seconds` of 8-bit mono sound at 22050 Hz, with the samples.
std::string waveFile(double seconds);

/// Records the messages shown.
class RecordingMessages final : public media::MessageSink {
 public:
  void show(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

/// Records every picture asked for; pictures whose file name (last component) is in `failing`
/// or that do not exist fail.
class RecordingPictures final : public media::PictureLoader {
 public:
  std::optional<int> load(const std::string& path) override;
  std::vector<std::string> loaded;
  std::set<std::string> failing;
  bool requireExisting = false;
};

}  // namespace velimoro::testing

#include <array>

#include "media/sound_layer.h"

namespace velimoro::testing {

/// Records the sound layer's calls; a channel plays from play() until stop().
class RecordingSound final : public media::SoundLayer {
 public:
  int loadSound(const std::string& path, std::string& error) override {
    if (failing.count(std::filesystem::path(path).filename().string()) != 0) {
      error = "cannot load " + path;
      return -1;
    }
    sounds.push_back(path);
    return static_cast<int>(sounds.size()) - 1;
  }
  // The rate a decoder reads: the "fmt " chunk's, wherever it stands.
  int soundRateHz(int sound) const override {
    WaveHeader header;
    std::string error;
    if (sound < 0 || sound >= static_cast<int>(sounds.size())) return 0;
    return readWaveHeader(sounds[static_cast<std::size_t>(sound)], header, error)
               ? header.sampleRate
               : 0;
  }
  void bind(int channel, int sound) override { bound.at(channel) = sound; }
  void play(int channel, bool looped) override {
    playing.at(channel) = true;
    calls.push_back((looped ? "loop " : "once ") + std::to_string(channel));
  }
  void stop(int channel) override {
    playing.at(channel) = false;
    calls.push_back("stop " + std::to_string(channel));
  }
  bool isPlaying(int channel) const override { return playing.at(channel); }
  void setVolume(int channel, int hundredthsOfDecibel) override {
    volume.at(channel) = hundredthsOfDecibel;
  }
  void setFrequency(int channel, int hertz) override { frequency.at(channel) = hertz; }

  std::set<std::string> failing;  // file names (last component) whose loading fails
  std::vector<std::string> sounds;
  std::vector<std::string> calls;
  std::array<int, kChannels> bound{};
  std::array<bool, kChannels> playing{};
  std::array<int, kChannels> volume{};
  std::array<int, kChannels> frequency{};  // 0 until set
};

}  // namespace velimoro::testing
