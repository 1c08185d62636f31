#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace velimoro::media {

/// How a picture's pixels lie in its bytes.
enum class PixelLayout {
  kRgb24,   // three bytes a pixel: red, green, blue
  kXrgb32,  // a 32-bit word a pixel, 0xffRRGGBB in the machine's byte order, as a screen holds it
};

/// A decoded picture, rows top to bottom, no padding.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * bytesPerPixel()
  PixelLayout layout = PixelLayout::kRgb24;

  int bytesPerPixel() const { return layout == PixelLayout::kRgb24 ? 3 : 4; }
  /// Where the three colour bytes of a pixel begin among its bytes. Effects that treat the
  /// three channels alike work on them in either layout.
  int colourOffset() const {
    return layout == PixelLayout::kXrgb32 && std::endian::native == std::endian::big ? 1 : 0;
  }
  /// The pixel at byte `at` as 0xRRGGBB, and written from it.
  std::uint32_t rgbAt(std::size_t at) const {
    const std::uint8_t* p = pixels.data() + at;
    if (layout == PixelLayout::kRgb24) return std::uint32_t{p[0]} << 16 | p[1] << 8 | p[2];
    std::uint32_t word = 0;
    std::memcpy(&word, p, 4);
    return word & 0xffffff;
  }
  void setRgb(std::size_t at, std::uint32_t rgb) {
    std::uint8_t* p = pixels.data() + at;
    if (layout == PixelLayout::kRgb24) {
      p[0] = static_cast<std::uint8_t>(rgb >> 16);
      p[1] = static_cast<std::uint8_t>(rgb >> 8);
      p[2] = static_cast<std::uint8_t>(rgb);
      return;
    }
    const std::uint32_t word = 0xff000000 | rgb;
    std::memcpy(p, &word, 4);
  }
};

/// Reads frames of a route video by number. Frame n is exactly the n-th frame of the file
/// (counted from 0), whatever was read before.
class VideoReader {
 public:
  virtual ~VideoReader() = default;

  /// Opens the video file; false (with `error` set) when it cannot be opened or has no video.
  virtual bool open(const std::string& path, std::string& error) = 0;
  /// Frames in the open video; 0 when none is open.
  virtual int frameCount() const = 0;
  /// Decodes frame `n` into `picture`, in the picture's layout if the reader can (the caller
  /// converts what comes in another); false when n is out of range or the frame cannot be
  /// decoded (the caller keeps its last good picture).
  virtual bool decodeFrame(int n, RgbPicture& picture) = 0;
  /// Frames are decoded scaled to `width` x `height` from now on, straight to the size they are
  /// shown at; 0 x 0 (as opened) gives each at its own size. A reader may ignore it: the caller
  /// scales what it gets.
  virtual void setOutputSize(int /*width*/, int /*height*/) {}
  /// Hints that frames from `n` on in `direction` (+1 forwards, -1 backwards) come next, so a
  /// reader may decode ahead; a reader may ignore it.
  virtual void prefetch(int n, int direction) = 0;
  /// Hints that the drive may jump to these frames (its stations), most likely first, so a
  /// reader may decode them while it has time and show them at once; a reader may ignore it.
  virtual void expectJumps(const std::vector<int>& frames) { (void)frames; }
};

}  // namespace velimoro::media
