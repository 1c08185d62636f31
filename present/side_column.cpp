#include "present/side_column.h"

#include <cstddef>

#include "present/panel.h"

namespace velimoro {
namespace {

void place(std::vector<PlacedPicture>& out, const std::vector<int>& list, int index, int x, int y) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return;
  out.push_back({list[static_cast<std::size_t>(index)], x, y});
}

}  // namespace

void keySidePictures(const SimDrive& drive, media::PictureStore& store) {
  const PictureLists& lists = drive.pictures;
  for (const std::vector<int>* list :
       {&lists.signal, &lists.signal2, &lists.trafficSignal, &lists.anim}) {
    for (const int handle : *list)
      keyBottomLeft(store, handle);
  }
}

std::vector<PlacedPicture> sidePictures(const SimDrive& drive) {
  const SimState& s = drive.state;
  const PictureLists& lists = drive.pictures;
  std::vector<PlacedPicture> out;
  place(out, lists.signal, s.signal_left_picture, s.signal_left_x, kSignalTop);
  place(out, lists.signal, s.signal_picture, s.signal_picture_x, kSignalTop);
  place(out, lists.signal, s.signal_right_picture, s.signal_right_x, kSignalTop);
  place(out, lists.signal, s.signal_plate_picture, s.signal_picture_x, kPlateTop);
  if (s.limit_sign_visible) {
    place(out, lists.signal2, s.limit_sign_picture, kLimitSignLeft, kLimitSignTop);
  }
  place(out, lists.trafficSignal, s.traffic_signal_picture, kTrafficSignalLeft, kTrafficSignalTop);
  place(out, lists.trafficSignal, s.traffic_signal_picture2, kDetectorLeft, kTrafficSignalTop);
  place(out, lists.anim, s.anim_picture, kAnimationLeft, kAnimationTop);
  if (s.staf_shown && drive.staffPicture) {
    out.push_back({*drive.staffPicture, s.staf_left, s.staf_top});
  }
  return out;
}

}  // namespace velimoro
