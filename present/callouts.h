#pragma once

#include "sim/sim_drive.h"

namespace velimoro {

// The driver's call-outs. Requests queue voices (the route's "[KankoSound1]" voices 0 .. 20 and
// "[KankoSound2]" voices from 21 on) or other sounds ("[OtherImageList]" entries); the queue
// plays them one at a time on the call-out channel, one poll per tick.
//
// A queued voice without a sound (its file was empty or failed to load) cannot play: the poll
// that reaches it shows "喚呼の再生エラー" and drops it, so the voices behind it still play.
// With the "no call-outs" setting the queue advances one voice per poll without playing.

/// Queues voice `voice` in the first empty slot; dropped when the queue is full or the number
/// names no voice slot.
void kankoQueueAdd(SimDrive& drive, int voice);

/// Queues the sound of "[OtherImageList]" entry `index`; dropped as kankoQueueAdd drops.
void otherSoundQueueAdd(SimDrive& drive, int index);

/// Once per tick: drops the head once it has played and starts the next voice when the
/// call-out channel is free; with the queue empty, restarts the pending resume loop.
void kankoQueuePlay(SimDrive& drive);

/// The voice of signal aspect code `code`, -1 for a code without one.
int aspectVoice(int code);

/// Queues the time call-out for `targetTicks` (time of day in 1/30 s) against the clock.
void timeKanko(SimDrive& drive, int targetTicks);

/// Mode 0: the time call-out of every "[Time]" record whose frame range holds the train's
/// frame (both ends excluded). Other modes do nothing.
void timeCheck(SimDrive& drive, int mode);

/// The "[SignalKanko]" voices of signal `callout_signal`: kind 1 those of `when` 0; kind 2 those
/// of `when` 2 and 1 in file order.
void kankoAdd(SimDrive& drive, int kind);

/// The "[StationKanko]" call-outs of station `callout_station` for station event `event`
/// (0 .. 5); event 4 queues voice 20 first.
void stationCallout(SimDrive& drive, int event);

/// The call-out key (Enter): the pending other-sound call-out or time check, else the armed
/// second call-out, else the signal call-out, else the next pending crossing call-out.
void calloutKey(SimDrive& drive);

}  // namespace velimoro
