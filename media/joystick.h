#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

/// A joystick the system lists: its name and the GUID it is known by again when plugged back.
struct JoystickInfo {
  std::string name;
  std::string guid;
  bool operator==(const JoystickInfo&) const = default;
};

/// The joystick chosen by its GUID, or the first the system finds while none is chosen, polled
/// on the user-interface thread.
class Joystick {
 public:
  virtual ~Joystick() = default;
  /// The joysticks the system lists now, in its order.
  virtual std::vector<JoystickInfo> attached() = 0;
  /// Reads the joystick of `guid` from the next poll on, whenever it is attached; an empty GUID
  /// reads the first the system lists.
  virtual void choose(const std::string& guid) = 0;
  /// The GUID chosen; empty when none is.
  virtual std::string chosen() const = 0;
  /// Reads the joystick in use, first looking for one when none is; nothing while none is
  /// attached. `lostName` is set to the name of a joystick that went away since the last poll.
  virtual std::optional<JoystickReading> poll(std::string* lostName = nullptr) = 0;
  /// The name of the joystick in use; empty when none is.
  virtual std::string name() const = 0;
};

}  // namespace velimoro::media
