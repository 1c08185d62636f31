// velimoro-studio: makes and edits route data files. From the command line it rewrites a route
// file through its document, the way the studio saves it.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "studio/core/route_file_io.h"

namespace {

constexpr const char* kUsage =
    "Usage: velimoro-studio --rewrite IN OUT\n"
    "Makes and edits route data files.\n"
    "  --rewrite IN OUT  read the route file IN and save it as OUT, as the studio saves it:\n"
    "                    a file saved without edits is the same byte for byte\n"
    "  -h, --help        show this help and exit\n"
    "  -v, --version     show the version and exit\n"
    "Example:\n"
    "  velimoro-studio --rewrite line_up1.dat /tmp/line_up1.dat && cmp line_up1.dat "
    "/tmp/line_up1.dat\n";

int fault(const std::string& text) {
  std::cerr << "velimoro-studio: " << text << '\n';
  return 1;
}

int usageFault(const std::string& text) {
  std::cerr << "velimoro-studio: " << text << "\nTry 'velimoro-studio --help'.\n";
  return 2;
}

int rewrite(const std::string& in, const std::string& out) {
  std::string error;
  const auto document = velimoro::studio::openRouteDocument(in, error);
  if (!document) return fault(error);
  if (!velimoro::studio::saveFileWhole(out, document->bytes(), error)) return fault(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-studio " VELIMORO_VERSION "\n";
      return 0;
    }
    if (arg == "--rewrite") {
      if (args.size() - i < 3)
        return usageFault("--rewrite needs the file to read and the file to write");
      if (args.size() - i > 3)
        return usageFault("unknown option or argument: " + std::string(args[i + 3]));
      return rewrite(std::string(args[i + 1]), std::string(args[i + 2]));
    }
    return usageFault("unknown option or argument: " + std::string(arg));
  }
  return usageFault("nothing to do: give --rewrite IN OUT");
}
