#include "studio/core/route_editor.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "data/csv.h"
#include "data/numbers.h"
#include "data/text_file.h"
#include "media/translate.h"

namespace velimoro::studio {
namespace {

using Type = FieldSpec::Type;
constexpr long long kInt = INT_MAX;
constexpr long long kTicksADay = 24LL * 60 * 60 * 30;
constexpr const char* kFrameUnit = VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "フレーム");

std::string shown(std::string_view text) {
  return media::translate("velimoro::studio::RouteEditor", std::string(text).c_str());
}

FieldSpec frameField(std::string_view name) {
  return {name, kFrameUnit, Type::kInt, 0, kInt, true};
}
FieldSpec laterFrame(std::string_view name) {
  return {name, kFrameUnit, Type::kInt, 0, kInt, false};
}
FieldSpec number(std::string_view name, long long min = -kInt - 1, long long max = kInt,
                 std::string_view unit = "") {
  return {name, unit, Type::kInt, min, max, false};
}

const std::vector<FieldSpec> kStation = {
    {VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "名前"), "", Type::kText, 0, 0, false},
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "種類")),
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "停止フレーム")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "停止の許容差"), 0, kInt,
           VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "cm")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "発車音 1"), 0, 500),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "発車音 2"), 0, 500),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 7")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "発車時刻"), 0, kTicksADay - 1,
           VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "1/30 秒")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 9")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 10")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 11")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 12")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 13")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 14")),
};
const std::vector<FieldSpec> kSignal = {
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "状態の方式"), 0, 3),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "記憶した状態"), 0, 4),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "方式の値")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "灯器の種類"), 0, 6),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "見え始め")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "見え終わり")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "警報地上子")),
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "信号機")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "番号札"), 0, 500),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "左の表示器"), 0, 500),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "右の表示器"), 0, 500),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "車内信号の速度符号"), 0, 29),
};
const std::vector<FieldSpec> kSpeedLimit = {
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "制限速度"), 0, 999,
           VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "km/h")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "画像"), 0, 500),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 C")),
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "最初のフレーム")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "最後のフレーム")),
};
const std::vector<FieldSpec> kSlope = {
    {VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "勾配"),
     VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "‰"), Type::kDecimal, -1000, 1000, false},
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "始め")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "終わり")),
};
const std::vector<FieldSpec> kTunnel = {
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "入口")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "出口")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "暗さ"), 0, 255)};
const std::vector<FieldSpec> kSound = {
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "音"), 0, 500),
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "鳴り始め")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "鳴り終わり")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "基準の速度"), 0, 999,
           VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "km/h")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "繰り返し"), 0, kInt),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "音程が速度に従う"), 0, 1),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "音量が速度に従う"), 0, 1),
};
const std::vector<FieldSpec> kSign = {
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "画像"), 0, 500),
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "始め")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "終わり")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "標識の喚呼"), 0, 1000)};
const std::vector<FieldSpec> kCrossing = {
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 A")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "声"), 0, 540),
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "始め")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "終わり")),
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "値 E"))};
const std::vector<FieldSpec> kSceneMovie = {
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "種類")),
    frameField(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "始め")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "終わり")),
    {VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "動画"), "", Type::kText, 0, 0, false},
    number(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "長さ"), 0, kInt,
           VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "フレーム")),
    laterFrame(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "戻るフレーム")),
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

std::string captionOf(RecordKind kind) {
  switch (kind) {
    case RecordKind::kStation:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "駅"));
    case RecordKind::kSignal:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "信号"));
    case RecordKind::kSpeedLimit:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "速度制限"));
    case RecordKind::kSlope:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "勾配"));
    case RecordKind::kTunnel:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "トンネル"));
    case RecordKind::kSound:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "音"));
    case RecordKind::kSign:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "標識"));
    case RecordKind::kCrossing:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "踏切"));
    case RecordKind::kSceneMovie:
      return shown(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "情景動画"));
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

std::string fieldCaption(const FieldSpec& field) {
  if (field.unit.empty()) return shown(field.name);
  return media::fill(media::translate("velimoro::studio::RouteEditor", "%1 (%2)"),
                     {shown(field.name), shown(field.unit)});
}

std::size_t frameFieldOf(RecordKind kind) {
  const auto& fields = fieldsOf(kind);
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].frame) return i;
  return 0;
}

std::string checkFields(RecordKind kind, const std::vector<std::string>& values) {
  const auto& fields = fieldsOf(kind);
  const auto fault = [](const char* text, std::initializer_list<std::string_view> parts) {
    return media::fill(media::translate("velimoro::studio::RouteEditor", text), parts);
  };
  if (values.size() != fields.size())
    return fault(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor",
                                    "%1: 欄は %2 個で、%3 個ではありません"),
                 {captionOf(kind), std::to_string(fields.size()), std::to_string(values.size())});
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldSpec& f = fields[i];
    const std::string& v = values[i];
    const std::string name = fieldCaption(f);
    const std::string min = std::to_string(f.min), max = std::to_string(f.max);
    if (f.type == Type::kText) {
      std::string encoded;
      if (v.find_first_of(",\r\n") != std::string::npos)
        return fault(
            VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "%1: コンマと改行は使えません"),
            {name});
      if (i == 0 && v.starts_with('#'))
        return fault(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor",
                                        "%1: 「#」で始めることはできません"),
                     {name});
      if (!encodeCp932(v, encoded))
        return fault(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor",
                                        "%1: Shift-JIS にない文字があります"),
                     {name});
      continue;
    }
    if (f.type == Type::kDecimal) {
      const auto value = parseFixed(v);
      if (!value || v.find(',') != std::string::npos || *value < Fixed::fromInt(f.min) ||
          *value > Fixed::fromInt(f.max))
        return fault(VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor",
                                        "%1: %2 … %3 の小数を入れてください"),
                     {name, min, max});
      continue;
    }
    const auto value = parseInt(v);
    if (!value || *value < f.min || *value > f.max)
      return fault(
          VELIMORO_TEXT_NOOP("velimoro::studio::RouteEditor", "%1: %2 … %3 の整数を入れてください"),
          {name, min, max});
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
    error = media::fill(
        media::translate("velimoro::studio::RouteEditor", "%1: 路線ファイルにこれ以上入りません"),
        {captionOf(kind)});
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
    error = media::fill(media::translate("velimoro::studio::RouteEditor", "%1 %2 はありません"),
                        {captionOf(kind), std::to_string(index + 1)});
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
