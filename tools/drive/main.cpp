#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/drive/headless.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  velimoro::headless::Options options;
  try {
    options = velimoro::headless::parseOptions(args);
  } catch (const std::exception& e) {
    std::cerr << "velimoro-drive: " << e.what() << "\n"
              << "usage: velimoro-drive --root DIR --route FILE --train FILE [--train-folder DIR]\n"
              << "         [--start N] [--script FILE] [--seconds S] [--trace FILE.csv]\n"
              << "         [--events FILE] [--settings kanko=0,information=1,ats=1]\n"
              << "         [--report FILE.html|FILE.json]\n";
    return 2;
  }
  return velimoro::headless::runDrive(options, std::cout, std::cerr);
}
