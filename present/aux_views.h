#pragma once

#include <array>
#include <string>
#include <vector>

#include "media/translate.h"
#include "sim/sim_drive.h"

namespace velimoro {

/// One line of the value display: its caption and the value the tick wrote.
struct ValueRow {
  std::string caption;
  std::string value;
};

/// The value display's lines for the drive as it stands: speeds, pressures, forces, places,
/// signals and limits. `acceleration` in km/h/s and `fps` (screen passes a second) come from the
/// host, which sees them over time.
std::vector<ValueRow> valueDisplayRows(const SimDrive& drive, double acceleration, int fps);

/// The value display's acceleration in km/h/s: the speed's change over the last second of
/// `samples` (oldest first, one taken each tick, each with drive time `ms` and `speed`), from
/// the first sample of that second to the last; 0 with no two samples in it.
template <typename Samples>
double accelerationOverLastSecond(const Samples& samples) {
  if (samples.empty()) return 0;
  const auto& last = samples.back();
  for (const auto& sample : samples) {
    if (sample.ms < last.ms - 1000) continue;
    if (sample.ms >= last.ms) return 0;
    return (last.speed - sample.speed) * 1000.0 / static_cast<double>(last.ms - sample.ms);
  }
  return 0;
}

/// The easy cab's lamp column: the neutral lamp, power 1..5 and brake 1..8.
struct EasyCabLamps {
  bool neutral = false;
  std::array<bool, 5> power{};
  std::array<bool, 8> brake{};
};

/// The lamps for the handles as they stand: the neutral lamp with both handles at 0, power n from
/// power handle n up, brake n from brake handle -n down (so the emergency position of a train
/// with nine lights all eight).
EasyCabLamps easyCabLamps(const SimState& s);

/// A big button of the easy cab and the key it stands for.
struct EasyCabButton {
  const char* caption;
  char key;
};
inline constexpr std::array<EasyCabButton, 6> kEasyCabButtons = {
    {{VELIMORO_TEXT_NOOP("EasyCab", "減速"), '2'},
     {VELIMORO_TEXT_NOOP("EasyCab", "加速"), '8'},
     {VELIMORO_TEXT_NOOP("EasyCab", "ドア開閉"), '7'},
     {VELIMORO_TEXT_NOOP("EasyCab", "案内放送"), '1'},
     {VELIMORO_TEXT_NOOP("EasyCab", "巻戻し"), '-'},
     {VELIMORO_TEXT_NOOP("EasyCab", "ニュートラル"), '5'}}};

}  // namespace velimoro
