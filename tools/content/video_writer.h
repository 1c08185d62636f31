#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace velimoro::content {

/// Writes an MJPEG video in an AVI file one RGB picture at a time. Every call returns an empty
/// string, or what went wrong.
class VideoWriter {
 public:
  VideoWriter();
  ~VideoWriter();
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  /// Creates `path` for pictures of width × height (both even) at `framesPerSecond`;
  /// `quality` is the quantiser scale, 1 best and 31 worst.
  std::string open(const std::string& path, int width, int height, int framesPerSecond,
                   int quality);
  /// Adds the next frame: `rgb` holds height rows of width × 3 bytes, top row first.
  std::string write(const std::uint8_t* rgb);
  /// Flushes the encoder and writes the index; the file is complete afterwards.
  std::string finish();

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace velimoro::content
