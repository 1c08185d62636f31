#pragma once

#include <vector>

namespace velimoro {

/// The picture lists of the cab screen that the data files fill, as handles of the picture
/// loader. The train's stop-line picture comes first in `sign`, so the route's sign pictures
/// start at index 1.
struct PictureLists {
  std::vector<int> sign;           // "[SignImageList]"
  std::vector<int> signal;         // "[SignalImageList]"
  std::vector<int> trafficSignal;  // "[TrafficSignalImageList]"
  std::vector<int> signal2;        // "[SignalImageList2]": speed-limit pictures
  std::vector<int> anim;           // "[AnimImageList]"
  std::vector<int> other;          // "[OtherImageList]"
  std::vector<int> cross;          // "[CrossImageList]"
};

}  // namespace velimoro
