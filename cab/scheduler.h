#pragma once

#include <cstdint>
#include <optional>

namespace velimoro {

/// When the steps of a drive fall due. Drive time is the host's time less what the drive has
/// dropped: fast steps fall at 33 ms x k and ticks at 100 ms x k of it, the fast step first when
/// both fall due together. A step due at t runs once drive time has passed t, so an input given
/// at t comes before it, in the window as in a replay. The scheduler has no clock of its own:
/// the window gives it the monotonic time, the headless driver its script time.
class StepScheduler {
 public:
  static constexpr std::int64_t kFastStepMs = 33;
  static constexpr std::int64_t kTickMs = 100;
  /// After a stall the drive catches up at most this much; the rest is dropped.
  static constexpr std::int64_t kMaxCatchUpMs = 1000;

  enum class Step { kFast, kTick };
  struct Due {
    std::int64_t atMs;  // drive time
    Step step;
  };

  /// Drive time at host time `hostMs`, first shifting drive time so that no more than
  /// kMaxCatchUpMs of steps are owed: what a stall of the host owes beyond that is dropped.
  std::int64_t catchUp(std::int64_t hostMs);
  /// Drive time at host time `hostMs`, without dropping anything.
  std::int64_t driveTime(std::int64_t hostMs) const { return hostMs - m_droppedMs; }
  /// Host time at drive time `driveMs`.
  std::int64_t hostTime(std::int64_t driveMs) const { return driveMs + m_droppedMs; }

  /// Starts the steps at drive time `nowMs`: the first of each falls after it.
  void start(std::int64_t nowMs);
  /// Stops the steps; nothing is due until the next start.
  void pause() { m_running = false; }
  bool running() const { return m_running; }

  /// The step due next, or nothing while paused.
  std::optional<Due> next() const;
  /// The step next() named has run.
  void done();

  std::int64_t fastSteps() const { return m_fastSteps; }
  std::int64_t ticks() const { return m_ticks; }
  /// Drive time dropped after stalls, in ms.
  std::int64_t droppedMs() const { return m_droppedMs; }

 private:
  bool m_running = false;
  std::int64_t m_nextFastMs = kFastStepMs;
  std::int64_t m_nextTickMs = kTickMs;
  std::int64_t m_fastSteps = 0;
  std::int64_t m_ticks = 0;
  std::int64_t m_droppedMs = 0;
};

}  // namespace velimoro
