#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "input/controls.h"
#include "present/callouts.h"
#include "sim/air_brakes.h"

namespace velimoro {
namespace {

// The cab window is 750 pixels wide, 920 with the timetable strip beside the cab screen, of
// which the strip shows 170; the back button stands 30 pixels inside the right edge.
constexpr int kNarrowWidth = 750;
constexpr int kWideWidth = 920;
constexpr int kStripShown = 170;
constexpr int kBackButtonInset = 30;
constexpr int kStripStep = 5;
// A switchback is possible in the last 200 frames of the line.
constexpr int kSwitchbackFrames = 200;
constexpr int kSignalJumpMargin = 10;

// The end of the line and back: the train turns within the last frames of a stand.
void switchback(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  // A route without "[MovieStop]" has no end of line to turn at.
  if (route.movieStopCount <= 0 || std::fabs(s.speed) >= 0.1L) return;
  const int last = route.movieStop[0];
  if (last - kSwitchbackFrames < s.frame && s.frame <= last) {
    s.frame = last + 2;
    s.direction_changed = 1;
  }
}

// The timetable strip shows the page of the last station whose stopping window the train
// entered: "[StafSwitch]" entry 0 is the page height, the later entries the stations at which
// each page begins.
void toggleTimetableStrip(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  s.staf_top = 0;
  const int count = std::min(route.staffSwitchCount, RouteData::kStaffSwitches);
  for (int k = 0; k < count; ++k) {
    if (route.staffSwitch[k] <= s.window_station) s.staf_top = -route.staffSwitch[0] * k;
  }
  s.staf_shown = !s.staf_shown;
  s.client_width = s.staf_shown ? kWideWidth : kNarrowWidth;
  s.staf_left = s.staf_shown ? kWideWidth - kStripShown : kNarrowWidth;
  s.back_button_left = s.client_width - kBackButtonInset;
}

// Width of the timetable picture: 0 without one, unknown when the loader cannot tell.
std::optional<int> stripWidth(const SimDrive& drive) {
  if (!drive.staffPicture) return 0;
  const auto size = drive.media.pictures.size(*drive.staffPicture);
  if (!size) return std::nullopt;
  return size->first;
}

void scrollTimetableStrip(SimDrive& drive, int direction) {
  SimState& s = drive.state;
  if (!s.staf_shown) return;
  if (direction < 0) {
    // Left while the strip's right edge lies beyond the window (no limit for a strip of unknown
    // width).
    const std::optional<int> width = stripWidth(drive);
    if (!width || s.staf_left + *width > s.client_width) s.staf_left -= kStripStep;
  } else if (s.staf_left < s.client_width - kStripShown) {
    s.staf_left += kStripStep;
  }
}

// Shift+F3: ahead to just before the next signal's range.
void jumpToNextSignal(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const int count = std::min(route.signalCount, RouteData::kTable);
  for (int i = 0; i + 1 < count; ++i) {
    const int from = route.signals[i].showFrom;
    const int next = route.signals[i + 1].showFrom;
    if (from <= s.frame && s.frame < next) {
      s.signal_aspect = 999;
      s.frame = next - kSignalJumpMargin;
      return;
    }
  }
}

// The debug keys move the train along the line; a frame before the first is no place on it.
void moveFrame(SimState& s, int frames) {
  s.frame = static_cast<int>(
      std::clamp<std::int64_t>(std::int64_t{s.frame} + frames, 0, std::numeric_limits<int>::max()));
}

// The debug keys move the clock by a half minute, stopping at the ends of the clock's range.
void moveClock(SimState& s, int ticks) {
  s.fast_tick_count = static_cast<int>(
      std::clamp<std::int64_t>(std::int64_t{s.fast_tick_count} + ticks,
                               std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void debugKey(SimDrive& drive, VirtualKey key) {
  SimState& s = drive.state;
  switch (key) {
    case VirtualKey::kF1:
      s.debug_mode = true;
      break;
    case VirtualKey::kF2:
      s.debug_mode = false;
      break;
    case VirtualKey::kF11:
      if (s.speed > 10) s.speed -= 10;
      break;
    case VirtualKey::kF12:
      if (s.speed < 1000) s.speed += 10;
      break;
    case VirtualKey::kF10:
      moveClock(s, 900);
      break;
    case VirtualKey::kF9:
      moveClock(s, -900);
      break;
    case VirtualKey::kF8:
      moveFrame(s, 1000);
      break;
    case VirtualKey::kF7:
      moveFrame(s, -1000);
      break;
    case VirtualKey::kF6:
      moveFrame(s, 100);
      break;
    case VirtualKey::kF5:
      moveFrame(s, -100);
      break;
    case VirtualKey::kF3:
      jumpToNextSignal(drive);
      break;
    default:
      break;
  }
}

}  // namespace

void keyDown(SimDrive& drive, VirtualKey key, bool shiftAlone) {
  SimState& s = drive.state;
  // Enter and BackSpace are typed characters too ("\r", "\b"), and every typed character resets
  // the vigilance device.
  if (key == VirtualKey::kEnter || key == VirtualKey::kBackSpace) resetDeadManTimer(drive);
  switch (key) {
    case VirtualKey::kBackSpace:
      switchback(drive);
      break;
    case VirtualKey::kScrollLock:
      s.swap_keypad = !s.swap_keypad;
      break;
    case VirtualKey::kEnter:
      calloutKey(drive);
      break;
    default:
      break;
  }
  if (shiftAlone) debugKey(drive, key);
  switch (key) {
    case VirtualKey::kF1:
      toggleTimetableStrip(drive);
      break;
    case VirtualKey::kF3:
      s.value_window_shown = !s.value_window_shown;
      break;
    case VirtualKey::kPageUp:
      s.view_select = 0;
      break;
    case VirtualKey::kPageDown:
      s.view_select = 1;
      break;
    case VirtualKey::kLeft:
      scrollTimetableStrip(drive, -1);
      break;
    case VirtualKey::kRight:
      scrollTimetableStrip(drive, 1);
      break;
    default:
      break;
  }
}

}  // namespace velimoro
