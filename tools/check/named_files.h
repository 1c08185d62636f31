#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "data/paths.h"
#include "tools/check/finding.h"

namespace velimoro::check {

/// The checks of the files one data file names relative to one folder, as the program finds
/// them ("\" separators, any letter case): a missing file, a file found only under another
/// letter case (which works here, but not where names are compared exactly), and a sound whose
/// header states another length than its data hold.
class NamedFiles {
 public:
  NamedFiles(FileFindings& findings, std::string folder);

  /// The folder the names are relative to.
  const std::string& folder() const { return m_folder; }

  /// A file the drive cannot start without: an error when it is missing, `missing` (translated,
  /// %1 the name) its text. Returns the path the program opens when the file is there.
  std::optional<std::string> require(int line, const std::string& name, std::string_view missing);
  /// A file the drive goes on without: a warning when it is missing, `missing` (translated, %1
  /// the name) its text, which says what happens instead.
  std::optional<std::string> expect(int line, const std::string& name, std::string_view missing);
  /// A picture the drive cannot start without.
  std::optional<std::string> requirePicture(int line, const std::string& name);
  /// A picture the cab would show, and goes on without.
  std::optional<std::string> expectPicture(int line, const std::string& name);
  /// A sound, required or not, whose length is checked too (once for each file).
  void sound(int line, const std::string& name, bool required);
  /// Only the letter case of a file whose absence is reported otherwise (one a reader loads).
  void spelling(int line, const std::string& name);

 private:
  // Where a name leads: the path the program opens, if any, and the spelling on disk when only
  // a search without regard to case finds it.
  struct Lookup {
    std::optional<std::string> path;
    std::string onDisk;
  };

  std::optional<std::string> find(int line, const std::string& name);
  Lookup lookUp(const std::string& name);
  void measure(int line, const std::string& name, const std::string& path);

  FileFindings& m_findings;
  std::string m_folder;
  PathResolver m_paths;
  std::set<std::string> m_measured;
  std::map<std::string, Lookup> m_looked;  // by name: each name is looked up on the disk once
};

}  // namespace velimoro::check
