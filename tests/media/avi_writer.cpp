#include "media/avi_writer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "tools/content/video_writer.h"

namespace velimoro::testing {
namespace {

constexpr int kBits = 8;

}  // namespace

std::string writeAvi(const std::string& path, const AviOptions& options,
                     const std::function<void(int, media::RgbPicture&)>& paint) {
  content::VideoFormat format;
  format.width = options.width;
  format.height = options.height;
  format.framesPerSecond = options.framesPerSecond;
  format.quality = options.quality;
  format.codec =
      options.codec == AviCodec::kMjpeg ? content::VideoCodec::kMjpeg : content::VideoCodec::kMpeg4;
  format.keyframeInterval = options.keyframeInterval;
  format.bFrames = options.bFrames;
  content::VideoWriter writer;
  if (std::string error = writer.open(path, format); !error.empty()) return error;
  media::RgbPicture picture;
  for (int i = 0; i < options.frames; ++i) {
    if (std::find(options.dropped.begin(), options.dropped.end(), i) != options.dropped.end()) {
      writer.skip();
      continue;
    }
    picture.width = options.width;
    picture.height = options.height;
    picture.pixels.assign(static_cast<std::size_t>(options.width) * options.height * 3, 0);
    paint(i, picture);
    if (std::string error = writer.write(picture.pixels.data()); !error.empty()) return error;
  }
  return writer.finish();
}

void paintNumberedFrame(int number, media::RgbPicture& picture) {
  const int w = picture.width;
  const int h = picture.height;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint8_t value = 0;
      if (y < h / 2) {
        value = static_cast<std::uint8_t>((x * 2 + y + number * 5) % 256);
      } else {
        const int bit = x * kBits / w;
        value = (number >> bit) & 1 ? 255 : 0;
      }
      std::uint8_t* pixel = &picture.pixels[(static_cast<std::size_t>(y) * w + x) * 3];
      pixel[0] = value;
      pixel[1] = value;
      pixel[2] = value;
    }
  }
}

int readFrameNumber(const media::RgbPicture& picture) {
  const int w = picture.width;
  const int h = picture.height;
  if (w < kBits || h < 4 || picture.pixels.size() < static_cast<std::size_t>(w) * h * 3) return -1;
  int number = 0;
  for (int bit = 0; bit < kBits; ++bit) {
    const int x = (2 * bit + 1) * w / (2 * kBits);
    const int y = h * 3 / 4;
    const int value = picture.pixels[(static_cast<std::size_t>(y) * w + x) * 3 + 1];
    if (value > 64 && value < 192) return -1;
    if (value >= 192) number |= 1 << bit;
  }
  return number;
}

}  // namespace velimoro::testing
