// The serial master controller and the game controllers, on the controls fixture's train.
#include "input/external_controllers.h"

#include <gtest/gtest.h>

#include "input/controls_fixture.h"

namespace velimoro::testing {
namespace {

// The codes of a "mascon.dat" whose lines are "S1" .. "S22" in the order of the file.
struct ExternalControllersTest : ControlsTest {
  ControllerInputs inputs;

  ExternalControllersTest() {
    ControllerMap& map = drive.setup.controllers;
    for (int i = 0; i < ControllerMap::kUsedLines; ++i)
      map.MapLines[static_cast<std::size_t>(i)] = "S" + std::to_string(i + 1);
    map.MapLineCount = ControllerMap::kUsedLines;
  }

  /// Sends each chunk in turn; the lines (1-based) the last one matched.
  std::vector<int> receive(std::initializer_list<std::string> chunks) {
    std::vector<int> lines;
    for (const std::string& chunk : chunks) {
      lines.clear();
      for (const int line : serialChunk(drive, inputs, chunk).lines)
        lines.push_back(line + 1);
    }
    return lines;
  }

  /// Scans the joystick at `x`, `y` with `buttons` pressed.
  void scan(int x, int y, std::uint16_t buttons = 0) {
    inputs.joystick = JoystickState{x, y, buttons};
    usbScan(drive, inputs);
  }

  /// Gives the train two power modes: notches 1 and 2 in mode 0, 3 to 5 in mode 1.
  void twoModes() {
    for (int n = 0; n < 5; ++n)
      train.Notches[static_cast<std::size_t>(n)].mode = n < 2 ? 0 : 1;
  }
};

TEST_F(ExternalControllersTest, PositionsBeyondTheTrainStopAtItsTopNotchAndAtEB) {
  twoModes();
  // Mode 1 has 3 notches: P1 is its first notch, P4 .. P6 its top notch.
  const int mode1[] = {3, 4, 5, 5, 5, 5};
  const int mode0[] = {1, 2, 2, 2, 2, 2};
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(mapPosition(train, 1, k), mode1[k - 1]) << k;
    EXPECT_EQ(mapPosition(train, 0, k), mode0[k - 1]) << k;
  }
  EXPECT_EQ(mapPosition(train, 7, 1), 0);  // a mode without notches gives no power
  // Brake 7: B7 and B8 both give EB; B6 stays B6.
  train.Brake = 7;
  EXPECT_EQ(mapPosition(train, 0, -6), -6);
  EXPECT_EQ(mapPosition(train, 0, -7), -7);
  EXPECT_EQ(mapPosition(train, 0, -8), -7);
  EXPECT_EQ(mapPosition(train, 0, -9), -7);
  EXPECT_EQ(mapPosition(train, 0, 0), 0);
  // Through the serial codes: P6 in mode 1 and B8 on that train.
  s.power_mode = 1;
  EXPECT_EQ(receive({"S6"}), std::vector<int>{6});
  EXPECT_EQ(handles(), "P5 B0");
  EXPECT_TRUE(s.power_change_pending && s.brake_change_pending && s.sap_change_pending);
  receive({"S15"});
  EXPECT_EQ(handles(), "P0 EB");
}

TEST_F(ExternalControllersTest, SerialCodesSetTheHandlesReverserAndPostTheButtons) {
  setHandles(0, 0);
  s.eb_device_count = 40;
  s.eb_lamp = true;
  receive({"S3"});
  EXPECT_EQ(handles(), "P3 B0");
  EXPECT_EQ(s.power_text, "3");  // the texts follow
  EXPECT_EQ(s.eb_device_count, 0);
  EXPECT_FALSE(s.eb_lamp);
  EXPECT_EQ(inputs.serialCaption, "S3");
  receive({"S10"});
  EXPECT_EQ(handles(), "P0 B3");
  receive({"S7"});
  EXPECT_EQ(handles(), "P0 B0");
  // The EB code sounds the valve on every receipt, at EB already too.
  sound.calls.clear();
  receive({"S16", "S16"});
  EXPECT_EQ(handles(), "P0 EB");
  EXPECT_EQ(takeCalls(kSoundEB),
            (std::vector<std::string>{"stop 1", "once 1", "stop 1", "once 1"}));
  // The reverser moves only at 1 km/h or less.
  s.speed = 1.0L;
  receive({"S19"});
  EXPECT_EQ(s.reverser, -1);
  EXPECT_TRUE(s.lamp_back);
  s.speed = 1.01L;
  receive({"S17"});
  EXPECT_EQ(s.reverser, -1);
  s.speed = -0.5L;
  receive({"S18"});
  EXPECT_EQ(s.reverser, 0);
  // Buttons post the announcement, horn and door keys for the keyboard's handling.
  receive({"S20", "S21", "S22"});
  EXPECT_EQ(inputs.posted, (std::vector<PostedKey>{{'1', false}, {'3', false}, {'7', false}}));
  sound.calls.clear();
  handlePostedKeys(drive, inputs);
  EXPECT_TRUE(inputs.posted.empty());
  EXPECT_EQ(takeCalls(kSoundHorn), (std::vector<std::string>{"stop 6", "once 6"}));
}

TEST_F(ExternalControllersTest, OnlyTheFirstFiveBytesOfAWholeChunkMatch) {
  setHandles(0, 0);
  drive.setup.controllers.MapLines[2] = "LONG3X";  // six characters: never matched
  drive.setup.controllers.MapLines[3] = "ｱ4";      // CP932 bytes B1 34
  drive.setup.controllers.MapLines[5] = "";        // an empty line
  drive.setup.controllers.MapLineCount = 21;       // the door button's line is not in the file
  EXPECT_EQ(receive({"S2xxxxxx"}), std::vector<int>{});  // "S2xxx" is not "S2"
  EXPECT_EQ(receive({"S2"}), std::vector<int>{2});
  EXPECT_EQ(receive({"LONG3X"}), std::vector<int>{});
  EXPECT_EQ(receive({"\xB1"
                     "4"}),
            std::vector<int>{4});  // read as CP932
  EXPECT_EQ(receive({"\xEF\xBD\xB1"
                     "4"}),
            std::vector<int>{});                  // the same text in UTF-8
  EXPECT_EQ(receive({"S"}), std::vector<int>{});  // a code split in two
  EXPECT_EQ(receive({""}), std::vector<int>{});   // matches no empty line
  EXPECT_EQ(receive({std::string("\0\xFF\x80", 3)}), std::vector<int>{});
  EXPECT_EQ(receive({""}), std::vector<int>{});
  EXPECT_EQ(receive({"S22"}), std::vector<int>{});  // beyond the lines read
  EXPECT_EQ(receive({"S9" + std::string(65536, 'x')}), std::vector<int>{});
  EXPECT_EQ(receive({"S9\r\n" + std::string(65536, '\xFF')}), std::vector<int>{});
  EXPECT_EQ(handles(), "P4 B0");  // only "S2" and "ｱ4" acted
}

TEST_F(ExternalControllersTest, TheAnaloguePadGivesNothingOnAnEdgeAndTheNeighboursBesideIt) {
  // The power lever's edges with the positions below and above each, and the brake lever's.
  const int powerEdges[][3] = {{-30000, 5, 4}, {-20000, 4, 3}, {-12000, 3, 2}, {-5000, 2, 1}};
  for (const auto& [edge, below, above] : powerEdges) {
    EXPECT_EQ(analoguePowerPosition(edge), std::nullopt) << edge;
    EXPECT_EQ(analoguePowerPosition(edge - 1), below) << edge;
    EXPECT_EQ(analoguePowerPosition(edge + 1), above) << edge;
  }
  EXPECT_EQ(analoguePowerPosition(-1), 1);
  EXPECT_EQ(analoguePowerPosition(0), 0);
  EXPECT_EQ(analoguePowerPosition(-32768), 5);
  const int brakeEdges[][3] = {{1000, -1, -2}, {4000, -2, -3},  {6000, -3, -4},  {8000, -4, -5},
                               {9500, -5, -6}, {11000, -6, -7}, {12000, -7, -8}, {13000, -8, -9}};
  for (const auto& [edge, below, above] : brakeEdges) {
    EXPECT_EQ(analogueBrakePosition(edge), std::nullopt) << edge;
    EXPECT_EQ(analogueBrakePosition(edge - 1), below) << edge;
    EXPECT_EQ(analogueBrakePosition(edge + 1), above) << edge;
  }
  EXPECT_EQ(analogueBrakePosition(0), 0);
  EXPECT_EQ(analogueBrakePosition(1), -1);
  EXPECT_EQ(analogueBrakePosition(32767), -9);

  // Through a scan: the power lever on an edge leaves power as it was.
  s.controller_type = kAnalogueAxisPad;
  setHandles(0, -9);
  scan(5000, -12001);
  EXPECT_EQ(handles(), "P3 B3");
  EXPECT_EQ(inputs.debugCaption, "X:5000 Y:-12001");
  scan(4000, -12000);
  EXPECT_EQ(handles(), "P3 B3");
  EXPECT_EQ(s.usb_last_sum, -8000);
  // Buttons post their keys, Enter among them, only on a scan that acts.
  scan(0, 0, 0b110001);
  EXPECT_EQ(handles(), "P0 B0");
  EXPECT_EQ(inputs.posted, (std::vector<PostedKey>{{'9', false}, {0, true}, {'s', false}}));
}

TEST_F(ExternalControllersTest, TheButtonPadMatchesItsStoredCodesAndIgnoresAnEqualSum) {
  s.controller_type = kButtonPad;
  setHandles(3, 0);
  s.eb_device_count = 40;
  // All codes 0: the idle controller is P0 and B0 (once the sum has moved away from 0).
  scan(0, 0);
  EXPECT_EQ(handles(), "P3 B0");  // the sum has not changed since the start
  EXPECT_EQ(s.eb_device_count, 40);
  scan(0, 0, 0x0010);  // brake word 1 matches no brake code; power word 0 matches P0
  EXPECT_EQ(handles(), "P0 B0");
  EXPECT_EQ(s.eb_device_count, 0);
  setHandles(2, -4);
  scan(0, 0);
  EXPECT_EQ(handles(), "P0 B0");

  // Codes of a converter: the handle word of buttons 0..3 and 8..15, the brake word 4..7.
  ControllerMap& codes = drive.setup.controllers;
  codes.PowerCode = {100, 101, 102, 103, 104, 105};
  codes.BrakeCode = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  codes.EmergencyCode = 9;
  scan(100, 0, 0x0103);  // X + H + Y = 100 + (3 | 0x10) = 119: no power code
  EXPECT_EQ(handles(), "P0 B0");
  // Buttons 1 and 8: the horn and the protection reset.
  EXPECT_EQ(inputs.posted, (std::vector<PostedKey>{{'3', false}, {'r', false}}));
  inputs.posted.clear();
  scan(99, 2, 0x0090);  // 101: P1, and the brake word 9 is EB
  EXPECT_EQ(handles(), "P1 EB");
  EXPECT_EQ(inputs.posted, std::vector<PostedKey>{});
  // Another state of the same sum is not told apart.
  s.power_handle = 4;
  scan(98, 3, 0x0090);
  EXPECT_EQ(handles(), "P4 EB");
  scan(100, 0, 0x0070);  // P0, B7
  EXPECT_EQ(handles(), "P0 B7");
  // The keyboard type never scans.
  s.controller_type = kKeyboardOrSerial;
  scan(105, 0, 0x0010);
  EXPECT_EQ(handles(), "P0 B7");
}

}  // namespace
}  // namespace velimoro::testing
