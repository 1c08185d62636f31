#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace velimoro::fuzz {
namespace {

namespace fs = std::filesystem;

std::string makeRoot() {
  std::error_code ec;
  std::string base = "/dev/shm";
  if (access(base.c_str(), W_OK) != 0) {
    const char* tmp = std::getenv("TMPDIR");
    base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  }
  std::string pattern = base + "/velimoro-fuzz-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
  return std::string(name.data()) + "/";
}

// Removes the folder when the process ends normally; a crashing run leaves it for the post-mortem.
struct Scratch {
  std::string root = makeRoot();
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

}  // namespace

const std::string& scratchRoot() {
  static const Scratch scratch;
  return scratch.root;
}

std::string writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = scratchRoot() + name;
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace velimoro::fuzz
