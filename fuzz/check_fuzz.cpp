// The data checker over an installation of one file: the first byte of the input says which
// ("dorvanel.dat", "mascon.dat", "operation.dat", else a train or route data file by its
// content), the rest is the file.
#include <array>
#include <filesystem>
#include <sstream>

#include "fuzz/fuzz_support.h"
#include "tools/check/checker.h"
#include "tools/check/report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  if (size == 0) return 0;
  constexpr std::array<const char*, 4> kNames = {"data.dat", "dorvanel.dat", "mascon.dat",
                                                 "operation.dat"};
  const std::string& root = fuzz::scratchRoot();
  for (const char* name : kNames) {
    std::error_code ec;
    std::filesystem::remove(root + name, ec);
  }
  fuzz::writeScratch(kNames[data[0] % kNames.size()], data + 1, size - 1);
  check::CheckOptions options;
  options.root = root;
  const check::Findings findings = check::checkInstallation(options);
  std::ostringstream out;
  check::writeText(findings, out);
  check::writeJsonLines(findings, out);
  return 0;
}
