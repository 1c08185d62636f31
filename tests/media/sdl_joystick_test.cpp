// The game controller's device path on SDL's virtual joysticks: found when attached, read axis
// by axis and button by button, missed when detached, and found again.
#include "media/sdl_joystick.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace velimoro::media {
namespace {

// A virtual joystick attached for the test's life, with a handle to move its axes and buttons.
struct VirtualJoystick {
  int index = -1;
  SDL_Joystick* handle = nullptr;

  VirtualJoystick(int axes, int buttons) {
    index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, 0);
    if (index >= 0) handle = SDL_JoystickOpen(index);
  }
  ~VirtualJoystick() { detach(); }
  void set(int x, int y, std::initializer_list<int> pressed) const {
    SDL_JoystickSetVirtualAxis(handle, 0, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(handle, 1, static_cast<Sint16>(y));
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

TEST(SdlJoystick, FindsAVirtualJoystickReadsItAndMissesItWhenDetached) {
  SdlJoystick joystick;
  std::string why;
  ASSERT_TRUE(joystick.available(&why)) << why;
  ASSERT_FALSE(joystick.poll().has_value()) << "a joystick is attached to this machine";

  auto pad = std::make_unique<VirtualJoystick>(2, 16);
  ASSERT_NE(pad->handle, nullptr) << SDL_GetError();
  pad->set(4000, -12001, {0, 4, 15});
  const std::optional<JoystickReading> reading = joystick.poll();
  ASSERT_TRUE(reading.has_value());
  EXPECT_EQ(*reading, (JoystickReading{4000, -12001, 0x8011, 2, 16}));
  EXPECT_FALSE(joystick.name().empty());

  std::string lost;
  pad->detach();
  EXPECT_FALSE(joystick.poll(&lost).has_value());
  EXPECT_FALSE(lost.empty());

  // A smaller joystick attached while the program runs: what it lacks reads 0 and unpressed.
  VirtualJoystick small(1, 3);
  ASSERT_NE(small.handle, nullptr) << SDL_GetError();
  SDL_JoystickSetVirtualAxis(small.handle, 0, -32768);
  SDL_JoystickSetVirtualButton(small.handle, 2, SDL_PRESSED);
  EXPECT_EQ(joystick.poll(), (JoystickReading{-32768, 0, 0x0004, 1, 3}));
}

}  // namespace
}  // namespace velimoro::media
