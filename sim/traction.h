#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

/// Acceleration in km/h/s of an electric train's power notch `notch` at speed `speed`, from the
/// notch's "[Notch]" curve (the start-up branch below [PowerJerk] included).
long double electricAcceleration(const TrainSpec& train, int notch, long double speed);

/// Acceleration in km/h/s of a diesel railcar in gear row `gearIndex` at power notch `notch`.
long double dieselAcceleration(const TrainSpec& train, int gearIndex, int notch, long double speed);

/// The fast step's traction: the protection warning sound, then the tractive force of the
/// effective notch added to `force` and signed by the reverser.
void addTractionForce(SimDrive& drive);

}  // namespace velimoro
