#include "sim/lineside_callouts.h"

#include <algorithm>

namespace velimoro {
namespace {

constexpr int kNone = 999;
constexpr int kTimeCheck = 900;  // the pending call-out that asks for the time check

template <typename Table>
int countOf(int count, const Table& table) {
  return std::clamp(count, 0, static_cast<int>(table.size()));
}

bool inCrossing(const CrossingEntry& crossing, int frame) {
  return crossing.from <= frame && frame < crossing.to;
}

// The board in view whose call-out the key says, else the time check, else none.
int boardOrTimeCheck(const RouteData& route, int frame) {
  const int others = std::min(route.otherImageCount, RouteData::kBigTable);
  for (int i = 0; i < countOf(route.signCount, route.signs); ++i) {
    const SignEntry& sign = route.signs[static_cast<std::size_t>(i)];
    const int other = sign.boardCallout - 1;
    if (other >= 0 && other < others && sign.from <= frame && frame < sign.to) return other;
  }
  for (int i = 0; i < countOf(route.timeCount, route.times); ++i) {
    const TimeEntry& time = route.times[static_cast<std::size_t>(i)];
    if (time.from < frame && frame < time.to) return kTimeCheck;
  }
  return kNone;
}

void updateCrossings(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  for (int& pending : s.crossing_pending) {
    if (pending >= 0 && (pending >= countOf(route.crossingCount, route.crossings) ||
                         !inCrossing(route.crossings[static_cast<std::size_t>(pending)], s.frame)))
      pending = -1;
  }
  // Said ones stay said until the train enters the range again.
  for (int i = 0; i < countOf(route.crossingCount, route.crossings); ++i) {
    const CrossingEntry& crossing = route.crossings[static_cast<std::size_t>(i)];
    if (!inCrossing(crossing, s.frame) || inCrossing(crossing, s.lineside_frame)) continue;
    if (std::find(s.crossing_pending.begin(), s.crossing_pending.end(), i) !=
        s.crossing_pending.end())
      continue;
    const auto free = std::find(s.crossing_pending.begin(), s.crossing_pending.end(), -1);
    if (free != s.crossing_pending.end()) *free = i;
  }
  // The list keeps table order, as the station jump fills it.
  std::stable_partition(s.crossing_pending.begin(), s.crossing_pending.end(),
                        [](int crossing) { return crossing >= 0; });
  std::sort(s.crossing_pending.begin(),
            std::find(s.crossing_pending.begin(), s.crossing_pending.end(), -1));
  s.lineside_frame = s.frame;
}

}  // namespace

void runLinesideCallouts(SimDrive& drive) {
  SimState& s = drive.state;
  const int callout = boardOrTimeCheck(*drive.route, s.frame);
  if (callout != s.pending_callout) {
    s.pending_callout = callout;
    // A new board or time check may be said even when the last one said was the same.
    if (callout != kNone) s.last_callout_key = kNone;
  }
  updateCrossings(drive);
}

}  // namespace velimoro
