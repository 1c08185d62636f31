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
#include "media/qt_language.h"
#include "media/translate.h"
#include "studio/core/calibration.h"
#include "studio/core/route_file_io.h"
#include "studio/core/track.h"
#include "studio/window/studio_window.h"
#include "tools/language.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>

namespace {

using namespace velimoro;
using namespace velimoro::studio;

// The help, in the language chosen; the option names and the example stay as they are typed.
std::string usage() {
  return media::translate(
      "velimoro-studio",
      "使い方: velimoro-studio [FILE] [--seconds S [--screenshot F.png]] [--lang ja|en]\n"
      "        velimoro-studio --rewrite IN OUT\n"
      "        velimoro-studio --calibrate --video V (--gpx G | --speed-log L) --align "
      "FRAME=TIME...\n"
      "                        --out FILE [--fps N] [--slopes]\n"
      "路線データファイルを作り、編集します。FILE（路線データファイル。動画は dorvanel.dat "
      "から探します）\n"
      "か、新しい路線の動画を開いてウィンドウを出します。\n"
      "  --seconds S       S 秒後にウィンドウを閉じる（無人の実行: 何も尋ねません）\n"
      "  --screenshot F    --seconds とともに、ウィンドウの絵を F.png に残す\n"
      "  --lang ja|en      表示の言語（既定は保存した設定、なければシステムのロケール）\n"
      "  --rewrite IN OUT  路線ファイル IN を読み、スタジオが保存するとおりに OUT へ保存する:\n"
      "                    編集せずに保存したファイルはバイト単位で同じです\n"
      "  --calibrate       軌跡から FILE の撮影速度表 ([SpeedUnit]) を書く。FILE の他の行は\n"
      "                    そのまま残します（新しい FILE には表だけが入ります）\n"
      "  --video V         路線の動画（フレームを数えるため）\n"
      "  --gpx G           GPX の軌跡: 時刻付きの点。標高は任意\n"
      "  --speed-log L     GPX の代わりに CSV の速度記録: 1 行に 秒,km/h\n"
      "  --align FRAME=TIME  TIME に撮った動画のフレーム。TIME は ISO 形式の時刻\n"
      "                    (2024-05-01T10:00:00Z) か軌跡の最初の点からの秒数。印は一つ、\n"
      "                    カメラの時計が進むか遅れるときは二つ以上\n"
      "  --fps N           動画の 1 秒のフレーム数（FILE の [FrameRate]、なければ 30）\n"
      "  --slopes          軌跡の標高から [Slope] も書く\n"
      "  -h, --help        この説明を出して終わる\n"
      "  -v, --version     版を出して終わる\n"
      "例:\n"
      "  velimoro-studio --calibrate --video move/line1.avi --gpx ride.gpx "
      "--align 0=2024-05-01T10:00:00Z --out line1.dat\n");
}

std::string said(const char* text, std::initializer_list<std::string_view> values = {}) {
  return media::fill(media::translate("velimoro-studio", text), values);
}

int fault(const std::string& text) {
  std::cerr << "velimoro-studio: " << text << '\n';
  return 1;
}

int usageFault(const std::string& text) {
  std::cerr << "velimoro-studio: " << text << '\n'
            << said(VELIMORO_TEXT_NOOP("velimoro-studio",
                                       "詳しくは 'velimoro-studio --help' を見てください。"))
            << '\n';
  return 2;
}

int rewrite(const std::string& in, const std::string& out) {
  std::string error;
  const auto document = openRouteDocument(in, error);
  if (!document) return fault(error);
  if (!saveFileWhole(out, document->bytes(), error)) return fault(error);
  return 0;
}

struct CalibrateRun {
  std::string video, gpx, speedLog, out;
  std::vector<std::string> align;
  std::string fps;
  bool slopes = false;
};

int calibrateFile(const CalibrateRun& c) {
  if (c.video.empty() || c.out.empty() || c.align.empty() || c.gpx.empty() == c.speedLog.empty())
    return usageFault(said(VELIMORO_TEXT_NOOP(
        "velimoro-studio",
        "--calibrate には --video、--gpx か --speed-log、--align と --out が要ります")));
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
    if (!given || !(*given > 0))
      return usageFault(
          said(VELIMORO_TEXT_NOOP("velimoro-studio", "--fps %1 はフレームレートではありません"),
               {c.fps}));
    fps = *given;
  } else if (const auto rate = route.value(RouteSection::kFrameRate, 0)) {
    if (const auto value = parseInt(*rate); value && *value > 0) fps = *value;
  }

  std::string text;
  if (!readTextFile(c.gpx.empty() ? c.speedLog : c.gpx, text, error)) return fault(error);
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
    if (!frame || !seconds)
      return usageFault(said(
          VELIMORO_TEXT_NOOP("velimoro-studio", "--align %1 は FRAME=TIME ではありません"), {a}));
    source.marks.push_back({*frame, *seconds});
  }
  source.fps = fps;
  source.lastFrame = lastFrame;
  source.slopes = c.slopes;
  Calibration result;
  // A video too short for a table is no fault of the command line; marks that give no clock are.
  if (!calibrate(source, result, error)) return lastFrame < 1 ? fault(error) : usageFault(error);
  if (c.slopes && (source.track.empty() || !source.track.front().elevation))
    std::cerr << "velimoro-studio: "
              << said(VELIMORO_TEXT_NOOP("velimoro-studio",
                                         "軌跡に標高がないので [Slope] は書きません"))
              << '\n';
  if (!writeCalibration(route, result.segments, c.slopes ? &result.slopes : nullptr))
    return fault(
        said(VELIMORO_TEXT_NOOP("velimoro-studio", "路線ファイルが速度表を受け付けません")));
  if (!saveFileWhole(c.out, route.bytes(), error)) return fault(error);
  const std::string segments = std::to_string(result.segments.size()),
                    last = std::to_string(lastFrame),
                    metres = std::to_string(std::lround(result.distances.back().metres -
                                                        result.distances.front().metres));
  std::cout << (c.slopes
                    ? said(VELIMORO_TEXT_NOOP(
                               "velimoro-studio",
                               "%1: フレーム 0〜%3 に [SpeedUnit] %2 区間、%4 m、[Slope] %5 件"),
                           {c.out, segments, last, metres, std::to_string(result.slopes.size())})
                    : said(VELIMORO_TEXT_NOOP("velimoro-studio",
                                              "%1: フレーム 0〜%3 に [SpeedUnit] %2 区間、%4 m"),
                           {c.out, segments, last, metres}))
            << '\n';
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
    return fault(said(VELIMORO_TEXT_NOOP(
        "velimoro-studio",
        "ウィンドウを開く画面がありません（DISPLAY も WAYLAND_DISPLAY もありません）。"
        "--rewrite と --calibrate は画面なしで動きます")));
  std::optional<double> seconds;
  if (!run.seconds.empty()) {
    seconds = parseReal(run.seconds);
    if (!seconds || *seconds < 0)
      return usageFault(
          said(VELIMORO_TEXT_NOOP("velimoro-studio", "--seconds %1 は時間ではありません"),
               {run.seconds}));
  }
  if (!run.screenshot.empty() && !seconds)
    return usageFault(
        said(VELIMORO_TEXT_NOOP("velimoro-studio", "--screenshot には --seconds が要ります")));
  QApplication app(argc, argv);
  // Again, now that there is an application to take Qt's translators.
  media::useLanguage(media::currentLanguage());
  StudioWindow window(!seconds.has_value());
  window.resize(1100, 720);
  window.show();
  if (!run.file.empty() && !window.openFile(run.file)) {
    if (seconds)
      return fault(said(VELIMORO_TEXT_NOOP("velimoro-studio", "%1 を開けません"), {run.file}));
  }
  if (seconds) {
    QTimer::singleShot(static_cast<int>(*seconds * 1000), &window, [&] {
      if (!run.screenshot.empty() && !window.grab().save(QString::fromStdString(run.screenshot)))
        std::cerr << "velimoro-studio: "
                  << said(VELIMORO_TEXT_NOOP("velimoro-studio", "%1 に書けません"),
                          {run.screenshot})
                  << '\n';
      window.close();
    });
  }
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> given(argv + 1, argv + argc);
  if (std::string error; !tools::chooseLanguage(given, error)) return usageFault(error);
  const std::vector<std::string_view> args(given.begin(), given.end());
  CalibrateRun c;
  WindowRun window;
  bool calibrating = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      std::cout << usage();
      return 0;
    }
    if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-studio " VELIMORO_VERSION "\n";
      return 0;
    }
    if (arg == "--rewrite") {
      if (args.size() - i < 3)
        return usageFault(said(VELIMORO_TEXT_NOOP(
            "velimoro-studio", "--rewrite には読むファイルと書くファイルが要ります")));
      if (args.size() - i > 3)
        return usageFault(
            said(VELIMORO_TEXT_NOOP("velimoro-studio", "知らないオプションか引数です: %1"),
                 {args[i + 3]}));
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
      return usageFault(
          said(VELIMORO_TEXT_NOOP("velimoro-studio", "知らないオプションか、値がありません: %1"),
               {arg}));
    }
  }
  if (calibrating) return calibrateFile(c);
  return runWindow(argc, argv, window);
}
