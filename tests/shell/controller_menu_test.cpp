// The Controller menu's devices in the window process: an SDL virtual joystick drives the
// drive through the menu's polling, a controller on a pseudo-terminal through the serial port,
// each recording replays to the same trace, and the setup window stores the button pad's codes
// where the next start-up reads them.
#include "shell/controller_menu.h"

#include <gtest/gtest.h>

#include <termios.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <sstream>
#include <thread>

#include "cab/trace.h"
#include "media/qt_settings_store.h"
#include "persist/settings.h"
#include "shell/controller_setup_window.h"
#include "support/drive_run.h"
#include "support/pseudo_terminal.h"
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
    // As the window starts up: the button pad's codes from the store.
    readControllerCodes(store(), setup.controllers);
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

// The window's side of a drive: a traced session whose every input is recorded, with the
// Controller menu in a host window.
struct MenuDrive {
  TracedSession window;
  std::ostringstream recording;
  QMainWindow host;
  QMenu* menu = host.menuBar()->addMenu(QStringLiteral("Controller"));
  CabSession& session = *window.session;
  std::unique_ptr<shell::ControllerMenu> controllers;

  MenuDrive() {
    session.recordTo(&recording);
    controllers = std::make_unique<shell::ControllerMenu>(
        host, *menu, session,
        [this](const std::string& name, std::vector<std::string> args) {
          session.input(name, std::move(args));
        },
        window.messages, store());
    session.input("start");
  }
  /// Ends the recording and replays it in a fresh drive: the traces must be the same.
  std::vector<ScriptCommand> quitAndReplay() {
    session.input("quit");
    TracedSession replay;
    std::istringstream in(recording.str());
    std::vector<ScriptCommand> commands = parseScript(in, "recording");
    for (const ScriptCommand& command : commands) {
      replay.session->runUntil(command.atMs);
      replay.session->execute(command);
    }
    EXPECT_EQ(replay.trace.str(), window.trace.str());
    return commands;
  }
  /// Runs the event loop and the drive on wall time until `done` or `ms` have passed.
  template <typename Done>
  bool runUntil(Done done, int ms) {
    QElapsedTimer clock;
    clock.start();
    const std::int64_t from = session.now();
    while (!done() && clock.elapsed() < ms) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      session.runUntil(from + clock.elapsed());
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return done();
  }
};

TEST(ControllerMenu, AVirtualJoystickDrivesTheAnaloguePadTypeAndTheRecordingReplays) {
  MenuDrive d;
  CabSession& session = d.session;
  testing::VirtualJoystick pad(2, 16);
  ASSERT_NE(pad.handle, nullptr) << SDL_GetError();
  pad.set(0, -12001, {});
  session.runUntil(1000);
  EXPECT_EQ(d.window.handles(), "P0 B9");  // the keyboard type reads no joystick

  entry(*d.menu, QStringLiteral("アナログ軸式ゲームコントローラ"))->trigger();
  session.runUntil(2000);
  EXPECT_EQ(d.window.handles(), "P3 B0");
  pad.set(13001, -12000, {1});  // EB; power stays on its edge; the announcement button
  session.runUntil(3000);
  EXPECT_EQ(d.window.handles(), "P3 B9");
  entry(*d.menu, QStringLiteral("デバッグオプション(&D)"))->trigger();
  session.runUntil(3200);
  EXPECT_EQ(d.host.windowTitle(), QStringLiteral("X:13001 Y:-12000"));
  // Unplugged, the drive goes on from the keyboard with the last state the pad gave.
  pad.detach();
  session.runUntil(3500);
  session.input("key", {"5"});
  session.runUntil(4000);
  EXPECT_EQ(d.window.handles(), "P0 B0");

  const std::string script = d.recording.str();
  EXPECT_NE(script.find(" joystick 0 -12001 0\n"), std::string::npos) << script;
  EXPECT_NE(script.find(" joystick 13001 -12000 2\n"), std::string::npos) << script;
  d.quitAndReplay();
}

TEST(ControllerMenu, AButtonPadDriveRecordedInTheWindowReplaysHeadlessWithItsCodes) {
  // The codes the setup window stores: the power handle on X, the brake handle on buttons 4..7.
  ControllerMap codes;
  for (int p = 0; p < 6; ++p)
    codes.PowerCode[static_cast<std::size_t>(p)] = 1000 * p;
  for (int b = 0; b < 9; ++b)
    codes.BrakeCode[static_cast<std::size_t>(b)] = b;
  codes.EmergencyCode = 15;
  std::string error;
  ASSERT_TRUE(writeControllerCodes(store(), codes, error)) << error;
  MenuDrive d;
  testing::VirtualJoystick pad(2, 16);
  ASSERT_NE(pad.handle, nullptr) << SDL_GetError();
  entry(*d.menu, QStringLiteral("ボタン式ゲームコントローラ"))->trigger();
  std::int64_t at = 500;
  const auto move = [&](int x, std::initializer_list<int> buttons) {
    pad.set(x, 0, buttons);
    d.session.runUntil(at += 700);
  };
  move(0, {4, 5});
  EXPECT_EQ(d.window.handles(), "P0 B3");
  move(3000, {});
  move(5000, {});
  EXPECT_EQ(d.window.handles(), "P5 B0");
  move(0, {4, 5, 6});
  move(0, {4, 5, 6, 7});
  EXPECT_EQ(d.window.handles(), "P0 B9");
  d.session.input("quit");

  // Replayed where the store holds other codes, the recording drives with its own.
  ASSERT_TRUE(writeControllerCodes(store(), ControllerMap{}, error)) << error;
  testing::TempDir dir;
  headless::Options replay =
      testing::driveOptions(testing::kScenarioRoot, "line_scenario.dat", "electric_bt1.dat");
  replay.script = dir.writeBytes("drive.txt", d.recording.str());
  replay.trace = dir.file("replay.csv");
  std::ostringstream out, err;
  ASSERT_EQ(headless::runDrive(replay, out, err), 0) << err.str();
  std::ostringstream windowTrace;
  writeTraceHeader(windowTrace);
  windowTrace << d.window.trace.str();
  EXPECT_EQ(testing::readFile(replay.trace), windowTrace.str());
}

// The codes of the scenario's "mascon.dat" by handle: P1..P6, N, B1..B8, EB.
std::string codeOf(int power, int brake) {
  if (brake == 9) return "MEB";
  if (brake > 0) return "MB" + std::to_string(brake);
  return power > 0 ? "MP" + std::to_string(power) : "MN";
}

TEST(ControllerMenu, SerialCodesWrittenAsHardwareWritesThemAreEachOneInputAndReplay) {
  MenuDrive d;
  testing::PseudoTerminal line;
  ASSERT_FALSE(line.slaveName.empty());
  d.controllers->connectSerial(line.slaveName);
  ASSERT_EQ(d.window.messages.shown, std::vector<std::string>{"Connect to controller."});

  // What the controller writes, with the pause before each write (µs), and the codes in it.
  std::vector<std::pair<int, std::string>> writes;
  std::vector<std::string> codes;
  constexpr int kByteUs = 521;  // one byte of 8N1 at 19200 baud
  for (int i = 0; i < 40; ++i) {
    codes.push_back(codeOf(0, 1 + i % 9));
    for (const char byte : codes.back())
      writes.push_back({kByteUs, std::string(1, byte)});
  }
  codes.insert(codes.end(), {"MP2", "MB6"});
  writes.push_back({30000, "MP2MB6"});
  codes.push_back("MP4");
  writes.insert(writes.end(), {{30000, "MP"}, {3000, "4"}});
  // A flood of bytes that start no code, with codes between, in writes of any size.
  std::mt19937 random(11);
  for (int i = 0; i < 60; ++i) {
    std::string noise(random() % 8000, '\0');
    for (char& byte : noise) {
      do {
        byte = static_cast<char>(random());
      } while (byte == 'M' || byte == 'R' || byte == 'B');
    }
    codes.push_back(codeOf(static_cast<int>(random() % 6), static_cast<int>(random() % 10)));
    const std::string bytes = noise + codes.back() + "\r\n";
    const std::size_t cut = random() % bytes.size();
    writes.insert(writes.end(), {{0, bytes.substr(0, cut)}, {0, bytes.substr(cut)}});
  }
  codes.push_back("MN");
  writes.push_back({1000, "MN"});
  std::atomic<bool> written = false;
  std::thread controller([&] {
    for (const auto& [pauseUs, bytes] : writes) {
      std::this_thread::sleep_for(std::chrono::microseconds(pauseUs));
      line.send(bytes);
    }
    written = true;
  });
  const auto serialInputs = [&d] {
    std::vector<std::string> got;
    std::istringstream in(d.recording.str());
    for (const ScriptCommand& c : parseScript(in, "recording")) {
      if (c.name == "serial") got.push_back(*serialChunkOfWord(c.args[0]));
    }
    return got;
  };
  const bool all =
      d.runUntil([&] { return written && serialInputs().size() >= codes.size(); }, 10000);
  controller.join();
  EXPECT_TRUE(all);
  d.runUntil([] { return false; }, 100);
  {
    const auto got = serialInputs();
    std::size_t i = 0;
    while (i < got.size() && i < codes.size() && got[i] == codes[i])
      ++i;
    EXPECT_EQ(got, codes) << "first difference at " << i;
  }
  EXPECT_EQ(d.window.handles(), "P0 B0");
  d.quitAndReplay();
}

TEST(ControllerMenu, PortSettingsChangedInTheSetupDialogApplyToTheOpenPort) {
  MenuDrive d;
  testing::PseudoTerminal line;
  d.controllers->connectSerial(line.slaveName);
  const auto lineSettings = [&line] {
    termios t{};
    EXPECT_EQ(tcgetattr(line.master, &t), 0);
    return std::make_pair(cfgetospeed(&t), (t.c_cflag & CSTOPB) != 0);
  };
  ASSERT_EQ(lineSettings(), std::make_pair(speed_t{B19200}, false));
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QComboBox*>(QStringLiteral("baud"))->setCurrentText(QStringLiteral("9600"));
    dialog->findChild<QComboBox*>(QStringLiteral("stopBits"))->setCurrentText(QStringLiteral("2"));
    static_cast<QDialog*>(dialog)->accept();
  });
  entry(*d.menu, QStringLiteral("DVマスコン（設定）(&P)"))->trigger();
  EXPECT_EQ(lineSettings(), std::make_pair(speed_t{B9600}, true));
  line.send("MB5");
  EXPECT_TRUE(d.runUntil([&] { return d.window.handles() == "P0 B5"; }, 2000));
  EXPECT_EQ(d.window.messages.shown, std::vector<std::string>{"Connect to controller."});
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
