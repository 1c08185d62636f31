#include "sim/signals.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/signal_codes.h"
#include "sim/signal_tables.h"

namespace velimoro {
namespace {

constexpr int kNone = 999;
constexpr int kAlarmOnPassing = 998;  // ATS-S check value: the alarm rings on passing
constexpr int kAtcType = 2;

// Where a signal's state comes from ("[Signal]" field 1).
constexpr int kModeTimed = 1;
constexpr int kModeFixed = 2;
constexpr int kModeStation = 3;

// Frames after a beacon in which the train's frame counts as passing it: the video advances
// several frames a step at speed, so a beacon is seen in a window rather than on one frame.
constexpr int kFirstBeaconWindow = 9;
constexpr int kSecondBeaconWindow = 19;
// Frames after the end of a signal's view in which its pictures are taken down.
constexpr int kClearWindow = 9;

// Left edges of the signal pictures: home places, and the places when side indicators exist.
constexpr int kLeftHome = 600;
constexpr int kHeadHome = 650;
constexpr int kRightHome = 700;
constexpr int kLeftOfPair = 608;
constexpr int kRightOfPair = 692;
constexpr int kLeftAlone = 625;
constexpr int kHeadBesideLeft = 675;
constexpr int kRightAlone = 675;
constexpr int kHeadBesideRight = 625;

const SignalEntry& signalAt(const RouteData& route, int index) {
  return route.signals[static_cast<std::size_t>(index)];
}

bool inView(const SignalEntry& signal, int frame) {
  return signal.showFrom < frame && frame < signal.showTo;
}

// 1 to `last` frames past `mark`.
bool framesPast(int frame, int mark, int last) {
  const std::int64_t past = static_cast<std::int64_t>(frame) - mark;
  return past >= 1 && past <= last;
}

// The block of signal i runs from its view end to that of signal i + 1; beyond the last signal
// no block is occupied. A route without preceding-train records has no preceding train.
int precedingTrainState(const RouteData& route, const SimState& s, int index) {
  if (route.preTrainCount <= 0) return kMaxSignalState;
  const int count = signalCount(route);
  for (int k = 0; k < kMaxSignalState; ++k) {
    const int block = index + k;
    if (block + 1 >= count) break;
    const int from = signalAt(route, block).showTo;
    const int to = signalAt(route, block + 1).showTo;
    if (from <= s.pre_train_frame && s.pre_train_frame < to) return k;
  }
  return kMaxSignalState;
}

bool isCabCode(int code) {
  return code >= kFirstCabCode && code <= kLastCabCode;
}

// Sets every signal's state and aspect code; returns the signal in view (the last one in list
// order when ranges overlap) or kNone.
int updateAspects(SimDrive& drive) {
  RouteData& route = *drive.route;
  SimState& s = drive.state;
  const bool cabSignalling = drive.train->ATS_Type == kAtcType;
  int inViewIndex = kNone;
  for (int i = 0; i < signalCount(route); ++i) {
    const int state = signalState(drive, i);
    drive.signalTables.state[static_cast<std::size_t>(i)] = state;
    SignalEntry& signal = route.signals[static_cast<std::size_t>(i)];
    int code = state != 0 ? 1 : 0;
    if (inView(signal, s.frame)) {
      code = aspectCode(signal.signalType, state);
      // On a cab-signalling train the block's cab speed code stands for the signal.
      if (cabSignalling && isCabCode(signal.signalL)) code = signal.signalL;
      inViewIndex = i;
    }
    signal.aspect = code;
  }
  if (inViewIndex != kNone) s.signal_aspect = signalAt(route, inViewIndex).aspect;
  return inViewIndex;
}

// The "[KankoSound2]" voice that names signal `index` (its number from 0): the first of the
// signal's "[SignalKanko]" voices said before the aspect (`when` 0) that is one of the route's
// own voices. The signal's other `when` 0 voices are said with it; a signal without one has no
// name and no `when` 0 voices.
int ownCalloutNumber(const RouteData& route, int index) {
  const int count = std::clamp(route.signalCalloutCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const SignalCalloutEntry& record = route.signalCallouts[static_cast<std::size_t>(i)];
    if (record.signal != index || record.when != 0) continue;
    if (record.voice >= RouteData::kFirstKankoSound2 && record.voice < route.kankoSoundCount)
      return record.voice - RouteData::kFirstKankoSound2;
  }
  return kNone;
}

// The call-out belongs to the signal in view: a new signal in view becomes the signal concerned,
// with its name voice as the call-out number, and its aspect the call-out state; shortly after
// its view ends the call-out is over.
void updateSignalCallout(SimDrive& drive, int inViewIndex) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  if (inViewIndex != kNone) {
    if (inViewIndex != s.signal_in_view) {
      s.callout_signal = inViewIndex;
      s.signal_callout_number = ownCalloutNumber(route, inViewIndex);
    }
    s.signal_callout_state = s.signal_aspect;
  } else if (s.callout_signal >= 0 && s.callout_signal < signalCount(route) &&
             framesPast(s.frame, signalAt(route, s.callout_signal).showTo, kClearWindow)) {
    s.callout_signal = kNone;
    s.signal_callout_state = kNone;
    s.signal_callout_number = kNone;
  }
  s.signal_in_view = inViewIndex;
}

int pictureIn(const std::vector<int>& list, int index) {
  return index >= 0 && index < static_cast<int>(list.size()) ? index : -1;
}

void drawSignal(SimDrive& drive, int index) {
  SimState& s = drive.state;
  const SignalEntry& signal = signalAt(*drive.route, index);
  const std::vector<int>& list = drive.pictures.signal;
  s.signal_shown = s.signal_aspect;
  s.signal_picture = pictureIn(list, s.signal_aspect);
  s.signal_left_picture = signal.signalJ != 0 ? pictureIn(list, signal.signalJ) : -1;
  s.signal_right_picture = signal.signalK != 0 ? pictureIn(list, signal.signalK) : -1;
  s.signal_plate_picture = signal.signalI != 0 ? pictureIn(list, signal.signalI) : -1;
  const bool left = s.signal_left_picture >= 0;
  const bool right = s.signal_right_picture >= 0;
  s.signal_left_x = left && right ? kLeftOfPair : left ? kLeftAlone : kLeftHome;
  s.signal_right_x = left && right ? kRightOfPair : right ? kRightAlone : kRightHome;
  s.signal_picture_x = left == right ? kHeadHome : left ? kHeadBesideLeft : kHeadBesideRight;
  setRepeaterLamps(s, aspectClass(s.signal_aspect));
}

void showSignal(SimDrive& drive) {
  SimState& s = drive.state;
  if (s.signal_in_view != kNone && s.signal_aspect != s.signal_shown) {
    drawSignal(drive, s.signal_in_view);
  }
  for (int i = 0; i < signalCount(*drive.route); ++i) {
    if (framesPast(s.frame, signalAt(*drive.route, i).showTo, kClearWindow)) {
      clearSignalPictures(s);
    }
  }
}

// The check value of the stop beacon for a signal of class `aspect` with [ATS_Alert] 1: the
// "[Speed_Signal]" speed of a restricting, caution or reduced-speed aspect, none for clear.
std::optional<int> speedCheckValue(const RouteData& route, AspectClass aspect) {
  switch (aspect) {
    case AspectClass::kRestricting:
      return signalSpeed(route, 1).value_or(kNone);
    case AspectClass::kCaution:
      return signalSpeed(route, 2).value_or(kNone);
    case AspectClass::kReducedSpeed:
      return signalSpeed(route, 3).value_or(kNone);
    case AspectClass::kClear:
      return kNone;
    default:
      return std::nullopt;
  }
}

void checkAtsBeacons(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  const int alert = drive.train->ATS_Alert;
  for (int i = 0; i < signalCount(route); ++i) {
    const SignalEntry& signal = signalAt(route, i);
    const AspectClass aspect = aspectClass(signal.aspect);
    if (framesPast(s.frame, signal.signalG, kFirstBeaconWindow)) {
      if (alert == 0 && signal.signalType >= 1 && aspect == AspectClass::kStop) {
        s.ats_state = kAlarmOnPassing;
      }
      if (alert == 1 && aspect == AspectClass::kClear) s.ats_state = kNone;
    }
    if (framesPast(s.frame, signal.position, kSecondBeaconWindow)) {
      if (alert == 0) s.ats_state = kNone;
      if (alert == 1) s.ats_state = speedCheckValue(route, aspect).value_or(s.ats_state);
      if (aspect == AspectClass::kStop) s.ats_state = 0;
      s.signal_aspect = kNone;
    }
  }
}

}  // namespace

void clearSignalPictures(SimState& s) {
  s.signal_aspect = kNone;
  s.signal_shown = kNone;
  s.signal_picture = -1;
  s.signal_left_picture = -1;
  s.signal_right_picture = -1;
  s.signal_plate_picture = -1;
  s.signal_picture_x = kHeadHome;
  s.signal_left_x = kLeftHome;
  s.signal_right_x = kRightHome;
  setRepeaterLamps(s, AspectClass::kNone);
}

int signalState(const SimDrive& drive, int index) {
  const RouteData& route = *drive.route;
  const SimState& s = drive.state;
  const SignalEntry& signal = signalAt(route, index);
  const int stored = std::clamp(signal.signalB, 0, kMaxSignalState);
  if (s.run_mode != 0) return stored;
  switch (signal.signalA) {
    case kModeTimed:
      if (s.fast_tick_count < signal.signalC) return stored;
      break;
    case kModeFixed:
      return stored;
    case kModeStation: {
      // A station outside the table leaves the signal to the preceding train.
      const int stations = std::clamp(route.stationCount, 0, RouteData::kTable);
      if (signal.signalC >= 0 && signal.signalC < stations &&
          !s.stations[static_cast<std::size_t>(signal.signalC)].depart_announced) {
        return stored;
      }
      break;
    }
    default:
      break;
  }
  return precedingTrainState(route, s, index);
}

void setRepeaterLamps(SimState& s, AspectClass aspect) {
  s.lamp_g = aspect == AspectClass::kClear;
  s.lamp_yg = aspect == AspectClass::kReducedSpeed;
  s.lamp_y = aspect == AspectClass::kCaution;
  s.lamp_yy = aspect == AspectClass::kRestricting;
  s.lamp_r = aspect == AspectClass::kStop;
}

void runSignals(SimDrive& drive) {
  const int inViewIndex = updateAspects(drive);
  updateSignalCallout(drive, inViewIndex);
  if (drive.train->ATS_Type >= kAtcType) return;
  showSignal(drive);
  if (drive.state.ats_active) checkAtsBeacons(drive);
}

}  // namespace velimoro
