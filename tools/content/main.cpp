// velimoro-content: renders the demo installation (trains, routes, pictures, sounds, voices,
// help files and route videos) into a data root; --no-video leaves the videos out, --hd renders
// them sharp for a large screen. It also draws the program's icons for the desktop.

#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "data/data_root.h"
#include "tools/content/generator.h"
#include "tools/content/icon_art.h"
#include "tools/end_signal.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "Usage: velimoro-content (--out DIR | --user) [--no-video | --hd]\n"
    "       velimoro-content --icons DIR\n"
    "Renders the demo installation: two trains, six routes with their videos, the title\n"
    "screen's pictures and music, sounds, call-out voices and help files.\n"
    "  --out DIR       render into DIR\n"
    "  --user          render into the user's data folder (velimoro under XDG_DATA_HOME),\n"
    "                  where velimoro finds it without --root\n"
    "  --no-video      leave out the route videos and scene movies (much faster)\n"
    "  --hd            render the route videos and scene movies at 1280 x 720 instead of\n"
    "                  604 x 340, sharp on a large screen (about three times the disc\n"
    "                  space and several times the rendering time)\n"
    "  --icons DIR     draw the program's icons into DIR as the icon theme lays them out\n"
    "  -h, --help      show this help and exit\n"
    "  -v, --version   show the version and exit\n"
    "SIGTERM, SIGINT and SIGHUP stop the rendering (exit status 128 + the signal); with --user\n"
    "nothing is left behind.\n"
    "Example:\n"
    "  velimoro-content --out ~/velimoro-demo && velimoro --root ~/velimoro-demo\n";

int usageFault(const std::string& text) {
  std::cerr << "velimoro-content: " << text << "\nTry 'velimoro-content --help'.\n";
  return 2;
}

// The user's data folder comes whole or not at all: the demo is rendered beside it and moved
// into place at the end, so that an interrupted rendering is never taken for a data root. A
// folder that already holds something is the user's and is left alone.
int renderForUser(bool videos, bool hd) {
  const fs::path root = velimoro::userDataRoot();
  if (root.empty()) {
    std::cerr << "velimoro-content: neither XDG_DATA_HOME nor HOME names a folder\n";
    return 1;
  }
  std::error_code ec;
  if (fs::exists(root, ec) && !fs::is_empty(root, ec)) {
    std::cerr << "velimoro-content: " << root.string()
              << " already holds files; remove it first, or render elsewhere with --out\n";
    return 1;
  }
  const fs::path partial = root.string() + ".partial";
  fs::remove_all(partial, ec);
  try {
    velimoro::content::generateDemo(partial.string(), std::cout, videos, hd);
  } catch (...) {
    fs::remove_all(partial, ec);
    throw;
  }
  fs::remove(root, ec);  // an empty folder, if any
  fs::rename(partial, root);
  std::cout << "demo installation in " << root.string() << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out, icons;
  bool videos = true, hd = false, user = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-content " VELIMORO_VERSION "\n";
      return 0;
    } else if ((arg == "--out" || arg == "--icons") && i + 1 < argc) {
      (arg == "--out" ? out : icons) = argv[++i];
    } else if (arg == "--user") {
      user = true;
    } else if (arg == "--no-video") {
      videos = false;
    } else if (arg == "--hd") {
      hd = true;
    } else if (arg == "--out" || arg == "--icons") {
      return usageFault(arg + " needs a folder");
    } else {
      return usageFault("unknown option \"" + arg + "\"");
    }
  }
  if (static_cast<int>(!out.empty()) + static_cast<int>(user) + static_cast<int>(!icons.empty()) !=
      1)
    return usageFault("name one of --out DIR, --user and --icons DIR");
  if (hd && !videos) return usageFault("--hd renders the videos that --no-video leaves out");
  // An end signal stops the rendering before its next file or video frame.
  velimoro::tools::recordEndSignals();
  try {
    if (!icons.empty()) {
      velimoro::content::writeIcons(icons);
      return 0;
    }
    if (user) return renderForUser(videos, hd);
    velimoro::content::generateDemo(out, std::cout, videos, hd);
  } catch (const std::exception& e) {
    // A signal may also end a helper program midway, whose failure then only follows from it.
    if (const int signal = velimoro::tools::g_endSignal; signal != 0) {
      std::cerr << "velimoro-content: ended by signal " << signal
                << (user ? "; nothing was installed\n"
                         : "; " + out + " holds an unfinished rendering\n");
      return 128 + signal;
    }
    std::cerr << "velimoro-content: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
