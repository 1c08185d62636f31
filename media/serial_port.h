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

/// A serial port that hands the received bytes to the user-interface thread in batches of a
/// few kilobytes at most, as they come: a batch may hold part of a code or several. DTR and
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
  /// Hands on at once bytes the system already holds for the open port, if any.
  virtual void readWaiting() = 0;

  /// Bytes received, in order (never empty).
  std::function<void(const std::string& chunk)> received;
  /// The open port failed (unplugged): it has been closed; `why` says what the system said.
  std::function<void(const std::string& why)> lost;
};

}  // namespace velimoro::media
