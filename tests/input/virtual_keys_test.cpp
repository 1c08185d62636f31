// The virtual keys: switchback, the Shift debug keys, the timetable strip, the value window and
// the view.
#include <gtest/gtest.h>

#include "controls_fixture.h"

namespace velimoro {
namespace {

using VirtualKeys = testing::ControlsTest;

TEST_F(VirtualKeys, BackSpaceTurnsTheTrainAtTheEndOfTheLineOnly) {
  RouteData& route = *drive.route;
  s.frame = 900;
  keyDown(drive, VirtualKey::kBackSpace, false);  // no end of line set
  EXPECT_EQ(s.frame, 900);
  route.movieStop[0] = 1000;
  route.movieStopCount = 1;
  s.frame = 800;  // 200 frames before the end: too early
  keyDown(drive, VirtualKey::kBackSpace, false);
  EXPECT_EQ(s.frame, 800);
  s.frame = 900;
  s.speed = 0.1L;  // not at rest
  keyDown(drive, VirtualKey::kBackSpace, false);
  EXPECT_EQ(s.frame, 900);
  EXPECT_EQ(s.direction_changed, 0);
  s.speed = 0;
  keyDown(drive, VirtualKey::kBackSpace, false);
  EXPECT_EQ(s.frame, 1002);
  EXPECT_EQ(s.direction_changed, 1);
  s.direction_changed = 0;
  keyDown(drive, VirtualKey::kBackSpace, false);  // past the end now
  EXPECT_EQ(s.direction_changed, 0);
}

TEST_F(VirtualKeys, ShiftAloneMakesTheFunctionKeysDebugKeys) {
  s.speed = 50;
  s.fast_tick_count = 10000;
  s.frame = 5000;
  const auto state = [&] {
    return std::to_string(static_cast<int>(s.speed)) + " " + std::to_string(s.fast_tick_count) +
           " " + std::to_string(s.frame);
  };
  const std::pair<VirtualKey, const char*> keys[] = {
      {VirtualKey::kF12, "60 10000 5000"}, {VirtualKey::kF11, "50 10000 5000"},
      {VirtualKey::kF10, "50 10900 5000"}, {VirtualKey::kF9, "50 10000 5000"},
      {VirtualKey::kF8, "50 10000 6000"},  {VirtualKey::kF7, "50 10000 5000"},
      {VirtualKey::kF6, "50 10000 5100"},  {VirtualKey::kF5, "50 10000 5000"}};
  for (const auto& [key, want] : keys) {
    const std::string before = state();
    keyDown(drive, key, false);
    EXPECT_EQ(state(), before);  // without Shift: nothing
    keyDown(drive, key, true);
    EXPECT_EQ(state(), want);
  }
  s.speed = 10;
  keyDown(drive, VirtualKey::kF11, true);  // not above 10
  s.frame = 650;
  keyDown(drive, VirtualKey::kF7, true);  // no frame before the first
  EXPECT_EQ(state(), "10 10000 0");
  s.speed = 995;
  keyDown(drive, VirtualKey::kF12, true);
  keyDown(drive, VirtualKey::kF12, true);  // not below 1000 any more
  EXPECT_EQ(s.speed, 1005);

  keyDown(drive, VirtualKey::kF1, true);
  EXPECT_TRUE(s.debug_mode);
  EXPECT_TRUE(s.staf_shown);  // Shift+F1 is F1 too
  keyDown(drive, VirtualKey::kF2, false);
  EXPECT_TRUE(s.debug_mode);
  keyDown(drive, VirtualKey::kF2, true);
  EXPECT_FALSE(s.debug_mode);
}

TEST_F(VirtualKeys, ShiftF3JumpsToJustBeforeTheNextSignal) {
  RouteData& route = *drive.route;
  route.signals[0].showFrom = 100;
  route.signals[1].showFrom = 500;
  route.signals[2].showFrom = 900;
  route.signalCount = 3;
  s.signal_aspect = 2;
  s.frame = 500;
  keyDown(drive, VirtualKey::kF3, true);
  EXPECT_EQ(s.frame, 890);
  EXPECT_EQ(s.signal_aspect, 999);
  EXPECT_TRUE(s.value_window_shown);  // Shift+F3 is F3 too
  s.frame = 950;                      // beyond the last signal: nowhere to go
  keyDown(drive, VirtualKey::kF3, true);
  EXPECT_EQ(s.frame, 950);
  EXPECT_FALSE(s.value_window_shown);
  s.frame = 600;
  keyDown(drive, VirtualKey::kF3, false);  // F3 alone only shows the window
  EXPECT_EQ(s.frame, 600);
  EXPECT_TRUE(s.value_window_shown);
}

TEST_F(VirtualKeys, EnterCallsOutThePendingCallout) {
  drive.route->otherImageCount = 5;
  s.pending_callout = 3;
  keyDown(drive, VirtualKey::kEnter, false);
  const CalloutQueue& queue = drive.sounds.callouts;
  ASSERT_EQ(queue.count, 1);
  EXPECT_EQ(queue.slots[0].other, 3);
}

TEST_F(VirtualKeys, PageKeysChooseTheView) {
  keyDown(drive, VirtualKey::kPageDown, false);
  EXPECT_EQ(s.view_select, 1);
  keyDown(drive, VirtualKey::kPageUp, true);
  EXPECT_EQ(s.view_select, 0);
}

TEST_F(VirtualKeys, F1ShowsTheTimetablePageOfTheLastStation) {
  RouteData& route = *drive.route;
  // Pages of 300 pixels; page 1 from station 2, page 2 from station 4.
  route.staffSwitch[0] = 300;
  route.staffSwitch[1] = 2;
  route.staffSwitch[2] = 4;
  route.staffSwitchCount = 3;
  s.window_station = 3;
  keyDown(drive, VirtualKey::kF1, false);
  EXPECT_TRUE(s.staf_shown);
  EXPECT_EQ(s.staf_top, -300);
  EXPECT_EQ(s.client_width, 920);
  EXPECT_EQ(s.staf_left, 750);
  EXPECT_EQ(s.back_button_left, 890);
  keyDown(drive, VirtualKey::kF1, false);
  EXPECT_FALSE(s.staf_shown);
  EXPECT_EQ(s.client_width, 750);
  EXPECT_EQ(s.staf_left, 750);
  EXPECT_EQ(s.back_button_left, 720);
  s.window_station = 4;
  keyDown(drive, VirtualKey::kF1, false);
  EXPECT_EQ(s.staf_top, -600);
  s.window_station = 1;
  keyDown(drive, VirtualKey::kF1, false);
  EXPECT_EQ(s.staf_top, 0);
}

TEST_F(VirtualKeys, ArrowsScrollTheShownTimetableStripWithinTheWindow) {
  drive.staffPicture = 7;
  pictures.sizes[7] = {400, 900};
  keyDown(drive, VirtualKey::kLeft, false);  // hidden: nothing moves
  EXPECT_EQ(s.staf_left, 750);
  keyDown(drive, VirtualKey::kF1, false);
  for (int i = 0; i < 100; ++i)
    keyDown(drive, VirtualKey::kLeft, false);
  EXPECT_EQ(s.staf_left, 520);  // the right edge at the window's edge
  keyDown(drive, VirtualKey::kRight, false);
  EXPECT_EQ(s.staf_left, 525);
  for (int i = 0; i < 100; ++i)
    keyDown(drive, VirtualKey::kRight, false);
  EXPECT_EQ(s.staf_left, 750);  // back where the window shows 170 pixels of it
  // A strip of unknown width scrolls without a limit; no strip at all does not scroll.
  pictures.sizes.clear();
  keyDown(drive, VirtualKey::kLeft, false);
  EXPECT_EQ(s.staf_left, 745);
  drive.staffPicture.reset();
  keyDown(drive, VirtualKey::kLeft, false);
  EXPECT_EQ(s.staf_left, 745);
}

}  // namespace
}  // namespace velimoro
