#include "cab/session.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "cab/tick.h"
#include "cab/window_commands.h"
#include "data/numbers.h"
#include "input/controls.h"
#include "media/translate.h"
#include "persist/save_slots.h"
#include "present/scene_movies.h"
#include "present/sound_pause.h"
#include "present/station_jump.h"
#include "sim/fast_step.h"
#include "sim/state_fields.h"

namespace velimoro {
namespace {

// A Display menu entry: the setting takes its new value; the beginner mode switches the train
// protection with it, and the first protection lamp shows whether it acts.
void changeSetting(Drive& drive, int DriveSettings::*setting, bool on) {
  drive.setup.settings.*setting = on ? 1 : 0;
  if (setting == &DriveSettings::ats) setBeginnerMode(drive.state, on);
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

CabSession::CabSession(const DriveSetup& setup, DriveMedia media)
    : m_sound(std::make_unique<TimedSoundLayer>(media.sound, &m_nowMs)),
      m_drive(startDrive(setup, withSound(media, *m_sound))) {}

bool CabSession::openVideo(media::VideoReader& video, std::string& message) {
  m_video = &video;
  m_pass.savedFrames = savedFrames();
  return openRouteVideo(*m_drive, video, message, m_pass.savedFrames);
}

void CabSession::useSettingsStore(media::SettingsStore* store) {
  m_store = store;
  if (m_video != nullptr) expectSavedJumps();
}

// The frames of the slots a restore would take on this route.
std::vector<int> CabSession::savedFrames() const {
  std::vector<int> frames;
  if (m_store == nullptr) return frames;
  for (int slot = 1; slot <= kSaveSlots; ++slot) {
    std::string message, fault;
    if (const std::optional<SavedState> saved = readSlot(*m_store, slot, *m_drive, message, fault))
      frames.push_back(saved->frame);
  }
  return frames;
}

// The route video's reader keeps the slots' frames ready, so that a restore shows its place at
// once; while a scene movie plays they are told when the route video comes back.
void CabSession::expectSavedJumps() {
  m_pass.savedFrames = savedFrames();
  if (m_pass.videoMode == kRouteVideo) expectRouteJumps(*m_drive, *m_video, m_pass.savedFrames);
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
    if (beforeTick) beforeTick();
    simulationTick(*m_drive);
    handlePostedKeys(*m_drive, m_drive->controllerInputs);
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

void CabSession::shutDown() {
  m_scheduler.pause();
  SimState& s = m_drive->state;
  s.ats_eb = false;
  s.ats_pattern_brake = false;
  s.power_notch = 0;
  for (int channel = 0; channel < media::SoundLayer::kChannels; ++channel)
    m_drive->media.sound.stop(channel);
}

void CabSession::execute(const ScriptCommand& command) {
  checkCommand(command);
  Drive& drive = *m_drive;
  if (command.name == "start") {
    toggleStart();
  } else if (command.name == "set") {
    setStateField(drive.state, *findStateField(command.args[0]), command.args[1]);
  } else if (command.name == "key") {
    asciiDown(drive, keyOfWord(command.args[0]).value_or(' '));
  } else if (command.name == "vkey") {
    keyDown(drive, *virtualKeyNamed(command.args[0]), command.args.size() == 2);
  } else if (command.name == "wheel") {
    if (command.args[0] == "up") {
      wheelUp(drive);
    } else {
      wheelDown(drive);
    }
  } else if (command.name == "setting") {
    changeSetting(drive, settingField(command.args[0]), command.args[1] == "1");
  } else if (command.name == "save") {
    save(*slotOfCommand(command));
  } else if (command.name == "load") {
    load(*slotOfCommand(command));
  } else if (command.name == "jump") {
    jump(command);
  } else if (command.name == "serial") {
    m_lastSerialMatch = serialChunk(drive, drive.controllerInputs,
                                    serialChunkOfWord(command.args[0]).value_or(std::string()));
    handlePostedKeys(drive, drive.controllerInputs);
  } else if (command.name == "joystick") {
    drive.controllerInputs.joystick =
        *joystickOfWords(command.args[0], command.args[1], command.args[2]);
  } else if (command.name == "padcodes") {
    padCodesOfWords(command.args, drive.setup.controllers);
  } else if (command.name == "controller") {
    drive.state.controller_type = command.args[0][0] - '0';
  } else if (command.name == "quit") {
    m_quit = true;
  } else {
    executeWindowCommand(drive, command);
  }
  record(command);
}

void CabSession::save(int slot) {
  media::MessageSink& messages = m_drive->media.messages;
  std::string error =
      media::translate("SaveSlots", "運転状態を保存できませんでした: 設定の保存先がありません");
  if (m_store != nullptr && saveSlot(*m_store, slot, *m_drive, error)) {
    messages.show(media::translate("SaveSlots", kSavedMessage));
    if (m_video != nullptr) expectSavedJumps();
  } else {
    messages.show(error);
  }
}

void CabSession::load(int slot) {
  std::string message = media::translate("SaveSlots", kNothingSavedMessage);
  std::string fault;
  const std::optional<SavedState> saved =
      m_store != nullptr ? readSlot(*m_store, slot, *m_drive, message, fault) : std::nullopt;
  if (!saved) {
    if (!fault.empty()) std::cerr << fault << '\n';
    m_drive->media.messages.show(message);
    return;
  }
  returnToRouteVideo(m_pass, *m_drive, m_video);
  restoreState(*m_drive, *saved);
  m_pass.lastFetchedFrame = -1;
  if (afterMove) afterMove(-1);
}

void CabSession::jump(const ScriptCommand& command) {
  const int station = *parseInt(command.args[0]);
  // The Move menu offers the stopping stations; a script may name any station of the route.
  if (station >= std::clamp(m_drive->route->stationCount, 0, RouteData::kTable)) {
    const std::string where = command.file.empty() ? "input" : command.file;
    throw std::runtime_error(
        where + ":" + std::to_string(command.line) + ": " +
        media::fill(media::translate("Script", "路線に駅 %1 がありません"), {command.args[0]}));
  }
  jumpToStation(m_pass, *m_drive, m_video, station);
  if (afterMove) afterMove(station);
}

void CabSession::input(const std::string& name, std::vector<std::string> args) {
  ScriptCommand command;
  command.atMs = m_nowMs;
  command.name = name;
  command.args = std::move(args);
  execute(command);
}

void CabSession::recordTo(std::ostream* out) {
  m_record = out;
  // The button pad's codes come from the settings store at start-up; the recording carries
  // them, so that it replays the same wherever the store holds others.
  ScriptCommand codes;
  codes.name = "padcodes";
  codes.args = padCodeWords(m_drive->setup.controllers);
  record(codes);
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
