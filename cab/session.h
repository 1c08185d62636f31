#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cab/drive.h"
#include "cab/scheduler.h"
#include "cab/script.h"
#include "cab/timed_sound_layer.h"
#include "input/controls.h"
#include "media/settings_store.h"
#include "media/video_reader.h"
#include "present/screen_pass.h"

namespace velimoro {

/// One drive as both hosts run it: the drive, its scheduler, Start and pause with the sounds'
/// pause memory, the scene movies, and every input as a command of the script format. The
/// window gives it the monotonic time and its events; the headless driver its script time and
/// commands. Either way the same commands at the same drive times give the same drive, and
/// with a recording stream set every input is written there as a script line.
class CabSession {
 public:
  /// Starts the drive of `setup` (throws DataError as the start-up does). The drive's sounds
  /// go through `media.sound`, timed on drive time.
  CabSession(const DriveSetup& setup, DriveMedia media);
  CabSession(const CabSession&) = delete;
  CabSession& operator=(const CabSession&) = delete;

  Drive& drive() { return *m_drive; }
  const Drive& drive() const { return *m_drive; }
  ScreenPass& pass() { return m_pass; }
  const ScreenPass& pass() const { return m_pass; }
  const StepScheduler& scheduler() const { return m_scheduler; }
  /// The drive's sound channels as drive time sees them.
  const TimedSoundLayer& sound() const { return *m_sound; }

  /// Opens the route video into `video`, which then also shows the scene movies; false with the
  /// user's message when it cannot be opened (the drive goes on without pictures).
  bool openVideo(media::VideoReader& video, std::string& message);

  /// The settings store of the save slots; without one a save fails and nothing is saved.
  void useSettingsStore(media::SettingsStore* store);

  /// Run around every fast step and after every tick (the headless trace and events).
  std::function<void()> beforeFastStep;
  std::function<void()> afterFastStep;
  std::function<void()> afterTick;
  /// Run after the train is put at a station (its index) or at a restored place (-1).
  std::function<void(int)> afterMove;
  /// Run just before every tick: the window polls the game controller there, so that a change
  /// is an input at the tick that scans it.
  std::function<void()> beforeTick;
  /// Writes every input from now on to `out` as script lines, first the button pad's codes;
  /// null stops the recording.
  void recordTo(std::ostream* out);

  /// Drive time now, in ms.
  std::int64_t now() const { return m_nowMs; }
  /// Runs every step due before drive time `driveMs`; drive time is then `driveMs`.
  void runUntil(std::int64_t driveMs);
  /// The window's clock: catches up at most a second of steps after a stall, then runs what is
  /// due by host time `hostMs`.
  void advanceHost(std::int64_t hostMs);
  /// Host time at which the next step falls due and runs, or -1 while paused.
  std::int64_t nextStepHostMs() const;

  /// Carries out one input at the present drive time and records it. Throws
  /// std::runtime_error naming the line of `command` when its arguments are wrong.
  void execute(const ScriptCommand& command);
  /// The same for an input given by name and arguments, as the window's events do.
  void input(const std::string& name, std::vector<std::string> args = {});

  /// The drive ends: the steps stop, the protection brakes and power come off and every sound
  /// channel stops.
  void shutDown();

  /// The map lines the last chunk of the serial controller matched.
  const SerialMatch& lastSerialMatch() const { return m_lastSerialMatch; }

  bool running() const { return m_scheduler.running(); }
  bool started() const { return m_started; }
  bool quitRequested() const { return m_quit; }

 private:
  void toggleStart();
  void runStep(StepScheduler::Step step);
  void record(const ScriptCommand& command);
  void save(int slot);
  void load(int slot);
  std::vector<int> savedFrames() const;
  void expectSavedJumps();
  void jump(const ScriptCommand& command);

  std::int64_t m_nowMs = 0;
  std::unique_ptr<TimedSoundLayer> m_sound;
  std::unique_ptr<Drive> m_drive;
  ScreenPass m_pass;
  StepScheduler m_scheduler;
  media::VideoReader* m_video = nullptr;
  std::ostream* m_record = nullptr;
  media::SettingsStore* m_store = nullptr;
  bool m_started = false;
  bool m_quit = false;
  SerialMatch m_lastSerialMatch;
};

}  // namespace velimoro
