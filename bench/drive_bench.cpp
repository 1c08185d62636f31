// Speed of the simulation core: one simulated hour of fast steps and ticks, as the headless
// driver runs them, on a route with a long frame-speed table.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

#include "cab/drive.h"
#include "cab/tick.h"
#include "media/message_sink.h"
#include "media/picture_loader.h"
#include "media/sound_layer.h"
#include "sim/fast_step.h"
#include "sim/tick.h"

namespace velimoro {
namespace {

using bench::NoMessages;
using bench::SilentSound;

void fillRoute(RouteData& route) {
  // 2000 segments of 100 frames filmed between 40 and 80 km/h.
  std::int64_t acc = 0;
  for (int i = 0; i < 2000; ++i) {
    FrameSpeedEntry& e = route.frameSpeeds[i];
    e.fromFrame = i * 100;
    e.toFrame = (i + 1) * 100;
    e.fromSpeed = 40 + (i % 5) * 10;
    e.toSpeed = 40 + ((i + 1) % 5) * 10;
    acc += static_cast<std::int64_t>((e.fromSpeed + e.toSpeed) * 100 / 2.16L);
    e.endCm = acc;
  }
  route.frameSpeedCount = 2000;
  route.frameSpeedsOrdered = true;
  route.frameRate = 30;
}

void BM_SimulatedHour(benchmark::State& state) {
  SilentSound sound;
  media::FileCheckPictureLoader pictures;
  NoMessages messages;
  for (auto _ : state) {
    state.PauseTiming();
    Drive drive({}, DriveMedia{sound, pictures, messages, nullptr});
    fillRoute(*drive.route);
    drive.train->Tons = Fixed::fromInt(140);
    drive.state.frame = 10;
    drive.state.speed = 60;
    state.ResumeTiming();
    // 3600 s: 108000 fast steps and 36000 ticks, three fast steps to a tick.
    for (int tick = 0; tick < 36000; ++tick) {
      fastStep(drive);
      fastStep(drive);
      fastStep(drive);
      simulationTick(drive);
    }
    benchmark::DoNotOptimize(drive.state.position_cm);
  }
}
BENCHMARK(BM_SimulatedHour)->Unit(benchmark::kMillisecond);

// One 100 ms step (three fast steps and a tick) of the sample train running under power on the
// sample route, with every model of the core active.
void BM_SimulationStep(benchmark::State& state) {
  SilentSound sound;
  media::FileCheckPictureLoader pictures;
  NoMessages messages;
  DriveSetup setup;
  setup.root = VELIMORO_SOURCE_DIR "/samples/sample";
  setup.trainFile = "train_sample.dat";
  setup.routeFile = "line_sample.dat";
  setup.settings.ats = 0;
  auto drive = startDrive(setup, DriveMedia{sound, pictures, messages, nullptr});
  SimState& s = drive->state;
  s.doors_open = s.door_cmd = false;
  s.brake_handle = 0;
  s.brake_change_pending = s.sap_change_pending = true;
  s.power_handle = 3;
  s.power_change_pending = true;
  const auto step = [&] {
    fastStep(*drive);
    fastStep(*drive);
    fastStep(*drive);
    simulationTick(*drive);
  };
  for (int i = 0; i < 300; ++i)
    step();  // brakes released, under way
  for (auto _ : state) {
    step();
    s.eb_device_count = 0;  // the driver's hand on the controller
  }
  benchmark::DoNotOptimize(s.speed);
}
BENCHMARK(BM_SimulationStep)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velimoro

BENCHMARK_MAIN();
