#pragma once

#include <string>

#include "data/read_log.h"

namespace velimoro {

/// The words of "dorvanel.dat": handle and station texts, the route video folder and the
/// captions of the cab window's five top-level menus. A text whose key the file lacks stays
/// empty; a caption keeps the window's own.
struct UiStrings {
  std::string Path;  // folder prefix of the route video; ends with a separator or is empty
  std::string Forward;
  std::string Neutral;
  std::string Reverse;
  std::string Stop;   // after the next station's name, station kind 0
  std::string Pass;   // kind 1
  std::string Stop2;  // kind 2
  std::string Neut;   // brake released
  std::string Neut2;  // power off
  std::string Apply;
  std::string Maintain;
  std::string Hold;
  std::string Hold2;  // the brake handle's hold position
  std::string EB;
  std::string Start = "Start";
  std::string Move = "Move";
  std::string Display = "Display";
  std::string Control = "Controller(&C)";
  std::string Save = "Save(&S)";
};

/// Reads `root` + "dorvanel.dat". Throws DataError("stringファイルに誤りがあります") when the
/// file cannot be opened or holds an unreadable line; with a `log`, notes each such fault there
/// and reads on, and notes the line of every key.
UiStrings readUiStrings(const std::string& root, ReadLog* log = nullptr);

/// The route video's file name: the "[Path]" text, the route's video base name and ".avi",
/// joined as they stand.
std::string videoFileName(const UiStrings& strings, const std::string& dataName);

/// The route video's file name as the drive opens it: videoFileName's when that file exists below
/// `root` (found as resolvePath finds names), else the first of the same name with ".mp4", ".mkv",
/// ".webm" or ".mov" that does, else videoFileName's (whose open then fails with that name).
std::string findVideoFileName(const std::string& root, const UiStrings& strings,
                              const std::string& dataName);

}  // namespace velimoro
