#include "data/text_file.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>

namespace velimoro {
namespace {

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));

bool convert(iconv_t cd, const std::string& raw, std::string& out) {
  out.clear();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(raw.data());
  std::size_t inLeft = raw.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
  }
  return true;
}

bool isValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    if (c < 0x80) {
      extra = 0;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= s.size() && extra > 0) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace

TextFileReader::~TextFileReader() {
  if (m_iconv != nullptr) iconv_close(static_cast<iconv_t>(m_iconv));
}

bool TextFileReader::open(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  m_in.open(path, std::ios::binary);
  if (!m_in) return false;
  if (!m_buffer) m_buffer = std::make_unique_for_overwrite<char[]>(kBufferBytes);
  m_in.read(m_buffer.get(), static_cast<std::streamsize>(kBufferBytes));
  m_end = static_cast<std::size_t>(m_in.gcount());
  m_utf8 = m_end >= 3 && m_buffer[0] == '\xEF' && m_buffer[1] == '\xBB' && m_buffer[2] == '\xBF';
  m_pos = m_utf8 ? 3 : 0;
  if (!m_utf8 && m_iconv == nullptr) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == kNoIconv) return false;
    m_iconv = cd;
  }
  return true;
}

TextFileReader::Line TextFileReader::readLine(std::string& out) {
  std::string raw;
  bool any = false;
  bool tooLong = false;
  for (;;) {
    if (m_pos == m_end) {
      m_in.read(m_buffer.get(), static_cast<std::streamsize>(kBufferBytes));
      m_pos = 0;
      m_end = static_cast<std::size_t>(m_in.gcount());
      if (m_end == 0) break;
    }
    any = true;
    const char* begin = m_buffer.get() + m_pos;
    const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', m_end - m_pos));
    const std::size_t take =
        newline != nullptr ? static_cast<std::size_t>(newline - begin) : m_end - m_pos;
    if (!tooLong && raw.size() + take <= kMaxLineBytes) {
      raw.append(begin, take);
    } else {
      tooLong = true;
    }
    m_pos += take;
    if (newline != nullptr) {
      ++m_pos;
      break;
    }
  }
  if (!any) return Line::kEnd;
  // A file of more lines than an int counts (gigabytes of empty lines) keeps the last number.
  if (m_lineNumber < std::numeric_limits<int>::max()) ++m_lineNumber;
  if (tooLong) return Line::kBad;
  if (!raw.empty() && raw.back() == '\r') raw.pop_back();
  return decode(raw, out) ? Line::kRead : Line::kBad;
}

bool TextFileReader::decode(const std::string& raw, std::string& out) {
  if (m_utf8) {
    if (!isValidUtf8(raw)) return false;
    out = raw;
    return true;
  }
  return convert(static_cast<iconv_t>(m_iconv), raw, out);
}

bool decodeCp932(const std::string& raw, std::string& out) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == kNoIconv) return false;
  const bool ok = convert(cd, raw, out);
  iconv_close(cd);
  return ok;
}

bool encodeCp932(const std::string& text, std::string& out) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == kNoIconv) return false;
  const bool ok = convert(cd, text, out);
  iconv_close(cd);
  return ok;
}

}  // namespace velimoro
