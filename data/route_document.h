#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velimoro {

/// The sections of a route data file, in the order the reader compares headers.
enum class RouteSection : int {
  kLineName,
  kLineName2,
  kStartPos,
  kFrameRate,
  kStaf,
  kFriction,
  kStafSwitch,
  kMovieStop,
  kMovieSwitch,
  kSpeedSignal,
  kDataName,
  kPerspective,
  kPreTrain,
  kOneMan,
  kSoundData,
  kAnnounce,
  kKankoSound1,
  kKankoSound2,
  kSound,
  kDoppler,
  kTunnel,
  kStation,
  kStopSound,
  kSignal,
  kTrafficSignal,
  kSlope,
  kSign,
  kAnim,
  kSignalKanko,
  kStationKanko,
  kSpeedLimit,
  kSpeedCheck1,
  kSpeedCheck2,
  kSignImageList,
  kOtherImageList,
  kAnimImageList,
  kSignalImageList,
  kTrafficSignalImageList,
  kSignalImageList2,
  kSpeedUnit,
  kCrossImageList,
  kCross,
  kTime,
  kSwitch,
};
inline constexpr int kRouteSections = 44;

/// The header of a section, as "[Station]".
std::string_view routeSectionHeader(RouteSection section);
/// The number of value lines that follow a section's header: the whole of a section of values
/// ("[Staf]" 2, "[KankoSound1]" 21), or the first lines of a list that has them ("[Pre_Train]",
/// "[Announce]", "[StafSwitch]" 1); 0 for the other lists.
int routeSectionValueLines(RouteSection section);
/// Whether the section is a list of records ended by a "#" line.
bool routeSectionIsList(RouteSection section);
/// The number of lines one record of a list takes ("[OtherImageList]" pairs 2, the others 1).
int routeRecordLines(RouteSection section);

/// A route data file held as its lines, grouped the way the route reader reads them. Every line
/// keeps its bytes and its line end, so a document parsed and written without edits gives the
/// same bytes; an edit rewrites only the lines of the values and records it touches, and the
/// comments and lines no section reads stay where they are. Text goes in and out as UTF-8 and is
/// kept in the file's encoding: CP932, or UTF-8 when the file starts with a byte-order mark.
class RouteDocument {
 public:
  /// A new, empty document; lines added to it end in CR LF.
  RouteDocument() = default;
  /// The document of a file's bytes (any bytes: lines that do not decode are kept as they are).
  static RouteDocument parse(std::string_view bytes);
  /// The file's bytes.
  std::string bytes() const;

  /// Whether the file holds the section.
  bool has(RouteSection section) const;
  /// The lines of the section's value `index` (0 first); nullopt when the section or line is
  /// not there or the line does not decode.
  std::optional<std::string> value(RouteSection section, int index) const;
  /// Records of the section's list (0 when it is not there).
  int recordCount(RouteSection section) const;
  /// The lines of record `index`, one a line of the record; empty when it is not there or does
  /// not decode.
  std::vector<std::string> record(RouteSection section, int index) const;
  /// The header line as written, with any text after the closing bracket.
  std::optional<std::string> headerLine(RouteSection section) const;

  // Edits. Each returns false, leaving the document as it was, when a text has no form in the
  // file's encoding, when an index lies outside what the section holds, or when `lines` does not
  // have the record's line count. A section not yet in the file is added at its place in the
  // reader's order, its value lines empty.

  bool setValue(RouteSection section, int index, std::string_view text);
  bool setRecord(RouteSection section, int index, const std::vector<std::string>& lines);
  /// Inserts a record before record `index` (recordCount() appends).
  bool insertRecord(RouteSection section, int index, const std::vector<std::string>& lines);
  bool removeRecord(RouteSection section, int index);
  /// Replaces every record of the section's list.
  bool setRecords(RouteSection section, const std::vector<std::vector<std::string>>& records);

  // Building a file line by line, as a generator writes it; each appends at the file's end.

  /// A line no section reads, such as a comment.
  bool appendLooseLine(std::string_view text);
  /// A section header: the header and `note` after it (" " + note when a note is given). A list
  /// must be ended by endList() before the next section or loose line.
  bool appendSection(RouteSection section, std::string_view note = {});
  /// The next value or record line of the section appended last.
  bool appendLine(std::string_view text);
  /// Ends the open list with its "#" line; false when no list is open.
  bool endList();

  /// Blocks of lines: one section each, or lines between sections (section -1).
  struct Line {
    enum class Role { kLoose, kHeader, kValue, kRecord, kRecordMore, kSkipped, kEnd };
    std::string bytes;  // without the line end
    std::string end;    // "\r\n", "\n", or "" for a last line without one
    Role role = Role::kLoose;
  };
  struct Block {
    int section = -1;
    std::vector<Line> lines;
  };
  const std::vector<Block>& blocks() const { return m_blocks; }

 private:
  std::optional<std::string> encode(std::string_view text) const;
  std::optional<std::string> decode(const std::string& bytes) const;
  const Block* find(RouteSection section) const;
  Block& findOrAdd(RouteSection section);
  // Line indexes within `block` of the records' first lines.
  static std::vector<std::size_t> recordStarts(const Block& block);
  static std::size_t bodyEnd(const Block& block);
  Line newLine(std::string bytes, Line::Role role) const;

  std::vector<Block> m_blocks;
  bool m_utf8 = false;
  std::string m_end = "\r\n";  // the line end of new lines: the file's first
  bool m_listOpen = false;     // building: the last block is a list awaiting its "#"
};

}  // namespace velimoro
