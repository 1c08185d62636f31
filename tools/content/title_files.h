#pragma once

#include <string>
#include <vector>

#include "present/title.h"
#include "tools/content/canvas.h"
#include "tools/content/synth.h"

namespace velimoro::content {

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
