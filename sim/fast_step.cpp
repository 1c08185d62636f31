#include "sim/fast_step.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "data/rounding.h"
#include "sim/air_brakes.h"
#include "sim/traction.h"

namespace velimoro {
namespace {

// Frames stay far inside the range of int whatever a slot, a jump field or a long drive brings,
// so that no sum of a frame with a table's value overflows.
constexpr std::int64_t kFrameLimit = 1'000'000'000;

// A delay counter runs while its change is pending and fires when it reaches the delay. A delay
// of 0 or less fires on the first step, so such a train still answers its handles.
bool delayElapsed(bool& pending, int& count, int delay) {
  if (!pending) return false;
  ++count;
  if (count < delay) return false;
  count = 0;
  pending = false;
  return true;
}

// One calibration record's speed sum per frame at `frame`, rounded.
int frameScaleAt(const FrameSpeedEntry& record, int frame) {
  const long double span = record.toFrame - record.fromFrame;
  const long double value =
      record.fromSpeed + (record.toSpeed - record.fromSpeed) * (frame - record.fromFrame) / span;
  return static_cast<int>(std::clamp<std::int64_t>(roundHalfEven(value), -1000000, 1000000));
}

// The first record with first <= frame < last. On an ordered table (the usual case) the record in
// use or a neighbour is checked first and a binary search does the rest; any other table is
// scanned in order.
int findCalibration(const RouteData& route, int frame, int hint) {
  const auto contains = [&](int i) {
    return i >= 0 && i < route.frameSpeedCount && route.frameSpeeds[i].fromFrame <= frame &&
           frame < route.frameSpeeds[i].toFrame;
  };
  if (route.frameSpeedsOrdered) {
    for (int i : {hint, hint + 1, hint - 1}) {
      if (contains(i)) return i;
    }
    const auto* begin = route.frameSpeeds.data();
    const auto* end = begin + route.frameSpeedCount;
    const auto* after = std::upper_bound(
        begin, end, frame, [](int f, const FrameSpeedEntry& e) { return f < e.fromFrame; });
    const int candidate = static_cast<int>(after - begin) - 1;
    // Zero-length records share a first frame with the next one; the search lands on the last.
    return contains(candidate) ? candidate : -1;
  }
  for (int i = 0; i < route.frameSpeedCount; ++i) {
    if (contains(i)) return i;
  }
  return -1;
}

// Frame advance by a speed sum: whole frames move, the remainder stays. A record filmed at
// standstill (speed sum 0) is run through at twice the sum, so the standing part of a video
// passes quickly once the train moves.
void moveBySpeedSum(int& frame, int& accum, int scale, long double speed) {
  accum += static_cast<int>(std::min<std::int64_t>(std::llabs(roundHalfEven(speed)), 1000000));
  int frames = 0;
  if (scale < 0) {
    accum = 0;  // a table with negative filming speeds does not move the video
  } else if (scale == 0) {
    frames = 2 * accum;
    accum = 0;
  } else if (scale > 0 && accum >= scale) {
    frames = accum / scale;
    accum %= scale;
  }
  const std::int64_t moved =
      std::int64_t{frame} + (speed > 0 ? frames : 0) - (speed < 0 ? frames : 0);
  frame = static_cast<int>(std::clamp<std::int64_t>(moved, -kFrameLimit, kFrameLimit));
}

long double precedingTrainSpeed(const SimState& s, const RouteData& route) {
  for (int k = 0; k < route.preTrainCount; ++k) {
    const PreTrainEntry& record = route.preTrains[k];
    if (record.preA < 0 || record.preA >= route.stationCount) continue;
    if (route.stations[record.preA].stopFrame > s.pre_train_frame) continue;
    if (k + 1 < route.preTrainCount) {
      const int next = route.preTrains[k + 1].preA;
      if (next >= 0 && next < route.stationCount &&
          s.pre_train_frame >= route.stations[next].stopFrame) {
        continue;
      }
    }
    return s.fast_tick_count > record.preC ? record.preB : 0;
  }
  return 0;
}

}  // namespace

void applyPowerDelay(SimState& s, const TrainSpec& train) {
  if (!delayElapsed(s.power_change_pending, s.power_delay_count, train.PowerDelay)) return;
  if (s.run_mode != 0 && s.run_mode != 2) return;
  const int wanted = s.power_handle;
  if (wanted >= s.power_notch || wanted == 0 || wanted >= train.NotchBack) s.power_notch = wanted;
}

void applyBrakeDelays(SimState& s, const TrainSpec& train) {
  if (delayElapsed(s.brake_change_pending, s.brake_delay_count, train.BrakeDelay)) {
    s.brake_notch = s.brake_handle;
  }
  if (delayElapsed(s.sap_change_pending, s.sap_delay_count, train.SAPDelay)) {
    s.sap_notch = s.brake_handle;
  }
}

void advanceFrame(SimState& s, const RouteData& route) {
  moveBySpeedSum(s.frame, s.frame_accum, s.frame_scale, s.speed);

  const int found = findCalibration(route, s.frame, s.calib_index);
  if (found < 0) return;
  if (found != s.calib_index && s.calib_index != -1) {
    // Crossing a record boundary puts the position on the boundary's distance, so the distance
    // integrated from the speed cannot drift from the video.
    if (found == 0) {
      s.position_cm = 0;
    } else if (found > s.calib_index) {
      s.position_cm = static_cast<long double>(route.frameSpeeds[found - 1].endCm);
    } else {
      s.position_cm = static_cast<long double>(route.frameSpeeds[found].endCm);
    }
  }
  s.frame_scale = frameScaleAt(route.frameSpeeds[found], s.frame);
  s.calib_index = found;
}

void calibrateFrame(SimState& s, const RouteData& route) {
  s.calib_index = findCalibration(route, s.frame, -1);
  s.frame_scale = s.calib_index >= 0 ? frameScaleAt(route.frameSpeeds[s.calib_index], s.frame) : 0;
}

void advancePrecedingTrain(SimState& s, const RouteData& route) {
  if (s.frame >= s.pre_train_frame) return;
  const auto calibrate = [&s, &route] {
    const int found = findCalibration(route, s.pre_train_frame, s.pre_train_calib);
    if (found < 0) return;
    s.pre_train_scale = frameScaleAt(route.frameSpeeds[found], s.pre_train_frame);
    s.pre_train_calib = found;
  };
  // The scale is taken from the table before the first move: a train already under way when
  // the drive starts would otherwise jump twice its speed in frames.
  if (s.pre_train_calib < 0) calibrate();
  const long double speed = precedingTrainSpeed(s, route);
  moveBySpeedSum(s.pre_train_frame, s.pre_train_accum, s.pre_train_scale, speed);
  calibrate();
}

void advancePosition(SimState& s) {
  s.position_step_cm = s.speed / 36000 * 33333;
  // Below about 1.08 km/h a step is shorter than 1 cm and the position stands still.
  if (s.speed == 0 || std::fabs(s.position_step_cm) < 1) s.position_step_cm = 0;
  s.position_cm += s.position_step_cm;
  s.remain_cm = s.next_stop_cm - s.position_cm;
}

void fastStep(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  const RouteData& route = *drive.route;

  s.force = Fixed();
  s.resistance = Fixed();
  addTractionForce(drive);
  if (s.voltmeter_target > Fixed()) {
    applyPowerDelay(s, train);
    s.last_traction = s.force;
  }
  updateAirPressures(s, train);
  applyBrakeDelays(s, train);
  advanceFrame(s, route);
  advancePrecedingTrain(s, route);
  advancePosition(s);
  countUp(s.fast_tick_count);
  if (s.debug_mode) s.speed = s.frame_scale;
  if (s.run_mode == 1) {
    // The video runs at its own frame rate: one frame every 30 / [FrameRate] fast steps.
    const int every = route.frameRate > 0 && route.frameRate <= 30 ? 30 / route.frameRate : 1;
    if (s.fast_tick_count % every == 0) countUp(s.timed_frame);
  }
}

}  // namespace velimoro
