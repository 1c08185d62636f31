#pragma once

#include <string_view>

#include "sim/sim_drive.h"

namespace velimoro {

// What a newcomer needs at a glance: how far the next stop point is and how the last stop came
// out, the next signal, the limit in force and the next one, the top notch of the power mode,
// and why the train braked by itself. The tick fills these into SimState at its end, so the
// trace, the headless driver, the run report and the cab screen's aid overlay read one source.

/// What applied an automatic brake. The numbers are the trace's and the saved state's.
enum class BrakeCause : int {
  kNone = 0,
  kVigilance = 1,   // the EB device: no handle moved for too long while moving
  kAtsWarning = 2,  // the warning-type ATS: its alarm was not acknowledged in time
  kAtsStop = 3,     // the warning-type ATS: a stop signal's beacon passed
  kAtsPattern = 4,  // the pattern-type ATS: the speed was above its pattern
  kSpeedCheck = 5,  // a speed check's alarm was not acknowledged in time
  kCabSignal = 6,   // the cab signal: the speed was above its code
  kRollBack = 7,    // the roll-back guard: the train ran backwards in forward
};
inline constexpr int kBrakeCauses = 8;

/// A notch or mode change that was refused, for the overlay's short cue.
enum class AidRefusal : int { kNone = 0, kTopNotch = 1, kModeWithPower = 2 };

/// The cause's name in events and reports ("vigilance", "ats_warning", …; "" for none).
const char* brakeCauseName(BrakeCause cause);

/// The cause as the aid overlay says it, with what releases it; marked for translation in the
/// context "DriverAids", translated where it is shown.
const char* brakeCauseText(BrakeCause cause);

/// The cause in a few words, as the run report names it; translated like brakeCauseText.
const char* brakeCauseLabel(BrakeCause cause);

/// The cause of a name brakeCauseName gives; kNone for any other.
BrakeCause brakeCauseNamed(std::string_view name);

/// The cause of a number read from a trace or a saved state; kNone for one out of range.
BrakeCause brakeCauseOf(int value);

/// Notes `cause` as the one that applied the automatic brake now in force, unless another one
/// came first and still holds.
void noteAutomaticBrake(SimState& s, BrakeCause cause);

/// Notes a refused notch or mode change at the present tick.
void noteRefusal(SimState& s, AidRefusal refusal);

/// Tick step (at its end): the aid values of the route ahead, and the brake cause forgotten once
/// no automatic brake holds.
void updateDriverAids(SimDrive& drive);

}  // namespace velimoro
