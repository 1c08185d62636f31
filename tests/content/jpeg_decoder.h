#pragma once

// Reads back the JPEG files the generator writes, with libjpeg itself.
#include <csetjmp>
#include <cstddef>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace velimoro::content::testing {

struct DecodedJpeg {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // rows top to bottom, R G B
};

struct JpegDecodeError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

inline void onJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegDecodeError*>(info->err)->jump, 1);
}

/// Decodes the whole JPEG; false when libjpeg rejects it.
inline bool decodeJpeg(const std::string& bytes, DecodedJpeg& out) {
  jpeg_decompress_struct info;
  JpegDecodeError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = onJpegError;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.rgb.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.rgb.data() + static_cast<std::size_t>(info.output_scanline) *
                                        static_cast<std::size_t>(out.width) * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace velimoro::content::testing
