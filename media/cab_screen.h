#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "media/picture_loader.h"
#include "media/video_reader.h"

namespace velimoro::media {

/// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

/// The pictures of the cab screen: loaded from files (BMP, JPEG) or made blank, with a
/// transparent colour and a pattern size for strips. Handles come from PictureLoader::load or
/// createPicture.
class PictureStore : public PictureLoader {
 public:
  /// A blank picture of `width` x `height` filled with `fill`; returns its handle.
  virtual int createPicture(int width, int height, Rgb fill) = 0;
  /// The colour of pixel (x, y), if the handle and the pixel exist.
  virtual std::optional<Rgb> pixel(int handle, int x, int y) const = 0;
  /// Pixels of `colour` are drawn transparent (or nothing is, when `on` is false).
  virtual void setTransparent(int handle, bool on, Rgb colour) = 0;
  /// The picture is a strip of patterns of this size (by default one pattern, the whole picture).
  virtual void setPatternSize(int handle, int width, int height) = 0;
  /// Clears a picture to `fill`.
  virtual void clearPicture(int handle, Rgb fill) = 0;
  /// Draws a line of `width` pixels onto a picture.
  virtual void drawLine(int handle, int x0, int y0, int x1, int y1, Rgb colour, int width) = 0;
};

/// The sprite engine of the cab panel: pictures placed on the screen in Z order. A rotating
/// sprite turns its picture about its centre (angle in 1/256 turns) and blends it by alpha.
class SpriteEngine {
 public:
  virtual ~SpriteEngine() = default;
  /// A new sprite showing picture `picture`, visible, at (0, 0), Z 0, pattern 0, sized to the
  /// picture's pattern; a rotating sprite starts at angle 0 and alpha 255. Returns its id.
  virtual int createSprite(int picture, bool rotating) = 0;
  virtual void setPosition(int sprite, double x, double y) = 0;
  virtual void setZ(int sprite, int z) = 0;
  virtual void setSize(int sprite, int width, int height) = 0;
  virtual void setVisible(int sprite, bool visible) = 0;
  virtual void setPattern(int sprite, int pattern) = 0;
  /// The angle's low 8 bits count: 0 .. 255 is one full turn.
  virtual void setAngle(int sprite, int angle) = 0;
  /// 0 invisible .. 255 opaque; values outside are clamped.
  virtual void setAlpha(int sprite, int alpha) = 0;
};

/// The cab screen's drawing surface, 604 x 630: the video picture in the top 340 rows under the
/// texts, the sprites, a fade, then a flip that presents the composed screen.
class CabSurface {
 public:
  static constexpr int kWidth = 604;
  static constexpr int kHeight = 630;

  virtual ~CabSurface() = default;
  /// Whether drawing is possible now (the window can show a frame).
  virtual bool canDraw() const = 0;
  /// The size in device pixels the video picture is composed at: the screen's top 604 x 340
  /// at the surface's scale (texts and places stay in the screen's pixels).
  virtual std::pair<int, int> videoPixels() const { return {kWidth, 340}; }
  /// The layout of video pictures the surface takes without converting them.
  virtual PixelLayout videoLayout() const { return PixelLayout::kRgb24; }
  /// Puts the composed video picture on the video surface (replacing what was there).
  virtual void setVideoPicture(const RgbPicture& picture) = 0;
  /// Writes `text` on the video surface at (x, y) with the given size in points and colour;
  /// returns the text's width and height in pixels.
  virtual std::pair<int, int> drawText(int x, int y, const std::string& text, int size,
                                       Rgb colour) = 0;
  /// The width and height `text` would take.
  virtual std::pair<int, int> measureText(const std::string& text, int size) const = 0;
  /// Fills the whole screen.
  virtual void fillScreen(Rgb colour) = 0;
  /// Draws every visible sprite in Z order.
  virtual void drawSprites() = 0;
  /// Draws the video surface at (0, 0).
  virtual void drawVideoSurface() = 0;
  /// Draws picture `picture` of the store whole, with its transparent colour, with its top-left
  /// corner at (x, y) over what is there (clipped to the screen).
  virtual void drawPicture(int picture, int x, int y) = 0;
  /// Fills a rectangle with `colour` at `alpha` (0 .. 255) over what is there.
  virtual void fillRectAlpha(int left, int top, int right, int bottom, Rgb colour, int alpha) = 0;
  /// Presents the composed screen. What the surface holds after it is undefined: the next
  /// screen starts with fillScreen.
  virtual void flip() = 0;
};

}  // namespace velimoro::media
