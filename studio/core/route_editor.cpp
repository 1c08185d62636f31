#include "studio/core/route_editor.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "data/csv.h"
#include "data/numbers.h"
#include "data/text_file.h"

namespace velimoro::studio {
namespace {

using Type = FieldSpec::Type;
constexpr long long kInt = INT_MAX;
constexpr long long kTicksADay = 24LL * 60 * 60 * 30;

FieldSpec frameField(std::string_view name) {
  return {name, "frame", Type::kInt, 0, kInt, true};
}
FieldSpec laterFrame(std::string_view name) {
  return {name, "frame", Type::kInt, 0, kInt, false};
}
FieldSpec number(std::string_view name, long long min = -kInt - 1, long long max = kInt,
                 std::string_view unit = "") {
  return {name, unit, Type::kInt, min, max, false};
}

const std::vector<FieldSpec> kStation = {
    {"name", "", Type::kText, 0, 0, false},
    number("kind"),
    frameField("stop frame"),
    number("tolerance", 0, kInt, "cm"),
    number("departure sound 1", 0, 500),
    number("departure sound 2", 0, 500),
    number("value 7"),
    number("departure time", 0, kTicksADay - 1, "1/30 s"),
    number("value 9"),
    number("value 10"),
    number("value 11"),
    number("value 12"),
    number("value 13"),
    number("value 14"),
};
const std::vector<FieldSpec> kSignal = {
    number("state mode", 0, 3),        number("stored state", 0, 4),
    number("mode parameter"),          number("lamp type", 0, 6),
    laterFrame("in view from"),        laterFrame("in view to"),
    laterFrame("alarm beacon"),        frameField("signal"),
    number("number plate", 0, 500),    number("left indicator", 0, 500),
    number("right indicator", 0, 500), number("cab speed code", 0, 29),
};
const std::vector<FieldSpec> kSpeedLimit = {
    number("limit", 0, 999, "km/h"), number("picture", 0, 500), number("value C"),
    frameField("first frame"),       laterFrame("last frame"),
};
const std::vector<FieldSpec> kSlope = {
    {"gradient", "per mille", Type::kDecimal, -1000, 1000, false},
    frameField("from"),
    laterFrame("to"),
};
const std::vector<FieldSpec> kTunnel = {frameField("entry"), laterFrame("exit"),
                                        number("darkness", 0, 255)};
const std::vector<FieldSpec> kSound = {
    number("sound", 0, 500),
    frameField("start"),
    laterFrame("stop"),
    number("reference speed", 0, 999, "km/h"),
    number("loop", 0, kInt),
    number("pitch follows", 0, 1),
    number("volume follows", 0, 1),
};
const std::vector<FieldSpec> kSign = {number("picture", 0, 500), frameField("from"),
                                      laterFrame("to"), number("board call-out", 0, 1000)};
const std::vector<FieldSpec> kCrossing = {number("value A"), number("voice", 0, 540),
                                          frameField("from"), laterFrame("to"), number("value E")};
const std::vector<FieldSpec> kSceneMovie = {
    number("kind"),
    frameField("from"),
    laterFrame("to"),
    {"movie", "", Type::kText, 0, 0, false},
    number("length", 0, kInt, "frames"),
    laterFrame("resume frame"),
};

}  // namespace

RouteSection sectionOf(RecordKind kind) {
  switch (kind) {
    case RecordKind::kStation:
      return RouteSection::kStation;
    case RecordKind::kSignal:
      return RouteSection::kSignal;
    case RecordKind::kSpeedLimit:
      return RouteSection::kSpeedLimit;
    case RecordKind::kSlope:
      return RouteSection::kSlope;
    case RecordKind::kTunnel:
      return RouteSection::kTunnel;
    case RecordKind::kSound:
      return RouteSection::kSound;
    case RecordKind::kSign:
      return RouteSection::kSign;
    case RecordKind::kCrossing:
      return RouteSection::kCross;
    case RecordKind::kSceneMovie:
      return RouteSection::kMovieSwitch;
  }
  return RouteSection::kStation;
}

std::string_view captionOf(RecordKind kind) {
  switch (kind) {
    case RecordKind::kStation:
      return "station";
    case RecordKind::kSignal:
      return "signal";
    case RecordKind::kSpeedLimit:
      return "speed limit";
    case RecordKind::kSlope:
      return "slope";
    case RecordKind::kTunnel:
      return "tunnel";
    case RecordKind::kSound:
      return "sound";
    case RecordKind::kSign:
      return "board";
    case RecordKind::kCrossing:
      return "level crossing";
    case RecordKind::kSceneMovie:
      return "scene movie";
  }
  return "";
}

const std::vector<FieldSpec>& fieldsOf(RecordKind kind) {
  switch (kind) {
    case RecordKind::kStation:
      return kStation;
    case RecordKind::kSignal:
      return kSignal;
    case RecordKind::kSpeedLimit:
      return kSpeedLimit;
    case RecordKind::kSlope:
      return kSlope;
    case RecordKind::kTunnel:
      return kTunnel;
    case RecordKind::kSound:
      return kSound;
    case RecordKind::kSign:
      return kSign;
    case RecordKind::kCrossing:
      return kCrossing;
    case RecordKind::kSceneMovie:
      return kSceneMovie;
  }
  return kStation;
}

std::size_t frameFieldOf(RecordKind kind) {
  const auto& fields = fieldsOf(kind);
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].frame) return i;
  return 0;
}

std::string checkFields(RecordKind kind, const std::vector<std::string>& values) {
  const auto& fields = fieldsOf(kind);
  if (values.size() != fields.size())
    return std::string(captionOf(kind)) + ": " + std::to_string(fields.size()) + " fields, not " +
           std::to_string(values.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldSpec& f = fields[i];
    const std::string& v = values[i];
    const std::string name(f.name);
    const std::string unit = f.unit.empty() ? "" : " (" + std::string(f.unit) + ")";
    const std::string range = std::to_string(f.min) + " … " + std::to_string(f.max);
    if (f.type == Type::kText) {
      std::string encoded;
      if (v.find_first_of(",\r\n") != std::string::npos) return name + ": no comma or line break";
      if (i == 0 && v.starts_with('#')) return name + ": may not start with \"#\"";
      if (!encodeCp932(v, encoded)) return name + ": a character that Shift-JIS lacks";
      continue;
    }
    if (f.type == Type::kDecimal) {
      const auto value = parseFixed(v);
      if (!value || v.find(',') != std::string::npos || *value < Fixed::fromInt(f.min) ||
          *value > Fixed::fromInt(f.max))
        return name + unit + ": a decimal of " + range;
      continue;
    }
    const auto value = parseInt(v);
    if (!value || *value < f.min || *value > f.max)
      return name + unit + ": a whole number of " + range;
  }
  return {};
}

namespace {

std::string joined(const std::vector<std::string>& values) {
  std::string line;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    line += values[i];
  }
  return line;
}

std::optional<int> frameOf(RecordKind kind, const std::string& line) {
  return parseInt(csvField(line, static_cast<int>(frameFieldOf(kind)) + 1));
}

}  // namespace

void RouteEditor::step(RouteDocument next) {
  m_undo.push_back(std::move(m_document));
  if (m_undo.size() > kUndoSteps) m_undo.pop_front();
  m_redo.clear();
  m_document = std::move(next);
  m_modified = true;
}

bool RouteEditor::place(RecordKind kind, const std::vector<std::string>& values, std::string& error,
                        int* index) {
  error = checkFields(kind, values);
  if (!error.empty()) return false;
  const RouteSection section = sectionOf(kind);
  const int frame = *parseInt(values[frameFieldOf(kind)]);
  int at = m_document.recordCount(section);
  for (int i = 0; i < m_document.recordCount(section); ++i) {
    const auto lines = m_document.record(section, i);
    const auto other = lines.empty() ? std::nullopt : frameOf(kind, lines[0]);
    if (other && *other > frame) {
      at = i;
      break;
    }
  }
  RouteDocument next = m_document;
  if (!next.insertRecord(section, at, {joined(values)})) {
    error = std::string(captionOf(kind)) + ": the route file cannot hold it";
    return false;
  }
  step(std::move(next));
  if (index != nullptr) *index = at;
  return true;
}

bool RouteEditor::edit(RecordKind kind, int index, const std::vector<std::string>& values,
                       std::string& error) {
  error = checkFields(kind, values);
  if (!error.empty()) return false;
  RouteDocument next = m_document;
  if (!next.setRecord(sectionOf(kind), index, {joined(values)})) {
    error = std::string(captionOf(kind)) + " " + std::to_string(index) + " is not there";
    return false;
  }
  step(std::move(next));
  return true;
}

bool RouteEditor::remove(RecordKind kind, int index) {
  RouteDocument next = m_document;
  if (!next.removeRecord(sectionOf(kind), index)) return false;
  step(std::move(next));
  return true;
}

bool RouteEditor::setValue(RouteSection section, int index, std::string_view text) {
  RouteDocument next = m_document;
  if (!next.setValue(section, index, text)) return false;
  step(std::move(next));
  return true;
}

void RouteEditor::replace(RouteDocument document) {
  step(std::move(document));
}

std::vector<std::string> RouteEditor::fields(RecordKind kind, int index) const {
  const auto lines = m_document.record(sectionOf(kind), index);
  if (lines.empty()) return {};
  std::vector<std::string> out;
  for (std::size_t i = 0; i < fieldsOf(kind).size(); ++i)
    out.emplace_back(csvField(lines[0], static_cast<int>(i) + 1));
  return out;
}

std::vector<RecordMark> RouteEditor::marks() const {
  std::vector<RecordMark> out;
  for (RecordKind kind : kAllRecordKinds) {
    const RouteSection section = sectionOf(kind);
    for (int i = 0; i < m_document.recordCount(section); ++i) {
      const auto lines = m_document.record(section, i);
      if (lines.empty()) continue;
      const auto frame = frameOf(kind, lines[0]);
      if (!frame) continue;
      std::string label = kind == RecordKind::kStation ? std::string(csvField(lines[0], 1))
                                                       : std::string(captionOf(kind));
      out.push_back({kind, i, *frame, std::move(label)});
    }
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const RecordMark& a, const RecordMark& b) { return a.frame < b.frame; });
  return out;
}

bool RouteEditor::undo() {
  if (m_undo.empty()) return false;
  m_redo.push_back(std::move(m_document));
  m_document = std::move(m_undo.back());
  m_undo.pop_back();
  m_modified = true;
  return true;
}

bool RouteEditor::redo() {
  if (m_redo.empty()) return false;
  m_undo.push_back(std::move(m_document));
  m_document = std::move(m_redo.back());
  m_redo.pop_back();
  m_modified = true;
  return true;
}

}  // namespace velimoro::studio
