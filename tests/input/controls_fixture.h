#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "cab/drive.h"
#include "input/controls.h"
#include "support/test_support.h"

namespace velimoro::testing {

/// A picture loader whose pictures have the sizes a test gives them (unknown otherwise).
class SizedPictures final : public media::PictureLoader {
 public:
  std::optional<int> load(const std::string&) override { return m_next++; }
  std::optional<std::pair<int, int>> size(int handle) const override {
    const auto it = sizes.find(handle);
    if (it == sizes.end()) return std::nullopt;
    return it->second;
  }
  std::map<int, std::pair<int, int>> sizes;

 private:
  int m_next = 0;
};

/// A drive with a two-handle electric train of 5 notches and 9 brake positions (B1..B8, EB),
/// standing at EB with the input released, and handle texts like those of "dorvanel.dat".
struct ControlsTest : ::testing::Test {
  RecordingSound sound;
  SizedPictures pictures;
  RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  TrainSpec& train = *drive.train;
  SimState& s = drive.state;

  static constexpr int kSoundEB = 1;
  static constexpr int kSoundHorn = 6;
  static constexpr int kSoundHorn2 = 7;
  static constexpr int kSoundDoorOpen = 8;
  static constexpr int kSoundDoorClose = 9;
  static constexpr int kSoundEBring = 10;
  static constexpr int kSoundAts1 = 3;
  static constexpr int kSoundAts2 = 4;

  ControlsTest() {
    UiStrings& t = drive.strings;
    t.Forward = "前進";
    t.Neutral = "中立";
    t.Reverse = "後進";
    t.Neut = "切";
    t.Neut2 = "切";
    t.Apply = "制動";
    t.Maintain = "保ち";
    t.Hold = "重なり";
    t.Hold2 = "抑速";
    t.EB = "非常";
    train.Handle = 1;
    train.BrakeType = 1;
    train.Brake = 9;
    train.Power = 5;
    train.Engine_Type = 1;
    train.DriveSoundCount = 60;
    train.Sound_EB = kSoundEB;
    train.Sound_Horn = kSoundHorn;
    train.Sound_Horn2 = kSoundHorn2;
    train.Sound_DoorOpen = kSoundDoorOpen;
    train.Sound_DoorClose = kSoundDoorClose;
    train.Sound_EBring = kSoundEBring;
    train.Sound_Ats1 = kSoundAts1;
    train.Sound_Ats2 = kSoundAts2;
    for (int k = 0; k < 9; ++k) {
      train.Sound_BK[k] = 20 + k;
      train.Sound_BR[k] = 30 + k;
      train.Sound_BA[k] = 40 + k;  // only B0..B7 are read from a file
    }
    s.brake_handle = s.brake_notch = s.sap_notch = -9;
    s.input_blocked = false;
  }

  /// Presses each character of `keys` in turn.
  void press(const std::string& keys) {
    for (char key : keys)
      asciiDown(drive, key);
  }

  /// The handles as "P<notch> B<step>", "P<notch> H" at Hold, "P<notch> EB" at emergency.
  std::string handles() const {
    std::string text = "P" + std::to_string(s.power_handle);
    if (s.hold_engaged) return text + " H";
    if (s.brake_handle == -train.Brake) return text + " EB";
    return text + " B" + std::to_string(-s.brake_handle);
  }

  /// Puts the handles at power `power` and brake `brake`, as if the fast step had caught up.
  void setHandles(int power, int brake) {
    s.power_handle = s.power_notch = power;
    s.brake_handle = s.brake_notch = s.sap_notch = brake;
    s.hold_engaged = false;
  }

  /// The sound-layer calls on `channel` since the last look; forgets every call.
  std::vector<std::string> takeCalls(int channel) {
    std::vector<std::string> calls;
    const std::string suffix = " " + std::to_string(channel);
    for (const std::string& call : sound.calls) {
      if (call.ends_with(suffix) && call.find(' ') == call.size() - suffix.size()) {
        calls.push_back(call);
      }
    }
    sound.calls.clear();
    return calls;
  }
};

}  // namespace velimoro::testing
