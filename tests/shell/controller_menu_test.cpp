// The Controller menu's devices in the window process: an SDL virtual joystick drives the
// drive through the menu's polling, the recording replays to the same trace, and the setup
// window stores the button pad's codes where the next start-up reads them.
#include "shell/controller_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <cstdlib>
#include <sstream>

#include "cab/trace.h"
#include "media/qt_settings_store.h"
#include "persist/settings.h"
#include "shell/controller_setup_window.h"
#include "support/drive_run.h"
#include "support/test_support.h"
#include "support/virtual_joystick.h"

namespace velimoro {
namespace {

// The settings store of this test program, in a config folder of its own (the store finds its
// folder once per process).
media::SettingsStore& store() {
  static testing::TempDir config;
  static const bool moved = setenv("XDG_CONFIG_HOME", config.path().c_str(), 1) == 0;
  static media::QtSettingsStore settings;
  EXPECT_TRUE(moved);
  return settings;
}

// A session of the scenario train whose ticks write trace rows to `trace`.
struct TracedSession {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  std::unique_ptr<CabSession> session;
  std::ostringstream trace;

  TracedSession() {
    DriveSetup setup;
    setup.root = testing::kScenarioRoot;
    setup.trainFile = "electric_bt1.dat";
    setup.routeFile = "line_scenario.dat";
    session = std::make_unique<CabSession>(setup, DriveMedia{sound, pictures, messages, nullptr});
    session->afterTick = [this] { writeTraceRow(trace, session->drive().state); };
  }
  std::string handles() const {
    const SimState& s = session->drive().state;
    return "P" + std::to_string(s.power_handle) + " B" + std::to_string(-s.brake_handle);
  }
};

QAction* entry(QMenu& menu, const QString& text) {
  for (QAction* action : menu.actions()) {
    if (action->text() == text) return action;
  }
  ADD_FAILURE() << "no entry " << text.toStdString();
  return nullptr;
}

TEST(ControllerMenu, AVirtualJoystickDrivesTheAnaloguePadTypeAndTheRecordingReplays) {
  TracedSession window;
  std::ostringstream recording;
  window.session->recordTo(&recording);
  QMainWindow host;
  QMenu* menu = host.menuBar()->addMenu(QStringLiteral("Controller"));
  CabSession& session = *window.session;
  shell::ControllerMenu controllers(
      host, *menu, session,
      [&session](const std::string& name, std::vector<std::string> args) {
        session.input(name, std::move(args));
      },
      window.messages, store());
  session.input("start");
  testing::VirtualJoystick pad(2, 16);
  ASSERT_NE(pad.handle, nullptr) << SDL_GetError();
  pad.set(0, -12001, {});
  session.runUntil(1000);
  EXPECT_EQ(window.handles(), "P0 B9");  // the keyboard type reads no joystick

  entry(*menu, QStringLiteral("アナログ軸式ゲームコントローラ"))->trigger();
  session.runUntil(2000);
  EXPECT_EQ(window.handles(), "P3 B0");
  pad.set(13001, -12000, {1});  // EB; power stays on its edge; the announcement button
  session.runUntil(3000);
  EXPECT_EQ(window.handles(), "P3 B9");
  entry(*menu, QStringLiteral("デバッグオプション(&D)"))->trigger();
  session.runUntil(3200);
  EXPECT_EQ(host.windowTitle(), QStringLiteral("X:13001 Y:-12000"));
  // Unplugged, the drive goes on from the keyboard with the last state the pad gave.
  pad.detach();
  session.runUntil(3500);
  session.input("key", {"5"});
  session.runUntil(4000);
  EXPECT_EQ(window.handles(), "P0 B0");
  session.input("quit");

  const std::string script = recording.str();
  EXPECT_NE(script.find(" joystick 0 -12001 0\n"), std::string::npos) << script;
  EXPECT_NE(script.find(" joystick 13001 -12000 2\n"), std::string::npos) << script;
  TracedSession replay;
  std::istringstream in(script);
  for (const ScriptCommand& command : parseScript(in, "recording")) {
    replay.session->runUntil(command.atMs);
    replay.session->execute(command);
  }
  EXPECT_EQ(replay.trace.str(), window.trace.str());
}

TEST(ControllerSetupWindow, WalksThroughThePositionsAndStoresCodesTheNextStartUpReads) {
  media::SdlJoystick joystick;
  testing::VirtualJoystick pad(2, 16);
  ASSERT_NE(pad.handle, nullptr) << SDL_GetError();
  shell::ControllerSetupWindow setup(joystick, store());
  ControllerMap expected;
  // The converter's power handle on X and buttons 0..3, its brake handle on buttons 4..7.
  for (int p = 0; p < 6; ++p) {
    EXPECT_EQ(setup.askedPosition(), "P" + std::to_string(p));
    pad.set(1000 * p, -7, {0, 2});
    expected.PowerCode[static_cast<std::size_t>(p)] = 1000 * p - 7 + 0b101;
    setup.refresh();
    setup.next();
  }
  const std::initializer_list<int> brakeButtons[] = {{},     {4},    {5},       {4, 5}, {6},
                                                     {4, 6}, {5, 6}, {4, 5, 6}, {7}};
  for (int b = 0; b < 9; ++b) {
    EXPECT_EQ(setup.askedPosition(), "B" + std::to_string(b));
    pad.set(0, 0, brakeButtons[b]);
    expected.BrakeCode[static_cast<std::size_t>(b)] = b;
    setup.refresh();
    setup.next();
  }
  std::string error;
  EXPECT_FALSE(setup.store(error));  // EB is still to come
  EXPECT_EQ(setup.askedPosition(), "EB");
  pad.set(0, 0, {4, 5, 6, 7});
  setup.refresh();
  setup.next();
  EXPECT_EQ(setup.askedPosition(), "");
  ASSERT_TRUE(setup.store(error)) << error;

  media::QtSettingsStore nextStartUp;
  ControllerMap read;
  readControllerCodes(nextStartUp, read);
  EXPECT_EQ(read.PowerCode, expected.PowerCode);
  EXPECT_EQ(read.BrakeCode, expected.BrakeCode);
  EXPECT_EQ(read.EmergencyCode, 15);
  // The serial log names the lines a chunk matched.
  setup.showSerialChunk("MP3\r\n", {2});
}

}  // namespace
}  // namespace velimoro
