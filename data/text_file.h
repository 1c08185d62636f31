#pragma once

#include <cstddef>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace velimoro {

/// Reads a data file line by line as UTF-8. Files from the Windows world are CP932 (Shift-JIS);
/// a file that starts with a UTF-8 byte-order mark is taken as UTF-8. Lines end at LF, and a CR
/// before the LF is dropped.
class TextFileReader {
 public:
  enum class Line { kRead, kEnd, kBad };

  /// The longest line accepted; no data file has longer ones, and a longer one is unreadable.
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;

  TextFileReader() = default;
  TextFileReader(const TextFileReader&) = delete;
  TextFileReader& operator=(const TextFileReader&) = delete;
  ~TextFileReader();

  /// Opens `path`; false when it cannot be read.
  bool open(const std::string& path);
  /// Reads the next line into `out`. kBad: the line is too long or does not decode.
  Line readLine(std::string& out);
  /// The number (from 1) of the line read last, good or bad; 0 before the first.
  int lineNumber() const { return m_lineNumber; }

 private:
  bool decode(const std::string& raw, std::string& out);

  static constexpr std::size_t kBufferBytes = 64 * 1024;

  std::ifstream m_in;
  std::unique_ptr<char[]> m_buffer;  // kBufferBytes, filled by reads only
  std::size_t m_pos = 0;
  std::size_t m_end = 0;
  bool m_utf8 = false;
  int m_lineNumber = 0;
  void* m_iconv = nullptr;  // iconv_t, kept opaque so the header needs no system include
};

/// Decodes CP932 bytes to UTF-8; false when a byte sequence is not CP932.
bool decodeCp932(const std::string& raw, std::string& out);
/// Encodes UTF-8 text to CP932 bytes; false when the text has a character CP932 lacks.
bool encodeCp932(const std::string& text, std::string& out);

}  // namespace velimoro
