#include "sim/diesel.h"

#include <cmath>

#include "sim/handle_texts.h"
#include "sim/train_sounds.h"

namespace velimoro {
namespace {

constexpr int kGearTypeAutomatic = 0;
constexpr int kGearChangeTicks = 10;  // one second
constexpr int kEngineStartSound = 2;  // places in [EngineSound2]
constexpr int kEngineStopSound = 3;

bool isDiesel(const TrainSpec& train) {
  return train.Engine_Type == 0;
}

}  // namespace

void runAutomaticGearbox(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (!isDiesel(train) || s.gear_shifting || train.Gear_Type != kGearTypeAutomatic) return;
  const int k = s.gear_index;
  if (k < 0 || k >= train.GearCount) return;
  const long double v = std::fabs(s.speed);
  if (k < train.GearCount - 1 && v > train.Gears[k].speedHigh) {
    ++s.gear;
    s.gear_shifting = true;
  }
  if (v < train.Gears[k].speedLow && s.gear > 0) {
    --s.gear;
    s.gear_shifting = true;
  }
}

void runGearChange(SimDrive& drive) {
  SimState& s = drive.state;
  if (!isDiesel(*drive.train)) return;
  if (!s.gear_shifting && s.power_notch >= 1 && s.gear_index != s.gear && s.gear_shift_count == 0) {
    s.gear_shifting = true;
    masconupdate(drive);
  }
  if (!s.gear_shifting) return;
  if (++s.gear_shift_count < kGearChangeTicks) return;
  s.gear_shift_count = 0;
  s.gear_index = s.gear;
  s.gear_shifting = false;
  masconupdate(drive);
}

void runGearPictureAndStall(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (!isDiesel(train)) return;

  if (s.power_notch >= 1 && !s.gear_shifting) {
    if (s.gear_shown != s.gear_index || s.gear_shown == -1) {
      s.gear_picture = s.gear_index;
      s.gear_shown = s.gear_index;
    }
  } else {
    s.gear_picture = 0;
    s.gear_shown = -1;
  }

  // Taking power at a crawl in the highest direct gear stalls the engine.
  if (s.engine_running && s.gear_index == s.gear && s.gear_index == train.GearCount - 1 &&
      s.power_notch >= 1 && std::fabs(s.speed) < 0.5L) {
    s.engine_running = false;
    s.power_notch = 0;
    playTrainSound(drive, train.EngineSound2[kEngineStopSound], false);
  }
}

void resetGearAtLowSpeed(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (!isDiesel(train)) return;
  if (train.Gear_Type == kGearTypeAutomatic && std::fabs(s.speed) < 10 && s.gear_index >= 1) {
    s.gear_index = 1;
    s.gear_shifting = false;
    s.gear_shift_count = 0;
  }
}

void startEngine(SimDrive& drive) {
  if (drive.state.engine_running) return;
  playTrainSound(drive, drive.train->EngineSound2[kEngineStartSound], false);
}

void runEngine(SimDrive& drive) {
  drive.state.engine_running = true;
}

void stopEngine(SimDrive& drive) {
  if (!drive.state.engine_running) return;
  playTrainSound(drive, drive.train->EngineSound2[kEngineStopSound], false);
  drive.state.engine_running = false;
}

}  // namespace velimoro
