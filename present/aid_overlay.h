#pragma once

#include <string>
#include <vector>

#include "media/cab_screen.h"
#include "media/video_reader.h"
#include "sim/sim_drive.h"

namespace velimoro {

// The driver-aid panel over the cab screen's picture: how far the stop point is and how the stop
// came out, the next signal, the limits, the power mode's top notch, a short cue when a notch
// or mode change is refused, and the cause of an automatic brake with what releases it. It lies
// at the picture's top right, under the guidance line and above the speed, where the picture
// shows sky and lineside; it is drawn as the screen's own texts are, on a shaded box, alerts
// on red.

/// One line of the panel.
struct AidLine {
  std::string text;
  bool alert = false;  // drawn on red: a refusal or an automatic brake

  bool operator==(const AidLine&) const = default;
};

/// The panel's place in screen pixels, the shading's fading edge included.
struct AidPanelPlace {
  int left = 0;
  int top = 0;
  int right = 0;  // exclusive
  int bottom = 0;
};

/// Ticks a refused notch or mode change stays on the panel.
inline constexpr int kAidRefusalTicks = 20;

/// The panel's lines for the drive as it stands, top to bottom.
std::vector<AidLine> aidLines(const SimDrive& drive);

/// Where the lines lie on the screen, as `surface` measures them; empty for no lines.
AidPanelPlace aidPanelPlace(const std::vector<AidLine>& lines, const media::CabSurface& surface);

/// Shades the panel's box, and reddens the alert lines, into `picture` (composed at `scale`).
void shadeAidPanel(media::RgbPicture& picture, const std::vector<AidLine>& lines,
                   const media::CabSurface& surface, double scale);

/// Writes the lines, each after its shadow, onto the surface's video picture.
void writeAidPanel(media::CabSurface& surface, const std::vector<AidLine>& lines);

}  // namespace velimoro
