#include "present/picture_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

double distanceOutside(double value, double low, double high) {
  if (value < low) return low - value;
  if (value > high) return value - high;
  return 0;
}

// Darkens the pixel at `pixel` by k / 750 of its channel sum: a fifth at full strength, rounded
// as the rest of the system rounds (half to even). An integer k is rounded exactly; a fractional
// one, which only a finer picture's fading edges give, in doubles.
void darken(std::uint8_t* pixel, int k) {
  const int sum = pixel[0] + pixel[1] + pixel[2];
  const int product = k * sum;
  int darkening = product / 750;
  const int twice = 2 * (product % 750);
  if (twice > 750 || (twice == 750 && darkening % 2 != 0)) ++darkening;
  for (int c = 0; c < 3; ++c)
    pixel[c] = static_cast<std::uint8_t>(std::max(pixel[c] - darkening, 0));
}

void darken(std::uint8_t* pixel, double k) {
  const int sum = pixel[0] + pixel[1] + pixel[2];
  const auto darkening = static_cast<int>(std::nearbyint(k * sum / 750));
  for (int c = 0; c < 3; ++c)
    pixel[c] = static_cast<std::uint8_t>(std::clamp(pixel[c] - darkening, 0, 255));
}

std::uint8_t* pixelAt(media::RgbPicture& picture, int r, int j) {
  return picture.pixels.data() +
         (static_cast<std::size_t>(r) * picture.width + j) * picture.bytesPerPixel() +
         picture.colourOffset();
}

// The box's shading on a picture of `scale` pixels a screen pixel: each pixel's centre, taken
// back to the screen's pixels, fades as far from the box as it lies there.
void shadeScaled(media::RgbPicture& picture, int x, int y, int height, int width, double scale) {
  const auto device = [scale](double at) { return static_cast<int>(std::floor(at * scale)); };
  const int rows = std::min(picture.height, static_cast<int>(std::lround(kPictureRows * scale)));
  const int firstRow = std::max(device(y - kShadeMargin), 0);
  const int lastRow = std::min(device(y + height + kShadeMargin + 1), rows - 1);
  const int firstColumn = std::max(device(x - kShadeMargin), 0);
  const int lastColumn = std::min(device(x + width + kShadeMargin + 1), picture.width - 1);
  if (lastColumn < firstColumn) return;
  std::vector<double> columnFade(static_cast<std::size_t>(lastColumn - firstColumn + 1));
  for (int j = firstColumn; j <= lastColumn; ++j)
    columnFade[static_cast<std::size_t>(j - firstColumn)] =
        kShadeStep * distanceOutside((j + 0.5) / scale - 0.5, x, x + width);
  const int step = picture.bytesPerPixel();
  for (int r = firstRow; r <= lastRow; ++r) {
    const double rowFade = kShadeStep * distanceOutside((r + 0.5) / scale - 0.5, y, y + height);
    std::uint8_t* pixel = pixelAt(picture, r, firstColumn);
    for (const double fade : columnFade) {
      const double k = kShadeFull - rowFade - fade;
      // Inside the box every pixel takes the full strength, which is whole.
      if (k >= kShadeFull)
        darken(pixel, kShadeFull);
      else if (k > 0)
        darken(pixel, k);
      pixel += step;
    }
  }
}

}  // namespace

int clampByte(int value) {
  return std::clamp(value, 0, 255);
}

void shadeTextBox(media::RgbPicture& picture, int x, int y, int height, int width, double scale) {
  if (scale != 1.0) {
    shadeScaled(picture, x, y, height, width, scale);
    return;
  }
  const int lastRow =
      std::min(y + height + kShadeMargin, std::min(picture.height, kPictureRows) - 1);
  const int firstColumn = std::max(x - kShadeMargin, 0);
  const int lastColumn = std::min(x + width + kShadeMargin, picture.width - 1);
  for (int r = std::max(y - kShadeMargin, 0); r <= lastRow; ++r) {
    const int rowFade = kShadeStep * outside(r, y, y + height);
    for (int j = firstColumn; j <= lastColumn; ++j) {
      const int k =
          std::clamp(kShadeFull - rowFade - kShadeStep * outside(j, x, x + width), 0, kShadeFull);
      if (k > 0) darken(pixelAt(picture, r, j), k);
    }
  }
}

void lightenTextBand(media::RgbPicture& picture, double scale) {
  const int lastRow = std::min(picture.height, static_cast<int>(std::lround(kPictureRows * scale)));
  for (int r = static_cast<int>(std::lround(kBandFirstRow * scale)); r < lastRow; ++r) {
    const int step = picture.bytesPerPixel();
    std::uint8_t* row = picture.pixels.data() + static_cast<std::size_t>(r) * picture.width * step +
                        picture.colourOffset();
    for (int i = 0; i < picture.width * step; i += step) {
      for (int c = i; c < i + 3; ++c)
        row[c] = static_cast<std::uint8_t>(clampByte(row[c] + kBandLighten));
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

KeyedPicture copyKeyedPicture(const media::PictureStore& store, int handle) {
  KeyedPicture out;
  const auto size = store.size(handle);
  if (!size || size->first <= 0 || size->second <= 0) return out;
  const auto [width, height] = *size;
  out.picture.width = width;
  out.picture.height = height;
  out.picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  auto* p = out.picture.pixels.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const media::Rgb c = store.pixel(handle, x, y).value_or(0);
      *p++ = static_cast<std::uint8_t>(c >> 16);
      *p++ = static_cast<std::uint8_t>(c >> 8);
      *p++ = static_cast<std::uint8_t>(c);
    }
  }
  out.key = store.pixel(handle, 0, height - 1).value_or(0);
  return out;
}

void stretchKeyed(const KeyedPicture& source, media::RgbPicture& target, int left, int top,
                  int size) {
  const media::RgbPicture& src = source.picture;
  if (size < 1 || src.width <= 0 || src.height <= 0) return;
  const auto keyR = static_cast<std::uint8_t>(source.key >> 16);
  const auto keyG = static_cast<std::uint8_t>(source.key >> 8);
  const auto keyB = static_cast<std::uint8_t>(source.key);
  // Only the part of the square that lies on the target is visited; the marker may stand far
  // off the picture when the perspective puts it there.
  const long long firstRow = std::max<long long>(0, -static_cast<long long>(top));
  const long long lastRow = std::min<long long>(size, static_cast<long long>(target.height) - top);
  const long long firstCol = std::max<long long>(0, -static_cast<long long>(left));
  const long long lastCol = std::min<long long>(size, static_cast<long long>(target.width) - left);
  const long long step = target.bytesPerPixel();
  for (long long dy = firstRow; dy < lastRow; ++dy) {
    const long long sy = dy * src.height / size;
    const std::uint8_t* srcRow = src.pixels.data() + static_cast<std::size_t>(sy * src.width * 3);
    const auto row = static_cast<std::size_t>((top + dy) * target.width * step);
    for (long long dx = firstCol; dx < lastCol; ++dx) {
      const std::uint8_t* from = srcRow + static_cast<std::size_t>(dx * src.width / size * 3);
      if (from[0] == keyR && from[1] == keyG && from[2] == keyB) continue;
      target.setRgb(row + static_cast<std::size_t>((left + dx) * step),
                    std::uint32_t{from[0]} << 16 | std::uint32_t{from[1]} << 8 | from[2]);
    }
  }
}

}  // namespace velimoro
