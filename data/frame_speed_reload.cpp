#include "data/frame_speed_reload.h"

#include <algorithm>

#include "data/csv.h"
#include "data/numbers.h"
#include "data/text_file.h"

namespace velimoro {
namespace {

bool readEntry(const std::string& line, FrameSpeedEntry& entry) {
  const auto from = parseInt(csvField(line, 1));
  const auto to = parseInt(csvField(line, 2));
  const auto fromSpeed = parseExtended(csvField(line, 3));
  const auto toSpeed = parseExtended(csvField(line, 4));
  if (!from || !to || !fromSpeed || !toSpeed) return false;
  entry.fromFrame = *from;
  entry.toFrame = *to;
  entry.fromSpeed = *fromSpeed;
  entry.toSpeed = *toSpeed;
  return true;
}

}  // namespace

bool reloadFrameSpeeds(const std::string& path, RouteData& route) {
  TextFileReader file;
  if (!file.open(path)) return false;
  std::string line;
  bool inSection = false;
  int count = 0;
  while (file.readLine(line) == TextFileReader::Line::kRead) {
    if (!inSection) {
      inSection = line.rfind("[SpeedUnit]", 0) == 0;
      continue;
    }
    if (line.rfind('#', 0) == 0 || count == RouteData::kFrameSpeeds) break;
    FrameSpeedEntry entry;
    if (!readEntry(line, entry)) break;
    route.frameSpeeds[static_cast<std::size_t>(count++)] = entry;
  }
  if (count == 0) return false;
  route.frameSpeedCount = count;
  return true;
}

}  // namespace velimoro
