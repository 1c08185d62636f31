#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "data/route_document.h"

namespace velimoro::studio {

/// The kinds of record the studio places on the video, each a list section of the route file.
enum class RecordKind {
  kStation,
  kSignal,
  kSpeedLimit,
  kSlope,
  kTunnel,
  kSound,
  kSign,
  kCrossing,
  kSceneMovie,
};
inline constexpr RecordKind kAllRecordKinds[] = {
    RecordKind::kStation, RecordKind::kSignal,   RecordKind::kSpeedLimit,
    RecordKind::kSlope,   RecordKind::kTunnel,   RecordKind::kSound,
    RecordKind::kSign,    RecordKind::kCrossing, RecordKind::kSceneMovie};

/// One field of a record's form: its name and unit as written (fieldCaption() gives them in the
/// chosen language), and the values it takes.
struct FieldSpec {
  enum class Type { kInt, kDecimal, kText };
  std::string_view name;
  std::string_view unit;  // "" for a plain number or a text
  Type type = Type::kInt;
  long long min = 0;
  long long max = 0;
  bool frame = false;  // a video frame: the field the record is placed by
};

/// The section, a caption and the fields of a kind, in file order.
RouteSection sectionOf(RecordKind kind);
/// The kind's caption in the chosen language.
std::string captionOf(RecordKind kind);
/// The field's name with its unit, in the chosen language: "発車時刻 (1/30 秒)".
std::string fieldCaption(const FieldSpec& field);
const std::vector<FieldSpec>& fieldsOf(RecordKind kind);
/// The field (from 0) that places the record on the video.
std::size_t frameFieldOf(RecordKind kind);

/// The first fault of `values` as a form of `kind` shows it (the field's name and what it
/// takes, in the chosen language); empty when every field holds what it may.
std::string checkFields(RecordKind kind, const std::vector<std::string>& values);

/// A placed record: where the timeline shows it.
struct RecordMark {
  RecordKind kind;
  int index = 0;  // within its section
  int frame = 0;
  std::string label;
};

/// A route being edited: its document, the steps that undo and redo, and whether it differs
/// from what was saved last. Every edit is one step.
class RouteEditor {
 public:
  /// The most steps kept to undo; the oldest go first.
  static constexpr std::size_t kUndoSteps = 200;

  explicit RouteEditor(RouteDocument document = {}) : m_document(std::move(document)) {}

  const RouteDocument& document() const { return m_document; }
  /// Whether there are edits since the document was opened or last saved.
  bool modified() const { return m_modified; }
  /// The document has been saved as it stands.
  void markSaved() { m_modified = false; }

  /// Places a record of `kind` with `values` in its section, before the first record whose
  /// frame lies later; false with `error` set (nothing changes) when a field is wrong. Returns
  /// the record's index through `index`.
  bool place(RecordKind kind, const std::vector<std::string>& values, std::string& error,
             int* index = nullptr);
  /// Replaces record `index` of `kind`; false with `error` set when a field is wrong or there
  /// is no such record.
  bool edit(RecordKind kind, int index, const std::vector<std::string>& values, std::string& error);
  bool remove(RecordKind kind, int index);
  /// Sets value line `index` of a section of values ("[LineName]", "[StartPos]", …).
  bool setValue(RouteSection section, int index, std::string_view text);
  /// Replaces the document by a whole new one, as one step (a calibration).
  void replace(RouteDocument document);

  /// The fields of record `index` of `kind`; empty when there is none.
  std::vector<std::string> fields(RecordKind kind, int index) const;
  /// Every placed record of every kind whose frame field reads as a number.
  std::vector<RecordMark> marks() const;

  bool canUndo() const { return !m_undo.empty(); }
  bool canRedo() const { return !m_redo.empty(); }
  bool undo();
  bool redo();

 private:
  void step(RouteDocument next);

  RouteDocument m_document;
  std::deque<RouteDocument> m_undo;
  std::vector<RouteDocument> m_redo;
  bool m_modified = false;
};

}  // namespace velimoro::studio
