#include "tools/content/writers.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <zlib.h>

#include "media/translate.h"

namespace velimoro::content {
namespace {

void put16(std::string& out, unsigned value) {
  out.push_back(static_cast<char>(value & 0xff));
  out.push_back(static_cast<char>((value >> 8) & 0xff));
}

void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xffff);
  put16(out, value >> 16);
}

void putBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((value >> shift) & 0xff));
}

// A PNG chunk: length, type, data and the CRC of type and data.
void putChunk(std::string& out, const char* type, const std::string& data) {
  putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(typed.data()),
                          static_cast<uInt>(typed.size()));
  putBigEndian32(out, static_cast<std::uint32_t>(crc));
}

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, error->message);
  std::longjmp(error->jump, 1);
}

// Runs the compressor; no object with a destructor lives in this frame, so the error jump
// leaves nothing behind. Returns false with `error.message` set on failure.
bool compressJpeg(const unsigned char* rgb, int width, int height, int quality, JpegError& error,
                  unsigned char** out, unsigned long* size) {
  jpeg_compress_struct info;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = onJpegError;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(rgb) + static_cast<std::size_t>(info.next_scanline) *
                                                         static_cast<std::size_t>(width) * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

void writeBytes(const std::string& path, const std::string& bytes) {
  const std::filesystem::path file(path);
  std::error_code ignored;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out)
    throw std::runtime_error(
        media::fill(media::translate("ContentProgress", "%1 に書き込めません"), {path}));
}

std::string toCp932(const std::string& utf8, const std::string& what) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP932");
  std::string in = utf8;
  std::string out(in.size() * 2 + 16, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) {
    const std::size_t at = in.size() - inLeft;
    throw std::runtime_error(what + ": text without a CP932 form near \"" +
                             utf8.substr(at, std::min<std::size_t>(12, utf8.size() - at)) + "\"");
  }
  out.resize(out.size() - outLeft);
  return out;
}

void writeCp932Lines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  writeBytes(path, toCp932(text, path));
}

std::string bmpBytes(const Canvas& picture, std::optional<Rgb> transparent) {
  const int w = picture.width(), h = picture.height();
  const std::uint32_t rowBytes = static_cast<std::uint32_t>((w * 3 + 3) / 4 * 4);
  const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(h);
  std::string out;
  out.reserve(54 + dataBytes);
  out += "BM";
  put32(out, 54 + dataBytes);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(w));
  put32(out, static_cast<std::uint32_t>(h));  // positive: rows bottom to top
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, dataBytes);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      Rgb c = picture.at(x, y);
      if (transparent && x == 0 && y == h - 1) c = *transparent;
      out.push_back(static_cast<char>(c.b));
      out.push_back(static_cast<char>(c.g));
      out.push_back(static_cast<char>(c.r));
    }
    out.append(rowBytes - static_cast<std::uint32_t>(w) * 3, '\0');
  }
  return out;
}

void writeBmp(const std::string& path, const Canvas& picture, std::optional<Rgb> transparent) {
  writeBytes(path, bmpBytes(picture, transparent));
}

std::string jpegBytes(const Canvas& picture, int quality) {
  std::vector<unsigned char> rgb;
  rgb.reserve(picture.pixels().size() * 3);
  for (const Rgb& c : picture.pixels()) {
    rgb.push_back(c.r);
    rgb.push_back(c.g);
    rgb.push_back(c.b);
  }
  JpegError error{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = compressJpeg(rgb.data(), picture.width(), picture.height(),
                               std::clamp(quality, 1, 100), error, &buffer, &size);
  std::string out;
  if (buffer != nullptr) {
    if (ok) out.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
  }
  if (!ok) throw std::runtime_error(std::string("JPEG compression failed: ") + error.message);
  return out;
}

void writeJpeg(const std::string& path, const Canvas& picture, int quality) {
  writeBytes(path, jpegBytes(picture, quality));
}

std::string pngBytes(const RgbaPicture& picture) {
  const std::size_t row = static_cast<std::size_t>(picture.width) * 4;
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != row * static_cast<std::size_t>(picture.height))
    throw std::runtime_error("PNG: the picture's size and pixels disagree");
  // Each row starts with its filter type, 0: the bytes as they are.
  std::string raw;
  raw.reserve((row + 1) * static_cast<std::size_t>(picture.height));
  for (int y = 0; y < picture.height; ++y) {
    raw.push_back('\0');
    const auto* start = picture.pixels.data() + row * static_cast<std::size_t>(y);
    raw.append(reinterpret_cast<const char*>(start), row);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("PNG: zlib could not compress the picture");
  packed.resize(packedSize);

  std::string header;
  putBigEndian32(header, static_cast<std::uint32_t>(picture.width));
  putBigEndian32(header, static_cast<std::uint32_t>(picture.height));
  header += std::string{8, 6, 0, 0, 0};  // 8 bits a channel, RGBA, deflate, no filter, no interlace
  std::string out = "\x89PNG\r\n\x1a\n";
  putChunk(out, "IHDR", header);
  putChunk(out, "IDAT", packed);
  putChunk(out, "IEND", "");
  return out;
}

void writePng(const std::string& path, const RgbaPicture& picture) {
  writeBytes(path, pngBytes(picture));
}

std::string waveBytes(const std::vector<float>& samples, int rate, int bits) {
  if (bits != 8 && bits != 16) throw std::invalid_argument("WAVE samples are 8 or 16 bits");
  const std::uint32_t bytesPerSample = static_cast<std::uint32_t>(bits / 8);
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;
  std::string out;
  out.reserve(44 + dataBytes + 1);
  out += "RIFF";
  put32(out, 36 + dataBytes + (dataBytes & 1));
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<std::uint32_t>(rate));
  put32(out, static_cast<std::uint32_t>(rate) * bytesPerSample);
  put16(out, bytesPerSample);
  put16(out, static_cast<unsigned>(bits));
  out += "data";
  put32(out, dataBytes);
  for (float s : samples) {
    const double v = std::clamp(static_cast<double>(s), -1.0, 1.0);
    if (bits == 8) {
      out.push_back(static_cast<char>(static_cast<std::uint8_t>(std::lround(128 + v * 127))));
    } else {
      put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767))));
    }
  }
  if (dataBytes & 1) out.push_back('\0');  // chunks are padded to an even size
  return out;
}

void writeWave(const std::string& path, const std::vector<float>& samples, int rate, int bits) {
  writeBytes(path, waveBytes(samples, rate, bits));
}

}  // namespace velimoro::content
