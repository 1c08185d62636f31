// Speed of one screen pass of the cab window with the fetch left out: the shading boxes, the
// texts, the panel's sprites, the video surface and the flip, on the demo train's full panel.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include "bench/bench_support.h"

#include <filesystem>
#include <sstream>

#include "cab/tick.h"
#include "media/qt_cab_screen.h"
#include "present/screen_pass.h"
#include "sim/tick.h"
#include "tools/content/generator.h"

namespace velimoro {
namespace {

using bench::NoMessages;
using bench::SilentSound;

void BM_ScreenPass(benchmark::State& state) {
  const std::string root =
      (std::filesystem::temp_directory_path() / "velimoro-screen-bench").string();
  std::ostringstream progress;
  content::generateDemo(root, progress);
  SilentSound sound;
  NoMessages messages;
  media::QtCabScreen screen;
  DriveSetup setup;
  setup.root = root;
  setup.trainFile = "train_QT600.dat";
  setup.routeFile = "line_up1_local.dat";
  DriveMedia media{sound, screen, messages, nullptr};
  media.pictureStore = &screen;
  media.sprites = &screen;
  auto drive = startDrive(setup, media);
  simulationTick(*drive);
  ScreenPass pass;
  std::uint32_t now = 0;
  for (auto _ : state) {
    now += 34;  // every pass falls due
    runScreenPass(pass, *drive, drive->panel, nullptr, screen, now, true);
  }
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_ScreenPass)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velimoro

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
