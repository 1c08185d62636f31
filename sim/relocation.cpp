#include "sim/relocation.h"

#include <algorithm>

#include "sim/channels.h"
#include "sim/signals.h"

namespace velimoro {
namespace {

constexpr int kNone = 999;
constexpr int kPassingPoint = 1;

template <typename Table>
int countOf(int count, const Table& table) {
  return std::clamp(count, 0, static_cast<int>(table.size()));
}

}  // namespace

void forgetRunProgress(SimDrive& drive) {
  SimState& s = drive.state;
  RouteData& route = *drive.route;
  s.stations.fill(StationFlags{});
  for (int i = 0; i < countOf(route.movieSwitchCount, route.movieSwitches); ++i)
    route.movieSwitches[static_cast<std::size_t>(i)].done = false;
  for (int i = 0; i < countOf(route.timeCount, route.times); ++i)
    route.times[static_cast<std::size_t>(i)].done = 0;
  SoundSystem& sounds = drive.sounds;
  sounds.soundStarted.fill(false);
  sounds.switchPlayed.fill(false);
  sounds.announceInWindow.fill(false);
  // The engine sounds stop with their channels; the running sounds start them again.
  sounds.engine1On.fill(false);
  sounds.engine3On.fill(false);
  sounds.callouts = CalloutQueue{};
  s.crossing_pending.fill(-1);
  // The guidance is taken up afresh: its sound stops with the channels below.
  s.guidance_text.clear();
  s.last_guidance.clear();
  s.guidance_shown.clear();
  // A drive paused now does not play them again when it resumes.
  for (int channel = 1; channel < SoundSystem::kChannels; ++channel) {
    stopChannel(drive, channel);
    sounds.paused[static_cast<std::size_t>(channel)] = PausedChannel::kSilent;
  }
}

void refillCrossingCallouts(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  s.crossing_pending.fill(-1);
  std::size_t filled = 0;
  for (int i = 0; i < countOf(route.crossingCount, route.crossings); ++i) {
    const CrossingEntry& crossing = route.crossings[static_cast<std::size_t>(i)];
    if (filled == s.crossing_pending.size()) break;
    if (crossing.from <= s.frame && s.frame < crossing.to) s.crossing_pending[filled++] = i;
  }
  s.crossing_picture_shown = false;
  // The crossings around the new frame are taken up here; the tick adds those entered later.
  s.lineside_frame = s.frame;
}

void clearSignalsOutOfView(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  for (int i = 0; i < countOf(route.signalCount, route.signals); ++i) {
    const SignalEntry& signal = route.signals[static_cast<std::size_t>(i)];
    if (signal.showFrom < s.frame && s.frame < signal.showTo) return;
  }
  for (int i = 0; i < countOf(route.trafficSignalCount, route.trafficSignals); ++i) {
    const TrafficSignalEntry& signal = route.trafficSignals[static_cast<std::size_t>(i)];
    if (signal.field[2] < s.frame && s.frame < signal.field[3]) return;
  }
  clearSignalPictures(s);
  s.traffic_signal_picture = -1;
  s.traffic_signal_picture2 = -1;
  s.signal_in_view = kNone;
  s.callout_signal = kNone;
  s.signal_callout_state = kNone;
  s.signal_callout_number = kNone;
}

int nextStopAfter(const RouteData& route, int station) {
  for (int j = std::max(station + 1, 0); j < countOf(route.stationCount, route.stations); ++j) {
    const int kind = route.stations[static_cast<std::size_t>(j)].kind;
    if (kind == 0 || kind > kPassingPoint) return j;
  }
  return -1;
}

}  // namespace velimoro
