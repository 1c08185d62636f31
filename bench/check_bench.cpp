// Checking the whole demo installation (two trains, six routes, the files beside them and every
// picture and sound they name) without the videos, as an author checks before a drive.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>

#include "tools/check/checker.h"
#include "tools/content/generator.h"

namespace {

// The demo installation, rendered without videos into a temporary folder for the benchmark.
class DemoRoot {
 public:
  DemoRoot() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velimoro-check-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root = pattern;
    std::ostringstream progress;
    velimoro::content::generateDemo(root, progress, false);
  }
  ~DemoRoot() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  DemoRoot(const DemoRoot&) = delete;
  DemoRoot& operator=(const DemoRoot&) = delete;

  std::string root;
};

void BM_CheckDemoInstallation(benchmark::State& state) {
  const DemoRoot demo;
  velimoro::check::CheckOptions options;
  options.root = demo.root;
  options.videos = false;
  std::size_t findings = 0;
  for (auto _ : state) {
    findings = velimoro::check::checkInstallation(options).size();
    benchmark::DoNotOptimize(findings);
  }
  state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckDemoInstallation)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
