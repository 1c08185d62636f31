#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velimoro::media {

/// One reading of a joystick: the X and Y axes as the device reports them (-32768 .. 32767)
/// and buttons 0 .. 15 as bits 0 .. 15. A device with fewer axes or buttons reads 0 and
/// unpressed for those it lacks.
struct JoystickReading {
  int x = 0;
  int y = 0;
  std::uint16_t buttons = 0;
  int axisCount = 0;
  int buttonCount = 0;
  bool operator==(const JoystickReading&) const = default;
};

/// The first joystick the system finds, polled on the user-interface thread.
class Joystick {
 public:
  virtual ~Joystick() = default;
  /// Reads the joystick in use, first looking for one when none is; nothing while none is
  /// attached. `lostName` is set to the name of a joystick that went away since the last poll.
  virtual std::optional<JoystickReading> poll(std::string* lostName = nullptr) = 0;
  /// The name of the joystick in use; empty when none is.
  virtual std::string name() const = 0;
};

}  // namespace velimoro::media
