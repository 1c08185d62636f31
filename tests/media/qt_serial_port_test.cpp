// The serial master controller's port on a pseudo-terminal pair: what is written on the master
// side arrives as chunks, which drive a cab session as the window hands them on.
#include "media/qt_serial_port.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "cab/session.h"
#include "support/drive_run.h"
#include "support/test_support.h"

namespace velimoro::media {
namespace {

// One pseudo-terminal pair standing in for a controller on a serial line.
struct PseudoTerminal {
  int master = -1;
  std::string slaveName;

  PseudoTerminal() {
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
    slaveName = name;
    ::close(slave);  // the port under test opens it by name
  }
  ~PseudoTerminal() { unplug(); }
  void send(const std::string& bytes) const {
    EXPECT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  void unplug() {
    if (master >= 0) ::close(master);
    master = -1;
  }
};

// Runs the event loop until `done` or two seconds have passed.
template <typename Done>
bool waitFor(Done done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return done();
}

struct SerialDrive {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  std::unique_ptr<CabSession> session;
  QtSerialPort port;
  std::vector<std::string> chunks;
  std::vector<std::string> lost;

  SerialDrive() {
    DriveSetup setup;
    setup.root = testing::kScenarioRoot;
    setup.trainFile = "electric_bt1.dat";
    setup.routeFile = "line_scenario.dat";
    session = std::make_unique<CabSession>(setup, DriveMedia{sound, pictures, messages, nullptr});
    // As the window does: every chunk is an input of the session.
    port.received = [this](const std::string& chunk) {
      chunks.push_back(chunk);
      session->input("serial", {serialWord(chunk)});
    };
    port.lost = [this](const std::string& why) { lost.push_back(why); };
  }
  std::string handles() const {
    const SimState& s = session->drive().state;
    return "P" + std::to_string(s.power_handle) + " B" + std::to_string(-s.brake_handle);
  }
};

TEST(QtSerialPort, APseudoTerminalDrivesTheSessionAndCanBeUnpluggedAndPluggedAgain) {
  SerialDrive d;
  PseudoTerminal controller;
  ASSERT_FALSE(controller.slaveName.empty());
  SerialSettings settings;
  settings.port = controller.slaveName;
  std::string error;
  ASSERT_TRUE(d.port.open(settings, error)) << error;

  controller.send("MN");
  ASSERT_TRUE(waitFor([&] { return d.handles() == "P0 B0"; })) << d.handles();
  controller.send("MP3");
  ASSERT_TRUE(waitFor([&] { return d.handles() == "P3 B0"; })) << d.handles();
  // A flood of bytes that are no code arrives whole, in bounded chunks, and changes nothing.
  const std::size_t before = d.chunks.size();
  const std::string flood(65536, '\xFF');
  std::size_t received = 0;
  for (std::size_t at = 0; at < flood.size(); at += 4096) {
    controller.send(flood.substr(at, 4096));
    waitFor([&] {
      received = 0;
      for (std::size_t i = before; i < d.chunks.size(); ++i)
        received += d.chunks[i].size();
      return received >= at + 4096;
    });
  }
  EXPECT_EQ(received, flood.size());
  EXPECT_EQ(d.handles(), "P3 B0");
  EXPECT_EQ(d.session->lastSerialMatch().lines, std::vector<int>{});

  // Unplugged: the port says so and closes; the session goes on.
  controller.unplug();
  ASSERT_TRUE(waitFor([&] { return !d.lost.empty(); }));
  EXPECT_FALSE(d.port.isOpen());
  d.session->input("key", {"5"});

  // Plugged in again and connected anew, it drives again.
  PseudoTerminal again;
  settings.port = again.slaveName;
  ASSERT_TRUE(d.port.open(settings, error)) << error;
  again.send("MB5");
  ASSERT_TRUE(waitFor([&] { return d.handles() == "P0 B5"; })) << d.handles();
  EXPECT_EQ(d.session->lastSerialMatch().lines, std::vector<int>{11});
  EXPECT_EQ(d.session->drive().controllerInputs.serialCaption, "MB5");

  // A port that does not exist is refused with the system's reason.
  settings.port = "/dev/no-such-port";
  EXPECT_FALSE(d.port.open(settings, error));
  EXPECT_NE(error.find("/dev/no-such-port"), std::string::npos) << error;
  EXPECT_FALSE(d.port.isOpen());
}

}  // namespace
}  // namespace velimoro::media
