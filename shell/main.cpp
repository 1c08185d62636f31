// The simulator's window program: the title screen on a data root, or with a train and a route
// on the command line the cab window of that drive.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#ifdef _WIN32
#include <windows.h>
#endif

#include "data/data_error.h"
#include "media/qt_settings_store.h"
#include "present/title.h"
#include "shell/cab_window.h"
#include "shell/title_window.h"

namespace {

struct Arguments {
  velimoro::DriveSetup setup;
  QString screenshot;  // write the screen here after `seconds` of driving and quit
  double seconds = 5;
  bool timed = false;    // --seconds given: drive that long unattended, then quit
  bool band = false;     // the band display: a first argument of exactly "1", or --band
  QString keys;          // typed one every 250 ms once the drive has started
  bool measure = false;  // print the steps and passes a second and the UI thread's load, and quit
  QString record;        // every input of the drive, as a script the headless driver replays
  QString trace;         // one row of state fields per tick, as the headless driver writes
  bool rootGiven = false;
  QString serial;  // connect the serial master controller on this port at start
};

bool holdsUiStrings(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::exists(folder / "dorvanel.dat", error);
}

// The data root of the title screen: the one given, else the program's own folder or the current
// folder, whichever holds the UI string file; empty when none does.
std::string titleRoot(const Arguments& args) {
  if (args.rootGiven) return holdsUiStrings(args.setup.root) ? args.setup.root : std::string();
  const std::filesystem::path program = QCoreApplication::applicationDirPath().toStdString();
  if (holdsUiStrings(program)) return program.string();
  if (holdsUiStrings(".")) return ".";
  return {};
}

void showMessage(bool unattended, const std::string& text) {
  if (unattended) {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  } else {
    QMessageBox::critical(nullptr, QStringLiteral("鉄道運転シミュレータ"),
                          QString::fromStdString(text));
  }
}

// The title screen, until it is closed; unattended it runs `seconds` and keeps its picture.
int runTitle(QApplication& app, const Arguments& args, bool unattended) {
  const std::string root = titleRoot(args);
  if (root.empty()) {
    showMessage(unattended, velimoro::kMissingUiStrings);
    return 1;
  }
  velimoro::media::QtSettingsStore store;
  std::random_device seed;
  const int titlePicture = std::uniform_int_distribution<int>(0, 5)(seed);
  velimoro::shell::TitleWindow title(root, velimoro::shell::CabOptions{unattended, args.band, {}},
                                     store, titlePicture);
  title.show();
  if (unattended) {
    QTimer::singleShot(static_cast<int>(args.seconds * 1000), [&] {
      if (!args.screenshot.isEmpty()) title.picture().save(args.screenshot);
      app.quit();
    });
  }
  return app.exec();
}

constexpr int kKeyIntervalMs = 250;

// CPU time the calling thread has used, in seconds.
double threadCpuSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) * 1e-7;
#else
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

Arguments parseArguments(const QStringList& args) {
  Arguments a;
  // Shortcuts of the Windows world pass "1" first for the band display.
  const int first = args.size() > 1 && args[1] == "1" ? 2 : 1;
  a.band = first == 2;
  for (int i = first; i < args.size(); ++i) {
    const QString& flag = args[i];
    if (flag == "--measure" || flag == "--band") {  // the flags without a value
      if (flag == "--measure") a.measure = true;
      if (flag == "--band") a.band = true;
      continue;
    }
    if (i + 1 >= args.size()) break;
    const QString& value = args[++i];
    if (flag == "--root") {
      a.setup.root = value.toStdString();
      a.rootGiven = true;
    }
    if (flag == "--train") a.setup.trainFile = value.toStdString();
    if (flag == "--train-folder") a.setup.trainFolder = value.toStdString();
    if (flag == "--route") a.setup.routeFile = value.toStdString();
    if (flag == "--start") a.setup.startIndex = value.toInt();
    if (flag == "--screenshot") a.screenshot = value;
    if (flag == "--seconds") {
      a.seconds = value.toDouble();
      a.timed = true;
    }
    if (flag == "--keys") a.keys = value;
    if (flag == "--record") a.record = value;
    if (flag == "--trace") a.trace = value;
    if (flag == "--serial") a.serial = value;
  }
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("鉄道運転シミュレータ"));
  Arguments args = parseArguments(QApplication::arguments());
  // Runs without a user at the screen never wait on a message box.
  const bool unattended = !args.screenshot.isEmpty() || args.measure || args.timed;
  if (args.setup.trainFile.empty() && args.setup.routeFile.empty())
    return runTitle(app, args, unattended);
  if (args.setup.trainFile.empty() || args.setup.routeFile.empty()) {
    std::fprintf(
        stderr,
        "usage: velimoro [--root DIR] [--train FILE --route FILE] [--train-folder DIR] "
        "[--start N] [--band] [--screenshot FILE.png] [--measure] [--seconds S] [--keys KEYS] "
        "[--record FILE] [--trace FILE.csv] [--serial PORT]\n");
    return 2;
  }
  if (!args.rootGiven) args.setup.root = ".";
  velimoro::media::QtSettingsStore store;
  std::unique_ptr<velimoro::shell::CabWindow> window;
  try {
    window = std::make_unique<velimoro::shell::CabWindow>(
        args.setup, velimoro::shell::CabOptions{unattended, args.band, {}}, store);
  } catch (const velimoro::DataError& e) {
    showMessage(unattended, e.what());
    return 1;
  }
  std::ofstream record;
  if (!args.record.isEmpty()) {
    record.open(args.record.toStdString());
    if (!record) {
      std::fprintf(stderr, "velimoro: cannot write %s\n", args.record.toLocal8Bit().constData());
      return 1;
    }
    window->recordTo(&record);
  }
  std::ofstream trace;
  if (!args.trace.isEmpty()) {
    trace.open(args.trace.toStdString());
    if (!trace) {
      std::fprintf(stderr, "velimoro: cannot write %s\n", args.trace.toLocal8Bit().constData());
      return 1;
    }
    window->traceTo(trace);
  }
  window->show();
  if (!args.serial.isEmpty()) window->connectSerial(args.serial.toStdString());
  if (unattended) {
    // Drive for a while, typing the keys given, then keep what the screen shows or report how
    // fast it was drawn.
    window->toggleStart();
    for (int i = 0; i < args.keys.size(); ++i) {
      const char key = args.keys[i].toLatin1();
      QTimer::singleShot((i + 1) * kKeyIntervalMs, [&window, key] { window->typeKey(key); });
    }
    // Rates are taken over the wall time since Start, which the first steps are counted from.
    QElapsedTimer sinceStart;
    sinceStart.start();
    const double cpuAtStart = threadCpuSeconds();
    const std::clock_t processCpuAtStart = std::clock();
    const std::int64_t flipsAtStart = window->flipCount();
    const velimoro::StepScheduler& steps = window->session().scheduler();
    const std::int64_t fastAtStart = steps.fastSteps();
    const std::int64_t ticksAtStart = steps.ticks();
    QTimer::singleShot(static_cast<int>(args.seconds * 1000), [&] {
      window->endRecording();
      if (!args.screenshot.isEmpty()) window->windowPicture().save(args.screenshot);
      if (args.measure) {
        const double wall = static_cast<double>(sinceStart.nsecsElapsed()) * 1e-9;
        const double passes = static_cast<double>(window->flipCount() - flipsAtStart);
        const double processCpu =
            static_cast<double>(std::clock() - processCpuAtStart) / CLOCKS_PER_SEC;
        const auto perSecond = [&](std::int64_t count) {
          return static_cast<double>(count) / wall;
        };
        std::printf(
            "fast steps: %.2f a second, ticks: %.2f a second, dropped: %lld ms; screen passes: "
            "%.0f in %.1f s, %.1f a second; CPU: UI thread %.1f %%, whole program %.1f %% of one "
            "core\n",
            perSecond(steps.fastSteps() - fastAtStart), perSecond(steps.ticks() - ticksAtStart),
            static_cast<long long>(steps.droppedMs()), passes, wall, passes / wall,
            100.0 * (threadCpuSeconds() - cpuAtStart) / wall, 100.0 * processCpu / wall);
      }
      app.quit();
    });
  }
  return app.exec();
}
