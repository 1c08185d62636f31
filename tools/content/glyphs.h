#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/canvas.h"

namespace velimoro::content {

/// The two weights of the Japanese font the generated pictures are lettered in.
enum class FontWeight { kRegular, kBold };

/// The font file of a weight (a collection; its Japanese face is used).
std::string fontFile(FontWeight weight);

/// A line of text rendered as coverage, one byte a pixel (0 empty, 255 fully covered). The box
/// is fixed by the pixel size, so that lines of the same size stand on the same baseline: the
/// em square (where a kanji sits) spans rows 0.1 × size to 1.1 × size.
struct TextMask {
  int width = 0;
  int height = 0;
  int baseline = 0;  // row of the baseline from the top
  int advance = 0;   // where the next text would start, pixels from the left
  std::vector<std::uint8_t> coverage;

  std::uint8_t at(int x, int y) const {
    return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
  }
};

/// Renders UTF-8 text at `pixelSize` (the em size in pixels), antialiased. Throws
/// std::invalid_argument for text that is not UTF-8 and std::runtime_error for a character the
/// font has no glyph for, or when the font is missing (naming the file).
TextMask renderText(const std::string& utf8, int pixelSize,
                    FontWeight weight = FontWeight::kRegular);

/// The advance width of the text in pixels: where text drawn after it would start.
int measureText(const std::string& utf8, int pixelSize, FontWeight weight = FontWeight::kRegular);

/// Blends `colour` onto the canvas by the mask's coverage times `opacity` (0..1), the mask's
/// top-left corner at (x, y). Pixels outside the canvas are skipped.
void drawMask(Canvas& canvas, const TextMask& mask, int x, int y, Rgb colour, double opacity = 1.0);

/// Renders and draws the text with its box's top-left corner at (x, y); returns its advance.
int drawText(Canvas& canvas, int x, int y, const std::string& utf8, int pixelSize, Rgb colour,
             FontWeight weight = FontWeight::kRegular);

}  // namespace velimoro::content
