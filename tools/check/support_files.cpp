#include "tools/check/support_files.h"

#include "data/controller_map.h"
#include "data/help_text.h"
#include "data/read_log.h"

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
              "[Path] \"" + path +
                  "\" does not end with \"\\\": the video names are joined to it "
                  "without a separator");
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
      f.warning(i + 1, "code \"" + map.MapLines[i] + "\" is longer than " +
                           std::to_string(ControllerMap::kCodeLength) +
                           " characters: the controller's codes are compared on their first " +
                           std::to_string(ControllerMap::kCodeLength) + ", so it never matches");
  if (map.MapLineCount < ControllerMap::kUsedLines)
    f.warning(map.MapLineCount + 1, "only " + std::to_string(map.MapLineCount) +
                                        " codes: the positions of lines " +
                                        std::to_string(map.MapLineCount + 1) + " to " +
                                        std::to_string(ControllerMap::kUsedLines) + " have none");
}

void checkHelpText(const std::string& root, const std::string& shown, Findings& out) {
  FileFindings f(shown, out);
  ReadLog log;
  readHelpText(root, &log);
  f.add(log);
}

}  // namespace velimoro::check
