#include "sim/traffic_signals.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/rounding.h"
#include "media/translate.h"

namespace velimoro {
namespace {

constexpr int kPhases = 6;
constexpr int kNone = 999;
// Fields of a record besides its phases.
constexpr int kViewFrom = 2;
constexpr int kViewTo = 3;
constexpr int kDetector = 22;  // frame of the detector; 0 none
constexpr int kDetectorEnd = 23;
constexpr int kDetectorStopPicture = 24;
constexpr int kDetectorPassPicture = 25;
constexpr int kStopSign = 26;  // 0: a stop sign stands at the detector
// Frames either side of a record's view end and detector end where the train passes them.
constexpr int kPassingFrames = 15;
// The distance texts look this far ahead, and back at a signal just passed.
constexpr long double kTextAheadCm = 9900;
constexpr long double kTextBehindCm = 500;
// Pictures of one animation.
constexpr int kAnimationSteps = 14;

int field(const TrafficSignalEntry& t, int n) {
  return t.field[static_cast<std::size_t>(n)];
}
int phasePicture(const TrafficSignalEntry& t, int phase) {
  return field(t, 3 * phase + 1);
}
int phaseDuration(const TrafficSignalEntry& t, int phase) {
  return field(t, 3 * phase + 2);
}
bool passPhase(const TrafficSignalEntry& t, int phase) {
  return field(t, 3 * phase + 3) == 1;
}
int& countdown(TrafficSignalEntry& t, int phase) {
  return t.runtime[static_cast<std::size_t>(phase)];
}

bool withinFrames(int frame, int mark, int frames) {
  return std::llabs(static_cast<std::int64_t>(frame) - mark) <= frames;
}

// The running phase's countdown runs down; a phase whose countdown is out hands over to the
// next one, so phases of duration 0 pass within the same tick.
void cyclePhases(TrafficSignalEntry& t) {
  int& phase = t.runtime[0];
  if (phase < 1 || phase > kPhases) phase = 1;
  --countdown(t, phase);
  for (int k = 1; k <= kPhases; ++k) {
    if (phase != k || countdown(t, k) >= 1) continue;
    const int next = k % kPhases + 1;
    // A negative duration counts as 0.
    countdown(t, k) = std::max(phaseDuration(t, k), 0);
    countdown(t, next) = std::max(phaseDuration(t, next), 0);
    phase = next;
  }
}

bool isPicture(const SimDrive& drive, int index) {
  return index >= 0 && index < static_cast<int>(drive.pictures.trafficSignal.size());
}

void drawDetectorPicture(SimDrive& drive, int index) {
  if (isPicture(drive, index)) drive.state.traffic_signal_picture2 = index;
}

void showTrafficSignal(SimDrive& drive, const TrafficSignalEntry& t) {
  SimState& s = drive.state;
  const int phase = t.runtime[0];
  if (field(t, kViewFrom) <= s.frame && s.frame < field(t, kViewTo) &&
      phase != s.traffic_phase_shown) {
    if (phaseDuration(t, phase) != 0 && isPicture(drive, phasePicture(t, phase))) {
      s.traffic_signal_picture = phasePicture(t, phase);
    }
    s.traffic_phase_shown = phase;
    if (field(t, kDetector) != 0) drawDetectorPicture(drive, field(t, kDetectorStopPicture));
  }

  // The train has reached the detector half of the way to the signal. A record without a
  // detector frame has none: its midpoint would lie halfway from the line's start.
  const long double midpoint = static_cast<long double>(t.positionCm + t.position2Cm) / 2.0L;
  if (field(t, kDetector) != 0 && s.position_cm > midpoint && s.frame <= field(t, kDetectorEnd)) {
    if (!passPhase(t, phase)) {
      s.traffic_detect_text = media::translate("TrafficSignals", "トロコン反応");
      drawDetectorPicture(drive, field(t, kDetectorStopPicture));
    } else {
      drawDetectorPicture(drive, field(t, kDetectorPassPicture));
    }
  }

  if (withinFrames(s.frame, field(t, kViewTo), kPassingFrames)) {
    s.traffic_signal_picture = -1;
    s.traffic_signal_picture2 = -1;
    s.traffic_phase_shown = kNone;
  }
  if (withinFrames(s.frame, field(t, kDetectorEnd), kPassingFrames) && field(t, kDetector) != 0) {
    s.traffic_detect_text.clear();
  }
}

// `text` with the distance in whole metres for its %1.
std::string metresText(const char* text, long double cm) {
  return media::fill(media::translate("TrafficSignals", text),
                     {std::to_string(roundHalfEven(cm / 100))});
}

// The nearest stop in list order: a stop sign ahead, or a signal showing stop; a signal that
// lets the train pass ends the search without a text.
std::string stopDistanceText(const SimDrive& drive) {
  const RouteData& route = *drive.route;
  const SimState& s = drive.state;
  std::string text;
  const int count = std::clamp(route.trafficSignalCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const TrafficSignalEntry& t = route.trafficSignals[static_cast<std::size_t>(i)];
    const long double toStopSign = static_cast<long double>(t.position2Cm) - s.position_cm;
    if (field(t, kStopSign) == 0 && toStopSign > 0 && toStopSign < kTextAheadCm) {
      return metresText(VELIMORO_TEXT_NOOP("TrafficSignals", "一旦停止 %1m"), toStopSign);
    }
    const long double toSignal = static_cast<long double>(t.positionCm) - s.position_cm;
    if (toSignal < kTextAheadCm && toSignal >= -kTextBehindCm) {
      const int phase = std::clamp(t.runtime[0], 1, kPhases);
      if (passPhase(t, phase)) return std::string();
      text = metresText(VELIMORO_TEXT_NOOP("TrafficSignals", "信号停止 %1m"), toSignal);
    }
  }
  return text;
}

}  // namespace

void runTrafficSignals(SimDrive& drive) {
  RouteData& route = *drive.route;
  const int count = std::clamp(route.trafficSignalCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    TrafficSignalEntry& t = route.trafficSignals[static_cast<std::size_t>(i)];
    cyclePhases(t);
    showTrafficSignal(drive, t);
  }
  drive.state.traffic_stop_text = stopDistanceText(drive);
}

void runAnimations(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const int count = std::clamp(route.animCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const AnimEntry& a = route.anims[static_cast<std::size_t>(i)];
    if (!(a.from <= s.frame && s.frame < a.to)) continue;
    if (s.anim_record != i) {
      // A new animation starts from its first picture.
      s.anim_record = i;
      s.anim_ticks = 0;
      s.anim_step = 0;
    } else if (++s.anim_ticks > a.ticksPerPicture) {
      s.anim_ticks = 0;
      s.anim_step = (s.anim_step + 1) % kAnimationSteps;
    }
    const std::int64_t picture = static_cast<std::int64_t>(a.firstPicture) + s.anim_step;
    const bool listed =
        picture >= 0 && picture < static_cast<std::int64_t>(drive.pictures.anim.size());
    s.anim_picture = listed ? static_cast<int>(picture) : -1;
    return;
  }
  s.anim_record = -1;
  s.anim_picture = -1;
}

}  // namespace velimoro
