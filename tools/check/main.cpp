// velimoro-check: reports every fault of an installation's data files, or of the files named,
// as FILE:LINE: error: TEXT (or as JSON lines), with the checker's warnings beside them.

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "media/ffmpeg_video_reader.h"
#include "tools/check/checker.h"
#include "tools/check/report.h"
#include "tools/end_signal.h"

namespace {

constexpr const char* kUsage =
    "Usage: velimoro-check [--root DIR] [--json] [--no-video] [FILE...]\n"
    "Checks every train and route data file, dorvanel.dat, mascon.dat and operation.dat of\n"
    "the data root, or only the FILEs named; exit status 0 without errors, 1 with errors, 2 for\n"
    "a bad command line, 128 + the signal when SIGTERM, SIGINT or SIGHUP ended it early.\n"
    "  --root DIR      the data root (the current folder by default)\n"
    "  --json          one JSON object a finding and line\n"
    "  --no-video      do not look for the route videos and scene movies\n"
    "  -h, --help      show this help and exit\n"
    "  -v, --version   show the version and exit\n"
    "Example:\n"
    "  velimoro-check --root ~/trains --no-video\n";

std::optional<int> countFrames(const std::string& path) {
  velimoro::media::FfmpegVideoReader reader;
  std::string error;
  if (!reader.open(path, error)) return std::nullopt;
  return reader.frameCount();
}

}  // namespace

int main(int argc, char** argv) {
  velimoro::check::CheckOptions options;
  bool json = false;
  bool onlyFiles = false;  // after "--" every argument is a file
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (onlyFiles || !arg.starts_with('-') || arg == "-") {
      options.files.emplace_back(arg);
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "--root" && i + 1 < argc) {
      options.root = argv[++i];
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "--no-video") {
      options.videos = false;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-check " VELIMORO_VERSION "\n";
      return 0;
    } else {
      std::cerr << "velimoro-check: unknown option or missing value: " << arg << '\n' << kUsage;
      return 2;
    }
  }
  std::error_code ec;
  if (!options.root.empty() && !std::filesystem::is_directory(options.root, ec)) {
    std::cerr << "velimoro-check: no folder " << options.root << '\n' << kUsage;
    return 2;
  }
  options.frames = countFrames;
  // An end signal stops the check before the next file; what was found so far is reported.
  velimoro::tools::recordEndSignals();
  options.stop = [] { return velimoro::tools::g_endSignal != 0; };
  const velimoro::check::Findings findings = velimoro::check::checkInstallation(options);
  if (json) {
    velimoro::check::writeJsonLines(findings, std::cout);
  } else {
    velimoro::check::writeText(findings, std::cout);
  }
  if (const int signal = velimoro::tools::g_endSignal; signal != 0) {
    std::cout.flush();
    std::cerr << "velimoro-check: ended by signal " << signal << " before every file was checked\n";
    return 128 + signal;
  }
  return velimoro::check::anyError(findings) ? 1 : 0;
}
