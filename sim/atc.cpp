#include "sim/atc.h"

#include "sim/driver_aids.h"
#include "sim/handle_steps.h"
#include "sim/handle_texts.h"
#include "sim/signal_codes.h"
#include "sim/signal_tables.h"
#include "sim/train_sounds.h"

namespace velimoro {
namespace {

// The brake applies this much below the code's speed.
constexpr long double kBrakeMargin = 0.4L;

void applyAtcBrake(SimDrive& drive, int code) {
  SimState& s = drive.state;
  if (code == kFirstCabCode) {
    s.ats_eb = true;
  } else {
    s.ats_pattern_brake = true;
  }
  noteAutomaticBrake(s, BrakeCause::kCabSignal);
  raiseAllPending(s);
  masconupdate(drive);
  s.atc_braking = true;
}

void releaseAtcBrake(SimDrive& drive) {
  SimState& s = drive.state;
  s.ats_pattern_brake = false;
  raiseAllPending(s);
  masconupdate(drive);
  s.atc_braking = false;
}

}  // namespace

std::optional<int> atcSpeed(const RouteData& route, int code) {
  if (code < kFirstCabCode || code > kLastCabCode) return std::nullopt;
  return signalSpeed(route, code - kFirstCabCode);
}

void runAtc(SimDrive& drive) {
  SimState& s = drive.state;
  const int code = s.signal_aspect;
  if (code != s.signal_shown) {
    s.signal_shown = code;
    playTrainSound(drive, drive.train->Sound_Atc, false);
    const int pictures = static_cast<int>(drive.pictures.signal.size());
    s.signal_picture = code >= 0 && code < pictures ? code : -1;
    if (code >= kFirstCabCode && code <= kLastCabCode) {
      s.cab_signal_pattern = code - kFirstCabCode;
      s.cab_signal_visible = true;
    }
  }
  const std::optional<int> speed = atcSpeed(*drive.route, code);
  if (speed && s.speed > *speed - kBrakeMargin) {
    if (!s.atc_braking) applyAtcBrake(drive, code);
  } else if (s.atc_braking) {
    releaseAtcBrake(drive);
  }
}

}  // namespace velimoro
