#pragma once

#include <string>

#include "sim/sim_drive.h"

namespace velimoro {

/// The speed as the cab shows it: "%5.1f" followed by " km/h".
std::string speedText(long double speed);

/// The brake-shoe friction coefficient at `speed` km/h for a speed factor `k` ([BrakeRate2]).
long double brakeShoeFriction(long double speed, long double k);

/// Brake force in N that the brake cylinder pressure `bc` gives at brake rate `rate` (km/h/s at
/// the emergency pressure).
long double brakeForce(const TrainSpec& train, Fixed rate, Fixed bc);

/// Speed change in km/h of one 0.1 s tick under `force` N.
long double speedChange(const TrainSpec& train, long double force);

/// The tick's motion: brake rate and force, adhesion with slip and slide, gradient, starting
/// and running resistance, hold brake and constant speed, standstill, speed integration and the
/// brake squeal.
void runMotion(SimDrive& drive);

/// The effective gradient: the gradient board of the range the train is in, and the per-car
/// samples taken every 20 m whose mean the train feels.
void sampleGradient(SimDrive& drive);

}  // namespace velimoro
