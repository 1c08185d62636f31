#include "tools/content/voices.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "media/translate.h"

namespace velimoro::content {
namespace {

std::uint32_t read32(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

unsigned read16(const std::string& bytes, std::size_t at) {
  return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
         static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

// Runs the program with its arguments, without a shell; returns its exit status.
int run(const std::vector<std::string>& args) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    std::vector<char*> argv;
    for (const std::string& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // espeak-ng reports on stdout and stderr; the generator prints its own progress only. The
    // descriptors are replaced below stdio, so the parent's buffered output is not written
    // twice.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  // An end signal arriving meanwhile interrupts the wait; the child is still reaped.
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The 16-bit mono samples of a WAVE file as espeak-ng writes it.
Samples decodeWave(const std::string& bytes) {
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
    throw std::runtime_error("espeak-ng wrote no WAVE file");
  std::size_t at = 12;
  unsigned bits = 0, channels = 0;
  while (at + 8 <= bytes.size()) {
    const std::string id = bytes.substr(at, 4);
    std::size_t size = read32(bytes, at + 4);
    const std::size_t body = at + 8;
    if (id == "fmt ") {
      channels = read16(bytes, body + 2);
      bits = read16(bytes, body + 14);
    } else if (id == "data") {
      if (bits != 16 || channels != 1) throw std::runtime_error("espeak-ng: unexpected format");
      // espeak-ng may leave the size of a streamed file unset; the file's end bounds it.
      size = std::min(size, bytes.size() - body);
      Samples s(size / 2);
      for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<float>(static_cast<std::int16_t>(read16(bytes, body + 2 * i)) / 32768.0);
      return s;
    }
    at = body + size + (size & 1);
  }
  throw std::runtime_error("espeak-ng: WAVE file without data");
}

}  // namespace

bool speechAvailable() {
  return run({"espeak-ng", "--version"}) == 0;
}

Samples speak(const std::string& text) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("velimoro-voice-" + std::to_string(getpid()) + ".wav"))
                               .string();
  // 22050 Hz is espeak-ng's own rate; -s sets a calm speaking speed.
  const int status = run({"espeak-ng", "-v", "ja", "-s", "150", "-w", path, text});
  if (status != 0) {
    std::filesystem::remove(path);
    throw std::runtime_error(
        media::fill(media::translate("ContentProgress",
                                     "espeak-ng が「%2」を読み上げられませんでした（終了コード "
                                     "%1）。espeak-ng はインストールされていますか"),
                    {std::to_string(status), text}));
  }
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  std::filesystem::remove(path);
  return decodeWave(bytes);
}

}  // namespace velimoro::content
