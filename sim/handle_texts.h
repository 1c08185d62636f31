#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

/// Rebuilds the handle texts from drive.strings and the notch and gear-lever strip patterns
/// from the control fields; cancels constant speed when a handle moved; raises the departure
/// call-out once power is taken with the doors closed. Call after every change of the controls.
void masconupdate(SimDrive& drive);

}  // namespace velimoro
