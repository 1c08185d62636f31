// The UI string file "dorvanel.dat", as the drive and the checker read it.
#include "data/data_error.h"
#include "data/ui_strings.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  fuzz::writeScratch("dorvanel.dat", data, size);
  try {
    const UiStrings strings = readUiStrings(fuzz::scratchRoot());
    videoFileName(strings, "route");
  } catch (const DataError&) {
  }
  ReadLog log;
  readUiStrings(fuzz::scratchRoot(), &log);
  return 0;
}
