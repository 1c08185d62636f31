#include "sim/doors.h"

#include <cmath>

#include "sim/sound_actions.h"
#include "sim/train_sounds.h"

namespace velimoro {
namespace {

// The call-out voice of the doors closed, queued before the station's own call-outs of it.
constexpr int kDoorsClosedVoice = 19;
constexpr int kDoorsClosedEvent = 3;

bool hasDoorLamp(const TrainSpec& train) {
  return !train.Lamp_Door.file.empty();
}

bool standing(const SimState& s) {
  return std::fabs(s.speed) < 0.1L;
}

}  // namespace

void closeDoorsAndDepart(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  // The lamp is dark while the doors stand open; closing doors are still open.
  if (s.doors_open) s.lamp_door = false;
  if (s.door_cmd || !s.doors_open) return;
  if (trainSoundPlaying(drive, train.Sound_DoorOpen)) return;
  if (trainSoundPlaying(drive, train.Sound_DoorClose)) return;
  // A panel without a door lamp still closes its doors, or the train could never depart.
  s.lamp_door = hasDoorLamp(train);
  s.doors_open = false;
  stopTrainSound(drive, train.DepSign);
  playTrainSound(drive, train.DepSign, false);
  ++s.station_index;
  s.callout_station = s.window_station;
  requestCallout(drive, kDoorsClosedVoice);
  requestStationCallout(drive, kDoorsClosedEvent);
}

void doorOperate(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  s.door_cmd = false;
  if (drive.route->oneMan == 1) s.crew_text.clear();
  if (!standing(s)) return;
  if (!s.doors_open) {
    s.door_cmd = true;
    restartTrainSound(drive, train.Sound_DoorOpen);
    s.doors_open = true;
    s.boarding_event_open = false;
  } else {
    // The tick closes the doors once the closing sound has ended.
    restartTrainSound(drive, train.Sound_DoorClose);
  }
}

void closeDoorsAtOnce(SimDrive& drive) {
  SimState& s = drive.state;
  s.doors_open = false;
  s.door_cmd = false;
  s.lamp_door = hasDoorLamp(*drive.train);
}

}  // namespace velimoro
