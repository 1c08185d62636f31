#pragma once

#include "sim/signal_codes.h"
#include "sim/sim_drive.h"

namespace velimoro {

// Lineside signals. Each tick every signal takes a state S (0 stop .. 4 four clear blocks) and
// an aspect code; the signal whose view range holds the frame gives `signal_aspect`, its
// pictures for the cab screen and the signal call-out. The route's "[Signal]" record gives:
// field 1 the state mode (0 the preceding train, 1 the stored state until a time of day, 2 the
// stored state always, 3 the stored state until a station's departure is announced), field 2
// the stored state, field 3 the mode's time (ticks of 1/30 s) or station, field 4 the lamp type,
// fields 5 and 6 the view range, field 7 the first (alarm) beacon's frame, field 8 the signal's
// own frame (its stop beacon), fields 9 to 11 the number plate and the left and right side
// indicator pictures (0 none) and field 12 the cab speed code of its block (22 .. 29, 0 none).

/// The state S of signal `index`: by its mode, else by the preceding train's place.
int signalState(const SimDrive& drive, int index);

/// Lights the repeater lamp of `aspect`'s class and puts the others out (all out for kNone).
void setRepeaterLamps(SimState& s, AspectClass aspect);

/// Puts the signal pictures out and back to their home places, with no aspect shown.
void clearSignalPictures(SimState& s);

/// Tick step: states and aspects, the signal in view and its pictures, the ATS-S beacon checks.
void runSignals(SimDrive& drive);

}  // namespace velimoro
