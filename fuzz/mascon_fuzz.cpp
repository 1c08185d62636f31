// "mascon.dat", the serial master controller's codes, as the drive and the checker read it.
#include "data/controller_map.h"
#include "data/data_error.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  fuzz::writeScratch("mascon.dat", data, size);
  try {
    readControllerMap(fuzz::scratchRoot());
  } catch (const DataError&) {
  }
  ReadLog log;
  readControllerMap(fuzz::scratchRoot(), &log);
  return 0;
}
