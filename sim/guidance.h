#pragma once

#include <string>

#include "sim/sim_drive.h"

namespace velimoro {

// Guidance tells a learner driver what to do next. A result starts with one digit: "0" a
// sentence to show, "1" a wave file to play once, "2" a wave file to play looped (the file
// relative to the data root); an empty result means nothing to say.

/// The guidance for the state of `drive` now, by its rules in order, later rules replacing
/// earlier ones except where they append.
std::string guidanceMessage(const SimDrive& drive);

/// A guidance result that differs from the last one: a sentence is shown (with the guidance
/// display switched on), a wave is played on the guidance channel; then it becomes the last.
void useGuidance(SimDrive& drive, const std::string& result);

/// Tick step: the guidance of this tick into `guidance_text`, then useGuidance.
void runGuidance(SimDrive& drive);

}  // namespace velimoro
