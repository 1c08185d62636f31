#pragma once

#include <memory>

#include "input/external_controllers.h"
#include "present/panel.h"
#include "sim/sim_drive.h"

namespace velimoro {

/// One drive as a host runs it: the simulation with its cab panel, and the call-outs the models
/// ask for answered by the call-out queue.
struct Drive final : SimDrive, SimRequests {
  Drive(const DriveSetup& setup, DriveMedia media);

  void queueCallout(int voice) override;
  void stationCallout(int event) override;

  CabPanel panel;
  ControllerInputs controllerInputs;
};

/// The beginner mode on or off: the train protection acts only without it, and the first
/// protection lamp shows whether it acts.
void setBeginnerMode(SimState& s, bool on);

/// Reads the data files of `setup` and sets the state at the start point, as the cab start-up
/// does. Throws DataError with the message the user sees.
std::unique_ptr<Drive> startDrive(const DriveSetup& setup, DriveMedia media);

}  // namespace velimoro
