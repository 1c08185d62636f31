#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "data/fixed.h"

namespace velimoro {

/// A panel element named by "file, X, Y" lines; an empty file means the element is absent.
struct PanelElement {
  std::string file;
  int x = 0;
  int y = 0;

  bool operator==(const PanelElement&) const = default;
};

/// A gauge needle: the picture, its place, the angle at zero and degrees per unit.
struct GaugeNeedle {
  std::string file;
  int x = 0;
  int y = 0;
  int extraA = 0;  // read only
  int extraB = 0;  // read only
  int needleOffset = 0;
  long double needleRate = 0;
  int needleAbsolute = 0;  // ammeter only: 1 shows the absolute current

  bool operator==(const GaugeNeedle&) const = default;
};

/// A picture strip cut into patterns (notch, gear and cab-signal indicators). The picture is
/// loaded while the train data file is read.
struct PictureStrip {
  int x = 0;
  int y = 0;
  int patternWidth = 0;
  int patternHeight = 0;
  std::string file;
  std::optional<int> picture;  // handle from the picture loader, when the file line names one

  bool operator==(const PictureStrip&) const = default;
};

struct ClockSpec {
  int x = 0;
  int y = 0;
  int handLength = 0;

  bool operator==(const ClockSpec&) const = default;
};

/// One power notch of an electric train's traction curve.
struct NotchCurve {
  double accStart = 0;  // km/h/s at standstill
  double accEnd = 0;    // km/h/s at speedConst
  int speedConst = 0;   // km/h, end of the linear region
  int speedPower = 0;   // km/h, end of the constant-power region
  double decay = 0;     // factor of the region above speedPower
  int mode = 0;         // power mode the notch belongs to

  bool operator==(const NotchCurve&) const = default;
};

/// One gear row of a diesel railcar: accelerations at full power at three ascending speeds.
struct GearRow {
  int speedLow = 0;
  int speedMid = 0;
  int speedHigh = 0;
  double accLow = 0;
  double accMid = 0;
  double accHigh = 0;

  bool operator==(const GearRow&) const = default;
};

struct PowerMode {
  std::string prefix;  // shown before the notch number within the mode
  std::string name;

  bool operator==(const PowerMode&) const = default;
};

struct EngineRateEntry {
  int value = 0;
  long double rate = 0;

  bool operator==(const EngineRateEntry&) const = default;
};

/// A running sound whose playback rate and level follow the speed (three-point curve).
struct EngineSound1Entry {
  std::string file;
  int number = 0;
  std::array<long double, 9> p{};  // p1..p9 at p[0]..p[8]

  bool operator==(const EngineSound1Entry&) const = default;
};

/// A diesel railcar's sound adjusted while the speed lies strictly between p1 and p2.
struct EngineSound3Entry {
  std::string file;
  int numberA = 0;
  int numberB = 0;
  std::array<long double, 6> p{};  // p1..p6 at p[0]..p[5]

  bool operator==(const EngineSound3Entry&) const = default;
};

struct SwitchSoundEntry {
  int valueA = 0;  // sound number
  int valueB = 0;  // speed in km/h below which the entry applies
  int valueC = 0;  // kind of points

  bool operator==(const SwitchSoundEntry&) const = default;
};

/// Everything read from a train data file. Field names are the file's keys. Reading a file
/// overwrites only the fields whose sections it holds; the record is read-only elsewhere.
struct TrainSpec {
  static constexpr int kMaxBrakeSounds = 64;
  static constexpr int kMaxSwitchSounds = 501;
  static constexpr int kMaxEngineRates = 10;
  static constexpr int kMaxNotches = 11;
  static constexpr int kMaxGears = 51;
  static constexpr int kMaxPowerModes = 10;
  static constexpr int kMaxEngineSounds = 100;
  static constexpr int kMaxDriveSounds = 100;
  static constexpr int kMaxCabSignalCodes = 12;
  static constexpr int kMaxOthers = 11;

  // Controls and brakes.
  int Handle = 0;     // 0 one combined handle, 1 two handles
  int BrakeType = 0;  // 0 automatic air brake, above 0 stepped brake
  int Brake = 0;      // brake positions including emergency
  int Power = 0;      // power notches
  int NotchBack = 0;
  int Hold = 0;
  int Const = 0;
  int Back = 0;
  std::array<Fixed, 2> BrakeRate{};
  double BrakeRate2 = 0;
  int PowerDelay = 0;
  int BrakeDelay = 0;
  int PowerJerk = 0;
  int SAPDelay = 0;
  int BrakeUp = 0;
  int BrakeDown = 0;
  int BPReturn = 0;
  int EBPress = 0;
  int SAPPress = 0;
  int HighAirPress = 0;
  int LowAirPress = 0;
  int Curr1 = 0;        // read only
  int Curr2 = 0;        // read only
  int Engine_Type = 0;  // 0 diesel railcar, 1 electric train
  int DoorType = 0;     // read only
  Fixed Mt;
  Fixed Tt;  // read only
  int Cars = 0;
  std::string StopLine;
  std::optional<int> StopLinePicture;  // appended to the sign pictures while reading
  Fixed Tons;
  int EB = 0;
  int MaxSpeed = 0;
  int Lose_elec = 0;
  int ELBR = 0;
  int Mc = 0;
  int ATS_Type = 0;
  int ATS_Alert = 0;
  int ATS_Time = 0;
  int ATS_Cnt = 0;

  // Sound numbers: indices into DriveSound.
  std::array<int, kMaxBrakeSounds> Sound_BK{};
  std::array<int, kMaxBrakeSounds> Sound_BR{};
  std::array<int, kMaxBrakeSounds> Sound_BA{};
  int Sound_EB = 0;
  int Sound_Apply = 0;
  int Sound_Ats1 = 0;
  int Sound_Ats2 = 0;
  int Sound_Atc = 0;
  int Sound_Horn = 0;
  int Sound_Horn2 = 0;
  int Sound_Horn3 = 0;  // read only
  int Sound_DoorOpen = 0;
  int Sound_DoorClose = 0;
  int Sound_EBring = 0;
  int Sound_squeak = 0;
  int CP_Start = 0;
  int CP_Cnt = 0;
  int CP_End = 0;
  int Stop = 0;
  std::array<int, 2> Buzzer{};  // read only
  int DepSign = 0;
  int ATS_Warn = 0;

  // Lists.
  std::array<SwitchSoundEntry, kMaxSwitchSounds> SwitchSound{};
  int SwitchSoundCount = 0;
  std::array<EngineRateEntry, kMaxEngineRates> EngineRate{};
  int EngineRateCount = 0;  // entries read; the file format itself keeps no count
  int Gear_Type = 0;        // 0 automatic ("AT"), 1 manual ("MT")
  std::array<NotchCurve, kMaxNotches> Notches{};
  std::array<int, kMaxNotches + 1> PowerModeFirst{};
  std::array<GearRow, kMaxGears> Gears{};
  int GearCount = 0;
  std::array<PowerMode, kMaxPowerModes> PowerModes{};
  int PowerModeCount = 0;
  std::array<EngineSound1Entry, kMaxEngineSounds> EngineSound1{};
  int EngineSound1Count = 0;
  std::array<int, 4> EngineSound2{};
  std::array<EngineSound3Entry, kMaxEngineSounds> EngineSound3{};
  int EngineSound3Count = 0;
  std::array<std::string, kMaxDriveSounds> DriveSound{};
  int DriveSoundCount = 0;

  // Cab panel.
  ClockSpec Clock;
  PanelElement Panel, Panel2;
  PanelElement Lamp_Door, Lamp_Power, Lamp_EB, Lamp_Gen, Lamp_Air, Lamp_Ele;
  PanelElement Lamp_Ats1, Lamp_Ats2, Lamp_ATSP1, Lamp_ATSP2;
  PanelElement Lamp_G, Lamp_YG, Lamp_Y, Lamp_YY, Lamp_R;  // read only
  PanelElement Lamp_Fwd, Lamp_Back, Lamp_Const, Lamp_Stop;
  GaugeNeedle Needle_Speed, Needle_BC, Needle_SAP, Needle_ER, Needle_BP, Needle_MR, Needle_V,
      Needle_I;
  PictureStrip Lamp_signal;
  std::array<int, kMaxCabSignalCodes> CabSignalCodes{};
  int CabSignalCount = 0;
  PictureStrip NotchImageP, NotchImageB, NotchImageP2, NotchImageB2, GearImageList, GearImageList2;
  std::array<PanelElement, kMaxOthers> Others{};
  int OtherCount = 0;

  bool operator==(const TrainSpec&) const = default;
};

}  // namespace velimoro
