#pragma once

#include <array>
#include <string>

namespace velimoro {

struct SimState;
struct ClockSpec;

/// Hours, minutes and seconds of a clock count in ticks of 1/30 s.
struct ClockTime {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};
ClockTime clockTime(int ticks);

/// "hh:mm:ss" of a clock time, two digits each.
std::string clockText(const ClockTime& time);

/// End point of a clock hand of `length` pixels at `degrees` clockwise from 12 o'clock, on the
/// 50 x 50 clock picture whose centre is (25, 25).
std::array<int, 2> clockHandEnd(double degrees, int length);

/// The timetable clock: updates `clock_text` and `clock_last_second` when the second changes;
/// returns true then (the analogue clock is redrawn).
bool timecalc(SimState& s, int ticks);

/// Hour, minute and second hand end points of `time` for hands of `length` pixels (the hour
/// hand 0.6 of it), in that order.
std::array<std::array<int, 2>, 3> clockHands(const ClockTime& time, int length);

/// Tick step: timecalc, and when the second changed on a train with an analogue clock (a
/// [Clock] with a position and a hand length), new hand ends and `clock_redraw`.
void timecalc(SimState& s, const ClockSpec& clock, int ticks);

}  // namespace velimoro
