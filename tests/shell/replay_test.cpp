// A drive typed into the cab window and recorded replays in the headless driver to the same
// trace, row for row: the window and the replay run one session on one scheduler.
#include <gtest/gtest.h>
#include <QImage>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/child_process.h"
#include "support/csv_table.h"
#include "support/demo_root.h"
#include "support/test_support.h"
#include "tools/content/generator.h"
#include "tools/drive/headless.h"

namespace velimoro {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs the window on the demo's one-man line with `first` as its first arguments and `rest`
// after the drive's (a later option overrides an earlier one), with its settings in `config`;
// returns its exit status and puts its error stream in `err`.
int runWindow(const std::string& first, const std::string& rest, const std::string& config,
              std::string& err) {
  const std::string errFile = config + "/stderr.txt";
  const std::string command =
      "XDG_CONFIG_HOME=" + config +
      " ALSOFT_DRIVERS=null QT_QPA_PLATFORM=offscreen " VELIMORO_WINDOW_EXE " " + first +
      " --root " + testing::demoRoot() + " --train train_QT600.dat --route line_up2.dat " + rest +
      " 2>" + errFile;
  const int status = std::system(command.c_str());
  err = readAll(errFile);
  return status;
}

// Replays the window's recording "drive.txt" in `dir` headless on the same drive into
// "replay.csv" there, and returns that trace.
std::vector<testing::CsvRow> replayed(const testing::TempDir& dir) {
  headless::Options replay;
  replay.root = testing::demoRoot();
  replay.train = "train_QT600.dat";
  replay.route = "line_up2.dat";
  replay.script = dir.file("drive.txt");
  replay.trace = dir.file("replay.csv");
  std::ostringstream out, err;
  EXPECT_EQ(headless::runDrive(replay, out, err), 0) << err.str();
  return testing::readCsvFile(replay.trace);
}

TEST(CabWindow, TheFirstRunSaysSoOnceAndTheSettingsAreWrittenAtTheEnd) {
  testing::TempDir config;
  std::string err;
  // A first argument "1" shows the value labels under the screen, any other hides them.
  const std::string shot = " --screenshot " + config.file("shot.png");
  ASSERT_EQ(runWindow("1", "--seconds 0.5" + shot, config.path(), err), 0) << err;
  EXPECT_EQ(QImage(QString::fromStdString(config.file("shot.png"))).height(), 630 + 44);
  const std::string message = "message: 初期状態では、ATSが動作しない設定になっています。";
  EXPECT_NE(err.find(message), std::string::npos) << err;
  const std::string settings = readAll(config.file("Dorvanel/velimoro.ini"));
  for (const char* line : {"Kanko=0", "Information=1", "ATS=1", "DriverAids=1"})
    EXPECT_NE(settings.find(line), std::string::npos) << settings;
  ASSERT_EQ(runWindow("2", "--seconds 0.5" + shot, config.path(), err), 0) << err;
  EXPECT_EQ(QImage(QString::fromStdString(config.file("shot.png"))).height(), 630);
  EXPECT_EQ(err.find(message), std::string::npos) << err;
  EXPECT_EQ(runWindow("1", "2 --seconds 0.5", config.path(), err), 2 << 8) << err;
  // A fatal start-up fault in a run without a user ends it with the message, not a dialog.
  std::filesystem::remove(config.file("Dorvanel/velimoro.ini"));
  EXPECT_NE(runWindow("", "--seconds 0.5 --route missing.dat", config.path(), err), 0);
  EXPECT_NE(err.find("message: "), std::string::npos) << err;
}

// A window drive ended by a signal, as a desktop session or a service manager ends it, closes
// as its close entry does: within a second, its settings written, status 0 (for SIGHUP 129).
TEST(CabWindow, EndSignalsCloseItWithinASecondWithItsSettingsWritten) {
  testing::demoRoot();  // made before the windows' clocks start
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    testing::TempDir config;
    testing::ChildProcess window(
        {VELIMORO_WINDOW_EXE, "--root", testing::demoRoot(), "--train", "train_QT600.dat",
         "--route", "line_up2.dat", "--seconds", "60", "--record", config.file("drive.txt")},
        config.path(), config.file("out.txt"), config.file("err.txt"));
    // Running once the recording has its Start.
    for (int wait = 0; wait < 400; ++wait) {
      if (readAll(config.file("drive.txt")).find(" start\n") != std::string::npos) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(window.waitFor(0), testing::ChildProcess::kRunning)
        << readAll(config.file("err.txt"));
    kill(window.pid, signal);
    EXPECT_EQ(window.waitFor(1000), signal == SIGHUP ? 129 : 0) << readAll(config.file("err.txt"));
    const std::string settings = readAll(config.file("Dorvanel/velimoro.ini"));
    for (const char* line : {"Kanko=0", "Information=1", "ATS=1"})
      EXPECT_NE(settings.find(line), std::string::npos) << settings;
    const std::string recording = readAll(config.file("drive.txt"));
    EXPECT_TRUE(recording.ends_with(" quit\n")) << recording;
  }
}

TEST(Recording, ADriveTypedIntoTheWindowReplaysHeadlessToTheSameTrace) {
  testing::TempDir dir;
  // The one-man railcar: reverser forward, doors closed with "d", the brake released notch by
  // notch while the brake pipe charges, then power; keys every 250 ms.
  std::string windowErr;
  ASSERT_EQ(runWindow("",
                      "--start 0 --seconds 5 --keys fd,,,,,,,,,zzzz --record " +
                          dir.file("drive.txt") + " --trace " + dir.file("window.csv"),
                      dir.path(), windowErr),
            0)
      << windowErr;

  const auto trace = replayed(dir);
  ASSERT_GT(trace.size(), 40u);
  EXPECT_EQ(trace.back().at("power_notch"), "4");
  EXPECT_EQ(trace.back().at("doors_open"), "0");
  EXPECT_EQ(readAll(dir.file("window.csv")), readAll(dir.file("replay.csv")));
}

// A pseudo-terminal stands in for the serial master controller: the window connects to it at
// start, its codes drive the train and are recorded, the replay runs to the same trace, and the
// controller unplugged is a message while the drive goes on.
TEST(Recording, ASerialControllerOnAPseudoTerminalDrivesTheWindowAndReplays) {
  testing::TempDir dir;
  int master = -1;
  int slave = -1;
  char name[256] = {};
  ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
  ::close(slave);
  // The window must not inherit the controller's end, or closing it here would unplug nothing.
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  std::string windowErr;
  int status = -1;
  testing::demoRoot();  // made before the window's clock starts
  std::thread window([&] {
    status = runWindow("",
                       std::string("--start 0 --seconds 4 --serial ") + name + " --record " +
                           dir.file("drive.txt") + " --trace " + dir.file("window.csv"),
                       dir.path(), windowErr);
  });
  // Once the window says it is connected: forward, brake off, power, a code split in two.
  for (int wait = 0; wait < 200; ++wait) {
    if (readAll(dir.file("stderr.txt")).find("Connect to controller.") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  for (const char* code : {"RF", "MN", "MP2", "M", "P4", "MP3"}) {
    ASSERT_EQ(::write(master, code, std::strlen(code)), static_cast<ssize_t>(std::strlen(code)));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  ::close(master);
  window.join();
  ASSERT_EQ(status, 0) << windowErr;
  EXPECT_NE(windowErr.find("message: Connect to controller."), std::string::npos) << windowErr;
  EXPECT_NE(windowErr.find("message: DVマスコンとの接続が切れました"), std::string::npos)
      << windowErr;
  const std::string script = readAll(dir.file("drive.txt"));
  EXPECT_NE(script.find(" serial MP2\n"), std::string::npos) << script;

  const auto trace = replayed(dir);
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.back().at("power_text"), "P3");
  EXPECT_EQ(trace.back().at("brake_text"), "切");
  EXPECT_EQ(readAll(dir.file("window.csv")), readAll(dir.file("replay.csv")));
}

}  // namespace
}  // namespace velimoro
