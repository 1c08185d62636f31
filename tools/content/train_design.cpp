#include "tools/content/train_design.h"

namespace velimoro::content {
namespace {

constexpr Rgb kRed{230, 40, 30};
constexpr Rgb kWhite{240, 240, 235};
constexpr Rgb kOrange{255, 150, 20};
constexpr Rgb kGreen{60, 230, 80};
constexpr Rgb kYellow{250, 220, 40};
constexpr Rgb kCyan{60, 210, 240};

// The speedometer and the two pressure gauges stand in the same places on both trains; a
// gauge sweeps 270 degrees from its zero at 7:30 o'clock.
GaugeDesign speedometer(double top) {
  return {110, 458, 105, top, 0, 20, 1, -135, 270.0 / top};
}

GaugeDesign pressureGauge(int cx, int cy) {
  return {cx, cy, 55, 1000, 0, 200, 100, -135, 0.27};
}

int lampX(int slot) {
  return 8 + (slot % 12) * 49;
}

int lampY(int slot) {
  return 580 + (slot / 12) * 24;
}

std::vector<LampDesign> lamps(const std::vector<LampDesign>& list) {
  std::vector<LampDesign> placed = list;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    placed[i].x = lampX(static_cast<int>(i));
    placed[i].y = lampY(static_cast<int>(i));
  }
  return placed;
}

std::vector<OtherDesign> others(const std::string& plateFile, int plateX, int plateY) {
  return {{plateFile, plateX, plateY},
          {"door_left.bmp", lampX(22), lampY(22)},
          {"door_right.bmp", lampX(23), lampY(23)}};
}

}  // namespace

TrainDesign electricTrainDesign() {
  TrainDesign d;
  d.name = "QT600";
  d.plate = "600";
  d.panelColour = {72, 96, 92};
  d.gauges = {speedometer(140),
              pressureGauge(290, 405),
              pressureGauge(290, 518),
              {420, 405, 55, 600, -600, 300, 100, 0, 135.0 / 600},
              {420, 518, 55, 2000, 0, 500, 100, -135, 270.0 / 2000}};
  d.needles = {{"[Needle_Speed]", "needle_speed.bmp", 0, kOrange},
               {"[Needle_MR]", "needle_mr.bmp", 1, kRed},
               {"[Needle_BP]", "needle_bp.bmp", 1, kWhite},
               {"[Needle_BC]", "needle_bc.bmp", 2, kRed},
               {"[Needle_SAP]", "needle_sap.bmp", 2, kWhite},
               {"[Needle_I]", "needle_i.bmp", 3, kWhite, 0},
               {"[Needle_V]", "needle_v.bmp", 4, kWhite}};
  d.lamps = lamps({{"[Lamp_Door]", "lamp_door.bmp", 0, 0, "DR", kOrange},
                   {"[Lamp_Power]", "lamp_power.bmp", 0, 0, "P", kGreen},
                   {"[Lamp_EB]", "lamp_eb.bmp", 0, 0, "EB", kRed},
                   {"[Lamp_Gen]", "lamp_gen.bmp", 0, 0, "GEN", kGreen},
                   {"[Lamp_Air]", "lamp_air.bmp", 0, 0, "AIR", kYellow},
                   {"[Lamp_Ele]", "lamp_ele.bmp", 0, 0, "ELE", kYellow},
                   {"[Lamp_Ats1]", "lamp_ats1.bmp", 0, 0, "ATS", kWhite},
                   {"[Lamp_Ats2]", "lamp_ats2.bmp", 0, 0, "ATS", kRed},
                   {"[Lamp_ATSP1]", "lamp_atsp1.bmp", 0, 0, "P", kOrange},
                   {"[Lamp_ATSP2]", "lamp_atsp2.bmp", 0, 0, "PB", kRed},
                   {"[Lamp_Fwd]", "lamp_fwd.bmp", 0, 0, "F", kGreen},
                   {"[Lamp_Back]", "lamp_back.bmp", 0, 0, "R", kGreen},
                   {"[Lamp_Const]", "lamp_const.bmp", 0, 0, "CS", kCyan},
                   {"[Lamp_Stop]", "lamp_stop.bmp", 0, 0, "STOP", kOrange}});
  // Power: off, five notches of the normal mode, three of the high-acceleration mode. Brake:
  // released, hold, eight service steps, emergency.
  d.strips = {{"[Lamp_signal]", "cabsignal.bmp", 490, 484, 105, 30, {}, kGreen},
              {"[NotchImageP]",
               "notch_p.bmp",
               490,
               412,
               105,
               30,
               {"N", "P1", "P2", "P3", "P4", "P5", "H1", "H2", "H3"},
               kGreen},
              {"[NotchImageB]",
               "notch_b.bmp",
               490,
               448,
               105,
               30,
               {"-", "HOLD", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "EB"},
               kOrange}};
  d.cabSignalCodes = {15, 25, 45, 55, 65, 75, 90, 110};
  d.others = others("plate.bmp", 490, 522);
  d.clockX = 521;
  d.clockY = 352;
  d.clockHand = 20;
  return d;
}

TrainDesign dieselTrainDesign() {
  TrainDesign d;
  d.name = "QT500";
  d.diesel = true;
  d.plate = "500";
  d.panelColour = {110, 96, 78};
  d.gauges = {speedometer(120), pressureGauge(290, 405), pressureGauge(290, 518)};
  d.needles = {{"[Needle_Speed]", "needle_speed.bmp", 0, kOrange},
               {"[Needle_MR]", "needle_mr.bmp", 1, kRed},
               {"[Needle_ER]", "needle_er.bmp", 1, kWhite},
               {"[Needle_BC]", "needle_bc.bmp", 2, kRed},
               {"[Needle_BP]", "needle_bp.bmp", 2, kWhite}};
  d.lamps = lamps({{"[Lamp_Door]", "lamp_door.bmp", 0, 0, "DR", kOrange},
                   {"[Lamp_Power]", "lamp_power.bmp", 0, 0, "P", kGreen},
                   {"[Lamp_EB]", "lamp_eb.bmp", 0, 0, "EB", kRed},
                   {"[Lamp_Air]", "lamp_air.bmp", 0, 0, "AIR", kYellow},
                   {"[Lamp_Ats1]", "lamp_ats1.bmp", 0, 0, "ATS", kWhite},
                   {"[Lamp_Ats2]", "lamp_ats2.bmp", 0, 0, "ATS", kRed},
                   {"[Lamp_Fwd]", "lamp_fwd.bmp", 0, 0, "F", kGreen},
                   {"[Lamp_Back]", "lamp_back.bmp", 0, 0, "R", kGreen},
                   {"[Lamp_Stop]", "lamp_stop.bmp", 0, 0, "STOP", kOrange}});
  // One handle with the automatic brake valve: released, running, lap, service, emergency.
  d.strips = {
      {"[Lamp_signal]", "cabsignal.bmp", 380, 360, 90, 30, {}, kGreen},
      {"[NotchImageP]", "notch_p.bmp", 490, 412, 105, 30, {"N", "P1", "P2", "P3", "P4"}, kGreen},
      {"[NotchImageB]",
       "notch_b.bmp",
       490,
       448,
       105,
       30,
       {"REL", "RUN", "LAP", "APP", "EB"},
       kOrange},
      {"[GearImageList]", "gear.bmp", 490, 484, 105, 30, {"N", "TC", "D1", "D2"}, kCyan}};
  d.cabSignalCodes = {15, 25, 45, 55, 65, 75, 90};
  d.others = others("plate.bmp", 380, 420);
  d.clockX = 521;
  d.clockY = 352;
  d.clockHand = 20;
  return d;
}

}  // namespace velimoro::content
