#include "support/test_support.h"

#include <iconv.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velimoro::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velimoro-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::writeCp932(const std::string& name, const std::string& utf8Text) const {
  return writeBytes(name, toCp932(utf8Text));
}

std::string TempDir::writeBytes(const std::string& name, const std::string& bytes) const {
  const std::string path = file(name);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return path;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string toCp932(const std::string& utf8Text) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)))
    throw std::runtime_error("no CP932 converter");
  std::string out(utf8Text.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(utf8Text.data());
  std::size_t inLeft = utf8Text.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("text has no CP932 form");
  out.resize(out.size() - outLeft);
  return out;
}

std::vector<std::string> splitBars(std::string_view text) {
  std::vector<std::string> lines;
  for (;;) {
    const std::size_t bar = text.find('|');
    lines.emplace_back(text.substr(0, bar));
    if (bar == std::string_view::npos) return lines;
    text.remove_prefix(bar + 1);
  }
}

std::string crlfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

namespace {
void put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put16(std::string& s, std::uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}
}  // namespace

std::string waveFile(double seconds) {
  const std::uint32_t rate = 22050;
  const auto samples = static_cast<std::uint32_t>(seconds * rate);
  std::string s = "RIFF";
  put32(s, 36 + samples);
  s += "WAVEfmt ";
  put32(s, 16);
  put16(s, 1);  // PCM
  put16(s, 1);  // mono
  put32(s, rate);
  put32(s, rate);  // bytes per second
  put16(s, 1);
  put16(s, 8);
  s += "data";
  put32(s, samples);
  s.append(samples, '\x80');
  return s;
}

std::optional<int> RecordingPictures::load(const std::string& path) {
  loaded.push_back(path);
  const std::string name = std::filesystem::path(path).filename().string();
  if (failing.count(name) != 0) return std::nullopt;
  if (requireExisting && !std::filesystem::exists(path)) return std::nullopt;
  return static_cast<int>(loaded.size()) - 1;
}

}  // namespace velimoro::testing
