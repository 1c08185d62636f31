#include "present/panel_render.h"

#include "present/panel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "data/rounding.h"
#include "sim/sim_drive.h"

namespace velimoro {
namespace {

constexpr long double kUnitsPerTurn = 255;
// An angle beyond this many units comes from a broken needle rate, not from a value.
constexpr long double kMaxAngleUnits = 1e9L;
constexpr long double kFadeCm = 1500;
constexpr long double kTopSpeed = 160;  // the speed needle stops below this
constexpr int kPointerHidden = -30;
constexpr int kPointerRow = 332;  // the pointer's row with the train on the stop position
constexpr int kVideoHeight = 340;
constexpr media::Rgb kClockHands = 0x000000;
constexpr int kClockCentre = 25;

int wrapAngle(std::int64_t units) {
  return static_cast<int>(((units % 256) + 256) % 256);
}

void setAngle(media::SpriteEngine& sprites, const std::optional<int>& sprite,
              std::optional<int> angle) {
  if (sprite && angle) sprites.setAngle(*sprite, *angle);
}

void show(media::SpriteEngine& sprites, const std::optional<int>& sprite, bool visible) {
  if (sprite) sprites.setVisible(*sprite, visible);
}

void pattern(media::SpriteEngine& sprites, const std::optional<int>& sprite, int number) {
  if (sprite) sprites.setPattern(*sprite, std::max(number, 0));
}

long double fixedValue(Fixed value) {
  return static_cast<long double>(value.raw());
}

int roundToInt(long double value) {
  return static_cast<int>(std::clamp<std::int64_t>(roundHalfEven(value), -1000000, 1000000));
}

bool regenerating(const SimState& s, const TrainSpec& t) {
  const bool aboveLoss = s.speed > t.Lose_elec;
  if (s.hold_engaged && s.resistance > Fixed() && aboveLoss) return true;
  if (-t.Brake < s.brake_notch && s.brake_notch < 0 && aboveLoss) return true;
  // A power notch whose curve starts negative brakes electrically too.
  if (s.power_handle >= 1 && s.force < Fixed() && s.power_notch >= 1 &&
      s.power_notch <= TrainSpec::kMaxNotches) {
    return t.Notches[static_cast<std::size_t>(s.power_notch - 1)].accStart < 0;
  }
  return false;
}

void showDoorSide(const SimDrive& drive, const CabPanel& p, media::SpriteEngine& sprites) {
  const SimState& s = drive.state;
  const RouteData& route = *drive.route;
  bool right = false;
  const int count = std::clamp(route.stationCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    if (s.stations[slot].in_window && route.stations[slot].stationValue10 == 1) right = true;
  }
  if (s.doors_open) show(sprites, p.lampDoor, false);
  show(sprites, p.others[1], s.door_cmd && !right);
  show(sprites, p.others[2], s.door_cmd && right);
}

void redrawClock(SimState& s, const CabPanel& p, media::PictureStore* store) {
  if (!s.clock_redraw || !p.clockPicture || store == nullptr) return;
  store->clearPicture(*p.clockPicture, CabPanel::kClockBackground);
  for (const auto& hand : s.clock_hands) {
    store->drawLine(*p.clockPicture, kClockCentre, kClockCentre, hand[0], hand[1], kClockHands, 1);
  }
  s.clock_redraw = false;
}

}  // namespace

std::optional<int> needleAngle(const GaugeNeedle& needle, long double value, long double scale) {
  if (!(scale > 0)) return std::nullopt;
  const long double units =
      (needle.needleRate * value + needle.needleOffset * scale) * kUnitsPerTurn / 360 / scale;
  if (!std::isfinite(units) || std::fabs(units) > kMaxAngleUnits) return std::nullopt;
  return wrapAngle(roundHalfEven(units));
}

int tunnelAlpha(const RouteData& route, long double positionCm) {
  int alpha = 0;
  const int count = std::clamp(route.tunnelCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const TunnelEntry& t = route.tunnels[static_cast<std::size_t>(i)];
    const auto entry = static_cast<long double>(t.entryCm);
    const auto exit = static_cast<long double>(t.exitCm);
    if (!(entry < positionCm && positionCm < exit)) continue;
    const int darkness = std::clamp(t.darkness, 0, 255);
    // A tunnel without darkness leaves the panel as it is over its whole length.
    if (darkness == 0) {
      alpha = 0;
    } else if (positionCm - entry < kFadeCm) {
      alpha = roundToInt((positionCm - entry) / (kFadeCm / darkness));
    } else if (exit - positionCm < kFadeCm) {
      alpha = roundToInt((exit - positionCm) / (kFadeCm / darkness));
    } else {
      alpha = darkness;
    }
  }
  return std::clamp(alpha, 0, 255);
}

int stopPointerTop(long double remainCm) {
  if (!std::isfinite(remainCm) || remainCm <= -5000 || remainCm >= 20000) return kPointerHidden;
  const long double metres = remainCm / 100;
  // Within 20 m of the stop the pointer moves ten times as fast.
  const long double rate = remainCm > -1000 && remainCm <= 2000 ? 17 : 1.7L;
  return kPointerRow - roundToInt(metres * rate);
}

void placeStopLine(SimState& s, const RouteData& route) {
  const long double r = s.remain_cm;
  s.stop_pointer_top = stopPointerTop(r);
  s.stop_line_left = 0;
  s.stop_line_top = 0;
  s.stop_line_size = 0;
  if (!std::isfinite(r) || r >= 3000 || r <= -1000) return;
  if (s.next_stop_station < 0 || s.next_stop_station >= RouteData::kTable) return;
  const StationEntry& station = route.stations[static_cast<std::size_t>(s.next_stop_station)];
  const long double m = r / 100;
  const long double depth = m + route.perspectiveDistance;
  // A perspective that puts the marker at infinity leaves it off the picture.
  if (depth == 0) return;
  const long double top = kVideoHeight - m / depth * route.perspectiveHeight;
  const long double centre = station.stationValue14 / 20.0L * m + station.stationValue13;
  if (!std::isfinite(top) || !std::isfinite(centre)) return;
  const int size = roundToInt(30 - m);
  s.stop_line_size = size;
  s.stop_line_top = roundToInt(top);
  s.stop_line_left = roundToInt(centre) - roundToInt(size * 0.5L);
}

void renderNeedles(SimDrive& drive, const CabPanel& panel) {
  if (drive.media.sprites == nullptr) return;
  media::SpriteEngine& sprites = *drive.media.sprites;
  const SimState& s = drive.state;
  const TrainSpec& t = *drive.train;
  const CabPanel& p = panel;
  constexpr auto kScale = static_cast<long double>(Fixed::kScale);

  const long double speed = std::fabs(s.speed);
  // Above the dial's end, and just below zero, the needle stays where it was.
  if (speed < kTopSpeed && !(s.speed < 0 && s.speed > -1)) {
    setAngle(sprites, p.needleSpeed, needleAngle(t.Needle_Speed, speed));
  }
  if (p.needleI) {
    const long double current =
        t.Needle_I.needleAbsolute == 1 ? std::abs(s.ammeter) : static_cast<long double>(s.ammeter);
    const auto units = needleAngle(t.Needle_I, current);
    const int reverser = std::clamp(s.reverser, -1, 1);
    // In neutral the ammeter rests at zero whatever the current.
    if (units) setAngle(sprites, p.needleI, wrapAngle(std::int64_t{*units} * reverser));
  }
  setAngle(sprites, p.needleV, needleAngle(t.Needle_V, fixedValue(s.voltmeter), kScale));
  setAngle(sprites, p.needleBc, needleAngle(t.Needle_BC, fixedValue(s.bc_gauge), kScale));
  setAngle(sprites, p.needleBp, needleAngle(t.Needle_BP, fixedValue(s.bp), kScale));
  setAngle(sprites, p.needleMr, needleAngle(t.Needle_MR, fixedValue(s.mr), kScale));
  setAngle(sprites, p.needleSap, needleAngle(t.Needle_SAP, fixedValue(s.sap), kScale));
  setAngle(sprites, p.needleEr, needleAngle(t.Needle_ER, s.er));
}

void renderLamps(SimDrive& drive, const CabPanel& panel) {
  if (drive.media.sprites == nullptr) return;
  media::SpriteEngine& sprites = *drive.media.sprites;
  const SimState& s = drive.state;
  const TrainSpec& t = *drive.train;
  const CabPanel& p = panel;

  const bool powering = !s.doors_open && s.power_notch >= 1;
  const bool stepBrake = -t.Brake < s.brake_notch && s.brake_notch < 0;
  const bool electricBrake =
      s.brake_notch < 0 && s.brake_handle > -t.Brake && s.speed > t.Lose_elec;
  show(sprites, p.lampPower, powering);
  show(sprites, p.lampGen, regenerating(s, t));
  show(sprites, p.lampEle, powering || electricBrake);
  show(sprites, p.lampAir, stepBrake);
  show(sprites, p.lampConst, s.const_speed);
  // Lamps whose state the models and the handles keep.
  show(sprites, p.lampDoor, s.lamp_door);
  show(sprites, p.lampEb, s.eb_lamp);
  show(sprites, p.lampAts1, s.lamp_ats1);
  show(sprites, p.lampAts2, s.lamp_ats2);
  show(sprites, p.lampAtsp1, s.lamp_atsp1);
  show(sprites, p.lampAtsp2, s.lamp_atsp2);
  show(sprites, p.lampFwd, s.lamp_fwd);
  show(sprites, p.lampBack, s.lamp_back);
  show(sprites, p.lampStop, s.stop_marker);
}

void renderPanelIndicators(SimDrive& drive, const CabPanel& panel) {
  SimState& s = drive.state;
  placeStopLine(s, *drive.route);
  if (drive.media.sprites == nullptr) return;
  media::SpriteEngine& sprites = *drive.media.sprites;
  const CabPanel& p = panel;

  if (p.overlay) {
    const int alpha = tunnelAlpha(*drive.route, s.position_cm);
    if (alpha != 0) sprites.setAlpha(*p.overlay, alpha);
    sprites.setVisible(*p.overlay, alpha != 0);
  }
  showDoorSide(drive, p, sprites);

  pattern(sprites, p.cabSignal, s.cab_signal_pattern);
  show(sprites, p.cabSignal, s.cab_signal_visible);
  pattern(sprites, p.notchP, s.notch_picture_p);
  pattern(sprites, p.notchB, s.notch_picture_b);
  pattern(sprites, p.notchP2, s.notch_picture_p2);
  pattern(sprites, p.notchB2, s.notch_picture_b2);
  pattern(sprites, p.gear, s.gear_picture);
  pattern(sprites, p.gearLever, s.gear_lever_picture);
  redrawClock(s, p, drive.media.pictureStore);
}

}  // namespace velimoro
