#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_drive.h"

namespace velimoro {

// The external controllers: a master controller on a serial port that sends the text codes of
// "mascon.dat", and two game controllers read as a joystick. Both set absolute handle positions
// through `mapPosition`; their buttons post keys that the cab then handles as typed keys, with
// all the conditions of the keyboard.

/// The controller types of the Controller menu.
enum ControllerType : int {
  kKeyboardOrSerial = 0,
  kAnalogueAxisPad = 1,  // "アナログ軸式ゲームコントローラ"
  kButtonPad = 2,        // "ボタン式ゲームコントローラ"
};

/// A key a controller's button posts: a typed character, or the Enter key.
struct PostedKey {
  char character = 0;
  bool enter = false;
  bool operator==(const PostedKey&) const = default;
};

/// One reading of the joystick: the X and Y axes as the device layer reports them and buttons
/// 0 .. 15 as bits 0 .. 15.
struct JoystickState {
  static constexpr int kButtons = 16;
  int x = 0;
  int y = 0;
  std::uint16_t buttons = 0;
  bool pressed(int button) const { return (buttons >> button & 1) != 0; }
};

/// What the controllers leave for the cab between steps: the joystick state the next scan
/// reads, the keys posted and not yet handled, and the texts shown for them.
struct ControllerInputs {
  JoystickState joystick;
  std::vector<PostedKey> posted;
  std::string serialCaption;  // the last chunk received, as the value display's caption shows it
  std::string debugCaption;   // "X:<x> Y:<y>" of the last scan that acted
};

/// The handle value of controller position `k` for `train` in power mode `powerMode`: k > 0 the
/// k-th notch of the mode (beyond the mode's notches its top notch), k < 0 brake step -k (beyond
/// the train's steps EB), 0 off.
int mapPosition(const TrainSpec& train, int powerMode, int k);

/// What one received chunk did: the map lines (0-based) it matched.
struct SerialMatch {
  std::vector<int> lines;
};

/// One chunk from the serial master controller: resets the vigilance device, shows the chunk
/// as the caption, and acts on every map line that the chunk's first five bytes spell (read as
/// CP932, the code page of "mascon.dat"). An empty chunk matches nothing. Buttons are posted to
/// `inputs.posted`.
SerialMatch serialChunk(SimDrive& drive, ControllerInputs& inputs, const std::string& chunk);

/// The button pad's codes of a joystick state: of its power handle X + Y + the handle word
/// (buttons 0..3 and 8..15), of its brake handle the brake word (buttons 4..7).
int buttonPadPowerCode(const JoystickState& joystick);
int buttonPadBrakeCode(const JoystickState& joystick);

/// The scan sum of a joystick state: X + Y + the handle word + the brake word.
int scanSum(const JoystickState& joystick);

/// The game controller's notches for an axis value of the analogue-axis pad: the power position
/// of Y (0 .. 5) and the brake position of X (0 .. -9), or nothing for a value exactly on an
/// edge between two positions.
std::optional<int> analoguePowerPosition(int y);
std::optional<int> analogueBrakePosition(int x);

/// One scan of the game controller of the drive's controller type on `inputs.joystick`: acts
/// only when the scan sum changed, setting the handles, posting the buttons' keys and the debug
/// caption. Does nothing for the keyboard or serial type.
void usbScan(SimDrive& drive, ControllerInputs& inputs);

/// Hands the posted keys to the driver's controls, in order, and forgets them.
void handlePostedKeys(SimDrive& drive, ControllerInputs& inputs);

}  // namespace velimoro
