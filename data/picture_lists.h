#pragma once

#include <cstddef>
#include <vector>

namespace velimoro {

/// The picture lists of the cab screen that the data files fill, as handles of the picture
/// loader. The train's stop-line picture comes first in `sign`, so the route's sign pictures
/// start at index 1.
struct PictureLists {
  /// Each list holds at most this many pictures, as the route's big tables hold records.
  static constexpr std::size_t kMaxPictures = 1000;

  std::vector<int> sign;           // "[SignImageList]"
  std::vector<int> signal;         // "[SignalImageList]"
  std::vector<int> trafficSignal;  // "[TrafficSignalImageList]"
  std::vector<int> signal2;        // "[SignalImageList2]": speed-limit pictures
  std::vector<int> anim;           // "[AnimImageList]"
  std::vector<int> other;          // "[OtherImageList]"
  std::vector<int> cross;          // "[CrossImageList]"
};

}  // namespace velimoro
