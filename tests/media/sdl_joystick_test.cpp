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

TEST(SdlJoystick, ReadsTheJoystickChosenByItsGuidAndFindsItAgainWhenPluggedBack) {
  SdlJoystick joystick;
  testing::VirtualJoystick pad(2, 16);
  auto wheel = std::make_unique<testing::VirtualJoystick>(2, 16, SDL_JOYSTICK_TYPE_WHEEL);
  ASSERT_NE(wheel->handle, nullptr) << SDL_GetError();
  pad.set(100, 0, {});
  wheel->set(200, 0, {});
  const std::vector<JoystickInfo> listed = joystick.attached();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_NE(listed[0].guid, listed[1].guid);
  const auto x = [&joystick] {
    const std::optional<JoystickReading> reading = joystick.poll();
    return reading ? reading->x : -1;
  };
  EXPECT_EQ(x(), 100);  // none chosen: the first

  joystick.choose(listed[1].guid);
  EXPECT_EQ(x(), 200);
  // Unplugged, the chosen one is missed and the other is not taken instead; plugged back, it
  // is read again.
  wheel.reset();
  EXPECT_EQ(x(), -1);
  testing::VirtualJoystick again(2, 16, SDL_JOYSTICK_TYPE_WHEEL);
  again.set(300, 0, {});
  EXPECT_EQ(x(), 300);
  joystick.choose("");
  EXPECT_EQ(x(), 100);
}

}  // namespace
}  // namespace velimoro::media
