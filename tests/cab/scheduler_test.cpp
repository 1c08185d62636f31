#include "cab/scheduler.h"

#include <gtest/gtest.h>

#include <string>

namespace velimoro {
namespace {

using Step = StepScheduler::Step;

// A host on a fake clock: wakes every `wakeMs` of host time from `fromMs` to `toMs` and runs
// what is due, as the session does; appends "F<t>" or "T<t>" per step run.
struct FakeHost {
  StepScheduler steps;
  std::string log;

  void advance(std::int64_t hostMs) {
    const std::int64_t now = steps.catchUp(hostMs);
    while (const auto due = steps.next()) {
      if (due->atMs >= now) break;
      log += (due->step == Step::kFast ? "F" : "T") + std::to_string(due->atMs) + " ";
      steps.done();
    }
  }
  void run(std::int64_t fromMs, std::int64_t toMs, std::int64_t wakeMs) {
    for (std::int64_t t = fromMs; t <= toMs; t += wakeMs)
      advance(t);
  }
};

TEST(StepScheduler, FastStepsAndTicksFallOnTheirMultiplesFastFirstOnTies) {
  FakeHost host;
  host.steps.start(0);
  host.run(0, 301, 1);
  EXPECT_EQ(host.log, "F33 F66 F99 T100 F132 F165 F198 T200 F231 F264 F297 T300 ");
  // 3300 ms is both the 100th fast step and the 33rd tick; a step due at t runs once t has
  // passed.
  host.run(302, 3300, 1);
  EXPECT_EQ(host.log.substr(host.log.size() - 12), "F3234 F3267 ");
  host.advance(3301);
  EXPECT_EQ(host.steps.fastSteps(), 100);
  EXPECT_EQ(host.steps.ticks(), 33);
  EXPECT_EQ(host.log.substr(host.log.size() - 12), "F3300 T3300 ");
}

TEST(StepScheduler, AStallUnderASecondIsCaughtUpAndALongerOneDropsTheRest) {
  // 10 s of host time with a 500 ms stall: every step of the 10 s runs.
  FakeHost host;
  host.steps.start(0);
  host.run(0, 3000, 5);
  host.run(3500, 10000, 5);
  EXPECT_EQ(host.steps.fastSteps(), 303);  // 33 .. 9999
  EXPECT_EQ(host.steps.ticks(), 99);       // 100 .. 9900
  EXPECT_EQ(host.steps.droppedMs(), 0);

  // A 3 s stall: one second of steps is run at once, two seconds are dropped, and drive time
  // then goes on two seconds behind the host's.
  FakeHost stalled;
  stalled.steps.start(0);
  stalled.run(0, 2000, 5);  // T2000 is due next
  stalled.advance(5000);
  EXPECT_EQ(stalled.steps.droppedMs(), 5000 - 2000 - StepScheduler::kMaxCatchUpMs);
  EXPECT_EQ(stalled.steps.driveTime(5000), 2000 + StepScheduler::kMaxCatchUpMs);
  EXPECT_EQ(stalled.steps.fastSteps(), 2999 / 33);
  stalled.run(5000, 10000, 5);
  EXPECT_EQ(stalled.steps.fastSteps(), (10000 - stalled.steps.droppedMs() - 1) / 33);
}

TEST(StepScheduler, PauseStopsTheStepsAndResumeKeepsTheCounts) {
  FakeHost host;
  host.steps.start(0);
  host.run(0, 1000, 5);
  const auto fast = host.steps.fastSteps();
  const auto ticks = host.steps.ticks();
  host.steps.pause();
  EXPECT_FALSE(host.steps.next());
  host.run(1000, 5000, 5);  // paused across more than a second: nothing is owed or dropped
  EXPECT_EQ(host.steps.fastSteps(), fast);
  EXPECT_EQ(host.steps.ticks(), ticks);
  host.steps.start(5010);  // resumes with the steps after the resume
  host.log.clear();
  host.run(5010, 5101, 1);
  EXPECT_EQ(host.log, "F5016 F5049 F5082 T5100 ");
  EXPECT_EQ(host.steps.fastSteps(), fast + 3);
  EXPECT_EQ(host.steps.droppedMs(), 0);
}

}  // namespace
}  // namespace velimoro
