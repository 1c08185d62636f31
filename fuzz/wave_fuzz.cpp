// The WAVE header reader behind the route's sound lengths, the checker and the headless sound
// layer.
#include "data/route_reader.h"
#include "data/wave_header.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  const std::string path = fuzz::writeScratch("sound.wav", data, size);
  WaveHeader header;
  std::string error;
  if (readWaveHeader(path, header, error)) {
    header.durationMs();
    header.fixedWordsAgree();
  }
  int seconds = 0;
  waveLengthSeconds(path, seconds, error);
  return 0;
}
