#include "cab/session.h"

#include <cstdio>
#include <stdexcept>

#include "cab/tick.h"
#include "input/controls.h"
#include "present/scene_movies.h"
#include "present/sound_pause.h"
#include "sim/fast_step.h"
#include "sim/state_fields.h"

namespace velimoro {
namespace {

[[noreturn]] void scriptFault(const ScriptCommand& command, const std::string& why) {
  throw std::runtime_error("script line " + std::to_string(command.line) + ": " + why);
}

// "key <char>": one character, "space" for a blank, "hash" for "#".
char scriptKey(const ScriptCommand& command) {
  const std::string& text = command.args[0];
  if (text == "space") return ' ';
  if (text == "hash") return '#';
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

// Drive media whose sound is the session's timed layer.
DriveMedia withSound(const DriveMedia& media, media::SoundLayer& sound) {
  DriveMedia timed{sound, media.pictures, media.messages, media.status};
  timed.backToTitle = media.backToTitle;
  timed.showCrewChange = media.showCrewChange;
  timed.pictureStore = media.pictureStore;
  timed.sprites = media.sprites;
  return timed;
}

}  // namespace

std::string keyWord(char key) {
  if (key == ' ') return "space";
  if (key == '#') return "hash";
  return std::string(1, key);
}

std::string virtualKeyName(VirtualKey key) {
  for (const VirtualKeyName& entry : kVirtualKeys) {
    if (entry.key == key) return entry.name;
  }
  return {};
}

CabSession::CabSession(const DriveSetup& setup, DriveMedia media)
    : m_sound(std::make_unique<TimedSoundLayer>(media.sound, &m_nowMs)),
      m_drive(startDrive(setup, withSound(media, *m_sound))) {}

bool CabSession::openVideo(media::VideoReader& video, std::string& message) {
  m_video = &video;
  return openRouteVideo(*m_drive, video, message);
}

void CabSession::runUntil(std::int64_t driveMs) {
  while (const std::optional<StepScheduler::Due> due = m_scheduler.next()) {
    if (due->atMs >= driveMs) break;
    m_nowMs = due->atMs;
    runStep(due->step);
    m_scheduler.done();
  }
  m_nowMs = std::max(m_nowMs, driveMs);
}

void CabSession::advanceHost(std::int64_t hostMs) {
  runUntil(m_scheduler.catchUp(hostMs));
}

std::int64_t CabSession::nextStepHostMs() const {
  const std::optional<StepScheduler::Due> due = m_scheduler.next();
  // A step due at t runs once drive time has passed t.
  return due ? m_scheduler.hostTime(due->atMs) + 1 : -1;
}

void CabSession::runStep(StepScheduler::Step step) {
  if (step == StepScheduler::Step::kFast) {
    if (beforeFastStep) beforeFastStep();
    fastStep(*m_drive);
    advanceSceneFrame(m_pass, *m_drive);
    if (afterFastStep) afterFastStep();
  } else {
    simulationTick(*m_drive);
    if (m_video != nullptr) runSceneMovies(m_pass, *m_drive, *m_video);
    if (afterTick) afterTick();
  }
}

void CabSession::toggleStart() {
  // The Start menu item: starts both steps, or pauses them when they run; a pause silences the
  // sounds and resuming plays them again. The first start only starts.
  if (m_scheduler.running()) {
    pauseSounds(*m_drive);
    m_scheduler.pause();
  } else {
    if (m_started) resumeSounds(*m_drive);
    m_scheduler.start(m_nowMs);
    m_started = true;
  }
  m_drive->state.input_blocked = false;
  // The next screen pass draws the frame again.
  --m_pass.lastFetchedFrame;
}

void CabSession::execute(const ScriptCommand& command) {
  Drive& drive = *m_drive;
  if (command.name == "start") {
    toggleStart();
  } else if (command.name == "set") {
    const StateField* field = findStateField(command.args[0]);
    if (field == nullptr || !setStateField(drive.state, *field, command.args[1])) {
      scriptFault(command, "cannot set \"" + command.args[0] + "\" to \"" + command.args[1] + "\"");
    }
  } else if (command.name == "key") {
    asciiDown(drive, scriptKey(command));
  } else if (command.name == "vkey") {
    pressVirtualKey(drive, command);
  } else if (command.name == "wheel") {
    if (command.args[0] == "up") {
      wheelUp(drive);
    } else if (command.args[0] == "down") {
      wheelDown(drive);
    } else {
      scriptFault(command, "wheel turns up or down, not \"" + command.args[0] + "\"");
    }
  } else if (command.name == "quit") {
    m_quit = true;
  } else {
    scriptFault(command, "unknown command \"" + command.name + "\"");
  }
  record(command);
}

void CabSession::input(const std::string& name, std::vector<std::string> args) {
  ScriptCommand command;
  command.atMs = m_nowMs;
  command.name = name;
  command.args = std::move(args);
  execute(command);
}

void CabSession::record(const ScriptCommand& command) {
  if (m_record == nullptr) return;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%lld.%03lld", static_cast<long long>(m_nowMs / 1000),
                static_cast<long long>(m_nowMs % 1000));
  *m_record << seconds << ' ' << command.name;
  for (const std::string& arg : command.args)
    *m_record << ' ' << arg;
  *m_record << '\n';
  m_record->flush();
}

}  // namespace velimoro
