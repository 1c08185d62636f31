#include "input/cab_duties.h"

#include <cmath>
#include <filesystem>
#include <random>

#include "data/rounding.h"
#include "input/controls.h"
#include "present/sound_channels.h"
#include "sim/sound_actions.h"

namespace velimoro {
namespace {

// ATS-S check value of a stop signal passed: the alarm only ends at a stand.
constexpr int kAtsAlarmOnPassing = 998;
// The route whose fourth in-car announcement is left out.
constexpr const char* kSkipsFourthAnnouncement = "line_up1_local.dat";
// Passengers board when a draw from 0 to the station's value 11 less one is at most this.
constexpr int kBoardingDrawLimit = 10;

bool standing(const SimState& s) {
  return std::fabs(s.speed) < 0.1L;
}

// The channel of the route sound that announcement entry `entry` names; -1 when the entry or
// its sound is not in the route file.
int announcementChannel(const SimDrive& drive, int entry) {
  const RouteData& route = *drive.route;
  if (entry < 0 || entry > route.announceCount || entry >= RouteData::kTable) return -1;
  return routeSoundChannel(drive.sounds.layout, route.announce[entry].sound);
}

// The drive's own random numbers, kept in the state so that a run repeats: 0 .. bound-1.
int drawRandom(SimState& s, int bound) {
  std::minstd_rand engine(static_cast<std::minstd_rand::result_type>(s.random_seed));
  const auto value = engine();
  s.random_seed = static_cast<int>(value);
  return static_cast<int>(value % static_cast<std::minstd_rand::result_type>(bound));
}

void drawBoarding(SimDrive& drive, int station) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  if (station < 0 || station >= route.stationCount) return;
  const int value = route.stations[station].stationValue11;
  if (value <= 0 || drawRandom(s, value) > kBoardingDrawLimit) return;
  s.boarding_event = true;
  s.boarding_event_open = true;
  s.boarding_event_tick = s.fast_tick_count;
}

}  // namespace

bool atsConfirm(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (s.ats_state != kAtsAlarmOnPassing || roundHalfEven(s.speed) == 0) {
    if (trainSoundPlaying(drive, train.Sound_Ats2)) stopTrainSound(drive, train.Sound_Ats2);
  }
  if (s.ats_confirmed) {
    s.ats_confirmed = false;
    s.ats_warning = false;
  }
  if (s.ats_warning && s.brake_handle < 0 && !s.ats_eb) {
    // The automatic brake valve's maintaining position is not a brake application.
    if (train.BrakeType == 0 && s.brake_handle == -1) return false;
    s.ats_warning = false;
    s.ats_confirmed = true;
    s.ats_timer = 0;
    s.ats_chime = true;
  }
  return true;
}

void atsReset(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (s.brake_handle != -train.Brake || !standing(s)) return;
  s.ats_eb = false;
  s.ats_pattern_brake = false;
  // The cab signal judges the speed afresh: under a stop code it brakes again at once.
  s.atc_braking = false;
  stopTrainSound(drive, train.Sound_Ats1);
  stopTrainSound(drive, train.Sound_Ats2);
  s.ats_confirmed = false;
  s.ats_warning = false;
  s.ats_timer = 0;
  s.ats_chime = false;
  s.lamp_ats1 = true;
  s.lamp_ats2 = false;
}

void nextAnnouncement(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  if (s.announce_index < 0 || s.announce_index >= route.announceCount + 1) return;
  const std::string routeName = std::filesystem::path(drive.setup.routeFile).filename().string();
  if (routeName == kSkipsFourthAnnouncement && s.announce_index == 3) s.announce_index = 4;
  if (s.announce_index > route.announceCount) return;
  const int channel = announcementChannel(drive, s.announce_index);
  if (channelPlaying(drive, channel)) return;
  stopChannel(drive, announcementChannel(drive, s.announce_index - 1));
  stopChannel(drive, channel);
  playChannel(drive, channel, false);
  drawBoarding(drive, s.announce_index);
  ++s.announce_index;
}

void previousAnnouncement(SimDrive& drive) {
  SimState& s = drive.state;
  if (s.announce_index <= 0) return;
  stopChannel(drive, announcementChannel(drive, s.announce_index - 1));
  --s.announce_index;
}

}  // namespace velimoro
