#pragma once

#include <string>
#include <vector>

#include "tools/content/synth.h"
#include "tools/content/train_design.h"

namespace velimoro::content {

/// Positions of the train sounds in the [DriveSound] list (the sound numbers of the train file).
enum DriveSound : int {
  kBrakeApply,
  kBrakeRelease,
  kBrakeStep,
  kEmergency,
  kAtsBell,
  kAtsChime,
  kAtcBell,
  kHorn1,
  kHorn2,
  kDoorOpen,
  kDoorClose,
  kVigilance,
  kSqueal,
  kCompressorStart,
  kCompressorRun,
  kCompressorStop,
  kStopAir,
  kBuzzer,
  kDepartureSignal,
  kAtsWarn,
  kPoints,
  kEngineStart,  // diesel only, from here on
  kEngineStop,
};

/// File names (below the train's sound folder) of the [DriveSound] list, in order.
std::vector<std::string> driveSoundFiles(const TrainDesign& design);

/// The running sounds whose rate and level follow the speed.
struct RunningSound {
  std::string file;
  int number = 0;    // [EngineSound1]: 1 under power, 2 without power, 0 always
  int notchLow = 0;  // [EngineSound3]: the notch range
  int notchHigh = 0;
  std::vector<double> points;  // the section's reals
};
std::vector<RunningSound> engineSound1(const TrainDesign& design);
std::vector<RunningSound> engineSound3(const TrainDesign& design);

/// Synthesises the train sound named `file`.
Samples trainSound(const std::string& file, bool diesel);

/// Writes every sound of the train below `root` + "/sound/" + name.
void writeTrainSounds(const TrainDesign& design, const std::string& root);

}  // namespace velimoro::content
