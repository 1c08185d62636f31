#include "tools/drive/headless.h"

#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "cab/tick.h"
#include "data/data_error.h"
#include "data/numbers.h"
#include "data/rounding.h"
#include "input/controls.h"
#include "present/sound_pause.h"
#include "sim/fast_step.h"
#include "sim/state_fields.h"
#include "sim/tick.h"
#include "tools/drive/event_log.h"
#include "tools/drive/script.h"

namespace velimoro::headless {
namespace {

constexpr std::int64_t kFastStepMs = 33;
constexpr std::int64_t kTickMs = 100;
constexpr double kDefaultSeconds = 60;

int requireInt(const std::string& text, const std::string& what) {
  const auto value = parseInt(text);
  if (!value) throw std::runtime_error(what + " must be a whole number, not \"" + text + "\"");
  return *value;
}

DriveSettings parseSettings(const std::string& text) {
  DriveSettings settings;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    const std::size_t eq = item.find('=');
    if (eq == std::string::npos) throw std::runtime_error("--settings: expected name=value");
    const std::string name = item.substr(0, eq);
    const int value = requireInt(item.substr(eq + 1), "--settings " + name);
    if (name == "kanko") {
      settings.kanko = value;
    } else if (name == "information") {
      settings.information = value;
    } else if (name == "ats") {
      settings.ats = value;
    } else {
      throw std::runtime_error("--settings: unknown setting \"" + name + "\"");
    }
  }
  return settings;
}

[[noreturn]] void scriptFault(const ScriptCommand& command, const std::string& why) {
  throw std::runtime_error("script line " + std::to_string(command.line) + ": " + why);
}

// "key <char>": one character, "space" for a blank.
char scriptKey(const ScriptCommand& command) {
  const std::string& text = command.args[0];
  if (text == "space") return ' ';
  if (text.size() != 1) scriptFault(command, "key takes one character, not \"" + text + "\"");
  return text[0];
}

struct VirtualKeyName {
  const char* name;
  VirtualKey key;
};

constexpr VirtualKeyName kVirtualKeys[] = {
    {"Enter", VirtualKey::kEnter},
    {"BackSpace", VirtualKey::kBackSpace},
    {"ScrollLock", VirtualKey::kScrollLock},
    {"PageUp", VirtualKey::kPageUp},
    {"PageDown", VirtualKey::kPageDown},
    {"Left", VirtualKey::kLeft},
    {"Right", VirtualKey::kRight},
    {"F1", VirtualKey::kF1},
    {"F2", VirtualKey::kF2},
    {"F3", VirtualKey::kF3},
    {"F4", VirtualKey::kF4},
    {"F5", VirtualKey::kF5},
    {"F6", VirtualKey::kF6},
    {"F7", VirtualKey::kF7},
    {"F8", VirtualKey::kF8},
    {"F9", VirtualKey::kF9},
    {"F10", VirtualKey::kF10},
    {"F11", VirtualKey::kF11},
    {"F12", VirtualKey::kF12},
};

// "vkey <name> [shift]".
void pressVirtualKey(Drive& drive, const ScriptCommand& command) {
  const std::string& name = command.args[0];
  const bool shift = command.args.size() == 2;
  if (shift && command.args[1] != "shift") {
    scriptFault(command, "expected \"shift\" after the key, not \"" + command.args[1] + "\"");
  }
  for (const VirtualKeyName& entry : kVirtualKeys) {
    if (name == entry.name) {
      keyDown(drive, entry.key, shift);
      return;
    }
  }
  scriptFault(command, "unknown virtual key \"" + name + "\"");
}

// Runs the steps on simulated time: fast steps at 33 ms x k and ticks at 100 ms x k while the
// drive runs, the fast step first when both fall due together, script commands before the steps
// of their instant.
class Runner {
 public:
  Runner(Drive& drive, EventLog& log, std::ostream* trace, std::int64_t& nowMs)
      : m_drive(drive), m_log(log), m_trace(trace), m_nowMs(nowMs) {}

  void run(const std::vector<ScriptCommand>& commands, std::int64_t endMs) {
    std::size_t next = 0;
    for (;;) {
      const std::int64_t commandMs =
          next < commands.size() ? commands[next].atMs : std::numeric_limits<std::int64_t>::max();
      const std::int64_t stepMs = m_running ? std::min(m_nextFastMs, m_nextTickMs)
                                            : std::numeric_limits<std::int64_t>::max();
      const std::int64_t nowMs = std::min(commandMs, stepMs);
      if (nowMs > endMs) break;
      m_nowMs = nowMs;
      if (commandMs <= stepMs) {
        if (!execute(commands[next++])) break;
        continue;
      }
      if (m_nextFastMs <= m_nextTickMs) {
        runFastStep();
        m_nextFastMs += kFastStepMs;
      } else {
        runTick();
        m_nextTickMs += kTickMs;
      }
    }
    m_nowMs = std::max(m_nowMs, std::min(endMs, m_quitMs));
  }

  std::int64_t nowMs() const { return m_nowMs; }
  int fastSteps() const { return m_fastSteps; }
  int ticks() const { return m_ticks; }

 private:
  bool execute(const ScriptCommand& command) {
    SimState& s = m_drive.state;
    if (command.name == "start") {
      // The Start menu item: starts both steps, or pauses them when they run; a pause silences
      // the sounds and resuming plays them again. The first start only starts.
      if (m_running) {
        pauseSounds(m_drive);
      } else if (m_started) {
        resumeSounds(m_drive);
      }
      m_started = true;
      m_running = !m_running;
      s.input_blocked = false;
      m_nextFastMs = (m_nowMs / kFastStepMs + 1) * kFastStepMs;
      m_nextTickMs = (m_nowMs / kTickMs + 1) * kTickMs;
    } else if (command.name == "set") {
      const StateField* field = findStateField(command.args[0]);
      if (field == nullptr || !setStateField(s, *field, command.args[1])) {
        throw std::runtime_error("script line " + std::to_string(command.line) + ": cannot set \"" +
                                 command.args[0] + "\" to \"" + command.args[1] + "\"");
      }
    } else if (command.name == "key") {
      asciiDown(m_drive, scriptKey(command));
    } else if (command.name == "vkey") {
      pressVirtualKey(m_drive, command);
    } else if (command.name == "wheel") {
      if (command.args[0] == "up") {
        wheelUp(m_drive);
      } else if (command.args[0] == "down") {
        wheelDown(m_drive);
      } else {
        scriptFault(command, "wheel turns up or down, not \"" + command.args[0] + "\"");
      }
    } else if (command.name == "quit") {
      m_quitMs = m_nowMs;
      return false;
    }
    return true;
  }

  void runFastStep() {
    SimState& s = m_drive.state;
    const int power = s.power_notch;
    const int brake = s.brake_notch;
    fastStep(m_drive);
    ++m_fastSteps;
    if (s.power_notch != power || s.brake_notch != brake) {
      m_log.add("notch", -1,
                "P" + std::to_string(s.power_notch) + " B" + std::to_string(s.brake_notch));
    }
  }

  void runTick() {
    simulationTick(m_drive);
    ++m_ticks;
    if (m_trace == nullptr) return;
    bool first = true;
    for (const std::string& column : traceColumns()) {
      if (!first) *m_trace << ',';
      first = false;
      *m_trace << csvQuote(formatStateField(m_drive.state, *findStateField(column)));
    }
    *m_trace << '\n';
  }

  Drive& m_drive;
  EventLog& m_log;
  std::ostream* m_trace;
  std::int64_t& m_nowMs;  // simulated time, shared with the sound layer
  bool m_running = false;
  bool m_started = false;
  std::int64_t m_quitMs = std::numeric_limits<std::int64_t>::max();
  std::int64_t m_nextFastMs = kFastStepMs;
  std::int64_t m_nextTickMs = kTickMs;
  int m_fastSteps = 0;
  int m_ticks = 0;
};

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
      if (i + 1 >= args.size()) throw std::runtime_error(flag + " needs a value");
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
    } else if (flag == "--script") {
      options.script = value();
    } else if (flag == "--seconds") {
      const std::string& text = value();
      const auto seconds = parseReal(text);
      if (!seconds || *seconds < 0) throw std::runtime_error("--seconds: not a duration: " + text);
      options.seconds = *seconds;
    } else if (flag == "--trace") {
      options.trace = value();
    } else if (flag == "--events") {
      options.events = value();
    } else if (flag == "--settings") {
      options.settings = parseSettings(value());
    } else {
      throw std::runtime_error("unknown option \"" + flag + "\"");
    }
  }
  if (options.route.empty() || options.train.empty()) {
    throw std::runtime_error("--route and --train are required");
  }
  return options;
}

const std::vector<std::string>& traceColumns() {
  static const std::vector<std::string> columns = {
      "fast_tick_count",
      "tick_count",
      "speed",
      "force",
      "resistance",
      "slip_text",
      "frame",
      "frame_scale",
      "calib_index",
      "position_cm",
      "remain_cm",
      "gradient",
      "power_handle",
      "brake_handle",
      "power_notch",
      "brake_notch",
      "sap_notch",
      "reverser",
      "hold_engaged",
      "power_mode",
      "const_speed",
      "reverser_text",
      "power_text",
      "brake_text",
      "gear_text",
      "bc",
      "bc_gauge",
      "bp",
      "mr",
      "sap",
      "er",
      "compressor_on",
      "eb_device_count",
      "eb_lamp",
      "gear",
      "gear_index",
      "gear_shifting",
      "engine_running",
      "ammeter",
      "voltmeter",
      "signal_aspect",
      "ats_state",
      "ats_eb",
      "ats_pattern_brake",
      "atsp_state",
      "ats_warning",
      "ats_timer",
      "pattern_text",
      "traffic_stop_text",
      "traffic_detect_text",
      "doors_open",
      "door_cmd",
      "lamp_door",
      "station_index",
      "next_station_text",
      "next_stop_cm",
      "crew_text",
      "window_station",
      "run_ended",
      "pre_train_frame",
      "clock_text",
      "status_text",
      "guidance_shown",
  };
  return columns;
}

int runDrive(const Options& options, std::ostream& out, std::ostream& err) {
  try {
    std::vector<ScriptCommand> commands;
    if (!options.script.empty()) {
      std::ifstream in(options.script);
      if (!in) throw std::runtime_error("cannot open script " + options.script);
      commands = parseScript(in, options.script);
    }
    bool quits = false;
    for (const ScriptCommand& c : commands)
      quits = quits || c.name == "quit";
    const double seconds =
        options.seconds ? *options.seconds : (quits ? 1e9 / 1000 : kDefaultSeconds);

    EventLog log;
    std::int64_t nowMs = 0;
    LoggingSoundLayer sound(log, &nowMs);
    LoggingMessages messages(log, err);
    media::FileCheckPictureLoader pictures;
    DriveSetup setup;
    setup.root = options.root.empty() ? "." : options.root;
    setup.trainFolder = options.trainFolder;
    setup.trainFile = options.train;
    setup.routeFile = options.route;
    setup.startIndex = options.start;
    setup.settings = options.settings;
    auto drive = startDrive(setup, DriveMedia{sound, pictures, messages, nullptr});
    log.setClock(&drive->state.fast_tick_count);

    std::ofstream trace;
    if (!options.trace.empty()) {
      trace.open(options.trace);
      if (!trace) throw std::runtime_error("cannot write " + options.trace);
      bool first = true;
      for (const std::string& column : traceColumns()) {
        trace << (first ? "" : ",") << column;
        first = false;
      }
      trace << '\n';
    }

    const SimState startState = drive->state;
    Runner runner(*drive, log, trace.is_open() ? &trace : nullptr, nowMs);
    runner.run(commands, roundHalfEven(static_cast<long double>(seconds) * 1000));

    if (!options.events.empty()) {
      std::ofstream events(options.events);
      if (!events) throw std::runtime_error("cannot write " + options.events);
      log.write(events);
    }

    const SimState& s = drive->state;
    char speed[32];
    std::snprintf(speed, sizeof speed, "%.1Lf km/h", s.speed);
    out << "velimoro-drive: " << drive->route->lineName << " (" << options.route << ") with "
        << options.train << " from start " << options.start << '\n';
    out << "  simulated " << static_cast<double>(runner.nowMs()) / 1000.0
        << " s: " << runner.fastSteps() << " fast steps, " << runner.ticks() << " ticks, "
        << log.size() << " events\n";
    out << "  clock " << s.clock_text << ", frame " << startState.frame << " -> " << s.frame
        << ", position " << formatMetres(startState.position_cm) << " -> "
        << formatMetres(s.position_cm) << ", speed " << speed << '\n';
    out << "  power notch " << s.power_notch << ", brake notch " << s.brake_notch
        << ", next station " << s.next_station_text << '\n';
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
