#pragma once

#include <array>
#include <string>

#include "data/read_log.h"

namespace velimoro {

/// The lines of "mascon.dat": the codes the serial master controller sends, one per position or
/// button in a fixed order (lines 1 to 6 power P1 to P6, 7 neutral, 8 to 15 brake B1 to B8,
/// 16 emergency, 17 to 19 reverser forward, neutral and reverse, 20 to 22 the announcement,
/// horn and door buttons; 23 to 26 are kept unused).
struct ControllerMap {
  static constexpr int kMaxMapLines = 26;
  static constexpr int kUsedLines = 22;
  /// A received chunk matches a line when its first characters, this many, equal the line.
  static constexpr int kCodeLength = 5;

  std::array<std::string, kMaxMapLines> MapLines{};
  int MapLineCount = 0;

  // The game controller's codes of the handle positions, from the settings store (0 unset).
  std::array<int, 6> PowerCode{};  // P0 .. P5
  std::array<int, 9> BrakeCode{};  // B0 (release) .. B8
  int EmergencyCode = 0;
};

/// Reads "mascon.dat" in `root`: the lines before the first one that begins with "#", at most
/// 26 (the controller has no position for more). Throws DataError("mascon.datが見つかりません")
/// when the file cannot be opened and DataError("mascon.datに誤りがあります") on an unreadable
/// line; with a `log`, notes those there instead (an unreadable line is kept empty) and warns
/// of a line beyond the 26th.
ControllerMap readControllerMap(const std::string& root, ReadLog* log = nullptr);

}  // namespace velimoro
