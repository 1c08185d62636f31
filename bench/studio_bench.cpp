// The route studio's costs on the largest routes: opening and saving a route file with every
// table full, one placed record (an undo step copies the document), the data check the window
// runs after an edit, and the calibration of a three-hour ride from its GPX track.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "data/route_records.h"
#include "studio/core/calibration.h"
#include "studio/core/live_check.h"
#include "studio/core/route_editor.h"

namespace {

using namespace velimoro;
using namespace velimoro::studio;

// The bytes of a route file whose tables are all full.
const std::string& fullRouteBytes() {
  static const std::string bytes = [] {
    auto r = std::make_unique<RouteData>();
    r->lineName = "試験線";
    r->staffSwitchCount = 1;
    r->kankoSoundCount = RouteData::kKankoSlots;
    for (auto& s : r->kankoSound)
      s = "sound\\voice\\v.wav";
    r->soundDataCount = RouteData::kTable;
    r->stationCount = RouteData::kTable;
    for (int i = 0; i < RouteData::kTable; ++i) {
      r->stations[static_cast<std::size_t>(i)].name = "駅" + std::to_string(i);
      r->stations[static_cast<std::size_t>(i)].stopFrame = i * 600;
      r->signals[static_cast<std::size_t>(i)].position = i * 600 + 300;
    }
    r->signalCount = r->soundCount = r->signCount = r->speedLimitCount = RouteData::kTable;
    r->crossingCount = RouteData::kBigTable;
    r->frameSpeedCount = RouteData::kFrameSpeeds;
    for (int i = 0; i < RouteData::kFrameSpeeds; ++i)
      r->frameSpeeds[static_cast<std::size_t>(i)] = {i * 30, i * 30 + 30, 62.5L, 63.25L, 0};
    RouteDocument doc;
    writeRouteDocument(*r, {}, doc);
    return doc.bytes();
  }();
  return bytes;
}

void OpenAndSaveAFullRoute(benchmark::State& state) {
  const std::string& bytes = fullRouteBytes();
  for (auto _ : state)
    benchmark::DoNotOptimize(RouteDocument::parse(bytes).bytes());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(OpenAndSaveAFullRoute)->Unit(benchmark::kMillisecond);

void PlaceAStationOnAFullRoute(benchmark::State& state) {
  RouteEditor editor(RouteDocument::parse(fullRouteBytes()));
  editor.remove(RecordKind::kStation, 250);
  std::string error;
  const std::vector<std::string> station = {"新駅",    "0", "150300", "200", "0", "0", "0",
                                            "1080000", "0", "0",      "0",   "0", "0", "0"};
  for (auto _ : state) {
    editor.place(RecordKind::kStation, station, error);
    editor.undo();
  }
}
BENCHMARK(PlaceAStationOnAFullRoute)->Unit(benchmark::kMillisecond);

void CheckAFullRoute(benchmark::State& state) {
  const RouteDocument document = RouteDocument::parse(fullRouteBytes());
  const auto folder = std::filesystem::temp_directory_path() / "velimoro_studio_bench";
  std::filesystem::create_directories(folder);
  std::size_t findings = 0;
  for (auto _ : state)
    findings =
        checkRouteDocument(document, folder.string(), (folder / "check.dat").string()).size();
  state.counters["findings"] = static_cast<double>(findings);
  std::filesystem::remove_all(folder);
}
BENCHMARK(CheckAFullRoute)->Unit(benchmark::kMillisecond);

void CalibrateAThreeHourRide(benchmark::State& state) {
  std::vector<TrackPoint> track;
  double metres = 0;
  for (int t = 0; t <= 3 * 3600; ++t) {
    const double speed = 20 + 8 * std::sin(t / 90.0);  // m/s
    metres += speed;
    track.push_back({1714557600.0 + t, 35 + metres / 6371008.8 * 180 / std::numbers::pi, 139,
                     100 + 20 * std::sin(metres / 3000)});
  }
  FrameClock clock{track.front().seconds, 0, 1.0 / 30};
  const int lastFrame = 3 * 3600 * 30;
  std::size_t segments = 0, slopes = 0;
  for (auto _ : state) {
    const auto table = speedSegments(trackDistances(track, clock, lastFrame, 30));
    const auto records = slopeRecords(track, clock, lastFrame, 30);
    segments = table.size();
    slopes = records.size();
  }
  state.counters["segments"] = static_cast<double>(segments);
  state.counters["slopes"] = static_cast<double>(slopes);
}
BENCHMARK(CalibrateAThreeHourRide)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
