#pragma once

#include <functional>
#include <string>
#include <vector>

#include "media/video_reader.h"

namespace velimoro::testing {

enum class AviCodec { kMjpeg, kMpeg4 };

struct AviOptions {
  AviCodec codec = AviCodec::kMjpeg;
  int width = 160;
  int height = 96;
  int frames = 120;
  int framesPerSecond = 30;
  int keyframeInterval = 30;  // MPEG-4; every MJPEG frame is a keyframe
  int quality = 3;            // quantiser scale: 1 best, 31 worst
  int bFrames = 0;            // MPEG-4: bidirectional frames between the others, in closed groups
  // Frames left out, as a capture that dropped them: the file holds an empty chunk in their
  // place, and a player shows the frame before again.
  std::vector<int> dropped;
};

/// Writes an AVI file whose frame i is the picture `paint(i, picture)` draws (RGB at the
/// options' size); returns an empty string, or what went wrong.
std::string writeAvi(const std::string& path, const AviOptions& options,
                     const std::function<void(int, media::RgbPicture&)>& paint);

/// Draws frame `number` (0 … 255): its bits as eight black or white bars across the lower half,
/// under a grey ramp that moves with the number.
void paintNumberedFrame(int number, media::RgbPicture& picture);

/// The number paintNumberedFrame drew, read back after lossy coding; -1 when a bar is unclear.
int readFrameNumber(const media::RgbPicture& picture);

}  // namespace velimoro::testing
