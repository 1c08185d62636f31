#pragma once

#include <SDL.h>

#include <initializer_list>

namespace velimoro::testing {

/// An SDL virtual joystick attached for the test's life, with a handle to move its first two
/// axes and its buttons. Tests that include this link SDL themselves.
struct VirtualJoystick {
  int index = -1;
  SDL_Joystick* handle = nullptr;

  /// A joystick of `type`; joysticks of different types have different GUIDs.
  VirtualJoystick(int axes, int buttons, SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
    index = SDL_JoystickAttachVirtual(type, axes, buttons, 0);
    if (index >= 0) handle = SDL_JoystickOpen(index);
  }
  ~VirtualJoystick() { detach(); }
  VirtualJoystick(const VirtualJoystick&) = delete;
  VirtualJoystick& operator=(const VirtualJoystick&) = delete;

  /// Sets X, Y and exactly the buttons `pressed`.
  void set(int x, int y, std::initializer_list<int> pressed) const {
    SDL_JoystickSetVirtualAxis(handle, 0, static_cast<Sint16>(x));
    if (SDL_JoystickNumAxes(handle) > 1) {
      SDL_JoystickSetVirtualAxis(handle, 1, static_cast<Sint16>(y));
    }
    for (int b = 0; b < SDL_JoystickNumButtons(handle); ++b)
      SDL_JoystickSetVirtualButton(handle, b, SDL_RELEASED);
    for (const int b : pressed)
      SDL_JoystickSetVirtualButton(handle, b, SDL_PRESSED);
  }
  void detach() {
    if (handle != nullptr) SDL_JoystickClose(handle);
    handle = nullptr;
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    index = -1;
  }
};

}  // namespace velimoro::testing
