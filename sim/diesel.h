#pragma once

#include "sim/drive.h"

namespace velimoro {

/// The automatic gearbox: shifts up above the gear row's top speed and down below its lowest.
void runAutomaticGearbox(Drive& drive);

/// A gear change under way takes one second without traction; one starts when power is taken
/// with the lever away from the gear in use.
void runGearChange(Drive& drive);

/// The gear picture, and the engine stall when power is taken at a crawl in the highest gear.
void runGearPictureAndStall(Drive& drive);

/// The automatic gearbox returns to the first gear row below 10 km/h.
void resetGearAtLowSpeed(Drive& drive);

/// The engine start of the train settings: plays the engine-start sound and runs the engine.
void startEngine(Drive& drive);

/// The engine stop of the train settings: plays the engine-stop sound and stops the engine.
void stopEngine(Drive& drive);

}  // namespace velimoro
