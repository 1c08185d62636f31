#include "input/serial_framer.h"

#include <algorithm>

#include "data/text_file.h"

namespace velimoro {
namespace {

std::size_t characterCount(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void add(std::vector<SerialFramer::Piece>& out, std::string_view bytes, bool code) {
  if (!code && !out.empty() && !out.back().code) {
    out.back().bytes.append(bytes);
  } else {
    out.push_back({std::string(bytes), code});
  }
}

}  // namespace

SerialFramer::SerialFramer(const ControllerMap& map) {
  const int lines = std::clamp(map.MapLineCount, 0, ControllerMap::kMaxMapLines);
  for (int i = 0; i < lines; ++i) {
    const std::string& line = map.MapLines[static_cast<std::size_t>(i)];
    std::string bytes;
    const std::size_t characters = characterCount(line);
    if (characters == 0 || characters > ControllerMap::kCodeLength) continue;
    if (!encodeCp932(line, bytes) || bytes.empty()) continue;
    m_starts[static_cast<unsigned char>(bytes[0])] = true;
    m_codes.push_back(std::move(bytes));
  }
}

std::vector<SerialFramer::Piece> SerialFramer::receive(std::string_view bytes, std::int64_t nowMs) {
  std::vector<Piece> out;
  if (bytes.empty()) return out;
  m_held.append(bytes);
  m_lastBytesMs = nowMs;
  frame(false, out);
  return out;
}

std::vector<SerialFramer::Piece> SerialFramer::expire(std::int64_t nowMs) {
  std::vector<Piece> out;
  if (!m_held.empty() && nowMs >= holdEndsMs()) frame(true, out);
  return out;
}

void SerialFramer::frame(bool expired, std::vector<Piece>& out) {
  const std::string_view buffer = m_held;
  std::size_t head = 0;
  while (head < buffer.size()) {
    if (!m_starts[static_cast<unsigned char>(buffer[head])]) {
      std::size_t end = head + 1;
      while (end < buffer.size() && !m_starts[static_cast<unsigned char>(buffer[end])])
        ++end;
      add(out, buffer.substr(head, end - head), false);
      head = end;
      continue;
    }
    const std::string_view rest = buffer.substr(head);
    std::size_t longest = 0;
    bool mayGrow = false;
    for (const std::string& code : m_codes) {
      if (code.size() <= rest.size()) {
        if (rest.starts_with(code)) longest = std::max(longest, code.size());
      } else if (std::string_view(code).starts_with(rest)) {
        mayGrow = true;
      }
    }
    // The bytes so far begin a longer code: its rest may be on the way.
    if (mayGrow && !expired) break;
    if (longest > 0) {
      add(out, rest.substr(0, longest), true);
      head += longest;
    } else {
      add(out, rest.substr(0, 1), false);
      ++head;
    }
  }
  m_held.erase(0, head);
}

}  // namespace velimoro
