#pragma once

#include "media/cab_screen.h"
#include "media/video_reader.h"

namespace velimoro {

// Pixel work on the cab screen's 604 x 340 picture, done before the texts go on. A picture composed
// at a finer scale holds `scale` pixels a screen pixel; places and sizes stay the screen's.

/// Clamps a channel value into 0 .. 255.
int clampByte(int value);

/// Shades the box behind a text at (x, y) of `width` x `height`: inside the box each channel
/// loses a fifth of the pixel's channel sum, fading to nothing over five pixels around it.
/// Rows and columns outside the picture are left alone.
void shadeTextBox(media::RgbPicture& picture, int x, int y, int height, int width,
                  double scale = 1.0);

/// Lightens the text band (rows 312 .. 339) by 100 a channel, for the guidance line in band
/// mode.
void lightenTextBand(media::RgbPicture& picture, double scale = 1.0);

/// A picture laid over the video picture with a colour key: its pixels of `key` are left out.
struct KeyedPicture {
  media::RgbPicture picture;
  media::Rgb key = 0;
};

/// A copy of a picture of the store, keyed by its bottom-left pixel as the panel's pictures
/// are; empty when the handle has no picture.
KeyedPicture copyKeyedPicture(const media::PictureStore& store, int handle);

/// Stretches `source` onto the square of `size` pixels with its top-left corner at (left, top)
/// of `target`, taking the nearest source pixel; key pixels and whatever falls outside the
/// target are left out. Nothing is drawn for a size below 1 or an empty source.
void stretchKeyed(const KeyedPicture& source, media::RgbPicture& target, int left, int top,
                  int size);

/// One step of the fade to black when the driver leaves the cab: 0 is no fade; a fade starts at
/// 1 and rises by 10 a pass. Returns true when the fade has passed 255, the cab closes and the
/// level returns to 0.
bool advanceFade(int& level);

}  // namespace velimoro
