#pragma once

#include <string>
#include <vector>

#include "tools/content/canvas.h"
#include "tools/content/synth.h"

namespace velimoro::content {

/// Where a picture of the route menu sits on the 800 × 600 client area.
struct MenuBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The route menu drawn on "title2.jpg". The background leaves these places free (darkened
// panels behind them) and letters their headings:
//  - route buttons line1 … line6, 280 × 62, in a column from (50, 104), one every 70 pixels
//    (the last ends at y 516); the selection cursor goes in the 40 pixels left of them;
//  - the route maps lineA … lineC, 400 × 250, all at (370, 104);
//  - the train buttons train1 and train2, 195 × 120, at (370, 394) and (575, 394);
//  - the row below y 540 is left for the program's own help, back and quit buttons.
inline constexpr MenuBox kRouteButton{50, 104, 280, 62};  // the first; the others lower down
inline constexpr int kRouteButtonPitch = 70;
inline constexpr MenuBox kRouteMap{370, 104, 400, 250};
inline constexpr MenuBox kTrainButtons[2] = {{370, 394, 195, 120}, {575, 394, 195, 120}};

/// Size of the title pictures, the menu background and the slides.
inline constexpr int kTitleWidth = 800;
inline constexpr int kTitleHeight = 600;

/// The opening and ending slideshows and the seconds each slide stays on screen.
inline constexpr int kOpeningSlides = 20;
inline constexpr int kEndingSlides = 16;
inline constexpr double kOpeningSlideSeconds = 5.0;
inline constexpr double kEndingSlideSeconds = 11.3;

/// Every file the title screen reads that the generator writes, relative to the data root with
/// "/" separators. There is no opening movie ("move/opening.avi"): the title screen then runs
/// the opening slideshow with its music alone.
std::vector<std::string> titleFileNames();

/// The pictures, each drawn on its own (for the tests and for looking at one).
Canvas routeButton(int index);   // 0..5, menu order
Canvas routeMap(char map);       // 'A', 'B' or 'C'
Canvas trainButton(int index);   // 0 the electric multiple unit, 1 the diesel railcar
Canvas titlePicture(int index);  // 0..5
Canvas menuBackground();
Canvas openingSlide(int index);  // 0..19
Canvas endingSlide(int index);   // 0..15

/// The music at kSampleRate: the opening (about 40 s), the ending (about 60 s) and the start
/// jingle (about 1.5 s).
Samples openingMusic();
Samples endingMusic();
Samples startJingle();

/// Writes every file of titleFileNames() into `root`: BMP buttons and maps, JPEG pictures
/// (quality 80) and 16-bit mono WAVE music at kSampleRate.
void writeTitleFiles(const std::string& root);

}  // namespace velimoro::content
