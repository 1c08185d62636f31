#include "tools/check/named_files.h"

#include <cstdio>
#include <filesystem>

#include "data/paths.h"
#include "media/translate.h"
#include "tools/check/wave_length.h"

namespace velimoro::check {
namespace {

namespace fs = std::filesystem;

bool isFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::string seconds(long long bytes, long long bytesPerSecond) {
  if (bytesPerSecond <= 0) return media::translate("NamedFiles", "長さなし");
  char text[32];
  std::snprintf(text, sizeof text, "%.2f",
                static_cast<double>(bytes) / static_cast<double>(bytesPerSecond));
  return media::fill(media::translate("NamedFiles", "%1秒"), {text});
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
    m_findings.warning(
        line, media::fill(media::translate("NamedFiles",
                                           "「%1」は「%2」として見つかります。大文字と小文字が"
                                           "違うため、区別しない検索でしか見つかりません"),
                          {name, lookup.onDisk}));
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
                                               std::string_view missing) {
  if (name.empty()) return std::nullopt;
  auto path = find(line, name);
  if (!path) m_findings.error(line, media::fill(missing, {name}));
  return path;
}

std::optional<std::string> NamedFiles::expect(int line, const std::string& name,
                                              std::string_view missing) {
  if (name.empty()) return std::nullopt;
  auto path = find(line, name);
  if (!path) m_findings.warning(line, media::fill(missing, {name}));
  return path;
}

std::optional<std::string> NamedFiles::requirePicture(int line, const std::string& name) {
  return require(
      line, name,
      media::translate("NamedFiles", "画像「%1」がありません。これがないと運転を始められません"));
}

std::optional<std::string> NamedFiles::expectPicture(int line, const std::string& name) {
  return expect(line, name,
                media::translate("NamedFiles", "画像「%1」がありません。運転台には表示されません"));
}

void NamedFiles::sound(int line, const std::string& name, bool required) {
  const auto path =
      required
          ? require(line, name,
                    media::translate("NamedFiles",
                                     "音声「%1」がありません。これがないと運転を始められません"))
          : expect(line, name,
                   media::translate("NamedFiles", "音声「%1」がありません。その音は鳴りません"));
  if (path) measure(line, name, *path);
}

void NamedFiles::measure(int line, const std::string& name, const std::string& path) {
  if (!m_measured.insert(path).second) return;
  const auto length = measureWave(path);
  if (!length || length->fixedWordsAgree()) return;
  m_findings.warning(
      line, media::fill(media::translate("NamedFiles",
                                         "「%1」のヘッダーでは音のデータが%2バイト（%3）ですが、"
                                         "実際のデータは%4バイト（%5）です"),
                        {name, std::to_string(length->fixedDataBytes),
                         seconds(length->fixedDataBytes, length->fixedBytesPerSecond),
                         std::to_string(length->dataBytes),
                         seconds(length->dataBytes, length->bytesPerSecond)}));
}

}  // namespace velimoro::check
