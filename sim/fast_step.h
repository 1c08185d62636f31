#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

/// One 33 ms fast step of the drive, in its fixed order: handle delays, frame advance with the
/// route's frame calibration, the preceding train, position, clock and the timed video frame.
void fastStep(SimDrive& drive);

/// Power delay: after [PowerDelay] fast steps the power notch takes the handle, except a
/// notch-back to a notch between 1 and [NotchBack] - 1.
void applyPowerDelay(SimState& s, const TrainSpec& train);

/// Brake and straight-air-pipe delays: the notches follow the brake handle after their delays.
void applyBrakeDelays(SimState& s, const TrainSpec& train);

/// Moves `frame` by the speed sum, then takes the calibration record of the new frame (its speed
/// sum per frame, and the distance of a record boundary just crossed).
void advanceFrame(SimState& s, const RouteData& route);

/// Takes the calibration record of the frame as the train stands there, without moving the
/// position: the first step from a new place then moves the video by that record's speed sum.
void calibrateFrame(SimState& s, const RouteData& route);

/// Advances the preceding train's frame by its timetable speed while the train is behind it.
void advancePrecedingTrain(SimState& s, const RouteData& route);

/// Integrates the distance of one fast step and the distance to the next stop.
void advancePosition(SimState& s);

}  // namespace velimoro
