#include <array>
#include <optional>
#include <string>

#include "sim/handle_texts.h"

#include "media/translate.h"
#include "sim/handle_steps.h"

namespace velimoro {
namespace {

constexpr const char* kConstSpeedText = VELIMORO_TEXT_NOOP("HandleTexts", "定速");
constexpr int kDepartureCallout = 4;  // the station event of the departure call-out
constexpr std::array<const char*, 6> kGearTexts = {
    VELIMORO_TEXT_NOOP("HandleTexts", "中立"),  VELIMORO_TEXT_NOOP("HandleTexts", "変速"),
    VELIMORO_TEXT_NOOP("HandleTexts", "直結1"), VELIMORO_TEXT_NOOP("HandleTexts", "直結2"),
    VELIMORO_TEXT_NOOP("HandleTexts", "直結3"), VELIMORO_TEXT_NOOP("HandleTexts", "直結4")};

bool isDiesel(const TrainSpec& train) {
  return train.Engine_Type == 0;
}

// Patterns in a strip: whole patterns across times whole patterns down. Unknown when the
// loader cannot tell the picture's size or the strip has no pattern size.
std::optional<int> stripFrameCount(const SimDrive& drive, const PictureStrip& strip) {
  if (!strip.picture || strip.patternWidth <= 0 || strip.patternHeight <= 0) return std::nullopt;
  const auto size = drive.media.pictures.size(*strip.picture);
  if (!size) return std::nullopt;
  return (size->first / strip.patternWidth) * (size->second / strip.patternHeight);
}

// A strip keeps its pattern when it has no pattern `frame`: a pattern beyond the strip would
// show whatever lies past the picture.
void showFrame(const SimDrive& drive, const PictureStrip& strip, int& shown, int frame) {
  if (!strip.picture || frame < 0) return;
  const std::optional<int> count = stripFrameCount(drive, strip);
  if (count && frame >= *count) return;
  shown = frame;
}

// The brake strip of a train with a Hold position has the Hold pattern between release and B1.
int brakeFrame(const SimState& s, const TrainSpec& train) {
  if (train.Hold != 1) return -s.brake_handle;
  if (s.hold_engaged) return 1;
  if (s.brake_handle == 0) return 0;
  return -s.brake_handle + 1;
}

void updateBrakeText(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  const UiStrings& strings = drive.strings;
  if (s.brake_handle == -train.Brake) {
    s.brake_text = strings.EB;
  } else if (s.brake_handle == 0) {
    s.brake_text = strings.Neut;
  }
  const bool serviceStep = s.brake_handle < 0 && s.brake_handle > -train.Brake;
  if (train.BrakeType >= 1 && serviceStep && !s.hold_engaged) {
    s.brake_text = "B" + std::to_string(-s.brake_handle);
  }
  if (s.hold_engaged) s.brake_text = strings.Hold2;
  if (train.BrakeType == 0) {
    if (s.brake_handle == -1) s.brake_text = strings.Maintain;
    if (s.brake_handle == -2) s.brake_text = strings.Hold;
    if (s.brake_handle == -3) s.brake_text = strings.Apply;
  }
}

void updatePowerText(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (s.const_speed) {
    s.power_text = media::translate("HandleTexts", kConstSpeedText);
  } else if (s.power_handle == 0) {
    s.power_text = drive.strings.Neut2;
  } else if (s.power_handle >= 1 && s.power_handle <= train.Power) {
    const int mode = selectedPowerMode(s);
    const int withinMode = s.power_handle - train.PowerModeFirst[mode];
    s.power_text = train.PowerModes[mode].prefix + std::to_string(withinMode);
  }
}

void updateReverserText(SimDrive& drive) {
  SimState& s = drive.state;
  if (s.reverser == 1) {
    s.reverser_text = drive.strings.Forward;
  } else if (s.reverser == -1) {
    s.reverser_text = drive.strings.Reverse;
  } else if (s.reverser == 0) {
    s.reverser_text = drive.strings.Neutral;
  }
}

void updateNotchPictures(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  // The lever is drawn on the [GearImageList2] strip (the other one shows the gear lamps).
  showFrame(drive, train.GearImageList2, s.gear_lever_picture, s.gear);
  showFrame(drive, train.NotchImageP, s.notch_picture_p, s.power_handle);
  showFrame(drive, train.NotchImageB, s.notch_picture_b, brakeFrame(s, train));
}

// The second pair of notch strips also shows the protection brakes: the power strip goes to 0
// and the brake strip to its last pattern for the emergency brake, the one before it for the
// pattern brake.
void updateSecondNotchPictures(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (!s.ats_eb && !s.ats_pattern_brake) {
    showFrame(drive, train.NotchImageP2, s.notch_picture_p2, s.power_handle);
    showFrame(drive, train.NotchImageB2, s.notch_picture_b2, brakeFrame(s, train));
    return;
  }
  showFrame(drive, train.NotchImageP2, s.notch_picture_p2, 0);
  const std::optional<int> count = stripFrameCount(drive, train.NotchImageB2);
  if (count) {
    showFrame(drive, train.NotchImageB2, s.notch_picture_b2,
              s.ats_pattern_brake ? *count - 2 : *count - 1);
  }
}

void raiseDepartureCallout(SimDrive& drive) {
  SimState& s = drive.state;
  if (s.doors_open || s.power_handle <= 0 || !s.departure_pending) return;
  s.departure_pending = false;
  requestStationCallout(drive, kDepartureCallout);
}

void updateGearText(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (!isDiesel(train)) {
    s.gear_text = train.PowerModes[selectedPowerMode(s)].name;
  } else if (s.gear >= 0 && s.gear < static_cast<int>(kGearTexts.size())) {
    s.gear_text = media::translate("HandleTexts", kGearTexts[s.gear]);
  }
}

}  // namespace

void masconupdate(SimDrive& drive) {
  SimState& s = drive.state;
  // A handle moved away from the notches in effect ends constant-speed control at once.
  if (s.const_speed && (s.brake_handle != s.brake_notch || s.power_handle != s.power_notch)) {
    s.const_speed = false;
    s.power_notch = s.power_handle;
  }
  updateBrakeText(drive);
  updatePowerText(drive);
  updateReverserText(drive);
  updateNotchPictures(drive);
  raiseDepartureCallout(drive);
  updateSecondNotchPictures(drive);
  updateGearText(drive);
}

}  // namespace velimoro
