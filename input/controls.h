#pragma once

#include "sim/doors.h"
#include "sim/handle_texts.h"
#include "sim/sim_drive.h"

namespace velimoro {

// The driver's controls on the keyboard and the mouse wheel. Every handler works on the drive's
// SimState: it writes the requested handle positions, raises the change-pending flags that the
// fast step consumes after the train's delays, and refreshes the handle texts and panel strips.
//
// Boarding events: the in-car announcement key of a one-man train may draw boarding passengers
// at the announced station (boarding_event, boarding_event_open, boarding_event_tick). Opening
// the doors clears boarding_event_open. Nothing else reads the flags yet: they are kept, saved
// with the state and left to the station logic, and do not change the run.

/// The virtual keys the cab window hands on (key-down events).
enum class VirtualKey {
  kBackSpace,
  kEnter,
  kScrollLock,
  kPageUp,
  kPageDown,
  kLeft,
  kRight,
  kF1,
  kF2,
  kF3,
  kF4,
  kF5,
  kF6,
  kF7,
  kF8,
  kF9,
  kF10,
  kF11,
  kF12,
};

/// A character key (key-press event). Resets the dead-man timer even while input is blocked;
/// otherwise moves the controls by the key, refreshes the texts and plays the brake sounds.
void asciiDown(SimDrive& drive, char key);

/// The reverser to `reverser` (1 forward, 0 neutral, -1 reverse) with its pilot lamps; only
/// while the train stands or creeps at 1 km/h at most.
void moveReverser(SimState& s, int reverser);

/// A virtual key (key-down event); `shiftAlone` when the modifiers held are exactly Shift.
/// Not subject to the input block.
void keyDown(SimDrive& drive, VirtualKey key, bool shiftAlone);

/// The mouse wheel turned down: one position toward power. Not subject to the input block.
void wheelDown(SimDrive& drive);

/// The mouse wheel turned up: one position toward brake, EB included. Not subject to the
/// input block.
void wheelUp(SimDrive& drive);

}  // namespace velimoro
