#include "tools/check/support_files.h"

#include "data/controller_map.h"
#include "data/help_text.h"
#include "data/read_log.h"
#include "media/translate.h"

namespace velimoro::check {
namespace {

int utf8Characters(const std::string& text) {
  int count = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace

std::optional<UiStrings> checkUiStrings(const std::string& root, const std::string& shown,
                                        Findings& out) {
  FileFindings f(shown, out);
  ReadLog log;
  UiStrings strings = readUiStrings(root, &log);
  f.add(log);
  if (!opened(log)) return std::nullopt;
  const std::string& path = strings.Path;
  if (!path.empty() && !path.ends_with('\\') && !path.ends_with('/'))
    f.warning(log.sectionLine("[Path]") + 1,
              media::fill(media::translate("SupportFileCheck",
                                           "[Path]の「%1」が「\\」で終わっていません。映像の"
                                           "ファイル名が区切りなしでつながります"),
                          {path}));
  return strings;
}

void checkControllerMap(const std::string& root, const std::string& shown, Findings& out) {
  FileFindings f(shown, out);
  ReadLog log;
  const ControllerMap map = readControllerMap(root, &log);
  f.add(log);
  if (!opened(log)) return;
  // The map's lines are its first lines, one a position.
  for (int i = 0; i < map.MapLineCount; ++i)
    if (utf8Characters(map.MapLines[i]) > ControllerMap::kCodeLength)
      f.warning(i + 1, media::fill(media::translate("SupportFileCheck",
                                                    "コード「%1」が%2文字を超えています。マスコン"
                                                    "のコードは先頭の%2文字で比べるため、一致する"
                                                    "ことはありません"),
                                   {map.MapLines[i], std::to_string(ControllerMap::kCodeLength)}));
  if (map.MapLineCount < ControllerMap::kUsedLines)
    f.warning(map.MapLineCount + 1,
              media::fill(media::translate("SupportFileCheck",
                                           "コードが%1個しかありません。%2行目から%3行目の位置"
                                           "にはコードがありません"),
                          {std::to_string(map.MapLineCount), std::to_string(map.MapLineCount + 1),
                           std::to_string(ControllerMap::kUsedLines)}));
}

void checkHelpText(const std::string& root, const std::string& shown, Findings& out) {
  FileFindings f(shown, out);
  ReadLog log;
  readHelpText(root, &log);
  f.add(log);
}

}  // namespace velimoro::check
