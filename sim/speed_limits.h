#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// The speed-limit sign of the cab screen ("[SpeedLimit]" records: km/h, picture in
// "[SignalImageList2]", value C, first frame, last frame). The sign blinks for the limit whose
// braking curve the train is above (the last such in list order), else for a limit less than
// 100 frames ahead; it stands steady inside a limit and goes away after it. While blinking it
// goes out at each tick count divisible by 5 but not by 10 and comes back at each divisible by 10.

/// Tick step: the blinking of the sign.
void blinkSpeedLimitSign(SimState& s);

/// Tick step: the braking-curve warning and the sign's picture.
void runSpeedLimits(SimDrive& drive);

/// Rounded km/h from which `share` of `brakeRate` km/h/s reaches `target` km/h in `metres`.
int brakingCurveSpeed(long double target, long double brakeRate, long double share,
                      long double metres);

}  // namespace velimoro
