#include "data/help_text.h"

#include <string_view>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/text_file.h"

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
    fault(0, std::string(kFileName) + "が見つかりません");
    return help;
  }
  std::string line;
  for (;;) {
    const TextFileReader::Line result = file.readLine(line);
    if (result == TextFileReader::Line::kEnd) break;
    if (result == TextFileReader::Line::kBad) {
      fault(file.lineNumber(), std::string(kFileName) + "に誤りがあります");
      continue;
    }
    if (file.lineNumber() == 1) {
      help.caption = line;
      continue;
    }
    if (help.text.size() + line.size() + 1 > HelpText::kMaxBytes) {
      if (log != nullptr) log->warning(file.lineNumber(), "the help text is shown up to here");
      break;
    }
    help.text.append(line).append("\n");
  }
  if (file.lineNumber() == 0 && log != nullptr) log->warning(0, "the file is empty");
  return help;
}

}  // namespace velimoro
