// Speed of one screen pass of the cab window: the shading boxes, the texts, the panel's sprites,
// the video surface and the flip, on the demo train's full panel. BM_ScreenPass leaves the frame
// out, at the screen's own size. BM_ScreenPassWithFrame adds a 1080p H.264 frame, two frames in
// turn that the reader holds decoded, so a pass pays the frame's conversion and scaling to the
// picture but not its decoding; its argument is the scale in hundredths: 100 the screen's own
// size, 171 the screen filling the 1080 rows of a 1920 x 1080 display. Its CPU time is the whole
// process's, the scaler's slice threads included.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include "bench/bench_support.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "cab/tick.h"
#include "media/ffmpeg_video_reader.h"
#include "media/qt_cab_screen.h"
#include "present/screen_pass.h"
#include "sim/tick.h"
#include "tools/content/generator.h"

namespace velimoro {
namespace {

using bench::NoMessages;
using bench::SilentSound;

// The demo installation without its videos, rendered once for every case.
const std::string& demoRoot() {
  static const std::string root = [] {
    const std::string path =
        (std::filesystem::temp_directory_path() / "velimoro-screen-bench").string();
    std::ostringstream progress;
    content::generateDemo(path, progress);
    return path;
  }();
  return root;
}

void runPasses(benchmark::State& state, double scale, const std::string& video) {
  const std::string& root = demoRoot();
  SilentSound sound;
  NoMessages messages;
  media::QtCabScreen screen;
  screen.setScale(scale);
  media::FfmpegVideoReader reader;
  std::string error;
  if (!video.empty() && !reader.open(video, error)) state.SkipWithError(error.c_str());
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
  media::VideoReader* shown = video.empty() ? nullptr : &reader;
  for (auto _ : state) {
    now += 34;  // every pass falls due
    drive->state.frame = (drive->state.frame + 1) % 2;
    runScreenPass(pass, *drive, drive->panel, shown, screen, now, true);
  }
  state.counters["width"] = screen.frontBuffer().width();
  state.counters["height"] = screen.frontBuffer().height();
}

void BM_ScreenPass(benchmark::State& state) {
  runPasses(state, 1.0, "");
}

// A 1080p H.264 file of a few frames, written once.
const std::string& hdVideo() {
  static const std::string path = [] {
    const std::string written =
        (std::filesystem::temp_directory_path() / "velimoro-screen-bench-1080p.mp4").string();
    const std::string command =
        "ffmpeg -v error -nostdin -y -f lavfi -i 'testsrc2=size=1920x1080:rate=30' -frames:v 4 "
        "-pix_fmt yuv420p -c:v libx264 -preset veryfast '" +
        written + "'";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot run " + command);
    return written;
  }();
  return path;
}

void BM_ScreenPassWithFrame(benchmark::State& state) {
  runPasses(state, static_cast<double>(state.range(0)) / 100, hdVideo());
}

BENCHMARK(BM_ScreenPass)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScreenPassWithFrame)
    ->ArgName("scale_pct")
    ->Arg(100)
    ->Arg(171)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velimoro

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::temp_directory_path() / "velimoro-screen-bench",
                              ignored);
  return 0;
}
