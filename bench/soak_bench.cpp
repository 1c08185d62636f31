// Soak: every route of an installation driven with every train for a long simulated time (24
// hours by default), by a random but legal script of keys and wheel notches, through the
// headless driver. For each drive it prints the wall time, the rows of the trace, the trace
// values that are no finite number, and the resident memory a little after the start, at the end
// and at its peak; the run fails (status 1) on a value that is no finite number or a drive that
// does not end normally.
//
//   soak_bench [--root DIR] [--hours H] [--seed N] [--write-script FILE]
//
// Without --root the demo installation is rendered (without videos) into a temporary folder.
// --write-script writes one random script of H hours to FILE and ends.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tools/check/file_kind.h"
#include "tools/content/generator.h"
#include "tools/drive/headless.h"

namespace {

namespace fs = std::filesystem;

// Resident memory of this process in MiB.
double residentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// A random but legal drive of `seconds`: Start, the reverser forward, then every 2 to 30 s a key
// of the cab or a wheel notch, weighted towards the handles so that the train really runs, stops
// and runs again; now and then the other keys of the cab.
std::string randomScript(std::mt19937& random, double seconds) {
  struct Choice {
    const char* command;
    int weight;
  };
  static const Choice kChoices[] = {
      {"key z", 14},      {"key a", 8},        {"key 8", 6},          {"key 2", 6},
      {"key ,", 6},       {"key .", 8},        {"key /", 2},          {"key q", 2},
      {"wheel down", 8},  {"wheel up", 8},     {"key 5", 4},          {"key 0", 1},
      {"key f", 2},       {"key n", 1},        {"key b", 1},          {"key space", 2},
      {"key c", 1},       {"key 1", 1},        {"key 3", 1},          {"key 6", 1},
      {"key d", 1},       {"key 7", 1},        {"key r", 1},          {"key -", 1},
      {"key 9", 1},       {"key w", 1},        {"key t", 1},          {"key s", 1},
      {"key x", 1},       {"vkey Enter", 1},   {"vkey BackSpace", 1}, {"vkey F1", 1},
      {"vkey PageUp", 1}, {"vkey PageDown", 1}};
  std::vector<int> weights;
  for (const Choice& c : kChoices)
    weights.push_back(c.weight);
  std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
  std::uniform_real_distribution<double> gap(2.0, 30.0);
  std::ostringstream script;
  script << "0 start\n1 key f\n";
  char at[32];
  for (double t = 2.0; t < seconds; t += gap(random)) {
    std::snprintf(at, sizeof at, "%.3f", t);
    script << at << ' ' << kChoices[pick(random)].command << '\n';
  }
  return script.str();
}

// Reads a trace from the named pipe `path` as the driver writes it: counts its rows and the
// fields that parse as a number but no finite one ("nan", "inf").
class TraceChecker {
 public:
  explicit TraceChecker(std::string path) : m_path(std::move(path)) {
    m_thread = std::thread([this] { run(); });
  }
  // Ends the reading: when the driver never opened the pipe, opens it once to end the wait.
  void finish() {
    if (!m_opened.load()) {
      const int fd = open(m_path.c_str(), O_WRONLY);
      if (fd >= 0) close(fd);
    }
    m_thread.join();
  }
  std::int64_t rows() const { return m_rows; }
  std::int64_t notFinite() const { return m_notFinite; }
  const std::string& firstBad() const { return m_firstBad; }

 private:
  void run() {
    std::ifstream in(m_path);
    m_opened = true;
    std::string line;
    std::vector<std::string> header;
    while (std::getline(in, line)) {
      std::vector<std::string> fields;
      std::string field;
      std::istringstream split(line);
      while (std::getline(split, field, ','))
        fields.push_back(field);
      if (header.empty()) {
        header = fields;
        continue;
      }
      ++m_rows;
      for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& f = fields[i];
        if (f.empty() || f.find_first_of("nNiI") == std::string::npos) continue;
        char* end = nullptr;
        const double value = std::strtod(f.c_str(), &end);
        if (end != f.c_str() && *end == '\0' && !std::isfinite(value)) {
          if (m_notFinite++ == 0)
            m_firstBad = (i < header.size() ? header[i] : "?") + "=" + f + " at row " +
                         std::to_string(m_rows);
        }
      }
    }
  }

  std::string m_path;
  std::thread m_thread;
  std::atomic<bool> m_opened{false};
  std::int64_t m_rows = 0;
  std::int64_t m_notFinite = 0;
  std::string m_firstBad;
};

// Samples the resident memory while a drive runs: a little after its start, at its end, the peak.
class MemorySampler {
 public:
  MemorySampler() {
    m_thread = std::thread([this] {
      const auto begin = std::chrono::steady_clock::now();
      while (!m_stop.load()) {
        const double now = residentMb();
        m_peak = std::max(m_peak.load(), now);
        if (m_start.load() < 0 && std::chrono::steady_clock::now() - begin > kSettle) m_start = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    });
  }
  void stop() {
    m_stop = true;
    m_thread.join();
    m_end = residentMb();
    if (m_start.load() < 0) m_start = m_end.load();
  }
  double start() const { return m_start; }
  double end() const { return m_end; }
  double peak() const { return std::max(m_peak.load(), m_end.load()); }

 private:
  static constexpr auto kSettle = std::chrono::seconds(2);
  std::thread m_thread;
  std::atomic<bool> m_stop{false};
  std::atomic<double> m_start{-1.0};
  std::atomic<double> m_end{0.0};
  std::atomic<double> m_peak{0.0};
};

struct DataFiles {
  std::vector<std::string> trains;  // relative to the root, "/" separated
  std::vector<std::string> routes;
};

DataFiles findDataFiles(const std::string& root) {
  DataFiles files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".dat") continue;
    const std::string relative = entry.path().lexically_relative(root).generic_string();
    switch (velimoro::check::fileKind(entry.path().string())) {
      case velimoro::check::FileKind::kTrain:
        files.trains.push_back(relative);
        break;
      case velimoro::check::FileKind::kRoute:
        files.routes.push_back(relative);
        break;
      default:
        break;
    }
  }
  std::sort(files.trains.begin(), files.trains.end());
  std::sort(files.routes.begin(), files.routes.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  double hours = 24.0;
  unsigned seed = 1;
  std::string scriptOut;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--root") {
      root = argv[i + 1];
    } else if (flag == "--hours") {
      hours = std::stod(argv[i + 1]);
    } else if (flag == "--seed") {
      seed = static_cast<unsigned>(std::stoul(argv[i + 1]));
    } else if (flag == "--write-script") {
      scriptOut = argv[i + 1];
    } else {
      std::cerr << "soak_bench: unknown option " << flag << '\n';
      return 2;
    }
  }
  std::mt19937 random(seed);
  const double seconds = hours * 3600.0;
  if (!scriptOut.empty()) {
    std::ofstream(scriptOut) << randomScript(random, seconds);
    return 0;
  }

  std::string work = (fs::temp_directory_path() / "velimoro-soak-XXXXXX").string();
  if (mkdtemp(work.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  if (root.empty()) {
    root = work + "/demo";
    std::ostringstream progress;
    velimoro::content::generateDemo(root, progress, false);
  }
  const DataFiles files = findDataFiles(root);
  std::cout << "soak: " << files.routes.size() << " routes x " << files.trains.size() << " trains, "
            << hours << " simulated hours each, seed " << seed << '\n';
  std::cout << "resident memory at the start: " << residentMb() << " MiB\n";
  bool failed = false;
  for (const std::string& route : files.routes) {
    for (const std::string& train : files.trains) {
      velimoro::headless::Options options;
      options.root = root;
      options.route = route;
      const fs::path trainPath(train);
      options.trainFolder =
          trainPath.has_parent_path() ? trainPath.parent_path().string() + "/" : "";
      options.train = trainPath.filename().string();
      options.seconds = seconds;
      options.script = work + "/drive.txt";
      std::ofstream(options.script) << randomScript(random, seconds);
      options.trace = work + "/trace.fifo";
      fs::remove(options.trace);
      if (mkfifo(options.trace.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");

      TraceChecker trace(options.trace);
      MemorySampler memory;
      std::ostringstream out;
      std::ostringstream err;
      const auto begin = std::chrono::steady_clock::now();
      const int status = velimoro::headless::runDrive(options, out, err);
      const double wall =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
      memory.stop();
      trace.finish();
      std::printf(
          "%-24s %-28s status %d  %7.1f s wall  %8lld rows  %lld not finite  "
          "RSS %.1f -> %.1f MiB (peak %.1f)\n",
          route.c_str(), train.c_str(), status, wall, static_cast<long long>(trace.rows()),
          static_cast<long long>(trace.notFinite()), memory.start(), memory.end(), memory.peak());
      if (!trace.firstBad().empty()) std::printf("  first: %s\n", trace.firstBad().c_str());
      if (status != 0) std::printf("  %s", err.str().c_str());
      std::fflush(stdout);
      failed = failed || status != 0 || trace.notFinite() > 0;
    }
  }
  std::cout << "resident memory at the end: " << residentMb() << " MiB\n";
  std::error_code ec;
  fs::remove_all(work, ec);
  return failed ? 1 : 0;
}
