#include "tools/check/report.h"

#include <cstdio>
#include <string_view>

namespace velimoro::check {
namespace {

const char* severity(const Finding& f) {
  return f.warning ? "warning" : "error";
}

// Length of the UTF-8 sequence that starts `text` at `i`; 0 when the bytes there are not one.
std::size_t utf8Length(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  return length;
}

// A JSON string. The texts are UTF-8, but a file name from the file system may hold any bytes:
// a byte that begins no UTF-8 sequence is written as U+FFFD, so every line stays valid JSON.
void writeJsonString(std::string_view text, std::ostream& out) {
  out << '"';
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    const std::size_t length = utf8Length(text, i);
    if (length == 0) {
      out << "\\ufffd";
      ++i;
      continue;
    }
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out << escape;
    } else {
      out << text.substr(i, length);
    }
    i += length;
  }
  out << '"';
}

}  // namespace

void writeText(const Findings& findings, std::ostream& out) {
  for (const Finding& f : findings) {
    out << f.file;
    if (f.line > 0) out << ':' << f.line;
    out << ": " << severity(f) << ": " << f.text << '\n';
  }
}

void writeJsonLines(const Findings& findings, std::ostream& out) {
  for (const Finding& f : findings) {
    out << "{\"file\":";
    writeJsonString(f.file, out);
    out << ",\"line\":" << f.line << ",\"severity\":\"" << severity(f) << "\",\"message\":";
    writeJsonString(f.text, out);
    out << "}\n";
  }
}

bool anyError(const Findings& findings) {
  for (const Finding& f : findings)
    if (!f.warning) return true;
  return false;
}

}  // namespace velimoro::check
