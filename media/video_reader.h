#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velimoro::media {

/// A decoded picture: 24-bit RGB, rows top to bottom, no padding.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 3 bytes, R G B
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
  /// Decodes frame `n` into `picture`; false when n is out of range or the frame cannot be
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
