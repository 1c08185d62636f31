#include "present/callouts.h"

#include "sim/signal_codes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "media/translate.h"
#include "present/sound_channels.h"

namespace velimoro {
namespace {

// Whether the route names a file for the queued voice or other sound.
bool namesAFile(const SimDrive& drive, const QueuedCallout& callout) {
  const RouteData& route = *drive.route;
  if (callout.voice >= 0) {
    return callout.voice < RouteData::kKankoSlots && !route.kankoSound[callout.voice].empty();
  }
  return callout.other >= 0 && callout.other < route.otherImageCount &&
         !route.otherSounds[callout.other].empty();
}

constexpr int kNone = 999;              // a pending call-out field that holds nothing
constexpr int kTimeCheckCallout = 900;  // the pending call-out that asks for a time check
constexpr int kEnterKeyAction = 999;    // a station call-out that presses the call-out key
constexpr int kFirstTimeAction = 1000;  // station call-out actions from here on are times of day
constexpr int kCalloutsOff = 1;         // the "no call-outs" setting

// Time call-out voices.
constexpr int kVoiceWithinTenSeconds = 18;
constexpr int kVoiceFirstBand = 6;  // 301 .. 600 ticks; one voice more per 300 ticks
constexpr int kVoiceTimePassed = 16;
constexpr int kVoiceTimeAhead = 17;
constexpr long long kBandTicks = 300;
constexpr long long kLastBandTicks = 3000;

// Station call-outs.
constexpr int kStationEvents = 6;
constexpr int kWhenOfEvent[kStationEvents] = {4, 0, 1, 2, 3, 5};
constexpr int kDepartureEvent = 4;
constexpr int kDepartureVoice = 20;

constexpr long double kStandingSpeed = 0.1;  // km/h

void addToQueue(SimDrive& drive, const QueuedCallout& callout) {
  CalloutQueue& queue = drive.sounds.callouts;
  queue.queueBusy = true;
  if (queue.count < CalloutQueue::kSlots)
    queue.slots[static_cast<std::size_t>(queue.count++)] = callout;
  queue.queueBusy = false;
}

void dropHead(CalloutQueue& queue) {
  if (queue.count == 0) return;
  std::move(queue.slots.begin() + 1, queue.slots.begin() + queue.count, queue.slots.begin());
  queue.slots[static_cast<std::size_t>(--queue.count)] = QueuedCallout();
}

bool trainMoves(const SimState& s) {
  return std::fabs(s.speed) >= kStandingSpeed;
}

// Whether `voice` waits in the queue behind the head.
bool waiting(const CalloutQueue& queue, int voice, int from) {
  for (int i = from; i < queue.count; ++i)
    if (queue.slots[static_cast<std::size_t>(i)].voice == voice) return true;
  return false;
}

// The signal call-out: the signal's "[SignalKanko]" voices of `when` 0 with its name voice (the
// call-out number), the aspect voice, then the voices of `when` 2 and 1. The name is one of the
// `when` 0 voices that gave the number, so it is said once, in its place among them.
void signalCallout(SimDrive& drive) {
  const SimState& s = drive.state;
  const int extraVoices = drive.route->kankoSoundCount - RouteData::kFirstKankoSound2;
  if (s.signal_callout_state != kNone && s.signal_callout_number >= 0 &&
      s.signal_callout_number < extraVoices) {
    const int name = RouteData::kFirstKankoSound2 + s.signal_callout_number;
    const int before = drive.sounds.callouts.count;
    kankoAdd(drive, 1);
    if (!waiting(drive.sounds.callouts, name, before)) kankoQueueAdd(drive, name);
  }
  const int voice = aspectVoice(s.signal_aspect);
  if (voice >= 0) kankoQueueAdd(drive, voice);
  kankoAdd(drive, 2);
}

}  // namespace

void kankoQueueAdd(SimDrive& drive, int voice) {
  if (voice < 0 || voice >= RouteData::kKankoSlots) return;
  addToQueue(drive, {voice, -1, drive.sounds.voiceSound[static_cast<std::size_t>(voice)]});
}

void otherSoundQueueAdd(SimDrive& drive, int index) {
  if (index < 0 || index >= std::min(drive.route->otherImageCount, RouteData::kBigTable)) return;
  addToQueue(drive, {-1, index, drive.sounds.otherSound[static_cast<std::size_t>(index)]});
}

void kankoQueuePlay(SimDrive& drive) {
  CalloutQueue& queue = drive.sounds.callouts;
  if (queue.queueBusy) return;
  const int channel = calloutChannel(drive.sounds.layout);
  if (channelPlaying(drive, channel)) return;
  if (queue.calloutStarted) {
    dropHead(queue);
    queue.calloutStarted = false;
  }
  if (queue.count == 0) {
    if (queue.resumeLoopPending) {
      stopChannel(drive, queue.resumeLoopChannel);
      playChannel(drive, queue.resumeLoopChannel, true);
      queue.resumeLoopPending = false;
    }
    return;
  }
  const QueuedCallout& head = queue.slots[0];
  if (head.sound >= 0 && channel >= 0) drive.media.sound.bind(channel, head.sound);
  if (drive.setup.settings.kanko != kCalloutsOff) {
    // A voice without a sound would never play; waiting on it would hold up every call-out
    // behind it. A route that names no file for the voice simply has none; a named file that
    // did not load is an error the driver hears about.
    if (head.sound < 0) {
      if (namesAFile(drive, head))
        drive.media.messages.show(media::translate("Callouts", "喚呼の再生エラー"));
      dropHead(queue);
      return;
    }
    playChannel(drive, channel, false);
  }
  queue.calloutStarted = true;
}

int aspectVoice(int code) {
  // Codes 1 and 2 (a signal of no lamps) have voices of their own: 1 its own, 2 the clear one.
  if (code == 1) return 5;
  if (code == 2) return 4;
  switch (aspectClass(code)) {
    case AspectClass::kStop:
      return 0;
    case AspectClass::kRestricting:
      return 1;
    case AspectClass::kCaution:
      return 2;
    case AspectClass::kReducedSpeed:
      return 3;
    case AspectClass::kClear:
      return 4;
    case AspectClass::kNone:
      break;
  }
  return -1;
}

void timeKanko(SimDrive& drive, int targetTicks) {
  const long long clock = drive.state.fast_tick_count;
  const long long distance = std::llabs(clock - targetTicks);
  if (distance <= kBandTicks) {
    kankoQueueAdd(drive, kVoiceWithinTenSeconds);
    return;
  }
  if (distance > kLastBandTicks) return;
  const long long band = (distance - kBandTicks - 1) / kBandTicks;
  kankoQueueAdd(drive, kVoiceFirstBand + static_cast<int>(band));
  if (targetTicks < clock) kankoQueueAdd(drive, kVoiceTimePassed);
  if (targetTicks > clock) kankoQueueAdd(drive, kVoiceTimeAhead);
}

void timeCheck(SimDrive& drive, int mode) {
  if (mode != 0) return;
  const RouteData& route = *drive.route;
  const int frame = drive.state.frame;
  const int count = std::clamp(route.timeCount, 0, RouteData::kSmallTable);
  for (int i = 0; i < count; ++i) {
    const TimeEntry& time = route.times[i];
    if (time.from < frame && frame < time.to) timeKanko(drive, time.at);
  }
}

void kankoAdd(SimDrive& drive, int kind) {
  const RouteData& route = *drive.route;
  const int signal = drive.state.callout_signal;
  const int count = std::clamp(route.signalCalloutCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const SignalCalloutEntry& record = route.signalCallouts[i];
    if (record.signal != signal) continue;
    if (kind == 1 && record.when == 0) kankoQueueAdd(drive, record.voice);
    if (kind == 2 && (record.when == 2 || record.when == 1)) kankoQueueAdd(drive, record.voice);
  }
}

void stationCallout(SimDrive& drive, int event) {
  if (event < 0 || event >= kStationEvents) return;
  const RouteData& route = *drive.route;
  const int station = drive.state.callout_station;
  if (event == kDepartureEvent) kankoQueueAdd(drive, kDepartureVoice);
  const int count = std::clamp(route.stationCalloutCount, 0, RouteData::kTable);
  for (int i = 0; i < count; ++i) {
    const StationCalloutEntry& record = route.stationCallouts[i];
    if (record.station != station || record.when != kWhenOfEvent[event]) continue;
    if (record.action < 0) continue;
    if (record.action < kEnterKeyAction) {
      kankoQueueAdd(drive, record.action);
    } else if (event == 0) {
      // The first event takes its actions as voices only.
      continue;
    } else if (record.action == kEnterKeyAction) {
      calloutKey(drive);
    } else if (record.action >= kFirstTimeAction) {
      timeKanko(drive, record.action);
    }
  }
}

void calloutKey(SimDrive& drive) {
  SimState& s = drive.state;
  if (s.pending_callout != kNone && s.pending_callout != s.last_callout_key) {
    if (s.pending_callout == kTimeCheckCallout) {
      timeCheck(drive, 0);
    } else {
      otherSoundQueueAdd(drive, s.pending_callout);
    }
    s.last_callout_key = s.pending_callout;
    return;
  }
  const bool moving = trainMoves(s);
  if (s.second_callout_armed && moving) {
    otherSoundQueueAdd(drive, s.second_callout);
    s.second_callout_armed = false;
    return;
  }
  auto pending = std::find_if(s.crossing_pending.begin(), s.crossing_pending.end(),
                              [](int crossing) { return crossing >= 0; });
  if (pending == s.crossing_pending.end() || !moving || s.crossing_picture_shown) {
    signalCallout(drive);
    return;
  }
  const RouteData& route = *drive.route;
  if (*pending < std::min(route.crossingCount, RouteData::kBigTable)) {
    kankoQueueAdd(drive, route.crossings[static_cast<std::size_t>(*pending)].crossVoice);
  }
  *pending = -1;
}

}  // namespace velimoro
