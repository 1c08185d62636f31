// The route video reader: a file opened, indexed and decoded at its first, middle and last frame
// and after a jump back.
#include "fuzz/fuzz_support.h"
#include "media/ffmpeg_video_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  const std::string path = fuzz::writeScratch("video.avi", data, size);
  media::FfmpegVideoReader reader;
  std::string error;
  if (!reader.open(path, error)) return 0;
  const int frames = reader.frameCount();
  // Kept from input to input, as the screen keeps its picture: a large frame does not cost fresh
  // pages on every execution.
  static media::RgbPicture picture;
  for (const int n : {0, frames / 2, frames - 1, 1, frames})
    reader.decodeFrame(n, picture);
  return 0;
}
