#pragma once

#include <string>
#include <vector>

#include "tools/content/canvas.h"

namespace velimoro::content {

/// A round gauge drawn on the panel with its needles; each needle is its own sprite and shares
/// the gauge's scale, so the needle's zero angle and degrees per unit are the scale's.
struct GaugeDesign {
  int cx = 0;  // centre on the cab screen
  int cy = 0;
  int radius = 0;
  double maxValue = 0;
  double minValue = 0;
  double labelStep = 0;     // a numbered mark every labelStep units
  double labelDivisor = 1;  // numbers shown are value / labelDivisor
  int zeroAngle = 0;        // degrees clockwise from 12 o'clock at value 0
  double degreesPerUnit = 0;
};

struct NeedleDesign {
  std::string section;  // "[Needle_Speed]" ...
  std::string file;     // below the train's image folder
  int gauge = 0;        // index into TrainDesign::gauges
  Rgb colour;
  int absolute = -1;  // the ammeter's absolute-value switch, -1 for the other needles
};

struct LampDesign {
  std::string section;  // "[Lamp_Door]" ...
  std::string file;
  int x = 0;
  int y = 0;
  std::string mark;
  Rgb lit;
};

/// A picture strip: one pattern per position, laid left to right.
struct StripDesign {
  std::string section;  // "[NotchImageP]" ...
  std::string file;
  int x = 0;
  int y = 0;
  int patternWidth = 0;
  int patternHeight = 0;
  std::vector<std::string> patterns;
  Rgb colour;
};

/// The [Others] pictures: 0 a plate shown all the time, 1 and 2 the door-side indicators.
struct OtherDesign {
  std::string file;
  int x = 0;
  int y = 0;
};

/// Everything about one generated train that its data file, its panel pictures and its sounds
/// must agree on.
struct TrainDesign {
  std::string name;  // "QT600": file "train_QT600.dat", folders image/QT600 and sound/QT600
  bool diesel = false;
  std::string plate;  // digits shown on the plate picture
  Rgb panelColour;
  std::vector<GaugeDesign> gauges;
  std::vector<NeedleDesign> needles;
  std::vector<LampDesign> lamps;
  std::vector<StripDesign> strips;
  std::vector<int> cabSignalCodes;  // speeds of the [Lamp_signal] patterns, in pattern order
  std::vector<OtherDesign> others;
  int clockX = 0;  // top-left of the 50 x 50 clock
  int clockY = 0;
  int clockHand = 0;

  std::string imageFolder() const { return "image\\" + name + "\\"; }
  std::string soundFolder() const { return "sound\\" + name + "\\"; }
  std::string fileName() const { return "train_" + name + ".dat"; }
};

inline constexpr int kPanelTop = 340;  // the route video fills the rows above
inline constexpr int kPanelWidth = 604;
inline constexpr int kPanelHeight = 290;
inline constexpr int kLampWidth = 46;
inline constexpr int kLampHeight = 18;

/// The electric multiple unit (two handles, stepped brake) and the diesel railcar (one handle,
/// automatic air brake).
TrainDesign electricTrainDesign();
TrainDesign dieselTrainDesign();

}  // namespace velimoro::content
