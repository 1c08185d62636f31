#include "data/help_text.h"

#include <string_view>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/text_file.h"
#include "media/translate.h"

namespace velimoro {
namespace {

constexpr std::string_view kFileName = "operation.dat";

}  // namespace

HelpText readHelpText(const std::string& root, ReadLog* log) {
  HelpText help;
  const auto fault = [log](int line, const std::string& text) {
    if (log == nullptr) throw DataError(text);
    log->fault(line, text);
  };
  TextFileReader file;
  if (!file.open(resolvePath(root, std::string(kFileName)))) {
    fault(0, media::fill(media::translate("DataFiles", "%1が見つかりません"), {kFileName}));
    return help;
  }
  std::string line;
  for (;;) {
    const TextFileReader::Line result = file.readLine(line);
    if (result == TextFileReader::Line::kEnd) break;
    if (result == TextFileReader::Line::kBad) {
      fault(file.lineNumber(),
            media::fill(media::translate("DataFiles", "%1に誤りがあります"), {kFileName}));
      continue;
    }
    if (file.lineNumber() == 1) {
      help.caption = line;
      continue;
    }
    if (help.text.size() + line.size() + 1 > HelpText::kMaxBytes) {
      if (log != nullptr)
        log->warning(file.lineNumber(),
                     media::translate("HelpText", "ヘルプの文はここまでが表示されます"));
      break;
    }
    help.text.append(line).append("\n");
  }
  if (file.lineNumber() == 0 && log != nullptr)
    log->warning(0, media::translate("HelpText", "ファイルが空です"));
  return help;
}

}  // namespace velimoro
