#pragma once

#include <array>
#include <optional>
#include <string>

#include "data/train_record.h"
#include "media/cab_screen.h"

namespace velimoro {

struct SimDrive;

/// The sprites of the cab panel, one per element the train data file names; an element without
/// a file has no sprite and is left alone while driving.
struct CabPanel {
  // Drawing order of the elements, low to high.
  static constexpr int kPanelZ = 0;
  static constexpr int kOverlayZ = 99;
  static constexpr int kLampConstZ = 22;
  static constexpr int kFirstOtherZ = 23;
  static constexpr int kFirstStripZ = 30;
  static constexpr int kClockZ = 37;  // above every strip and further picture
  static constexpr int kClockSize = 50;
  static constexpr media::Rgb kClockBackground = 0xFF00FF;  // drawn transparent
  // The remaining-distance pointer: a 15 x 15 arrow at the right edge of the screen, drawn
  // over the video picture and the panel at the row the tick gives it.
  static constexpr int kPointerSize = 15;
  static constexpr int kPointerLeft = media::CabSurface::kWidth - kPointerSize;

  std::optional<int> panel;
  std::optional<int> overlay;  // "[Panel2]": darkens the panel in tunnels
  std::optional<int> lampDoor, lampPower, lampEb, lampGen, lampAir, lampEle;
  std::optional<int> lampAts1, lampAts2, lampAtsp1, lampAtsp2;
  std::optional<int> lampFwd, lampBack, lampStop, lampConst;
  std::optional<int> needleSpeed, needleEr, needleBp, needleMr, needleSap, needleBc, needleV,
      needleI;
  std::array<std::optional<int>, TrainSpec::kMaxOthers> others{};
  // Picture strips, showing one pattern each.
  std::optional<int> cabSignal, notchP, notchB, notchP2, notchB2, gear, gearLever;
  // The analogue clock: its 50 x 50 picture and, when "[Clock]" places it, its sprite.
  std::optional<int> clockPicture;
  std::optional<int> clockSprite;
  std::optional<int> stopPointerPicture;
};

/// Makes the colour of the picture's bottom-left pixel transparent, as the cab's pictures are
/// drawn; a picture whose pixels cannot be read stays opaque.
void keyBottomLeft(media::PictureStore& store, int picture);

/// Builds the cab panel of `drive`'s train into `sprites`: the panel pictures, lamps, needles
/// and further pictures are loaded from the train folder into `store`; the picture strips use
/// the pictures the train reader loaded, which must come from the same store. Throws DataError
/// "<file>の生成エラー" when a picture cannot be loaded.
void buildPanel(SimDrive& drive, CabPanel& panel, media::PictureStore& store,
                media::SpriteEngine& sprites);

}  // namespace velimoro
