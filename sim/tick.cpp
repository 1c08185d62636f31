#include "sim/tick.h"

#include <algorithm>
#include <cstdlib>

#include "data/rounding.h"
#include "media/translate.h"
#include "sim/handle_texts.h"

namespace velimoro {
namespace {

// The ammeter shows the motor current: about 700 A per km/h/s of traction from 54 km/h up, and
// proportionally less below, where the motors turn slower.
constexpr long double kAmperesPerAcceleration = 700;
constexpr long double kLowSpeedAmperes = 13;
constexpr long double kFullCurrentSpeed = 54;
constexpr int kAmperesPerBrakeNotch = 150;

int ammeterStep(int gap) {
  if (gap > 200) return 100;
  if (gap > 100) return 50;
  if (gap > 50) return 30;
  if (gap > 25) return 15;
  if (gap > 10) return 5;
  return 2;
}

int clampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, -1000000000, 1000000000));
}

}  // namespace

void updateVoltmeter(SimState& s) {
  const Fixed step = Fixed::fromInt(50);
  if (s.voltmeter < s.voltmeter_target) {
    s.voltmeter = std::min(s.voltmeter + step, s.voltmeter_target);
  } else if (s.voltmeter > s.voltmeter_target) {
    s.voltmeter = std::max(s.voltmeter - step, s.voltmeter_target);
  }
}

void updateAmmeter(SimState& s, const TrainSpec& train) {
  const long double mass = train.Tons.toLongDouble() * 1000;
  const long double acceleration = mass > 0 ? s.last_traction.toLongDouble() * 3.6L / mass : 0;
  const long double speed = s.speed < 0 ? -s.speed : s.speed;
  if (s.power_notch > 0 && speed >= kFullCurrentSpeed) {
    s.ammeter_target = clampToInt(roundHalfEven(acceleration * kAmperesPerAcceleration));
  } else if (s.power_notch > 0) {
    s.ammeter_target = clampToInt(
        roundHalfEven(acceleration * kLowSpeedAmperes * static_cast<long double>(s.speed)));
  } else if (s.brake_notch >= 0 || s.last_traction >= Fixed()) {
    s.ammeter_target = 0;
  } else {
    s.ammeter_target = s.brake_notch * kAmperesPerBrakeNotch;
  }
  // The needle never overshoots its target.
  const int gap = std::abs(s.ammeter_target - s.ammeter);
  const int step = std::min(ammeterStep(gap), gap);
  s.ammeter += s.ammeter_target > s.ammeter ? step : -step;
}

void stopAtEndOfVideo(SimDrive& drive) {
  SimState& s = drive.state;
  if (s.run_mode != 0) return;
  const int end = routeEndFrame(drive);
  const bool pastEnd = end > 0 && s.speed > 0 && s.frame > end;
  const bool beforeStart = s.speed < 0 && s.frame < 1;
  if (!pastEnd && !beforeStart) return;
  s.frame = end > 0 ? std::clamp(s.frame, 1, end) : std::max(s.frame, 1);
  s.speed = 0;
  s.frame_accum = 0;
  s.power_handle = 0;
  s.power_notch = 0;
  for (int channel = 0; channel < media::SoundLayer::kChannels; ++channel) {
    if (drive.media.sound.isPlaying(channel)) drive.media.sound.stop(channel);
  }
  s.gear_index = 1;
  s.gear = 1;
  // A change cut short leaves no count behind: the next one could never start.
  s.gear_shifting = false;
  s.gear_shift_count = 0;
  masconupdate(drive);
}

void updateStatusText(SimState& s) {
  if (s.door_cmd) {
    s.status_text = media::translate("Doors", "ドアが開いています");
  } else if (s.doors_open) {
    s.status_text = media::translate("Doors", "ドアを閉めています");
  } else {
    s.status_text.clear();
  }
}

void fillTextPanel(const SimState& s, TextPanel& panel) {
  if (!panel.shown) return;
  panel.reverser = s.reverser_text;
  panel.power = s.power_text;
  panel.brake = s.brake_text;
  panel.gear = s.gear_text;
  panel.nextStation = s.next_station_text;
  panel.crew = s.crew_text;
  panel.clock = s.clock_text;
  panel.trafficStop = s.traffic_stop_text;
  panel.trafficDetect = s.traffic_detect_text;
  panel.pattern = s.pattern_text;
  panel.speed = s.speed_text;
}

}  // namespace velimoro
