#pragma once

#include <string>

#include "sim/sim_drive.h"

namespace velimoro {

// Guidance tells a learner driver what to do next. A result is "0" followed by the sentence to
// show; an empty result means nothing to say. Every rule says a sentence: no rule asks for a
// wave, so the guidance channel stays silent.

/// The guidance for the state of `drive` now, by its rules in order, later rules replacing
/// earlier ones except where they append.
std::string guidanceMessage(const SimDrive& drive);

/// A guidance result that differs from the last one: a sentence is shown (with the guidance
/// display switched on); then it becomes the last.
void useGuidance(SimDrive& drive, const std::string& result);

/// Tick step: the guidance of this tick into `guidance_text`, then useGuidance.
void runGuidance(SimDrive& drive);

}  // namespace velimoro
