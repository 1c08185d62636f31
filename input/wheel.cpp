#include "input/controls.h"
#include "sim/air_brakes.h"
#include "sim/handle_steps.h"
#include "sim/sound_actions.h"

namespace velimoro {

void wheelDown(SimDrive& drive) {
  resetDeadManTimer(drive);
  combinedStepTowardPower(drive.state, *drive.train);
  masconupdate(drive);
}

void wheelUp(SimDrive& drive) {
  resetDeadManTimer(drive);
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  // Unlike the keys, the wheel reaches EB by stepping; the valve sounds while the brake pipe
  // still holds air to vent.
  combinedStepTowardBrake(s, train, -train.Brake, true);
  if (s.brake_handle == -train.Brake && s.bp > Fixed()) {
    playTrainSoundIfIdle(drive, train.Sound_EB);
  }
  masconupdate(drive);
}

}  // namespace velimoro
