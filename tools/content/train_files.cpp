#include "tools/content/train_files.h"

#include <cstdio>

#include "tools/content/panel_art.h"
#include "tools/content/train_sounds.h"
#include "tools/content/writers.h"

namespace velimoro::content {
namespace {

class Lines {
 public:
  void add(const std::string& line) { m_lines.push_back(line); }
  void value(const std::string& key, const std::string& v) {
    add(key);
    add(v);
  }
  void value(const std::string& key, int v) { value(key, std::to_string(v)); }
  void values(const std::string& key, std::initializer_list<std::string> vs) {
    add(key);
    for (const std::string& v : vs)
      add(v);
  }
  std::vector<std::string> take() { return std::move(m_lines); }

 private:
  std::vector<std::string> m_lines;
};

std::string real(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
}

void brakeSounds(Lines& l, int brake) {
  l.add("[Sound_BK] full release from each position");
  for (int i = 0; i < brake; ++i)
    l.add(std::to_string(kBrakeRelease));
  l.add("[Sound_BR] step release from each position");
  for (int i = 0; i < brake; ++i)
    l.add(std::to_string(kBrakeStep));
  l.add("[Sound_BA] application from each position");
  for (int i = 0; i < brake - 1; ++i)
    l.add(std::to_string(kBrakeApply));
}

void soundNumbers(Lines& l) {
  l.value("[Sound_EB]", kEmergency);
  l.value("[Sound_Apply]", kBrakeApply);
  l.value("[Sound_Ats1]", kAtsBell);
  l.value("[Sound_Ats2]", kAtsChime);
  l.value("[Sound_Atc]", kAtcBell);
  l.value("[Sound_Horn]", kHorn1);
  l.value("[Sound_Horn2]", kHorn2);
  l.value("[Sound_Horn3]", kHorn2);
  l.value("[Sound_DoorOpen]", kDoorOpen);
  l.value("[Sound_DoorClose]", kDoorClose);
  l.value("[Sound_EBring]", kVigilance);
  l.value("[Sound_squeak]", kSqueal);
  l.value("[CP_Start]", kCompressorStart);
  l.value("[CP_Cnt]", kCompressorRun);
  l.value("[CP_End]", kCompressorStop);
  l.value("[Stop]", kStopAir);
  l.values("[Buzzer]", {std::to_string(kBuzzer), std::to_string(kBuzzer)});
  l.value("[DepSign]", kDepartureSignal);
  l.value("[ATS_Warn]", kAtsWarn);
  l.add("[SwitchSound] points: sound, below this speed, kind of points");
  l.add(std::to_string(kPoints) + ",200,0");
  l.add(std::to_string(kPoints) + ",200,1");
  l.add("#");
}

void electricTraction(Lines& l) {
  l.add(
      "[Notch] acc. at start, acc. at the end of the linear part, its speed, end of constant "
      "power, decay, mode");
  struct Notch {
    double accStart, accEnd;
    int speedConst, speedPower;
    double decay;
    int mode;
  };
  const Notch notches[] = {{1.0, 0.9, 25, 40, 0.97, 0},  {1.6, 1.5, 30, 45, 0.975, 0},
                           {2.2, 2.0, 34, 50, 0.98, 0},  {2.6, 2.4, 38, 55, 0.98, 0},
                           {3.0, 2.7, 40, 60, 0.985, 0}, {2.4, 2.2, 40, 55, 0.98, 1},
                           {3.0, 2.8, 45, 62, 0.985, 1}, {3.5, 3.2, 48, 68, 0.985, 1}};
  for (const Notch& n : notches) {
    l.add(real(n.accStart));
    l.add(real(n.accEnd));
    l.add(std::to_string(n.speedConst));
    l.add(std::to_string(n.speedPower));
    l.add(real(n.decay));
    l.add(std::to_string(n.mode));
  }
  l.add("#");
  l.add("[PowerMode] prefix, name");
  l.add("P,通常");
  l.add("H,高加速");
  l.add("#");
}

void dieselTraction(Lines& l) {
  l.value("[Gear_Type]", "AT");
  l.add("[Engine] speeds low, middle, high; accelerations at them (neutral, converter, direct)");
  const int speeds[][3] = {{0, 0, 0}, {0, 25, 45}, {35, 55, 75}, {60, 80, 100}};
  const double accs[][3] = {{0, 0, 0}, {2.0, 1.5, 0.9}, {1.0, 0.75, 0.5}, {0.55, 0.42, 0.28}};
  for (int g = 0; g < 4; ++g) {
    for (int v : speeds[g])
      l.add(std::to_string(v));
    for (double a : accs[g])
      l.add(real(a));
  }
  l.add("#");
}

void runningSounds(Lines& l, const TrainDesign& d) {
  const std::string folder = d.soundFolder();
  l.add("[EngineSound1] speed-dependent sounds: file, kind, speeds, rates, levels");
  for (const RunningSound& s : engineSound1(d)) {
    l.add(folder + s.file);
    l.add(std::to_string(s.number));
    for (double p : s.points)
      l.add(real(p));
  }
  l.add("#");
  if (d.diesel) {
    l.add("[EngineSound2]");
    l.add("0");
    l.add("0");
    l.add(std::to_string(kEngineStart));
    l.add(std::to_string(kEngineStop));
    l.add("[EngineSound3] engine sounds: file, notch range, speed range, rates, levels");
    for (const RunningSound& s : engineSound3(d)) {
      l.add(folder + s.file);
      l.add(std::to_string(s.notchLow));
      l.add(std::to_string(s.notchHigh));
      for (double p : s.points)
        l.add(real(p));
    }
    l.add("#");
  }
  l.add("[DriveSound]");
  for (const std::string& file : driveSoundFiles(d))
    l.add(folder + file);
  l.add("#");
}

void panel(Lines& l, const TrainDesign& d) {
  const std::string folder = d.imageFolder();
  l.values("[Clock]",
           {std::to_string(d.clockX), std::to_string(d.clockY), std::to_string(d.clockHand)});
  l.values("[Panel]", {folder + "panel.bmp", "0", std::to_string(kPanelTop)});
  l.values("[Panel2]", {folder + "panel_dark.bmp", "0", std::to_string(kPanelTop)});
  for (const LampDesign& lamp : d.lamps)
    l.values(lamp.section, {folder + lamp.file, std::to_string(lamp.x), std::to_string(lamp.y)});
  for (const NeedleDesign& n : d.needles) {
    const GaugeDesign& g = d.gauges[static_cast<std::size_t>(n.gauge)];
    l.values(n.section, {folder + n.file, std::to_string(needleX(g)), std::to_string(needleY(g)),
                         "0", "0", std::to_string(g.zeroAngle), real(g.degreesPerUnit)});
    if (n.absolute >= 0) l.add(std::to_string(n.absolute));
  }
  for (const StripDesign& s : d.strips) {
    l.values(s.section, {std::to_string(s.x), std::to_string(s.y), std::to_string(s.patternWidth),
                         std::to_string(s.patternHeight), folder + s.file});
    if (s.section == "[Lamp_signal]") {
      for (int code : d.cabSignalCodes)
        l.add(std::to_string(code));
      l.add("#");
    }
  }
  l.add("[Others] plate, doors on the left, doors on the right");
  for (const OtherDesign& o : d.others) {
    l.add(folder + o.file);
    l.add(std::to_string(o.x));
    l.add(std::to_string(o.y));
  }
  l.add("#");
}

}  // namespace

std::vector<std::string> trainFileLines(const TrainDesign& d) {
  Lines l;
  const bool diesel = d.diesel;
  const int brake = diesel ? 4 : 9;
  l.add(diesel ? "// QT500形 気動車: 1両, 自動空気ブレーキ, ワンハンドル"
               : "// QT600形 電車: 4両編成, 電磁直通ブレーキ (8段+非常), 2ハンドル");
  l.value("[Handle]", diesel ? 0 : 1);
  l.value("[BrakeType]", diesel ? 0 : 1);
  l.value("[Brake]", brake);
  l.value("[Power]", diesel ? 4 : 8);
  l.value("[NotchBack]", diesel ? 1 : 2);
  l.value("[Hold]", diesel ? 0 : 1);
  l.value("[Const]", diesel ? 0 : 1);
  l.value("[Back]", 1);
  l.values("[BrakeRate]", {diesel ? "4.0" : "4.5", diesel ? "3.5" : "4.0"});
  l.value("[BrakeRate2]", "0.02");
  l.value("[PowerDelay]", 3);
  l.value("[BrakeDelay]", 3);
  l.value("[PowerJerk]", 5);
  l.value("[SAPDelay]", 2);
  l.value("[BrakeUp]", 200);
  l.value("[BrakeDown]", 150);
  l.value("[BPReturn]", 100);
  l.value("[EBPress]", 440);
  l.value("[SAPPress]", 440);
  l.value("[HighAirPress]", 880);
  l.value("[LowAirPress]", 780);
  l.value("[Curr1]", diesel ? 0 : 400);
  l.value("[Curr2]", diesel ? 0 : 300);
  l.value("[Engine_Type]", diesel ? 0 : 1);
  l.value("[DoorType]", 0);
  l.value("[Mt]", diesel ? "30" : "120");
  l.value("[Tt]", diesel ? "0" : "40");
  l.value("[Cars]", diesel ? 1 : 4);
  l.value("[StopLine]", d.imageFolder() + "stopline.bmp");
  l.value("[Tons]", diesel ? "36" : "150");
  l.value("[EB]", 1);
  l.value("[MaxSpeed]", diesel ? 95 : 120);
  l.value("[Lose_elec]", diesel ? 0 : 7);
  l.value("[ELBR]", diesel ? 0 : 100);
  l.value("[Mc]", diesel ? 0 : 1);
  l.value("[ATS_Type]", 0);
  l.value("[ATS_Alert]", 0);
  l.value("[ATS_Time]", 5);
  l.value("[ATS_Cnt]", 1);
  brakeSounds(l, brake);
  soundNumbers(l);
  if (diesel) {
    dieselTraction(l);
  } else {
    electricTraction(l);
  }
  runningSounds(l, d);
  panel(l, d);
  return l.take();
}

void writeTrain(const TrainDesign& design, const std::string& root) {
  writeCp932Lines(root + "/" + design.fileName(), trainFileLines(design));
  writePanelArt(design, root);
  writeTrainSounds(design, root);
}

}  // namespace velimoro::content
