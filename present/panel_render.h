#pragma once

#include <optional>

#include "data/route_data.h"
#include "data/train_record.h"
#include "sim/sim_state.h"

namespace velimoro {

struct SimDrive;
struct CabPanel;

/// The sprite angle (0 .. 255, one full turn) of a needle showing `value`: the needle's offset
/// plus its rate times the value, in degrees, at 255 units per turn. `scale` is the fixed-point
/// scale of `value` (1 for plain numbers). Nullopt when the result is not a usable number.
std::optional<int> needleAngle(const GaugeNeedle& needle, long double value, long double scale = 1);

/// The overlay alpha (0 .. 255) of the tunnels at `positionCm`: fading in over the first
/// 1500 cm, fading out over the last 1500 cm, the tunnel's darkness in between.
int tunnelAlpha(const RouteData& route, long double positionCm);

/// The row of the remaining-distance pointer for `remainCm` to the stop; -30 out of sight.
int stopPointerTop(long double remainCm);

/// Places the stop-line marker on the video picture and the remaining-distance pointer from the
/// distance to the next stop (state fields stop_line_* and stop_pointer_top).
void placeStopLine(SimState& s, const RouteData& route);

/// Turns the gauge needles to the current values.
void renderNeedles(SimDrive& drive, const CabPanel& panel);

/// Switches the pilot lamps.
void renderLamps(SimDrive& drive, const CabPanel& panel);

/// The rest of the panel at the end of a tick: the stop line and its pointer, the tunnel
/// overlay, the door-side indicators, the strips' patterns and the clock picture.
void renderPanelIndicators(SimDrive& drive, const CabPanel& panel);

}  // namespace velimoro
