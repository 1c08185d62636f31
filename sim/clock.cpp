#include "sim/clock.h"

#include <cmath>
#include <cstdio>

#include "data/rounding.h"
#include "data/train_record.h"
#include "sim/sim_state.h"

namespace velimoro {

ClockTime clockTime(int ticks) {
  // A start before midnight (a departure early in the day less its announcements) shows the
  // previous evening; times past midnight count on as 24:00, 25:00 as timetables write them.
  constexpr int kDay = 24 * 108000;
  if (ticks < 0) ticks = ticks % kDay + kDay;
  ClockTime t;
  t.hours = ticks / 108000;
  const int rest = ticks / 30 - t.hours * 3600;
  t.minutes = rest / 60;
  t.seconds = rest - t.minutes * 60;
  return t;
}

std::string clockText(const ClockTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hours, time.minutes, time.seconds);
  return text;
}

std::array<int, 2> clockHandEnd(double degrees, int length) {
  const double radians = degrees * M_PI / 180.0;
  return {25 + static_cast<int>(roundHalfEven(length * std::sin(radians))),
          25 - static_cast<int>(roundHalfEven(length * std::cos(radians)))};
}

bool timecalc(SimState& s, int ticks) {
  const ClockTime time = clockTime(ticks);
  if (time.seconds == s.clock_last_second) return false;
  s.clock_last_second = time.seconds;
  s.clock_text = clockText(time);
  return true;
}

std::array<std::array<int, 2>, 3> clockHands(const ClockTime& time, int length) {
  const double hourDegrees = time.hours * 30 + time.minutes * 0.5;
  const double minuteDegrees = time.minutes * 6 + time.seconds * 0.1;
  const double secondDegrees = time.seconds * 6;
  const int hourLength = static_cast<int>(roundHalfEven(length * 0.6L));
  return {clockHandEnd(hourDegrees, hourLength), clockHandEnd(minuteDegrees, length),
          clockHandEnd(secondDegrees, length)};
}

void timecalc(SimState& s, const ClockSpec& clock, int ticks) {
  if (!timecalc(s, ticks)) return;
  // The panel has an analogue clock only where the train file places one.
  if (clock.x <= 0 || clock.y <= 0 || clock.handLength <= 0) return;
  s.clock_hands = clockHands(clockTime(ticks), clock.handLength);
  s.clock_redraw = true;
}

}  // namespace velimoro
