#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velimoro {

/// What a reader finds when it is asked to read on past faults, as the data checker asks: every
/// fault with the line it lies on, and the line each section and record of the file began at, so
/// that checks across files can name lines too. A reader given no log stops at its first fault
/// with DataError, as the program does; given one, it notes the fault (the same text) and goes
/// on.
class ReadLog {
 public:
  struct NamedFile {
    int line = 0;
    std::string name;  // as the data file gives it
  };

  struct Note {
    int line = 0;  // from 1; 0 for the file as a whole
    std::string text;
    bool warning = false;  // something the program passes over, not a fault
  };

  /// Notes a fault with the text the program shows for it.
  void fault(int line, std::string text);
  /// Notes something the program passes over silently but an author would want to know.
  void warning(int line, std::string text);
  /// Notes that the section `key` begins at `line`; its records start again from none.
  void section(std::string_view key, int line);
  /// Notes that record `index` of the section `key` begins at `line`.
  void record(std::string_view key, int index, int line);
  /// Notes a file the reader loads itself (a picture), named on `line`.
  void loaded(int line, std::string name);

  const std::vector<Note>& notes() const { return m_notes; }
  const std::vector<NamedFile>& loadedFiles() const { return m_loaded; }
  bool hasFaults() const;
  /// The line the section `key` began at last; 0 when the file lacks it.
  int sectionLine(std::string_view key) const;
  /// The line record `index` of section `key` began at; 0 when there is none.
  int recordLine(std::string_view key, int index) const;
  /// One past the highest record index noted since the section began last.
  int recordCount(std::string_view key) const;

 private:
  struct Section {
    int line = 0;
    std::vector<int> records;  // line by record index; 0 where none was noted
  };

  std::vector<Note> m_notes;
  std::vector<NamedFile> m_loaded;
  std::map<std::string, Section, std::less<>> m_sections;
};

}  // namespace velimoro
