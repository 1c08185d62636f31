#include "cab/scheduler.h"

namespace velimoro {

std::int64_t StepScheduler::catchUp(std::int64_t hostMs) {
  const std::int64_t now = driveTime(hostMs);
  if (const std::optional<Due> due = next()) {
    const std::int64_t owed = now - due->atMs;
    if (owed > kMaxCatchUpMs) m_droppedMs += owed - kMaxCatchUpMs;
  }
  return driveTime(hostMs);
}

void StepScheduler::start(std::int64_t nowMs) {
  m_running = true;
  m_nextFastMs = (nowMs / kFastStepMs + 1) * kFastStepMs;
  m_nextTickMs = (nowMs / kTickMs + 1) * kTickMs;
}

std::optional<StepScheduler::Due> StepScheduler::next() const {
  if (!m_running) return std::nullopt;
  if (m_nextFastMs <= m_nextTickMs) return Due{m_nextFastMs, Step::kFast};
  return Due{m_nextTickMs, Step::kTick};
}

void StepScheduler::done() {
  if (m_nextFastMs <= m_nextTickMs) {
    m_nextFastMs += kFastStepMs;
    ++m_fastSteps;
  } else {
    m_nextTickMs += kTickMs;
    ++m_ticks;
  }
}

}  // namespace velimoro
