// The game controller's device path on SDL's virtual joysticks: found when attached, read axis
// by axis and button by button, missed when detached, and found again.
#include "media/sdl_joystick.h"

#include <gtest/gtest.h>

#include "support/virtual_joystick.h"

namespace velimoro::media {
namespace {

TEST(SdlJoystick, FindsAVirtualJoystickReadsItAndMissesItWhenDetached) {
  SdlJoystick joystick;
  std::string why;
  ASSERT_TRUE(joystick.available(&why)) << why;
  ASSERT_FALSE(joystick.poll().has_value()) << "a joystick is attached to this machine";

  auto pad = std::make_unique<testing::VirtualJoystick>(2, 16);
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
  testing::VirtualJoystick small(1, 3);
  ASSERT_NE(small.handle, nullptr) << SDL_GetError();
  small.set(-32768, 0, {2});
  EXPECT_EQ(joystick.poll(), (JoystickReading{-32768, 0, 0x0004, 1, 3}));
}

}  // namespace
}  // namespace velimoro::media
