#include "data/controller_map.h"

#include <string_view>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/text_file.h"
#include "media/translate.h"

namespace velimoro {
namespace {

constexpr std::string_view kFileName = "mascon.dat";

}  // namespace

ControllerMap readControllerMap(const std::string& root, ReadLog* log) {
  ControllerMap map;
  const auto fault = [log](int line, const std::string& text) {
    if (log == nullptr) throw DataError(text);
    log->fault(line, text);
  };
  TextFileReader file;
  if (!file.open(resolvePath(root, std::string(kFileName)))) {
    fault(0, media::fill(media::translate("DataFiles", "%1が見つかりません"), {kFileName}));
    return map;
  }
  std::string line;
  for (;;) {
    const TextFileReader::Line result = file.readLine(line);
    if (result == TextFileReader::Line::kEnd) break;
    if (result == TextFileReader::Line::kBad) {
      fault(file.lineNumber(),
            media::fill(media::translate("DataFiles", "%1に誤りがあります"), {kFileName}));
      line.clear();
    }
    if (line.starts_with('#')) break;
    if (map.MapLineCount == ControllerMap::kMaxMapLines) {
      if (log != nullptr)
        log->warning(file.lineNumber(),
                     media::translate("ControllerMap", "27行目から先は使われません"));
      break;
    }
    map.MapLines[static_cast<std::size_t>(map.MapLineCount++)] = line;
  }
  return map;
}

}  // namespace velimoro
