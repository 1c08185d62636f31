// velimoro-studio: makes and edits route data files. From the command line it rewrites a route
// file through its document, the way the studio saves it, and calibrates a route's distances
// from a GPX track or a speed log.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "data/numbers.h"
#include "media/ffmpeg_video_reader.h"
#include "studio/core/calibration.h"
#include "studio/core/route_file_io.h"
#include "studio/core/track.h"
#include "studio/window/studio_window.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>

namespace {

using namespace velimoro;
using namespace velimoro::studio;

constexpr const char* kUsage =
    "Usage: velimoro-studio [FILE] [--seconds S [--screenshot F.png]]\n"
    "       velimoro-studio --rewrite IN OUT\n"
    "       velimoro-studio --calibrate --video V (--gpx G | --speed-log L) --align FRAME=TIME...\n"
    "                       --out FILE [--fps N] [--slopes]\n"
    "Makes and edits route data files: opens the window on FILE, a route data file (with its\n"
    "video, through dorvanel.dat) or a video for a new route.\n"
    "  --seconds S       close the window after S seconds (unattended: no questions)\n"
    "  --screenshot F    with --seconds, keep the window's picture in F.png\n"
    "  --rewrite IN OUT  read the route file IN and save it as OUT, as the studio saves it:\n"
    "                    a file saved without edits is the same byte for byte\n"
    "  --calibrate       write the filming-speed table ([SpeedUnit]) of FILE from a track,\n"
    "                    keeping the rest of FILE (a new FILE holds the table alone)\n"
    "  --video V         the route video (for its frames)\n"
    "  --gpx G           a GPX track: time-stamped points, elevations optional\n"
    "  --speed-log L     a CSV speed log instead: lines of seconds,km/h\n"
    "  --align FRAME=TIME  the video frame filmed at TIME: an ISO time (2024-05-01T10:00:00Z)\n"
    "                    or seconds after the track's first point; one mark, or two or more\n"
    "                    for a camera clock that runs fast or slow\n"
    "  --fps N           the video's frames a second (FILE's [FrameRate], else 30)\n"
    "  --slopes          also write [Slope] records from the track's elevations\n"
    "  -h, --help        show this help and exit\n"
    "  -v, --version     show the version and exit\n"
    "Example:\n"
    "  velimoro-studio --calibrate --video move/line1.avi --gpx ride.gpx "
    "--align 0=2024-05-01T10:00:00Z --out line1.dat\n";

int fault(const std::string& text) {
  std::cerr << "velimoro-studio: " << text << '\n';
  return 1;
}

int usageFault(const std::string& text) {
  std::cerr << "velimoro-studio: " << text << "\nTry 'velimoro-studio --help'.\n";
  return 2;
}

int rewrite(const std::string& in, const std::string& out) {
  std::string error;
  const auto document = openRouteDocument(in, error);
  if (!document) return fault(error);
  if (!saveFileWhole(out, document->bytes(), error)) return fault(error);
  return 0;
}

bool readText(const std::string& path, std::string& text, std::string& error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxRouteFileBytes) {
    error = ec ? "cannot read " + path : path + " is too large";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  text = bytes.str();
  return true;
}

struct CalibrateRun {
  std::string video, gpx, speedLog, out;
  std::vector<std::string> align;
  std::string fps;
  bool slopes = false;
};

int calibrateFile(const CalibrateRun& c) {
  if (c.video.empty() || c.out.empty() || c.align.empty() || c.gpx.empty() == c.speedLog.empty())
    return usageFault("--calibrate needs --video, --gpx or --speed-log, --align and --out");
  std::string error;
  media::FfmpegVideoReader video;
  if (!video.open(c.video, error)) return fault(c.video + ": " + error);
  const int lastFrame = video.frameCount() - 1;

  std::error_code ec;
  const bool existing = std::filesystem::exists(c.out, ec);
  RouteDocument route;
  if (existing) {
    auto opened = openRouteDocument(c.out, error);
    if (!opened) return fault(error);
    route = std::move(*opened);
  }
  double fps = 30;
  if (!c.fps.empty()) {
    const auto given = parseReal(c.fps);
    if (!given || !(*given > 0)) return usageFault("--fps " + c.fps + " is no frame rate");
    fps = *given;
  } else if (const auto rate = route.value(RouteSection::kFrameRate, 0)) {
    if (const auto value = parseInt(*rate); value && *value > 0) fps = *value;
  }

  std::string text;
  if (!readText(c.gpx.empty() ? c.speedLog : c.gpx, text, error)) return fault(error);
  CalibrationSource source;
  source.kind =
      c.gpx.empty() ? CalibrationSource::Kind::kSpeedLog : CalibrationSource::Kind::kTrack;
  if (!c.gpx.empty() ? !readGpx(text, source.track, error) : !readSpeedLog(text, source.log, error))
    return fault((c.gpx.empty() ? c.speedLog : c.gpx) + ": " + error);
  const double start = source.track.empty() ? 0 : source.track.front().seconds;
  for (const std::string& a : c.align) {
    const std::size_t eq = a.find('=');
    const auto frame = eq == std::string::npos ? std::nullopt : parseInt(a.substr(0, eq));
    const auto seconds =
        eq == std::string::npos ? std::nullopt : clockTime(a.substr(eq + 1), start);
    if (!frame || !seconds) return usageFault("--align " + a + " is no FRAME=TIME");
    source.marks.push_back({*frame, *seconds});
  }
  source.fps = fps;
  source.lastFrame = lastFrame;
  source.slopes = c.slopes;
  Calibration result;
  if (!calibrate(source, result, error)) return usageFault(error);
  if (c.slopes && (source.track.empty() || !source.track.front().elevation))
    std::cerr << "velimoro-studio: the track has no elevations; no [Slope] records\n";
  if (!writeCalibration(route, result.segments, c.slopes ? &result.slopes : nullptr))
    return fault("the route file refused the table");
  if (!saveFileWhole(c.out, route.bytes(), error)) return fault(error);
  std::cout << c.out << ": " << result.segments.size() << " [SpeedUnit] segments over frames 0 to "
            << lastFrame << ", "
            << std::lround(result.distances.back().metres - result.distances.front().metres)
            << " m";
  if (c.slopes) std::cout << ", " << result.slopes.size() << " [Slope] records";
  std::cout << '\n';
  return 0;
}

struct WindowRun {
  std::string file;
  std::string seconds;
  std::string screenshot;
};

int runWindow(int argc, char** argv, const WindowRun& run) {
  bool display = false;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    display = display || (std::getenv(name) != nullptr && *std::getenv(name) != '\0');
  if (!display)
    return fault(
        "there is no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); "
        "--rewrite and --calibrate work without one");
  std::optional<double> seconds;
  if (!run.seconds.empty()) {
    seconds = parseReal(run.seconds);
    if (!seconds || *seconds < 0) return usageFault("--seconds " + run.seconds + " is no time");
  }
  if (!run.screenshot.empty() && !seconds) return usageFault("--screenshot needs --seconds");
  QApplication app(argc, argv);
  StudioWindow window(!seconds.has_value());
  window.resize(1100, 720);
  window.show();
  if (!run.file.empty() && !window.openFile(run.file)) {
    if (seconds) return fault("cannot open " + run.file);
  }
  if (seconds) {
    QTimer::singleShot(static_cast<int>(*seconds * 1000), &window, [&] {
      if (!run.screenshot.empty() && !window.grab().save(QString::fromStdString(run.screenshot)))
        std::cerr << "velimoro-studio: cannot write " << run.screenshot << '\n';
      window.close();
    });
  }
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  CalibrateRun c;
  WindowRun window;
  bool calibrating = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-studio " VELIMORO_VERSION "\n";
      return 0;
    }
    if (arg == "--rewrite") {
      if (args.size() - i < 3)
        return usageFault("--rewrite needs the file to read and the file to write");
      if (args.size() - i > 3)
        return usageFault("unknown option or argument: " + std::string(args[i + 3]));
      return rewrite(std::string(args[i + 1]), std::string(args[i + 2]));
    }
    if (arg == "--calibrate") {
      calibrating = true;
    } else if (arg == "--slopes") {
      c.slopes = true;
    } else if (hasValue && arg == "--video") {
      c.video = args[++i];
    } else if (hasValue && arg == "--gpx") {
      c.gpx = args[++i];
    } else if (hasValue && arg == "--speed-log") {
      c.speedLog = args[++i];
    } else if (hasValue && arg == "--align") {
      c.align.emplace_back(args[++i]);
    } else if (hasValue && arg == "--out") {
      c.out = args[++i];
    } else if (hasValue && arg == "--fps") {
      c.fps = args[++i];
    } else if (hasValue && arg == "--seconds") {
      window.seconds = args[++i];
    } else if (hasValue && arg == "--screenshot") {
      window.screenshot = args[++i];
    } else if (!arg.starts_with('-') && window.file.empty()) {
      window.file = arg;
    } else {
      return usageFault("unknown option or missing value: " + std::string(arg));
    }
  }
  if (calibrating) return calibrateFile(c);
  return runWindow(argc, argv, window);
}
