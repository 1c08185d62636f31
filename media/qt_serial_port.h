#pragma once

#include <memory>

#include "media/serial_port.h"

class QSerialPort;
class QTimer;

namespace velimoro::media {

/// The serial port on QSerialPort. The receive and error signals arrive on the thread that
/// owns it, the user-interface thread.
class QtSerialPort final : public SerialPort {
 public:
  QtSerialPort();
  ~QtSerialPort() override;

  std::vector<PortInfo> availablePorts() const override;
  bool open(const SerialSettings& settings, std::string& error) override;
  void close() override;
  bool isOpen() const override;
  void readWaiting() override;

  /// The port a controller is first looked for on: "COM1" where it exists, else the first the
  /// system lists, else none.
  static std::string defaultPort();

 private:
  void readAvailable();
  void watch();
  void failed();
  void vanished(const std::string& why);

  std::unique_ptr<QSerialPort> m_port;
  std::unique_ptr<QTimer> m_watch;
  bool m_readPending = false;  // a read of what is left waits in the event loop
};

}  // namespace velimoro::media
