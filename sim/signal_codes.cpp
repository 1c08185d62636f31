#include "sim/signal_codes.h"

#include <algorithm>
#include <array>

namespace velimoro {
namespace {

constexpr int kLampTypes = 6;

// Rows: lamp type 0 (no lamps) to 5 and more; columns: state 0 (stop) to 4.
constexpr std::array<std::array<int, kMaxSignalState + 1>, kLampTypes> kAspectCodes = {{
    {0, 1, 1, 1, 2},
    {3, 5, 5, 5, 5},
    {6, 7, 7, 8, 8},
    {9, 10, 10, 11, 12},
    {13, 14, 15, 15, 16},
    {17, 18, 19, 20, 21},
}};

}  // namespace

int aspectCode(int lampType, int state) {
  const int row = std::clamp(lampType, 0, kLampTypes - 1);
  const int column = std::clamp(state, 0, kMaxSignalState);
  return kAspectCodes[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

AspectClass aspectClass(int code) {
  switch (code) {
    case 0:
    case 3:
    case 6:
    case 9:
    case 13:
    case 17:
      return AspectClass::kStop;
    case 14:
    case 18:
      return AspectClass::kRestricting;
    case 4:
    case 7:
    case 10:
    case 15:
    case 19:
      return AspectClass::kCaution;
    case 11:
    case 20:
      return AspectClass::kReducedSpeed;
    case 5:
    case 8:
    case 12:
    case 16:
    case 21:
      return AspectClass::kClear;
    default:
      return AspectClass::kNone;
  }
}

bool signalHasLamps(int lampType) {
  return lampType >= 1 && lampType != kCabSignalLampType;
}

}  // namespace velimoro
