#include "data/route_document.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <utility>

#include "data/text_file.h"

namespace velimoro {
namespace {

struct SectionShape {
  std::string_view header;
  int valueLines;
  bool list;
  int recordLines;
};

// The reader's order; a header is a prefix of no other, so the first that opens a line is the
// one the reader takes.
constexpr std::array<SectionShape, kRouteSections> kShapes{{
    {"[LineName]", 1, false, 0},
    {"[LineName2]", 1, false, 0},
    {"[StartPos]", 1, false, 0},
    {"[FrameRate]", 1, false, 0},
    {"[Staf]", 2, false, 0},
    {"[Friction]", 1, false, 0},
    {"[StafSwitch]", 1, true, 1},
    {"[MovieStop]", 0, true, 1},
    {"[MovieSwitch]", 0, true, 1},
    {"[Speed_Signal]", 0, true, 1},
    {"[DataName]", 1, false, 0},
    {"[Perspective]", 2, false, 0},
    {"[Pre_Train]", 1, true, 1},
    {"[OneMan]", 1, false, 0},
    {"[SoundData]", 0, true, 1},
    {"[Announce]", 1, true, 1},
    {"[KankoSound1]", 21, false, 0},
    {"[KankoSound2]", 0, true, 1},
    {"[Sound]", 0, true, 1},
    {"[Doppler]", 0, true, 1},
    {"[Tunnel]", 0, true, 1},
    {"[Station]", 0, true, 1},
    {"[StopSound]", 0, true, 1},
    {"[Signal]", 0, true, 1},
    {"[TrafficSignal]", 0, true, 1},
    {"[Slope]", 0, true, 1},
    {"[Sign]", 0, true, 1},
    {"[Anim]", 0, true, 1},
    {"[SignalKanko]", 0, true, 1},
    {"[StationKanko]", 0, true, 1},
    {"[SpeedLimit]", 0, true, 1},
    {"[SpeedCheck1]", 0, true, 1},
    {"[SpeedCheck2]", 0, true, 1},
    {"[SignImageList]", 0, true, 1},
    {"[OtherImageList]", 0, true, 2},
    {"[AnimImageList]", 0, true, 1},
    {"[SignalImageList]", 0, true, 1},
    {"[TrafficSignalImageList]", 0, true, 1},
    {"[SignalImageList2]", 0, true, 1},
    {"[SpeedUnit]", 0, true, 1},
    {"[CrossImageList]", 0, true, 1},
    {"[Cross]", 0, true, 1},
    {"[Time]", 0, true, 1},
    {"[Switch]", 0, true, 1},
}};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

const SectionShape& shapeOf(int section) {
  return kShapes[static_cast<std::size_t>(section)];
}

int sectionOpenedBy(std::string_view line) {
  for (int s = 0; s < kRouteSections; ++s)
    if (line.starts_with(shapeOf(s).header)) return s;
  return -1;
}

using Role = RouteDocument::Line::Role;

}  // namespace

std::string_view routeSectionHeader(RouteSection section) {
  return shapeOf(static_cast<int>(section)).header;
}
int routeSectionValueLines(RouteSection section) {
  return shapeOf(static_cast<int>(section)).valueLines;
}
bool routeSectionIsList(RouteSection section) {
  return shapeOf(static_cast<int>(section)).list;
}
int routeRecordLines(RouteSection section) {
  return shapeOf(static_cast<int>(section)).recordLines;
}

RouteDocument RouteDocument::parse(std::string_view bytes) {
  RouteDocument doc;
  doc.m_utf8 = bytes.starts_with(kByteOrderMark);
  std::vector<Line> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t lf = bytes.find('\n', start);
    Line line;
    if (lf == std::string_view::npos) {
      line.bytes = bytes.substr(start);
      start = bytes.size();
    } else {
      line.bytes = bytes.substr(start, lf - start);
      line.end = "\n";
      if (line.bytes.ends_with('\r')) {
        line.bytes.pop_back();
        line.end = "\r\n";
      }
      start = lf + 1;
    }
    lines.push_back(std::move(line));
  }
  if (!lines.empty() && !lines.front().end.empty()) doc.m_end = lines.front().end;

  const auto text = [&](std::size_t i) {
    std::string_view t = lines[i].bytes;
    if (i == 0 && doc.m_utf8) t.remove_prefix(kByteOrderMark.size());
    return t;
  };
  std::size_t i = 0;
  const auto take = [&](Block& block, Role role) {
    lines[i].role = role;
    block.lines.push_back(std::move(lines[i++]));
  };
  while (i < lines.size()) {
    const int section = sectionOpenedBy(text(i));
    if (section < 0) {
      if (doc.m_blocks.empty() || doc.m_blocks.back().section >= 0) doc.m_blocks.emplace_back();
      take(doc.m_blocks.back(), Role::kLoose);
      continue;
    }
    Block& block = doc.m_blocks.emplace_back();
    block.section = section;
    const SectionShape& shape = shapeOf(section);
    take(block, Role::kHeader);
    // Value lines are taken whatever they hold, "#" too.
    for (int v = 0; v < shape.valueLines && i < lines.size(); ++v)
      take(block, Role::kValue);
    if (!shape.list) continue;
    while (i < lines.size()) {
      const std::string_view t = text(i);
      if (t.starts_with('#')) {
        take(block, Role::kEnd);
        break;
      }
      if (section == static_cast<int>(RouteSection::kSound) && t.starts_with(';')) {
        take(block, Role::kSkipped);
      } else if (shape.recordLines == 2) {
        // A picture whose sound line the file lacks is no record.
        if (i + 1 >= lines.size()) {
          take(block, Role::kSkipped);
        } else {
          take(block, Role::kRecord);
          take(block, Role::kRecordMore);
        }
      } else {
        take(block, Role::kRecord);
      }
    }
  }
  return doc;
}

std::string RouteDocument::bytes() const {
  std::string out;
  const Line* last = nullptr;
  for (const Block& block : m_blocks)
    for (const Line& line : block.lines) {
      // A line that ended the file gets a line end once something follows it.
      if (last != nullptr && last->end.empty()) out += m_end;
      out += line.bytes;
      out += line.end;
      last = &line;
    }
  return out;
}

std::optional<std::string> RouteDocument::encode(std::string_view text) const {
  if (text.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  if (m_utf8) return std::string(text);
  std::string out;
  if (!encodeCp932(std::string(text), out)) return std::nullopt;
  return out;
}

std::optional<std::string> RouteDocument::decode(const std::string& bytes) const {
  std::string_view raw = bytes;
  if (m_utf8) {
    if (!m_blocks.empty() && !m_blocks.front().lines.empty() &&
        &m_blocks.front().lines.front().bytes == &bytes)
      raw.remove_prefix(kByteOrderMark.size());
    return std::string(raw);
  }
  std::string out;
  if (!decodeCp932(bytes, out)) return std::nullopt;
  return out;
}

// The reader reads every occurrence of a section in turn, so the last one holds what it keeps.
const RouteDocument::Block* RouteDocument::find(RouteSection section) const {
  for (auto block = m_blocks.rbegin(); block != m_blocks.rend(); ++block)
    if (block->section == static_cast<int>(section)) return &*block;
  return nullptr;
}

RouteDocument::Line RouteDocument::newLine(std::string bytes, Line::Role role) const {
  return Line{std::move(bytes), m_end, role};
}

RouteDocument::Block& RouteDocument::findOrAdd(RouteSection section) {
  if (const Block* found = find(section)) return const_cast<Block&>(*found);
  const int s = static_cast<int>(section);
  // Before the first later section, and before the comments just above it.
  auto at =
      std::find_if(m_blocks.begin(), m_blocks.end(), [&](const Block& b) { return b.section > s; });
  if (at != m_blocks.begin() && at != m_blocks.end() && std::prev(at)->section < 0) --at;
  if (at != m_blocks.begin()) {
    // A list that the end of the file closed needs its "#" line before anything follows it.
    Block& before = *std::prev(at);
    if (before.section >= 0 && shapeOf(before.section).list &&
        (before.lines.empty() || before.lines.back().role != Role::kEnd))
      before.lines.push_back(newLine("#", Role::kEnd));
  }
  Block block;
  block.section = s;
  block.lines.push_back(newLine(std::string(shapeOf(s).header), Role::kHeader));
  for (int v = 0; v < shapeOf(s).valueLines; ++v)
    block.lines.push_back(newLine("", Role::kValue));
  if (shapeOf(s).list) block.lines.push_back(newLine("#", Role::kEnd));
  return *m_blocks.insert(at, std::move(block));
}

std::vector<std::size_t> RouteDocument::recordStarts(const Block& block) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < block.lines.size(); ++i)
    if (block.lines[i].role == Role::kRecord) starts.push_back(i);
  return starts;
}

std::size_t RouteDocument::bodyEnd(const Block& block) {
  std::size_t end = block.lines.size();
  if (end > 0 && block.lines[end - 1].role == Role::kEnd) --end;
  return end;
}

bool RouteDocument::has(RouteSection section) const {
  return find(section) != nullptr;
}

std::optional<std::string> RouteDocument::headerLine(RouteSection section) const {
  const Block* block = find(section);
  if (block == nullptr) return std::nullopt;
  return decode(block->lines.front().bytes);
}

std::optional<std::string> RouteDocument::value(RouteSection section, int index) const {
  const Block* block = find(section);
  if (block == nullptr || index < 0) return std::nullopt;
  int seen = 0;
  for (const Line& line : block->lines)
    if (line.role == Role::kValue && seen++ == index) return decode(line.bytes);
  return std::nullopt;
}

int RouteDocument::recordCount(RouteSection section) const {
  const Block* block = find(section);
  return block == nullptr ? 0 : static_cast<int>(recordStarts(*block).size());
}

std::vector<std::string> RouteDocument::record(RouteSection section, int index) const {
  const Block* block = find(section);
  if (block == nullptr || index < 0) return {};
  const auto starts = recordStarts(*block);
  if (static_cast<std::size_t>(index) >= starts.size()) return {};
  std::vector<std::string> out;
  for (int k = 0; k < routeRecordLines(section); ++k) {
    auto text = decode(block->lines[starts[static_cast<std::size_t>(index)] + k].bytes);
    if (!text) return {};
    out.push_back(std::move(*text));
  }
  return out;
}

bool RouteDocument::setValue(RouteSection section, int index, std::string_view text) {
  if (index < 0 || index >= routeSectionValueLines(section)) return false;
  auto bytes = encode(text);
  if (!bytes) return false;
  Block& block = findOrAdd(section);
  std::size_t at = 1;
  for (int seen = 0; at < block.lines.size() && block.lines[at].role == Role::kValue; ++at)
    if (seen++ == index) {
      block.lines[at].bytes = std::move(*bytes);
      return true;
    }
  // A file that ended before the section's value lines: the missing ones are added.
  int have = static_cast<int>(at) - 1;
  for (; have < index; ++have)
    block.lines.insert(block.lines.begin() + static_cast<std::ptrdiff_t>(at++),
                       newLine("", Role::kValue));
  block.lines.insert(block.lines.begin() + static_cast<std::ptrdiff_t>(at),
                     newLine(std::move(*bytes), Role::kValue));
  return true;
}

namespace {

std::optional<std::vector<std::string>> encodeAll(const std::vector<std::string>& lines,
                                                  RouteSection section, auto encode) {
  if (!routeSectionIsList(section) || static_cast<int>(lines.size()) != routeRecordLines(section))
    return std::nullopt;
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    auto bytes = encode(line);
    if (!bytes) return std::nullopt;
    // A record line that opens the list's end or is skipped would not read back as a record.
    if (out.empty() &&
        (line.starts_with('#') || (section == RouteSection::kSound && line.starts_with(';'))))
      return std::nullopt;
    out.push_back(std::move(*bytes));
  }
  return out;
}

}  // namespace

bool RouteDocument::setRecord(RouteSection section, int index,
                              const std::vector<std::string>& lines) {
  const auto bytes = encodeAll(lines, section, [this](std::string_view t) { return encode(t); });
  if (!bytes || index < 0 || index >= recordCount(section)) return false;
  Block& block = findOrAdd(section);
  const std::size_t start = recordStarts(block)[static_cast<std::size_t>(index)];
  for (std::size_t k = 0; k < bytes->size(); ++k)
    block.lines[start + k].bytes = (*bytes)[k];
  return true;
}

bool RouteDocument::insertRecord(RouteSection section, int index,
                                 const std::vector<std::string>& lines) {
  auto bytes = encodeAll(lines, section, [this](std::string_view t) { return encode(t); });
  if (!bytes || index < 0 || index > recordCount(section)) return false;
  Block& block = findOrAdd(section);
  const auto starts = recordStarts(block);
  std::size_t at = static_cast<std::size_t>(index) < starts.size()
                       ? starts[static_cast<std::size_t>(index)]
                       : bodyEnd(block);
  // A list the end of the file closed keeps its last line's missing end on the new last line.
  for (std::size_t k = 0; k < bytes->size(); ++k)
    block.lines.insert(block.lines.begin() + static_cast<std::ptrdiff_t>(at + k),
                       newLine(std::move((*bytes)[k]), k == 0 ? Role::kRecord : Role::kRecordMore));
  return true;
}

bool RouteDocument::removeRecord(RouteSection section, int index) {
  if (index < 0 || index >= recordCount(section)) return false;
  Block& block = findOrAdd(section);
  const auto start =
      static_cast<std::ptrdiff_t>(recordStarts(block)[static_cast<std::size_t>(index)]);
  block.lines.erase(block.lines.begin() + start,
                    block.lines.begin() + start + routeRecordLines(section));
  return true;
}

bool RouteDocument::setRecords(RouteSection section,
                               const std::vector<std::vector<std::string>>& records) {
  if (!routeSectionIsList(section)) return false;
  RouteDocument trial = *this;
  while (trial.recordCount(section) > 0)
    trial.removeRecord(section, trial.recordCount(section) - 1);
  trial.findOrAdd(section);
  for (const auto& lines : records)
    if (!trial.insertRecord(section, trial.recordCount(section), lines)) return false;
  *this = std::move(trial);
  return true;
}

bool RouteDocument::appendLooseLine(std::string_view text) {
  if (m_listOpen || sectionOpenedBy(text) >= 0) return false;
  auto bytes = encode(text);
  if (!bytes) return false;
  if (m_blocks.empty() || m_blocks.back().section >= 0) m_blocks.emplace_back();
  m_blocks.back().lines.push_back(newLine(std::move(*bytes), Role::kLoose));
  return true;
}

bool RouteDocument::appendSection(RouteSection section, std::string_view note) {
  if (m_listOpen) return false;
  std::string header(routeSectionHeader(section));
  if (!note.empty()) header.append(" ").append(note);
  auto bytes = encode(header);
  if (!bytes) return false;
  Block& block = m_blocks.emplace_back();
  block.section = static_cast<int>(section);
  block.lines.push_back(newLine(std::move(*bytes), Role::kHeader));
  m_listOpen = routeSectionIsList(section);
  return true;
}

bool RouteDocument::appendLine(std::string_view text) {
  if (m_blocks.empty() || m_blocks.back().section < 0) return false;
  Block& block = m_blocks.back();
  const auto section = static_cast<RouteSection>(block.section);
  const int values =
      static_cast<int>(std::count_if(block.lines.begin(), block.lines.end(),
                                     [](const Line& l) { return l.role == Role::kValue; }));
  if (values < routeSectionValueLines(section)) {
    auto bytes = encode(text);
    if (!bytes) return false;
    block.lines.push_back(newLine(std::move(*bytes), Role::kValue));
    return true;
  }
  if (!m_listOpen) return false;
  const bool more = routeRecordLines(section) == 2 && block.lines.back().role == Role::kRecord;
  if (!more &&
      (text.starts_with('#') || (section == RouteSection::kSound && text.starts_with(';'))))
    return false;
  auto bytes = encode(text);
  if (!bytes) return false;
  block.lines.push_back(newLine(std::move(*bytes), more ? Role::kRecordMore : Role::kRecord));
  return true;
}

bool RouteDocument::endList() {
  if (!m_listOpen) return false;
  m_blocks.back().lines.push_back(newLine("#", Role::kEnd));
  m_listOpen = false;
  return true;
}

}  // namespace velimoro
