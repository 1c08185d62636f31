#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// The air brake: the fast step integrates the pressures (30 steps a second, so a rate of X kPa
// per second is X/30 a step); the tick runs the compressor, the dead-man timer, the roll-back
// guard and the brake sounds.

/// Fast step: moves bc, bp, mr, sap and er by the train's brake type, notches and protection
/// flags, then moves the BC gauge. Needs the train's BrakeType, Brake and pressure constants.
void updateAirPressures(SimState& s, const TrainSpec& train);

/// The pressures the brake settles at with the handle held where it stands and no protection
/// brake: bc, bp, sap and er as a long hold there leaves them, the main reservoir full at
/// [HighAirPress] and the compressor off; the BC gauge starts from 0. Needs the notches set.
void settleAirPressures(SimState& s, const TrainSpec& train);

/// Tick: starts the compressor below [LowAirPress], stops it at [HighAirPress], fills mr while on.
void runCompressor(SimDrive& drive);

/// Tick: the dead-man timer of a train with [EB] 1: rings after 601 ticks at speed without a
/// handle operation and applies the emergency brake at 651.
void runDeadManTimer(SimDrive& drive);

/// Every handle operation: the dead-man timer starts again, its ring stops and its lamp goes out.
void resetDeadManTimer(SimDrive& drive);

/// Tick: a train with [Back] 1 set forward that rolls back faster than 5 km/h gets the
/// emergency brake.
void runRollBackGuard(SimDrive& drive);

/// Tick: the release sounds of stepped brakes and the application sound of the automatic brake.
void playBrakeSounds(SimDrive& drive);

}  // namespace velimoro
