#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/content/canvas.h"

namespace velimoro::content {

/// Creates the folders of `path` and writes the bytes; throws std::runtime_error naming the file
/// when it cannot be written.
void writeBytes(const std::string& path, const std::string& bytes);

/// UTF-8 text converted to CP932 (iconv); throws std::runtime_error naming `what` when a
/// character has no CP932 form.
std::string toCp932(const std::string& utf8, const std::string& what);

/// Writes `lines` as a CP932 text file with CR LF after every line, as data files from Windows
/// are.
void writeCp932Lines(const std::string& path, const std::vector<std::string>& lines);

/// A 24-bit BMP file of the picture. With `transparent`, its bottom-left pixel is set to that
/// colour first, since the cab panel takes the transparent colour from that pixel.
std::string bmpBytes(const Canvas& picture, std::optional<Rgb> transparent = std::nullopt);
void writeBmp(const std::string& path, const Canvas& picture,
              std::optional<Rgb> transparent = std::nullopt);

/// A baseline JPEG file of the picture (libjpeg-turbo), `quality` 1..100.
std::string jpegBytes(const Canvas& picture, int quality);
void writeJpeg(const std::string& path, const Canvas& picture, int quality = 85);

/// A picture with an alpha channel: four bytes a pixel (red, green, blue, alpha), rows top to
/// bottom.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

/// A PNG file of the picture, 8 bits a channel with alpha (zlib).
std::string pngBytes(const RgbaPicture& picture);
void writePng(const std::string& path, const RgbaPicture& picture);

/// A PCM WAVE file, mono, of `samples` in -1..1 at `rate` Hz with 8 or 16 bits a sample.
std::string waveBytes(const std::vector<float>& samples, int rate, int bits);
void writeWave(const std::string& path, const std::vector<float>& samples, int rate = 22050,
               int bits = 8);

}  // namespace velimoro::content
