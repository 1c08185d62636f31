#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace velimoro::content {

/// Codings of the videos this writer makes.
enum class VideoCodec { kMjpeg, kMpeg4 };

/// The shape and coding of a video.
struct VideoFormat {
  int width = 0;  // both even
  int height = 0;
  int framesPerSecond = 30;
  int quality = 3;  // quantiser scale: 1 best, 31 worst
  VideoCodec codec = VideoCodec::kMjpeg;
  int keyframeInterval = 30;  // MPEG-4: a keyframe exactly every this many frames
  int bFrames = 0;            // MPEG-4: bidirectional frames between the others, closed groups
};

/// Writes a video in an AVI file one RGB picture at a time (MJPEG, or MPEG-4 part 2). Every
/// call returns an empty string, or what went wrong.
class VideoWriter {
 public:
  VideoWriter();
  ~VideoWriter();
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  /// Creates `path` for pictures of `format`.
  std::string open(const std::string& path, const VideoFormat& format);
  /// An MJPEG video of width × height at `framesPerSecond` with quantiser scale `quality`.
  std::string open(const std::string& path, int width, int height, int framesPerSecond,
                   int quality);
  /// Adds the next frame: `rgb` holds height rows of width × 3 bytes, top row first.
  std::string write(const std::uint8_t* rgb);
  /// Leaves the next frame out, as a capture that dropped it: the file holds an empty chunk in
  /// its place.
  void skip();
  /// Flushes the encoder and writes the index; the file is complete afterwards.
  std::string finish();

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace velimoro::content
