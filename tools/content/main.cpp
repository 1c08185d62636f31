// velimoro-content: renders the demo installation (trains, routes, pictures, sounds, voices,
// help files and route videos) into a data root; --no-video leaves the videos out.

#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "tools/content/generator.h"

int main(int argc, char** argv) {
  std::string out;
  bool videos = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else if (std::strcmp(argv[i], "--no-video") == 0) {
      videos = false;
    } else {
      std::cerr << "usage: velimoro-content --out DIR [--no-video]\n";
      return 2;
    }
  }
  if (out.empty()) {
    std::cerr << "usage: velimoro-content --out DIR [--no-video]\n";
    return 2;
  }
  try {
    velimoro::content::generateDemo(out, std::cout, videos);
  } catch (const std::exception& e) {
    std::cerr << "velimoro-content: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
