#include "input/controls.h"
#include "input/handle_steps.h"
#include "input/sound_actions.h"
#include "sim/air_brakes.h"

namespace velimoro {

void wheelDown(Drive& drive) {
  resetDeadManTimer(drive);
  combinedStepTowardPower(drive.state, *drive.train);
  masconupdate(drive);
}

void wheelUp(Drive& drive) {
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
