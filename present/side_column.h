#pragma once

#include <vector>

#include "sim/sim_drive.h"

namespace velimoro {

// The cab window beside the cab screen: a column of lineside pictures to the right of the
// 604-pixel screen (the signal head with its side indicators and number plate, the speed-limit
// sign, the road traffic signal with its detector, the lineside animation) and, while it is out,
// the timetable card beyond it. The window is `client_width` wide and 630 high.

/// A picture of the store placed on the cab window by its top-left corner.
struct PlacedPicture {
  int picture = 0;
  int x = 0;
  int y = 0;
  bool operator==(const PlacedPicture&) const = default;
};

/// Rows of the column's pictures.
inline constexpr int kSignalTop = 8;
inline constexpr int kPlateTop = 122;
inline constexpr int kLimitSignTop = 166;
inline constexpr int kTrafficSignalTop = 214;
inline constexpr int kAnimationTop = 270;
/// Columns of the pictures whose place the simulation does not move.
inline constexpr int kLimitSignLeft = 640;
inline constexpr int kTrafficSignalLeft = 614;
inline constexpr int kDetectorLeft = 680;
inline constexpr int kAnimationLeft = 640;

/// The column's pictures are drawn with the colour of their bottom-left pixel transparent, as
/// the panel's are: keys every picture of the signal, speed-limit, traffic-signal and
/// animation lists in `store`.
void keySidePictures(const SimDrive& drive, media::PictureStore& store);

/// The pictures the window shows beside the cab screen now, in drawing order; a picture whose
/// index lies outside its list is left out.
std::vector<PlacedPicture> sidePictures(const SimDrive& drive);

}  // namespace velimoro
