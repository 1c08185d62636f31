#include <optional>

#include "input/external_controllers.h"
#include "sim/handle_steps.h"
#include "sim/handle_texts.h"

namespace velimoro {
namespace {

constexpr int kEmergencyPosition = -9;

// An axis band: values strictly between `above` and `below` give `position`.
struct AxisBand {
  int above;
  int below;
  int position;
};

// The power lever is pushed toward negative Y; a value on a band's edge gives nothing.
constexpr AxisBand kPowerBands[] = {
    {-5000, 0, 1},
    {-12000, -5000, 2},
    {-20000, -12000, 3},
    {-30000, -20000, 4},
};
constexpr int kPowerTopEdge = -30000;  // below it: P5

// The brake lever is pulled toward positive X.
constexpr AxisBand kBrakeBands[] = {
    {0, 1000, -1},    {1000, 4000, -2},  {4000, 6000, -3},   {6000, 8000, -4},
    {8000, 9500, -5}, {9500, 11000, -6}, {11000, 12000, -7}, {12000, 13000, -8},
};
constexpr int kBrakeTopEdge = 13000;  // above it: EB

template <std::size_t N>
std::optional<int> inBands(const AxisBand (&bands)[N], int value) {
  for (const AxisBand& b : bands) {
    if (b.above < value && value < b.below) return b.position;
  }
  return std::nullopt;
}

// The button pad's converter reports the power handle on buttons 0..3 and 8..15, the brake
// handle on buttons 4..7.
int handleWord(const JoystickState& j) {
  return (j.buttons & 0x000F) | ((j.buttons >> 8 & 0x00FF) << 4);
}

int brakeWord(const JoystickState& j) {
  return j.buttons >> 4 & 0x000F;
}

struct ButtonKey {
  int button;
  PostedKey key;
};

constexpr ButtonKey kButtonPadKeys[] = {
    {9, {'1', false}},  // announcement
    {1, {'3', false}},  // horn
    {2, {'7', false}},  // door
    {3, {'9', false}},  // power mode
    {8, {'r', false}},  // protection reset
};

constexpr ButtonKey kAnaloguePadKeys[] = {
    {0, {'9', false}},  // power mode
    {1, {'1', false}},  // announcement
    {2, {'3', false}},  // horn
    {3, {'7', false}},  // door
    {4, {0, true}},     // call-out
    {5, {'s', false}},  // gear up
};

template <std::size_t N>
void postButtons(const ButtonKey (&keys)[N], const JoystickState& j, ControllerInputs& inputs) {
  for (const ButtonKey& entry : keys) {
    if (j.pressed(entry.button)) inputs.posted.push_back(entry.key);
  }
}

void setPower(SimDrive& drive, int position) {
  SimState& s = drive.state;
  s.power_handle = mapPosition(*drive.train, selectedPowerMode(s), position);
  s.power_change_pending = true;
}

void setBrake(SimDrive& drive, int position) {
  SimState& s = drive.state;
  s.brake_handle = mapPosition(*drive.train, selectedPowerMode(s), position);
  s.brake_change_pending = true;
  s.sap_change_pending = true;
}

void scanButtonPad(SimDrive& drive, ControllerInputs& inputs) {
  const JoystickState& j = inputs.joystick;
  const ControllerMap& codes = drive.setup.controllers;
  const int power = buttonPadPowerCode(j);
  for (int k = 0; k < static_cast<int>(codes.PowerCode.size()); ++k) {
    if (codes.PowerCode[static_cast<std::size_t>(k)] != power) continue;
    setPower(drive, k);
    break;
  }
  const int brake = buttonPadBrakeCode(j);
  bool braked = false;
  for (int k = 0; k < static_cast<int>(codes.BrakeCode.size()) && !braked; ++k) {
    if (codes.BrakeCode[static_cast<std::size_t>(k)] != brake) continue;
    setBrake(drive, -k);
    braked = true;
  }
  if (!braked && codes.EmergencyCode == brake) setBrake(drive, kEmergencyPosition);
  postButtons(kButtonPadKeys, j, inputs);
}

void scanAnaloguePad(SimDrive& drive, ControllerInputs& inputs) {
  const JoystickState& j = inputs.joystick;
  if (const std::optional<int> power = analoguePowerPosition(j.y)) setPower(drive, *power);
  if (const std::optional<int> brake = analogueBrakePosition(j.x)) setBrake(drive, *brake);
  postButtons(kAnaloguePadKeys, j, inputs);
}

}  // namespace

int buttonPadPowerCode(const JoystickState& joystick) {
  return joystick.x + handleWord(joystick) + joystick.y;
}

int buttonPadBrakeCode(const JoystickState& joystick) {
  return brakeWord(joystick);
}

int scanSum(const JoystickState& joystick) {
  return joystick.x + joystick.y + handleWord(joystick) + brakeWord(joystick);
}

std::optional<int> analoguePowerPosition(int y) {
  if (y >= 0) return 0;
  if (y < kPowerTopEdge) return 5;
  return inBands(kPowerBands, y);
}

std::optional<int> analogueBrakePosition(int x) {
  if (x <= 0) return 0;
  if (x > kBrakeTopEdge) return kEmergencyPosition;
  return inBands(kBrakeBands, x);
}

void usbScan(SimDrive& drive, ControllerInputs& inputs) {
  SimState& s = drive.state;
  if (s.controller_type != kButtonPad && s.controller_type != kAnalogueAxisPad) return;
  const int sum = scanSum(inputs.joystick);
  // Only a change of the sum counts: two states of equal sum are not told apart.
  if (sum == s.usb_last_sum) return;
  s.eb_device_count = 0;
  if (s.controller_type == kButtonPad) {
    scanButtonPad(drive, inputs);
  } else {
    scanAnaloguePad(drive, inputs);
  }
  masconupdate(drive);
  inputs.debugCaption =
      "X:" + std::to_string(inputs.joystick.x) + " Y:" + std::to_string(inputs.joystick.y);
  s.usb_last_sum = sum;
}

}  // namespace velimoro
