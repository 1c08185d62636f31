// velimoro-drive: one drive without a window, on a deterministic scheduler, with a trace out.
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/drive/headless.h"

namespace {

constexpr const char* kUsage =
    "Usage: velimoro-drive --route FILE --train FILE [options]\n"
    "Runs one drive without a window and writes what happened.\n"
    "  --root DIR              the data root (the current folder by default)\n"
    "  --route FILE            the route data file (required)\n"
    "  --train FILE            the train data file (required)\n"
    "  --train-folder DIR      the folder of the train data file\n"
    "  --start N               start at station N (0 the route's start)\n"
    "  --start-frame F         start standing at video frame F, the stations before it left\n"
    "  --script FILE           the inputs: lines of '<seconds> <command> [args]'\n"
    "  --seconds S             drive S seconds (60, or up to the script's quit)\n"
    "  --trace FILE.csv        one row of state fields a tick\n"
    "  --events FILE           the sound, call-out, message, notch and brake-cause events\n"
    "  --settings LIST         kanko=0,information=1,ats=1,aids=0\n"
    "  --report FILE.html      the run report (FILE.json: its data)\n"
    "  -h, --help              show this help and exit\n"
    "  -v, --version           show the version and exit\n"
    "Example:\n"
    "  velimoro-drive --root demo --route line_up2.dat --train train_QT600.dat \\\n"
    "      --script drive.txt --trace trace.csv\n";

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-drive " VELIMORO_VERSION "\n";
      return 0;
    }
  }
  velimoro::headless::Options options;
  try {
    options = velimoro::headless::parseOptions(args);
  } catch (const std::exception& e) {
    std::cerr << "velimoro-drive: " << e.what() << "\nTry 'velimoro-drive --help'.\n";
    return 2;
  }
  velimoro::headless::endDrivesOnSignals();
  return velimoro::headless::runDrive(options, std::cout, std::cerr);
}
