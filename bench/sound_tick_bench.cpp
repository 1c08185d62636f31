// Speed of one tick's sound work: the route sounds (100 active "[Sound]" records, 20 Doppler
// sources in range), the running sounds and the call-out queue poll.
#include <benchmark/benchmark.h>

#include <array>

#include "cab/drive.h"
#include "media/message_sink.h"
#include "media/picture_loader.h"
#include "media/sound_layer.h"
#include "present/callouts.h"
#include "present/route_sounds.h"
#include "present/running_sounds.h"
#include "present/sound_channels.h"

namespace velimoro {
namespace {

// Keeps only what a channel does, as a mixer's bookkeeping would.
class CountingSound final : public media::SoundLayer {
 public:
  int loadSound(const std::string&, std::string&) override { return 0; }
  void bind(int, int) override {}
  void play(int channel, bool) override { m_playing[static_cast<std::size_t>(channel)] = true; }
  void stop(int channel) override { m_playing[static_cast<std::size_t>(channel)] = false; }
  bool isPlaying(int channel) const override {
    return m_playing[static_cast<std::size_t>(channel)];
  }
  void setVolume(int channel, int volume) override {
    m_volume[static_cast<std::size_t>(channel)] = volume;
  }
  void setFrequency(int channel, int hertz) override {
    m_frequency[static_cast<std::size_t>(channel)] = hertz;
  }

 private:
  std::array<bool, kChannels> m_playing{};
  std::array<int, kChannels> m_volume{};
  std::array<int, kChannels> m_frequency{};
};

class NoMessages final : public media::MessageSink {
 public:
  void show(const std::string&) override {}
};

// A diesel railcar with 20 train sounds and 4 + 2 running sounds on a route of 150 route sounds:
// 100 "[Sound]" records in their start window, 20 Doppler sources around the train, 50
// announcements and 200 points elsewhere on the line.
void fillDrive(Drive& drive) {
  TrainSpec& train = *drive.train;
  RouteData& route = *drive.route;
  train.DriveSoundCount = 20;
  train.Engine_Type = 0;
  for (int i = 0; i < 4; ++i)
    train.EngineSound1[i] = {"", i % 3, {0, 60, 120, 0.8, 1.0, 1.3, -2000, -500, 0}};
  train.EngineSound1Count = 4;
  for (int i = 0; i < 2; ++i)
    train.EngineSound3[i] = {"", 0, 5, {-1, 100, 0.9, 1.6, -300, 0}};
  train.EngineSound3Count = 2;
  for (int i = 0; i < 10; ++i)
    train.SwitchSound[i] = {i, 20 + 10 * i, i % 3};
  train.SwitchSoundCount = 10;

  route.soundDataCount = 150;
  for (int i = 0; i < 100; ++i)
    route.sounds[i] = {i, 1000 + i % 5, 5000, 60, i % 2, 1, 1};
  route.soundCount = 100;
  for (int i = 0; i < 20; ++i)
    route.doppler[i] = {100 + i, 0, 20000, i % 2, 100000 + 500 * (i - 10)};
  route.dopplerCount = 20;
  route.stations[0].stopCm = 500000;
  route.stationCount = 1;
  for (int i = 1; i <= 50; ++i)
    route.announce[i] = {120 + i % 30, i % 2, 0, 100 * i};
  route.announceCount = 50;
  for (int i = 0; i < 200; ++i)
    route.switches[i] = {3000 + 10 * i, i % 3};
  route.switchCount = 200;

  drive.sounds.layout = channelLayout(train, route);
  drive.sounds.channelRate.fill(22050);
  for (int v = 0; v < 21; ++v)
    drive.sounds.voiceSound[static_cast<std::size_t>(v)] = v;
  drive.state.frame = 1002;
  drive.state.position_cm = 100000;
  drive.state.speed = 72;
  drive.state.power_notch = 3;
}

void BM_SoundTick(benchmark::State& state) {
  CountingSound sound;
  media::FileCheckPictureLoader pictures;
  NoMessages messages;
  Drive drive({}, DriveMedia{sound, pictures, messages, nullptr});
  fillDrive(drive);
  int tick = 0;
  for (auto _ : state) {
    // The speed and the train's place move a little each tick, as they do when running.
    drive.state.speed = 70 + (tick % 5);
    drive.state.position_cm = 100000 + (tick % 40) * 200 - 4000;
    if (tick % 10 == 0) kankoQueueAdd(drive, tick % 21);
    runRouteSounds(drive);
    runRunningSounds(drive);
    kankoQueuePlay(drive);
    if (tick % 3 == 0) sound.stop(calloutChannel(drive.sounds.layout));  // a voice ends
    ++tick;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SoundTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velimoro

BENCHMARK_MAIN();
