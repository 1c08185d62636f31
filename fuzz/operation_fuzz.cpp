// "operation.dat", the help window's text, as the drive and the checker read it.
#include "data/data_error.h"
#include "data/help_text.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  fuzz::writeScratch("operation.dat", data, size);
  try {
    readHelpText(fuzz::scratchRoot());
  } catch (const DataError&) {
  }
  ReadLog log;
  readHelpText(fuzz::scratchRoot(), &log);
  return 0;
}
