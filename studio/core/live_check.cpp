#include "studio/core/live_check.h"

#include <filesystem>
#include <fstream>

#include "data/csv.h"
#include "data/data_error.h"
#include "data/numbers.h"
#include "data/ui_strings.h"
#include "studio/core/route_editor.h"

namespace velimoro::studio {
namespace {

// The field (from 1) of a record line that gives its frame; 0 for none.
int frameFieldOfSection(RouteSection section) {
  for (RecordKind kind : kAllRecordKinds)
    if (sectionOf(kind) == section) return static_cast<int>(frameFieldOf(kind)) + 1;
  switch (section) {
    case RouteSection::kSpeedUnit:
    case RouteSection::kMovieStop:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

std::vector<LiveFinding> checkRouteDocument(const RouteDocument& document, const std::string& root,
                                            const std::string& scratch,
                                            const check::FrameCounter& frames) {
  std::vector<LiveFinding> out;
  {
    std::ofstream file(scratch, std::ios::binary | std::ios::trunc);
    file << document.bytes();
    if (!file.flush()) {
      out.push_back({0, false, "cannot write the file to check, " + scratch, std::nullopt});
      return out;
    }
  }
  // The videos are looked for only in an installation: without "dorvanel.dat" there is no
  // "[Path]" to find them by.
  std::optional<UiStrings> strings;
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::path(root) / "dorvanel.dat", ec)) {
    try {
      strings = readUiStrings(root);
    } catch (const DataError&) {
      // The checker of the installation reports it; the route is checked without its video.
    }
  }
  check::VideoCheck videos;
  if (strings) videos = {&*strings, frames};
  check::Findings findings;
  check::checkRouteFile(root, scratch, scratch, videos, findings);
  for (check::Finding& f : findings)
    out.push_back({f.line, f.warning, std::move(f.text), frameOfLine(document, f.line)});
  return out;
}

std::optional<int> frameOfLine(const RouteDocument& document, int line) {
  int number = 0;
  for (const RouteDocument::Block& block : document.blocks()) {
    if (number + static_cast<int>(block.lines.size()) < line) {
      number += static_cast<int>(block.lines.size());
      continue;
    }
    if (block.section < 0) return std::nullopt;
    const auto section = static_cast<RouteSection>(block.section);
    int record = -1;
    int value = -1;
    for (const RouteDocument::Line& l : block.lines) {
      using Role = RouteDocument::Line::Role;
      if (l.role == Role::kRecord) ++record;
      if (l.role == Role::kValue) ++value;
      if (++number < line) continue;
      if (l.role == Role::kValue && section == RouteSection::kStartPos && value == 0)
        if (const auto text = document.value(section, 0)) return parseInt(*text);
      if (l.role != Role::kRecord && l.role != Role::kRecordMore) return std::nullopt;
      const int field = frameFieldOfSection(section);
      const auto lines = document.record(section, record);
      if (field == 0 || lines.empty()) return std::nullopt;
      return parseInt(csvField(lines[0], field));
    }
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace velimoro::studio
