#include <algorithm>

#include "input/external_controllers.h"
#include "sim/handle_steps.h"

namespace velimoro {

int mapPosition(const TrainSpec& train, int powerMode, int k) {
  if (k < 0) return std::max(k, -train.Brake);
  if (k == 0) return 0;
  // The notches of the selected mode; a controller with more positions than the mode has
  // notches stops at the mode's top notch, and P1 is always the mode's first notch.
  int first = 0;
  int last = 0;
  const int notches = std::min(train.Power, TrainSpec::kMaxNotches);
  for (int notch = 1; notch <= notches; ++notch) {
    if (notchMode(train, notch) != powerMode) continue;
    if (first == 0) first = notch;
    last = notch;
  }
  if (first == 0) return 0;
  const int count = last - first + 1;
  if (k <= count && notchMode(train, first + k - 1) == powerMode) return first + k - 1;
  return last;
}

}  // namespace velimoro
