#pragma once

#include <string>

#include "media/joystick.h"

namespace velimoro::media {

/// The joystick on SDL2's joystick subsystem alone (no window or video of SDL): the one chosen,
/// else the first SDL lists; one attached later is found at the next poll.
class SdlJoystick final : public Joystick {
 public:
  SdlJoystick();
  ~SdlJoystick() override;
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  std::vector<JoystickInfo> attached() override;
  void choose(const std::string& guid) override;
  std::string chosen() const override { return m_chosen; }
  std::optional<JoystickReading> poll(std::string* lostName = nullptr) override;
  std::string name() const override;
  /// False with SDL's reason when the joystick subsystem could not start; polls then read none.
  bool available(std::string* why = nullptr) const;

 private:
  void openChosen();

  std::string m_chosen;        // the GUID; empty: the first
  void* m_joystick = nullptr;  // SDL_Joystick*, kept opaque so the header needs no SDL include
  bool m_started = false;
  std::string m_startError;
};

}  // namespace velimoro::media
