#include "sim/ats.h"

#include <algorithm>
#include <cstdint>

#include "sim/atc.h"
#include "sim/ats_pattern.h"
#include "sim/driver_aids.h"
#include "sim/handle_texts.h"
#include "sim/signal_codes.h"
#include "sim/signals.h"
#include "sim/train_sounds.h"

namespace velimoro {
namespace {

constexpr int kNone = 999;
constexpr int kAlarmOnPassing = 998;
constexpr int kStopCheck = 0;
constexpr int kWarningType = 0;
constexpr int kPatternType = 1;
constexpr int kCabSignalType = 2;
constexpr int kTicksPerSecond = 10;

// The alarm may run this many ticks unanswered before the emergency brake applies.
int alarmTicks(const TrainSpec& train) {
  return static_cast<int>(std::clamp<std::int64_t>(
      static_cast<std::int64_t>(train.ATS_Time) * kTicksPerSecond, -1000000000, 1000000000));
}

// Whether the ATS-S check value asks for the alarm: with [ATS_Alert] 1 a speed the train is
// above, with [ATS_Alert] 0 the alarm on passing or a stop.
bool checkCallsAlarm(const SimState& s, const TrainSpec& train) {
  if (train.ATS_Alert == 1) return s.ats_state < s.speed;
  return s.ats_state == kAlarmOnPassing || s.ats_state == kStopCheck;
}

void startAlarm(SimState& s, BrakeCause cause) {
  s.ats_warning = true;
  s.ats_confirmed = false;
  s.alarm_cause = static_cast<int>(cause);
}

void applyAtsEmergency(SimDrive& drive, BrakeCause cause) {
  drive.state.ats_eb = true;
  noteAutomaticBrake(drive.state, cause);
  masconupdate(drive);
}

// The cab-signal strip shows the pattern of each [Lamp_signal] code equal to `speed`; false when
// the train has no such code.
bool showCabSpeed(SimDrive& drive, int speed) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  bool found = false;
  const int count = std::clamp(train.CabSignalCount, 0, TrainSpec::kMaxCabSignalCodes);
  for (int j = 0; j < count; ++j) {
    if (train.CabSignalCodes[static_cast<std::size_t>(j)] != speed) continue;
    found = true;
    if (j + 1 == s.cab_signal_index) continue;
    s.cab_signal_pattern = j;
    s.cab_signal_visible = true;
    s.cab_signal_index = j + 1;
  }
  return found;
}

}  // namespace

void runAtsAlarm(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (s.brake_handle != -train.Brake) {
    if (!checkCallsAlarm(s, train)) {
      s.ats_chime = false;
    } else if (!s.ats_chime || s.ats_state == kStopCheck) {
      startAlarm(s, BrakeCause::kAtsWarning);
    }
  }
  if (s.ats_warning) {
    if (!trainSoundPlaying(drive, train.Sound_Ats1)) {
      playTrainSound(drive, train.Sound_Ats1, true);
      stopTrainSound(drive, train.Sound_Ats2);
      s.lamp_ats1 = false;
      s.lamp_ats2 = true;
      setRepeaterLamps(s, AspectClass::kNone);
    }
    if (s.ats_state == kStopCheck && !s.ats_eb) applyAtsEmergency(drive, BrakeCause::kAtsStop);
  }
  if (s.ats_confirmed && !trainSoundPlaying(drive, train.Sound_Ats2)) {
    stopTrainSound(drive, train.Sound_Ats1);
    playTrainSound(drive, train.Sound_Ats2, train.ATS_Cnt == 0);
    s.ats_confirmed = false;
    s.lamp_ats1 = true;
    s.lamp_ats2 = false;
  }
  if (s.ats_warning) {
    ++s.ats_timer;
    if (s.ats_timer > alarmTicks(train)) {
      if (!s.ats_eb) playTrainSound(drive, train.Sound_EB, false);
      applyAtsEmergency(drive, brakeCauseOf(s.alarm_cause));
      s.ats_timer = 0;
    }
  }
}

// A speed check rings the warning system's alarm, which only a train with that system has: a
// pattern train's own curve protects it, and a warning it cannot ring or confirm would only ask
// the driver for a confirmation that nothing wants.
void startSpeedCheckAlarm(SimDrive& drive) {
  if (drive.train->ATS_Type != kWarningType) return;
  startAlarm(drive.state, BrakeCause::kSpeedCheck);
  drive.state.ats_timer = alarmTicks(*drive.train);
}

void runSpeedChecks(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const int points = std::clamp(route.speedCheck1Count, 0, RouteData::kTable);
  for (int i = 0; i < points; ++i) {
    const SpeedCheckEntry& point = route.speedChecks1[static_cast<std::size_t>(i)];
    const std::int64_t past = static_cast<std::int64_t>(s.frame) - point.checkB;
    if (past >= 1 && past < 10 && s.speed > point.checkA) startSpeedCheckAlarm(drive);
  }

  bool found = false;
  const int sections = std::clamp(route.speedCheck2Count, 0, RouteData::kTable);
  for (int i = 0; i < sections; ++i) {
    const SpeedCheckEntry& section = route.speedChecks2[static_cast<std::size_t>(i)];
    if (section.checkB < s.frame && s.frame < section.checkC && section.checkA < s.ats_state) {
      found = showCabSpeed(drive, section.checkA) || found;
      // A train above the section's speed is too fast.
      if (s.speed > section.checkA) startSpeedCheckAlarm(drive);
    } else if (s.ats_state < kNone) {
      found = showCabSpeed(drive, s.ats_state) || found;
    }
  }
  if (!found) {
    s.cab_signal_visible = false;
    s.cab_signal_index = 0;
    s.ats_state = kNone;
  }
}

void runTrainProtection(SimDrive& drive) {
  const int type = drive.train->ATS_Type;
  if (type == kCabSignalType) runAtc(drive);
  if (!drive.state.ats_active) return;
  if (type == kWarningType) runAtsAlarm(drive);
  if (type == kPatternType) runAtsPattern(drive);
  // On a cab-signalling train the strip is the cab signal's own.
  if (type == kWarningType || type == kPatternType) runSpeedChecks(drive);
}

}  // namespace velimoro
