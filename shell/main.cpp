// The simulator's window program: the title screen on a data root, or with a train and a route
// on the command line the cab window of that drive.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#ifdef _WIN32
#include <windows.h>
#endif

#include "data/data_error.h"
#include "data/data_root.h"
#include "media/qt_language.h"
#include "media/qt_settings_store.h"
#include "persist/settings.h"
#include "present/title.h"
#include "shell/cab_window.h"
#include "shell/command_line.h"
#include "shell/end_signals.h"
#include "shell/first_start.h"
#include "shell/title_window.h"

namespace {

using velimoro::shell::Arguments;

// The data root of the title screen: the one given, else the one found (the program's folder,
// the current folder, the user's data folder); empty when none holds the UI string file.
std::string titleRoot(const Arguments& args) {
  if (args.rootGiven)
    return velimoro::holdsUiStrings(args.setup.root) ? args.setup.root : std::string();
  const std::filesystem::path program = QCoreApplication::applicationDirPath().toStdString();
  return velimoro::findDataRoot(program).string();
}

void showMessage(bool unattended, const std::string& text) {
  if (unattended) {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  } else {
    QMessageBox::critical(nullptr, velimoro::shell::programTitle(), QString::fromStdString(text));
  }
}

// The title screen, until it is closed; unattended it runs `seconds` and keeps its picture.
int runTitle(QApplication& app, const Arguments& args, bool unattended) {
  std::string root = titleRoot(args);
  if (root.empty() && !args.rootGiven) {
    const std::optional<std::string> rendered = velimoro::shell::renderDemoOnFirstStart(unattended);
    if (rendered && rendered->empty()) return 1;  // cancelled, or failed with its message
    if (rendered) root = *rendered;
  }
  if (root.empty()) {
    showMessage(unattended, velimoro::media::translate("Title", velimoro::kMissingUiStrings));
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

// The scale the cab screen is composed at: the one asked for; for a screenshot without one, the
// logical screen; else the window's own.
double composeScale(const Arguments& args) {
  if (args.screenshotScale > 0) return args.screenshotScale;
  return args.screenshot.isEmpty() ? 0 : 1;
}

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

// Whether Qt has a screen to open windows on: a display server, or a platform named for it.
bool displayAvailable(int argc, char** argv) {
#ifdef _WIN32
  return true;
#else
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (!qEnvironmentVariableIsEmpty(name)) return true;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
      return true;
  return false;
#endif
}

// The language of every text from the start, the command line's help and Qt's dialogs among them:
// the one asked for, else the one kept in the settings, else the system's.
void applyLanguage(const QStringList& args) {
  velimoro::media::QtSettingsStore store;
  velimoro::media::useLanguage(velimoro::media::startLanguage(
      velimoro::shell::languageAsked(args).value_or(""), velimoro::readLanguage(store)));
}

// A file the command line names that cannot be written.
int cannotWrite(const QString& path) {
  std::fputs(
      QCoreApplication::translate("velimoro::shell::Program", "velimoro: %1 に書き込めません\n")
          .arg(path)
          .toLocal8Bit()
          .constData(),
      stderr);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (!displayAvailable(argc, argv)) {
    // Without a display Qt would end in its platform plugin's fault; the help, the version and
    // command-line faults still answer, everything else says what to use instead.
    QCoreApplication core(argc, argv);
    applyLanguage(QCoreApplication::arguments());
    const velimoro::shell::ParsedCommandLine parsed =
        velimoro::shell::parseCommandLine(QCoreApplication::arguments());
    if (parsed.exitStatus) return *parsed.exitStatus;
    std::fputs(
        QCoreApplication::translate(
            "velimoro::shell::Program",
            "velimoro: ウィンドウを開く画面がありません（DISPLAY も WAYLAND_DISPLAY も"
            "設定されていません）。画面なしで運転するには velimoro-drive を使ってください。\n")
            .toLocal8Bit()
            .constData(),
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("鉄道運転シミュレータ"));
  velimoro::shell::endCleanlyOnSignals(app);
  applyLanguage(QApplication::arguments());
  const velimoro::shell::ParsedCommandLine parsed =
      velimoro::shell::parseCommandLine(QApplication::arguments());
  if (parsed.exitStatus) return *parsed.exitStatus;
  Arguments args = parsed.arguments;
  // Runs without a user at the screen never wait on a message box.
  const bool unattended = !args.screenshot.isEmpty() || args.measure || args.timed;
  if (args.setup.trainFile.empty() && args.setup.routeFile.empty())
    return runTitle(app, args, unattended);
  if (!args.rootGiven) {
    const std::filesystem::path found =
        velimoro::findDataRoot(QCoreApplication::applicationDirPath().toStdString());
    args.setup.root = found.empty() ? "." : found.string();
  }
  velimoro::media::QtSettingsStore store;
  std::unique_ptr<velimoro::shell::CabWindow> window;
  try {
    window = std::make_unique<velimoro::shell::CabWindow>(
        args.setup, velimoro::shell::CabOptions{unattended, args.band, {}, composeScale(args)},
        store);
  } catch (const velimoro::DataError& e) {
    showMessage(unattended, e.what());
    return 1;
  }
  std::ofstream record;
  if (!args.record.isEmpty()) {
    record.open(args.record.toStdString());
    if (!record) return cannotWrite(args.record);
    window->recordTo(&record);
  }
  std::ofstream trace;
  if (!args.trace.isEmpty()) {
    trace.open(args.trace.toStdString());
    if (!trace) return cannotWrite(args.trace);
    window->traceTo(trace);
  }
  // The window as large as the screen composed at the scale asked for, so it shows it unscaled.
  if (args.screenshotScale > 0) {
    window->resize(static_cast<int>(std::lround(window->width() * args.screenshotScale)),
                   static_cast<int>(std::lround(window->height() * args.screenshotScale)));
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
      if (!args.screenshot.isEmpty())
        window->windowPicture(std::max(args.screenshotScale, 1.0)).save(args.screenshot);
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
