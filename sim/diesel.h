#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

/// The automatic gearbox: shifts up above the gear row's top speed and down below its lowest.
void runAutomaticGearbox(SimDrive& drive);

/// A gear change under way takes one second without traction; one starts when power is taken
/// with the lever away from the gear in use.
void runGearChange(SimDrive& drive);

/// The gear picture, and the engine stall when power is taken at a crawl in the highest gear.
void runGearPictureAndStall(SimDrive& drive);

/// The automatic gearbox returns to the first gear row below 10 km/h.
void resetGearAtLowSpeed(SimDrive& drive);

/// The engine start of the train settings: plays the engine-start sound when the engine stands;
/// the engine runs once the starter has turned (runEngine, 700 ms later).
void startEngine(SimDrive& drive);

/// The engine runs.
void runEngine(SimDrive& drive);

/// The engine stop of the train settings: plays the engine-stop sound and stops the engine.
void stopEngine(SimDrive& drive);

}  // namespace velimoro
