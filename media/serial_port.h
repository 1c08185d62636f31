#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velimoro::media {

/// The line settings of a serial port.
struct SerialSettings {
  std::string port;  // the system's name or path of the port ("/dev/ttyUSB0", "COM3")
  int baudRate = 19200;
  int dataBits = 8;
  char parity = 'N';  // 'N' none, 'E' even, 'O' odd
  int stopBits = 1;
  bool hardwareFlow = false;
  bool softwareFlow = false;
};

/// A serial port that hands each batch of received bytes to the user-interface thread. DTR and
/// RTS stay inactive while it is open.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  /// The ports the system lists, each with a description for a chooser.
  struct PortInfo {
    std::string name;
    std::string description;
  };
  virtual std::vector<PortInfo> availablePorts() const = 0;
  /// Opens `settings.port`; false with the system's reason in `error`.
  virtual bool open(const SerialSettings& settings, std::string& error) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  /// The bytes received since the last call, as one chunk (never empty).
  std::function<void(const std::string& chunk)> received;
  /// The open port failed (unplugged): it has been closed; `why` says what the system said.
  std::function<void(const std::string& why)> lost;
};

}  // namespace velimoro::media
