// The serial master controller's port on a pseudo-terminal pair: what is written on the master
// side arrives in order and whole, in batches of a few kilobytes however much is waiting.
#include "media/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <random>

#include "support/pseudo_terminal.h"

namespace velimoro::media {
namespace {

using testing::PseudoTerminal;

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

TEST(QtSerialPort, APseudoTerminalsBytesArriveWholeInBatchesAndItCanBeUnpluggedAndPluggedAgain) {
  QtSerialPort port;
  std::string received;
  std::size_t largestBatch = 0;
  std::vector<std::string> lost;
  port.received = [&](const std::string& bytes) {
    received += bytes;
    largestBatch = std::max(largestBatch, bytes.size());
  };
  port.lost = [&](const std::string& why) { lost.push_back(why); };
  PseudoTerminal controller;
  ASSERT_FALSE(controller.slaveName.empty());
  SerialSettings settings;
  settings.port = controller.slaveName;
  std::string error;
  ASSERT_TRUE(port.open(settings, error)) << error;

  // A flood of every byte value, written faster than it is read.
  std::mt19937 random(3);
  std::string flood(256 * 1024, '\0');
  for (char& byte : flood)
    byte = static_cast<char>(random());
  for (std::size_t at = 0; at < flood.size(); at += 4000) {
    controller.send(flood.substr(at, 4000));
    waitFor([&] { return received.size() >= std::min(flood.size(), at + 4000); });
  }
  EXPECT_TRUE(received == flood) << received.size() << " of " << flood.size() << " bytes";
  EXPECT_LE(largestBatch, 4096u);

  // Unplugged: the port says so and closes.
  controller.unplug();
  ASSERT_TRUE(waitFor([&] { return !lost.empty(); }));
  EXPECT_FALSE(port.isOpen());

  // Plugged in again and opened anew, it reads again.
  PseudoTerminal again;
  settings.port = again.slaveName;
  ASSERT_TRUE(port.open(settings, error)) << error;
  received.clear();
  again.send("MB5");
  EXPECT_TRUE(waitFor([&] { return received == "MB5"; })) << received;

  // A port that does not exist is refused with the system's reason.
  settings.port = "/dev/no-such-port";
  EXPECT_FALSE(port.open(settings, error));
  EXPECT_NE(error.find("/dev/no-such-port"), std::string::npos) << error;
  EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace velimoro::media
