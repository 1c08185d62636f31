// Loading the sounds of a drive: 200 sound files of one second each (22050 Hz, 16-bit mono)
// decoded and handed to OpenAL, as a train and route with many sounds load at start-up.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/openal_sound_layer.h"

namespace {

constexpr int kSounds = 200;
constexpr int kRate = 22050;

void put(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// One second of a tone as a 16-bit mono WAVE file; each file has its own pitch.
std::string waveBytes(int index) {
  const std::uint32_t dataBytes = kRate * 2;
  std::string bytes = "RIFF";
  put(bytes, 36 + dataBytes, 4);
  bytes += "WAVEfmt ";
  put(bytes, 16, 4);
  put(bytes, 1, 2);  // PCM
  put(bytes, 1, 2);  // mono
  put(bytes, kRate, 4);
  put(bytes, kRate * 2, 4);
  put(bytes, 2, 2);
  put(bytes, 16, 2);
  bytes += "data";
  put(bytes, dataBytes, 4);
  const double hertz = 200.0 + 5.0 * index;
  for (int i = 0; i < kRate; ++i) {
    const double sample = 12000.0 * std::sin(2.0 * std::numbers::pi * hertz * i / kRate);
    put(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(sample)), 2);
  }
  return bytes;
}

class SoundFolder {
 public:
  SoundFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velimoro-sound-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root = pattern;
    for (int i = 0; i < kSounds; ++i) {
      paths.push_back(root + "/sound" + std::to_string(i) + ".wav");
      std::ofstream(paths.back(), std::ios::binary) << waveBytes(i);
    }
  }
  ~SoundFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }

  std::string root;
  std::vector<std::string> paths;
};

void BM_LoadTwoHundredSounds(benchmark::State& state) {
  const SoundFolder folder;
  for (auto _ : state) {
    state.PauseTiming();
    auto layer = std::make_unique<velimoro::media::OpenAlSoundLayer>();
    state.ResumeTiming();
    for (const std::string& path : folder.paths) {
      std::string error;
      if (layer->loadSound(path, error) < 0) {
        state.SkipWithError(error.c_str());
        return;
      }
    }
    state.PauseTiming();
    layer.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kSounds);
}
BENCHMARK(BM_LoadTwoHundredSounds)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // OpenAL Soft's null output unless the caller chose another.
  setenv("ALSOFT_DRIVERS", "null", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
