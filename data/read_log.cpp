#include "data/read_log.h"

#include <utility>

namespace velimoro {

void ReadLog::fault(int line, std::string text) {
  m_notes.push_back({line, std::move(text), false});
}

void ReadLog::warning(int line, std::string text) {
  m_notes.push_back({line, std::move(text), true});
}

void ReadLog::section(std::string_view key, int line) {
  Section& s = m_sections[std::string(key)];
  s.line = line;
  s.records.clear();
}

void ReadLog::record(std::string_view key, int index, int line) {
  if (index < 0) return;
  auto it = m_sections.find(key);
  if (it == m_sections.end()) it = m_sections.emplace(std::string(key), Section{}).first;
  std::vector<int>& records = it->second.records;
  if (records.size() <= static_cast<std::size_t>(index))
    records.resize(static_cast<std::size_t>(index) + 1);
  records[static_cast<std::size_t>(index)] = line;
}

void ReadLog::loaded(int line, std::string name) {
  m_loaded.push_back({line, std::move(name)});
}

bool ReadLog::hasFaults() const {
  for (const Note& note : m_notes)
    if (!note.warning) return true;
  return false;
}

int ReadLog::sectionLine(std::string_view key) const {
  const auto it = m_sections.find(key);
  return it == m_sections.end() ? 0 : it->second.line;
}

int ReadLog::recordLine(std::string_view key, int index) const {
  const auto it = m_sections.find(key);
  if (it == m_sections.end() || index < 0) return 0;
  const std::vector<int>& records = it->second.records;
  return static_cast<std::size_t>(index) < records.size() ? records[static_cast<std::size_t>(index)]
                                                          : 0;
}

int ReadLog::recordCount(std::string_view key) const {
  const auto it = m_sections.find(key);
  return it == m_sections.end() ? 0 : static_cast<int>(it->second.records.size());
}

}  // namespace velimoro
