#include "sim/guidance.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include "data/train_record.h"
#include "sim/clock.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using Hands = std::array<std::array<int, 2>, 3>;

struct GuidanceTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;

  std::string guidance() const { return guidanceMessage(drive); }
};

TEST_F(GuidanceTest, WaitingRouteProtectionOffAndTurningAround) {
  EXPECT_EQ(guidance(), "");
  s.run_mode = 1;
  s.power_handle = 1;
  EXPECT_EQ(guidance(), "0進路が開通するまでお待ちください。");
  s.run_mode = 0;
  s.ats_active = false;
  EXPECT_EQ(guidance(), "");  // one notch is allowed
  s.power_handle = 2;
  EXPECT_EQ(guidance(), "0ATSが投入されていないため、速度に注意してください。");
  s.beginner_mode = true;
  EXPECT_EQ(guidance(), "");

  // At rest within the last 200 frames up to the end of the line.
  drive.route->movieStop[0] = 1000;
  drive.route->movieStopCount = 1;
  const std::pair<int, bool> frames[] = {{800, false}, {801, true}, {1000, true}, {1001, false}};
  for (const auto& [frame, turn] : frames) {
    s.frame = frame;
    EXPECT_EQ(guidance() == "0BackSpaceキーを押して方向を転換し、発車してください。", turn)
        << frame;
  }
  s.frame = 900;
  s.speed = 0.6;  // rounds to 1: moving
  EXPECT_EQ(guidance(), "");
}

TEST_F(GuidanceTest, SignalSpeedsAndTheStationApproach) {
  const std::tuple<int, double, std::string> cases[] = {
      {4, 66, "0速度を55km/h以下に落としてください"},
      {19, 65.4, ""},
      {11, 96, "0速度を75km/h以下に落としてください"},
      {20, 95, ""},
      {14, 26, "0速度を25km/h以下に落としてください"},
      {18, 25.4, ""},
      {3, 120, ""},
  };
  for (const auto& [aspect, speed, text] : cases) {
    s.signal_aspect = aspect;
    s.speed = speed;
    EXPECT_EQ(guidance(), text) << aspect << " " << speed;
  }
  // 300 m ahead at 80 km/h: the braking distance 80 / 5 x 80 / 3.6 = 355 m exceeds 300 - 125.
  s.signal_aspect = 999;
  s.speed = 80;
  s.remain_cm = 30000;
  EXPECT_EQ(guidance(), "0（停車駅接近）");
  s.signal_aspect = 4;
  EXPECT_EQ(guidance(), "0速度を55km/h以下に落としてください（停車駅接近）");
  s.remain_cm = 25000;  // 250 m or less: the approach is not told any more
  EXPECT_EQ(guidance(), "0速度を55km/h以下に落としてください");
  s.remain_cm = 60000;
  s.speed = 60;  // 200 m of braking against 475 m
  s.signal_aspect = 999;
  EXPECT_EQ(guidance(), "");
}

TEST_F(GuidanceTest, WarningsAndProtectionBrakes) {
  s.signal_aspect = 4;
  s.speed = 70;
  s.ats_warning = true;
  s.ats_active = false;
  EXPECT_EQ(guidance(), "0速度を55km/h以下に落としてください");  // protection off: no warning
  s.ats_active = true;
  EXPECT_EQ(guidance(), "05秒以内にブレーキをかけ、ATS確認ボタンを押してください");
  s.ats_warning = false;
  s.eb_device_count = 600;
  EXPECT_EQ(guidance(), "0速度を55km/h以下に落としてください");
  s.eb_device_count = 601;
  EXPECT_EQ(guidance(), "05秒以内にEBリセットを行ってください");

  const char* const tripped = "0速度超過によりATSが動作しました";
  const char* const reset = "0非常ブレーキを入れ、リセットキーを押してください";
  s.ats_eb = true;
  s.ats_warning = true;
  EXPECT_EQ(guidance(), tripped);
  s.speed = 0.4;
  EXPECT_EQ(guidance(), reset);
  s.atsp_state = 2;
  EXPECT_EQ(guidance(), tripped);
  s.ats_warning = false;
  EXPECT_EQ(guidance(), tripped);
  s.atsp_state = 0;
  EXPECT_EQ(guidance(), reset);
  s.speed = 30;  // still running down: an earlier sentence stands
  s.ats_active = false;
  s.power_handle = 2;
  EXPECT_EQ(guidance(), "0ATSが投入されていないため、速度に注意してください。");
}

TEST_F(GuidanceTest, EngineStallAtRestOverridesEveryOtherSentence) {
  drive.train->GearCount = 4;
  s.gear_index = 3;
  s.engine_running = false;
  s.power_handle = 2;
  s.ats_active = false;
  s.eb_device_count = 700;
  s.speed = 0.4;
  EXPECT_EQ(guidance(),
            "0エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。");
  s.gear_index = 2;  // not the last gear row
  EXPECT_EQ(guidance(), "05秒以内にEBリセットを行ってください");
  s.gear_index = 3;
  s.speed = 0.6;
  EXPECT_EQ(guidance(), "05秒以内にEBリセットを行ってください");
}

TEST_F(GuidanceTest, AResultIsShownOnceAndOnlyWithTheDisplayOn) {
  s.frame = 500;
  useGuidance(drive, "0ブレーキ");
  EXPECT_EQ(s.guidance_shown, "ブレーキ");
  EXPECT_EQ(s.guidance_frame, 499);
  EXPECT_EQ(s.last_guidance, "0ブレーキ");
  // The same result on the next tick changes nothing, even where the screen changed.
  s.guidance_shown = "消去済み";
  s.frame = 600;
  useGuidance(drive, "0ブレーキ");
  EXPECT_EQ(s.guidance_shown, "消去済み");
  EXPECT_EQ(s.guidance_frame, 499);
  useGuidance(drive, "");
  EXPECT_EQ(s.guidance_shown, "");

  drive.setup.settings.information = 0;
  useGuidance(drive, "0ノッチ");
  EXPECT_EQ(s.guidance_shown, "");
  EXPECT_EQ(s.last_guidance, "0ノッチ");

  // Through the tick step: the routine's result becomes guidance_text.
  drive.setup.settings.information = 1;
  s.run_mode = 1;
  s.power_handle = 1;
  runGuidance(drive);
  EXPECT_EQ(s.guidance_text, "0進路が開通するまでお待ちください。");
  EXPECT_EQ(s.guidance_shown, "進路が開通するまでお待ちください。");
}

TEST(TimetableClock, TextAndHandsFollowTheSecond) {
  SimState s;
  const ClockSpec clock{10, 10, 20};
  timecalc(s, clock, 108000);
  EXPECT_EQ(s.clock_text, "01:00:00");
  // One o'clock: the 12-pixel hour hand at 30 degrees, both others at twelve.
  EXPECT_EQ(s.clock_hands, (Hands{{{31, 15}, {25, 5}, {25, 5}}}));
  EXPECT_TRUE(s.clock_redraw);

  s.clock_redraw = false;
  timecalc(s, clock, 108029);  // the same second
  EXPECT_FALSE(s.clock_redraw);
  // 03:45:15: hour hand at 112.5 degrees, minute at 271.5, second at 90.
  timecalc(s, clock, 3 * 108000 + 45 * 1800 + 15 * 30);
  EXPECT_EQ(s.clock_text, "03:45:15");
  EXPECT_EQ(s.clock_hands, (Hands{{{36, 30}, {5, 24}, {45, 25}}}));
  EXPECT_TRUE(s.clock_redraw);
}

TEST(TimetableClock, OnlyAClockWithAPlaceAndHandsIsDrawn) {
  for (const ClockSpec clock : {ClockSpec{0, 10, 20}, ClockSpec{10, 0, 20}, ClockSpec{10, 10, 0}}) {
    SimState s;
    timecalc(s, clock, 29);
    EXPECT_EQ(s.clock_text, "00:00:00");
    EXPECT_FALSE(s.clock_redraw);
    EXPECT_EQ(s.clock_hands, Hands{});
  }
}

}  // namespace
}  // namespace velimoro
