#include "tools/check/named_files.h"

#include <cstdio>
#include <filesystem>

#include "data/paths.h"
#include "tools/check/wave_length.h"

namespace velimoro::check {
namespace {

namespace fs = std::filesystem;

bool isFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::string inQuotes(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string seconds(long long bytes, long long bytesPerSecond) {
  if (bytesPerSecond <= 0) return "no length";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s",
                static_cast<double>(bytes) / static_cast<double>(bytesPerSecond));
  return text;
}

}  // namespace

NamedFiles::NamedFiles(FileFindings& findings, std::string folder)
    : m_findings(findings), m_folder(std::move(folder)) {
  while (m_folder.size() > 1 && m_folder.back() == '/')
    m_folder.pop_back();
}

void NamedFiles::spelling(int line, const std::string& name) {
  if (!name.empty()) find(line, name);
}

std::optional<std::string> NamedFiles::find(int line, const std::string& name) {
  auto known = m_looked.find(name);
  if (known == m_looked.end()) known = m_looked.emplace(name, lookUp(name)).first;
  const Lookup& lookup = known->second;
  if (!lookup.onDisk.empty()) {
    m_findings.warning(line, inQuotes(name) + " is found as " + inQuotes(lookup.onDisk) +
                                 ": the letter case differs, which only a search without regard "
                                 "to case finds");
  }
  return lookup.path;
}

NamedFiles::Lookup NamedFiles::lookUp(const std::string& name) {
  const std::string exact = joinDataPath(
      name.starts_with('\\') || name.starts_with('/') ? std::string() : m_folder, name);
  if (isFile(exact)) return {exact, {}};
  bool exists = false;
  const std::string found = m_paths.resolve(m_folder, name, &exists);
  if (!exists || !isFile(found)) return {};
  // The spelling on disk, below the folder where it lies there.
  std::string onDisk = found;
  if (!m_folder.empty()) {
    const fs::path relative = fs::path(found).lexically_normal().lexically_relative(
        fs::path(m_folder).lexically_normal());
    if (!relative.empty() && *relative.begin() != "..") onDisk = relative.string();
  }
  return {found, onDisk};
}

std::optional<std::string> NamedFiles::require(int line, const std::string& name,
                                               std::string_view what) {
  if (name.empty()) return std::nullopt;
  auto path = find(line, name);
  if (!path)
    m_findings.error(line, std::string(what) + " " + inQuotes(name) +
                               " is missing; the drive does not start without it");
  return path;
}

std::optional<std::string> NamedFiles::expect(int line, const std::string& name,
                                              std::string_view what, std::string_view otherwise) {
  if (name.empty()) return std::nullopt;
  auto path = find(line, name);
  if (!path)
    m_findings.warning(
        line, std::string(what) + " " + inQuotes(name) + " is missing; " + std::string(otherwise));
  return path;
}

void NamedFiles::sound(int line, const std::string& name, bool required) {
  const auto path =
      required ? require(line, name, "sound") : expect(line, name, "sound", "it stays silent");
  if (path) measure(line, name, *path);
}

void NamedFiles::measure(int line, const std::string& name, const std::string& path) {
  if (!m_measured.insert(path).second) return;
  const auto length = measureWave(path);
  if (!length || length->fixedWordsAgree()) return;
  m_findings.warning(line, "the header of " + inQuotes(name) + " gives " +
                               std::to_string(length->fixedDataBytes) + " bytes of sound (" +
                               seconds(length->fixedDataBytes, length->fixedBytesPerSecond) +
                               "), its data hold " + std::to_string(length->dataBytes) + " (" +
                               seconds(length->dataBytes, length->bytesPerSecond) + ")");
}

}  // namespace velimoro::check
