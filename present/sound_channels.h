#pragma once

#include <string>

#include "sim/channels.h"
#include "sim/sim_drive.h"

namespace velimoro {

/// Start-up, first sound step: shows its status, clears the route sound triggers and loads the
/// train's [DriveSound] files from the train folder. Throws DataError with the sound layer's
/// message when one cannot be loaded.
void loadTrainSounds(SimDrive& drive);

/// Start-up, after the route sound lengths are measured: loads the route sounds, the call-out
/// voices, the other sounds and the engine sounds, binds the channel sounds and resets the
/// engine-sound state. A route sound or voice that cannot be loaded is reported through the
/// messages and left silent; any other sound that cannot be loaded throws DataError.
void loadRouteAndEngineSounds(SimDrive& drive);

}  // namespace velimoro
