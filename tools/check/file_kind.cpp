#include "tools/check/file_kind.h"

#include <filesystem>

#include "data/route_reader.h"
#include "data/text_file.h"
#include "data/train_reader.h"

namespace velimoro::check {
namespace {

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

FileKind fileKind(const std::string& path) {
  const std::string name = lowerAscii(std::filesystem::path(path).filename().string());
  if (name == "dorvanel.dat") return FileKind::kUiStrings;
  if (name == "mascon.dat") return FileKind::kControllerMap;
  if (name == "operation.dat") return FileKind::kHelpText;

  TextFileReader file;
  if (!file.open(path)) return FileKind::kUnknown;
  int trainHeaders = 0;
  int routeHeaders = 0;
  std::string line;
  for (;;) {
    const TextFileReader::Line result = file.readLine(line);
    if (result == TextFileReader::Line::kEnd) break;
    if (result == TextFileReader::Line::kBad) continue;
    if (!line.starts_with('[')) continue;
    if (opensTrainSection(line)) ++trainHeaders;
    if (opensRouteSection(line)) ++routeHeaders;
  }
  if (trainHeaders > routeHeaders) return FileKind::kTrain;
  if (routeHeaders > trainHeaders) return FileKind::kRoute;
  return FileKind::kUnknown;
}

}  // namespace velimoro::check
