#include "tools/drive/headless.h"

#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "cab/report.h"
#include "cab/report_output.h"
#include "cab/script.h"
#include "cab/session.h"
#include "cab/trace.h"
#include "data/data_error.h"
#include "data/numbers.h"
#include "data/rounding.h"
#include "media/qt_settings_store.h"
#include "media/translate.h"
#include "persist/save_slots.h"
#include "persist/settings.h"
#include "sim/driver_aids.h"
#include "sim/state_fields.h"
#include "tools/drive/event_log.h"
#include "tools/end_signal.h"

namespace velimoro::headless {
namespace {

// An end signal ends the drive at the next second of drive time.
using tools::g_endSignal;

// Runs every step due before `driveMs` a second of drive time at a time; false when an end
// signal came first.
bool runTo(CabSession& session, std::int64_t driveMs) {
  constexpr std::int64_t kSliceMs = 1000;
  while (g_endSignal == 0) {
    if (session.now() + kSliceMs >= driveMs) {
      session.runUntil(driveMs);
      return true;
    }
    session.runUntil(session.now() + kSliceMs);
  }
  return false;
}

constexpr double kDefaultSeconds = 60;

// A fault of the command line or of the drive's files: `text` translated, its values in %1 ...
std::runtime_error fault(const std::string& text, std::initializer_list<std::string_view> values) {
  return std::runtime_error(media::fill(text, values));
}

int requireInt(const std::string& text, const std::string& what) {
  const auto value = parseInt(text);
  if (!value)
    throw fault(
        media::translate("HeadlessDrive", "%1 には整数を指定してください（「%2」ではなく）"),
        {what, text});
  return *value;
}

DriveSettings parseSettings(const std::string& text) {
  DriveSettings settings;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    const std::size_t eq = item.find('=');
    if (eq == std::string::npos)
      throw fault(media::translate("HeadlessDrive", "--settings: 名前=値 の形で指定してください"),
                  {});
    const std::string name = item.substr(0, eq);
    const int value = requireInt(item.substr(eq + 1), "--settings " + name);
    int DriveSettings::*setting = settingField(name);
    if (setting == nullptr)
      throw fault(media::translate("HeadlessDrive", "--settings: 「%1」という設定はありません"),
                  {name});
    settings.*setting = value;
  }
  return settings;
}

std::string formatMetres(long double cm) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1Lf m", cm / 100);
  return text;
}

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& flag = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size())
        throw fault(media::translate("HeadlessDrive", "%1 には値が必要です"), {flag});
      return args[++i];
    };
    if (flag == "--root") {
      options.root = value();
    } else if (flag == "--route") {
      options.route = value();
    } else if (flag == "--train") {
      options.train = value();
    } else if (flag == "--train-folder") {
      options.trainFolder = value();
    } else if (flag == "--start") {
      options.start = requireInt(value(), "--start");
    } else if (flag == "--start-frame") {
      options.startFrame = requireInt(value(), "--start-frame");
      if (options.startFrame < 0)
        throw fault(media::translate("HeadlessDrive", "--start-frame: フレーム番号ではありません"),
                    {});
    } else if (flag == "--script") {
      options.script = value();
    } else if (flag == "--seconds") {
      const std::string& text = value();
      const auto seconds = parseReal(text);
      if (!seconds || *seconds < 0)
        throw fault(media::translate("HeadlessDrive", "--seconds: 時間ではありません: %1"), {text});
      options.seconds = *seconds;
    } else if (flag == "--trace") {
      options.trace = value();
    } else if (flag == "--events") {
      options.events = value();
    } else if (flag == "--report") {
      options.report = value();
    } else if (flag == "--settings") {
      options.settings = parseSettings(value());
    } else {
      throw fault(media::translate("HeadlessDrive", "「%1」というオプションはありません"), {flag});
    }
  }
  if (options.route.empty() || options.train.empty()) {
    throw fault(media::translate("HeadlessDrive", "--route と --train は必須です"), {});
  }
  return options;
}

void endDrivesOnSignals() {
  tools::recordEndSignals();
}

int runDrive(const Options& options, std::ostream& out, std::ostream& err) {
  try {
    std::vector<ScriptCommand> commands;
    if (!options.script.empty()) {
      std::ifstream in(options.script);
      if (!in)
        throw fault(media::translate("HeadlessDrive", "スクリプト %1 を開けません"),
                    {options.script});
      commands = parseScript(in, options.script);
    }
    bool quits = false;
    for (const ScriptCommand& c : commands)
      quits = quits || c.name == "quit";
    const double seconds =
        options.seconds ? *options.seconds : (quits ? 1e9 / 1000 : kDefaultSeconds);

    EventLog log;
    LoggingSoundLayer sound(log);
    LoggingMessages messages(log, err);
    media::FileCheckPictureLoader pictures;
    DriveSetup setup;
    setup.root = options.root.empty() ? "." : options.root;
    setup.trainFolder = options.trainFolder;
    setup.trainFile = options.train;
    setup.routeFile = options.route;
    setup.startIndex = options.start;
    setup.startFrame = options.startFrame;
    setup.settings = options.settings;
    // The save slots and the button pad's codes are the window's: XDG_CONFIG_HOME keeps runs
    // apart. A recording of the window sets the codes it drove with.
    media::QtSettingsStore store;
    readControllerCodes(store, setup.controllers);
    CabSession session(setup, DriveMedia{sound, pictures, messages, nullptr});
    session.useSettingsStore(&store);
    const Drive& drive = session.drive();
    log.setClock(&drive.state.fast_tick_count);

    std::ofstream trace;
    if (!options.trace.empty()) {
      trace.open(options.trace);
      if (!trace)
        throw fault(media::translate("HeadlessDrive", "%1 に書き込めません"), {options.trace});
      writeTraceHeader(trace);
    }

    // The notches the fast step left in effect: a change is an event.
    int power = drive.state.power_notch;
    int brake = drive.state.brake_notch;
    session.afterFastStep = [&] {
      const SimState& s = drive.state;
      if (s.power_notch != power || s.brake_notch != brake) {
        log.add("notch", -1,
                "P" + std::to_string(s.power_notch) + " B" + std::to_string(s.brake_notch));
      }
    };
    session.beforeFastStep = [&] {
      power = drive.state.power_notch;
      brake = drive.state.brake_notch;
    };
    // An automatic brake coming on is an event, named by its cause.
    int cause = drive.state.brake_cause;
    session.afterTick = [&] {
      if (trace.is_open()) writeTraceRow(trace, drive.state);
      if (drive.state.brake_cause != cause && drive.state.brake_cause != 0)
        log.add("brake", -1, brakeCauseName(brakeCauseOf(drive.state.brake_cause)));
      cause = drive.state.brake_cause;
    };
    // A jump or a restore: what follows runs from the new place.
    session.afterMove = [&](int station) { log.add("move", -1, std::to_string(station)); };

    std::optional<RunReportCollector> report;
    if (!options.report.empty()) {
      report.emplace(drive);
      attachReport(session, *report);
    }

    const SimState startState = drive.state;
    const std::int64_t endMs = roundHalfEven(static_cast<long double>(seconds) * 1000);
    std::int64_t simulatedMs = endMs;
    for (const ScriptCommand& command : commands) {
      if (command.atMs > endMs) break;
      if (!runTo(session, command.atMs)) break;
      session.execute(command);
      if (session.quitRequested()) {
        simulatedMs = command.atMs;
        break;
      }
    }
    if (!session.quitRequested() && g_endSignal == 0) runTo(session, endMs + 1);
    const int endSignal = g_endSignal;
    if (endSignal != 0) {
      simulatedMs = session.now();
      err << "velimoro-drive: "
          << media::fill(media::translate("HeadlessDrive", "シグナル %1 で終わりました"),
                         {std::to_string(endSignal)})
          << '\n';
    }

    if (!options.events.empty()) {
      std::ofstream events(options.events);
      if (!events)
        throw fault(media::translate("HeadlessDrive", "%1 に書き込めません"), {options.events});
      log.write(events);
    }

    std::optional<RunReport> finished;
    if (report) {
      finished = report->report();
      if (!writeReportFile(options.report, *finished))
        throw fault(media::translate("HeadlessDrive", "%1 に書き込めません"), {options.report});
    }

    const SimState& s = drive.state;
    char speed[32];
    std::snprintf(speed, sizeof speed, "%.1Lf", s.speed);
    char simulated[32];
    std::snprintf(simulated, sizeof simulated, "%g", static_cast<double>(simulatedMs) / 1000.0);
    const auto line = [&out](const std::string& text,
                             std::initializer_list<std::string_view> values) {
      out << media::fill(text, values) << '\n';
    };
    line(media::translate("HeadlessDrive", "velimoro-drive: %1（%2）、車両 %3、開始 %4"),
         {drive.route->lineName, options.route, options.train, std::to_string(options.start)});
    line(media::translate("HeadlessDrive",
                          "  模擬時間 %1 秒: 高速ステップ %2 回、ティック %3 回、イベント %4 件"),
         {simulated, std::to_string(session.scheduler().fastSteps()),
          std::to_string(session.scheduler().ticks()), std::to_string(log.size())});
    line(media::translate("HeadlessDrive",
                          "  時刻 %1、フレーム %2 → %3、位置 %4 → %5、速度 %6 km/h"),
         {s.clock_text, std::to_string(startState.frame), std::to_string(s.frame),
          formatMetres(startState.position_cm), formatMetres(s.position_cm), speed});
    line(media::translate("HeadlessDrive", "  力行ノッチ %1、ブレーキノッチ %2、次の駅 %3"),
         {std::to_string(s.power_notch), std::to_string(s.brake_notch), s.next_station_text});
    bool slotsUsed = false;
    for (const ScriptCommand& c : commands)
      slotsUsed = slotsUsed || c.name == "save" || c.name == "load";
    for (int slot = 1; slotsUsed && slot <= kSaveSlots; ++slot)
      line(media::translate("HeadlessDrive", "  スロット %1: %2 %3"),
           {std::to_string(slot), storedLine(store, slot), storedLabel(store, slot)});
    if (finished)
      line(media::translate("HeadlessDrive", "  運転成績 %1: 得点 %2"),
           {options.report, std::to_string(finished->score)});
#ifndef _WIN32
    if (endSignal == SIGHUP) return 128 + SIGHUP;
#endif
    return 0;
  } catch (const DataError& e) {
    err << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    err << "velimoro-drive: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace velimoro::headless
