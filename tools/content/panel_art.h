#pragma once

#include <string>

#include "tools/content/canvas.h"
#include "tools/content/train_design.h"

namespace velimoro::content {

/// The panel picture of a train: desk, gauge faces with their scales, dark lamps, clock face.
Canvas drawPanel(const TrainDesign& design);

/// A needle picture: a square with the needle pointing to 12 o'clock from its centre, on the
/// transparent colour. Its centre is put on the gauge centre.
Canvas drawNeedle(int length, Rgb colour);

/// Writes every picture of the train's panel below `root` + "/image/" + name.
void writePanelArt(const TrainDesign& design, const std::string& root);

/// Screen position of a needle picture of `length` on gauge `gauge` (top-left corner).
int needleLength(const GaugeDesign& gauge);
int needleX(const GaugeDesign& gauge);
int needleY(const GaugeDesign& gauge);

}  // namespace velimoro::content
