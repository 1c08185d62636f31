#include "cab/tick.h"

#include "present/callouts.h"
#include "present/panel_render.h"
#include "present/route_sounds.h"
#include "present/running_sounds.h"
#include "sim/air_brakes.h"
#include "sim/ats.h"
#include "sim/clock.h"
#include "sim/diesel.h"
#include "sim/doors.h"
#include "sim/driver_aids.h"
#include "sim/guidance.h"
#include "sim/lineside_callouts.h"
#include "sim/motion.h"
#include "sim/signals.h"
#include "sim/speed_limits.h"
#include "sim/stations.h"
#include "sim/tick.h"
#include "sim/traffic_signals.h"

namespace velimoro {

void simulationTick(Drive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;

  countUp(s.tick_count);
  renderNeedles(drive, drive.panel);
  runMotion(drive);
  closeDoorsAndDepart(drive);
  renderLamps(drive, drive.panel);
  blinkSpeedLimitSign(s);
  timecalc(s, train.Clock, s.fast_tick_count);
  runAutomaticGearbox(drive);
  playBrakeSounds(drive);
  updateVoltmeter(s);
  updateAmmeter(s, train);
  runCompressor(drive);
  runRouteSounds(drive);
  sampleGradient(drive);
  runSignals(drive);
  runTrafficSignals(drive);
  runAnimations(drive);
  runTrainProtection(drive);
  runSpeedLimits(drive);
  runStations(drive);
  // A debug mode switched on takes the dead-man timer off for the rest of the run.
  if (s.debug_mode || s.resistance_off) s.deadman_off = true;
  runDeadManTimer(drive);
  runLinesideCallouts(drive);
  runRunningSounds(drive);
  stopAtEndOfVideo(drive);
  runGearChange(drive);
  updateStatusText(s);
  runGearPictureAndStall(drive);
  runRollBackGuard(drive);
  resetGearAtLowSpeed(drive);
  renderPanelIndicators(drive, drive.panel);
  runGuidance(drive);
  usbScan(drive, drive.controllerInputs);
  kankoQueuePlay(drive);
  updateDriverAids(drive);
  fillTextPanel(s, drive.textPanel);
}

}  // namespace velimoro
