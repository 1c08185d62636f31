// Sound loading: a file decoded through libsndfile to the samples the sound layer plays.
#include "fuzz/fuzz_support.h"
#include "media/openal_sound_layer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  const std::string path = fuzz::writeScratch("sound.wav", data, size);
  std::string error;
  media::decodeSoundFile(path, error);
  return 0;
}
