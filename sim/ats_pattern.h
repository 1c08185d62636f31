#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// ATS-P brakes the train on a curve towards the first beacon within 600 m ahead that sets a
// target: a stop signal showing stop (the target 15 m before its beacon), a station stop not yet
// reached while faster than 5 km/h, or a speed beacon.

/// An ATS-P target.
struct PatternTarget {
  int speed = 999;     // km/h; 999 none
  long double cm = 0;  // distance from the train to the target
  bool stationStop = false;
};

/// The ATS-P target ahead of the train.
PatternTarget patternTarget(const SimDrive& drive);

/// ATS-P: the braking curve, the pattern state with its lamps and brake, and the pattern text.
void runAtsPattern(SimDrive& drive);

}  // namespace velimoro
