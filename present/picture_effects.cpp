#include "present/picture_effects.h"

#include <algorithm>
#include <cstdint>

#include "data/rounding.h"

namespace velimoro {
namespace {

constexpr int kPictureRows = 340;
constexpr int kBandFirstRow = 312;
constexpr int kBandLighten = 100;
constexpr int kShadeMargin = 5;
constexpr int kShadeFull = 150;
constexpr int kShadeStep = 30;

// How far `value` lies outside [low, high], 0 inside.
int outside(int value, int low, int high) {
  if (value < low) return low - value;
  if (value > high) return value - high;
  return 0;
}

}  // namespace

int clampByte(int value) {
  return std::clamp(value, 0, 255);
}

void shadeTextBox(media::RgbPicture& picture, int x, int y, int height, int width) {
  const int lastRow =
      std::min(y + height + kShadeMargin, std::min(picture.height, kPictureRows) - 1);
  const int firstColumn = std::max(x - kShadeMargin, 0);
  const int lastColumn = std::min(x + width + kShadeMargin, picture.width - 1);
  for (int r = std::max(y - kShadeMargin, 0); r <= lastRow; ++r) {
    const int rowFade = kShadeStep * outside(r, y, y + height);
    for (int j = firstColumn; j <= lastColumn; ++j) {
      const int k =
          std::clamp(kShadeFull - rowFade - kShadeStep * outside(j, x, x + width), 0, kShadeFull);
      if (k == 0) continue;
      std::uint8_t* pixel =
          picture.pixels.data() + (static_cast<std::size_t>(r) * picture.width + j) * 3;
      const int sum = pixel[0] + pixel[1] + pixel[2];
      // A fifth of the channel sum at full strength, rounded as the rest of the system rounds.
      const auto darkening =
          static_cast<int>(roundHalfEven(static_cast<long double>(k) * sum / 750));
      for (int c = 0; c < 3; ++c)
        pixel[c] = static_cast<std::uint8_t>(clampByte(pixel[c] - darkening));
    }
  }
}

void lightenTextBand(media::RgbPicture& picture) {
  const int lastRow = std::min(picture.height, kPictureRows);
  for (int r = kBandFirstRow; r < lastRow; ++r) {
    std::uint8_t* row = picture.pixels.data() + static_cast<std::size_t>(r) * picture.width * 3;
    for (int i = 0; i < picture.width * 3; ++i) {
      row[i] = static_cast<std::uint8_t>(clampByte(row[i] + kBandLighten));
    }
  }
}

bool advanceFade(int& level) {
  if (level <= 0) return false;
  level += 10;
  if (level <= 255) return false;
  level = 0;
  return true;
}

}  // namespace velimoro
