#include "cab/tick.h"
#include "cab/drive.h"
#include "sim/tick.h"

#include <gtest/gtest.h>

#include "sim/clock.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

struct TickTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
};

TEST(Clock, FormatsTicksOfOneThirtiethSecond) {
  EXPECT_EQ(clockText(clockTime(108000)), "01:00:00");
  EXPECT_EQ(clockText(clockTime(29)), "00:00:00");
  EXPECT_EQ(clockText(clockTime(30)), "00:00:01");
  EXPECT_EQ(clockText(clockTime(10 * 108000 + 59 * 1800 + 59 * 30)), "10:59:59");
  EXPECT_EQ(clockText(clockTime(25 * 108000)), "25:00:00");
  EXPECT_EQ(clockText(clockTime(-30)), "23:59:59");
}

TEST(Clock, TimecalcChangesTheTextOnlyWhenTheSecondChanges) {
  SimState s;
  EXPECT_TRUE(timecalc(s, 0));
  EXPECT_EQ(s.clock_text, "00:00:00");
  EXPECT_FALSE(timecalc(s, 29));
  EXPECT_TRUE(timecalc(s, 30));
  EXPECT_EQ(s.clock_text, "00:00:01");
}

TEST(Clock, HandEndsGoClockwiseFromTwelve) {
  EXPECT_EQ(clockHandEnd(0, 20), (std::array<int, 2>{25, 5}));
  EXPECT_EQ(clockHandEnd(90, 20), (std::array<int, 2>{45, 25}));
  EXPECT_EQ(clockHandEnd(180, 12), (std::array<int, 2>{25, 37}));
}

TEST_F(TickTest, VoltmeterClimbsFiftyVoltsATickWithoutOvershoot) {
  for (int i = 0; i < 30; ++i)
    updateVoltmeter(s);
  EXPECT_EQ(s.voltmeter, Fixed::fromInt(1500));
  updateVoltmeter(s);
  EXPECT_EQ(s.voltmeter, Fixed::fromInt(1550));
  s.voltmeter_target = Fixed::fromInt(1520);
  updateVoltmeter(s);
  EXPECT_EQ(s.voltmeter, Fixed::fromInt(1520));
}

TEST_F(TickTest, AmmeterTargetsFollowPowerSpeedAndBrake) {
  drive.train->Tons = Fixed::fromInt(100);  // m = 100000 kg
  // 27777.7778 N on 100 t is 1 km/h/s: 700 A from 54 km/h up.
  s.last_traction = Fixed::fromRaw(277777778);
  s.power_notch = 3;
  s.speed = 60;
  updateAmmeter(s, *drive.train);
  EXPECT_EQ(s.ammeter_target, 700);
  EXPECT_EQ(s.ammeter, 100);  // gap 700 > 200: steps of 100
  s.speed = 20;               // below 54 km/h: 1 x 13 x 20 = 260 A
  updateAmmeter(s, *drive.train);
  EXPECT_EQ(s.ammeter_target, 260);
  EXPECT_EQ(s.ammeter, 150);  // gap 160 > 100: a step of 50
}

TEST_F(TickTest, AmmeterStepsShrinkWithTheGapAndNeverOvershoot) {
  drive.train->Tons = Fixed::fromInt(100);
  s.brake_notch = -4;
  s.last_traction = Fixed::fromInt(-1);  // electric braking: -4 x 150 = -600 A
  // Steps of 100 while the gap is above 200, then 50, 30, 15, 5 and 2, the last one clipped.
  const int expected[] = {-100, -200, -300, -400, -450, -500, -530, -560, -575,
                          -580, -585, -590, -592, -594, -596, -598, -600, -600};
  for (int want : expected) {
    updateAmmeter(s, *drive.train);
    EXPECT_EQ(s.ammeter, want);
  }
  EXPECT_EQ(s.ammeter_target, -600);
  s.brake_notch = 0;  // released: back to 0
  updateAmmeter(s, *drive.train);
  EXPECT_EQ(s.ammeter_target, 0);
}

TEST_F(TickTest, AmmeterWithoutTrainMassShowsNoCurrent) {
  s.last_traction = Fixed::fromInt(5000);
  s.power_notch = 1;
  s.speed = 60;
  updateAmmeter(s, *drive.train);  // Tons 0
  EXPECT_EQ(s.ammeter_target, 0);
}

TEST_F(TickTest, EndOfVideoStopsTheTrainDeadAtTheLastFrame) {
  s.video_end_frame = 500;
  s.frame = 503;
  s.speed = 40;
  s.frame_accum = 17;
  s.power_handle = s.power_notch = 4;
  s.gear_index = s.gear = 3;
  sound.play(7, true);
  stopAtEndOfVideo(drive);
  EXPECT_EQ(s.frame, 500);
  EXPECT_EQ(s.speed, 0);
  EXPECT_EQ(s.frame_accum, 0);
  EXPECT_EQ(s.power_handle, 0);
  EXPECT_EQ(s.power_notch, 0);
  EXPECT_EQ(s.gear_index, 1);
  EXPECT_EQ(s.gear, 1);
  EXPECT_FALSE(sound.isPlaying(7));
}

TEST_F(TickTest, EndOfVideoFallsBackToMovieStopAndOtherwiseHasNoEnd) {
  // No video open and no "[MovieStop]": the train runs on.
  s.frame = 100000;
  s.speed = 40;
  stopAtEndOfVideo(drive);
  EXPECT_EQ(s.speed, 40);
  // The route's end frame stands in for the video's length.
  drive.route->movieStop[0] = 20000;
  drive.route->movieStopCount = 1;
  stopAtEndOfVideo(drive);
  EXPECT_EQ(s.frame, 20000);
  EXPECT_EQ(s.speed, 0);
  // Backwards past the first frame.
  s.frame = -3;
  s.speed = -5;
  stopAtEndOfVideo(drive);
  EXPECT_EQ(s.frame, 1);
  EXPECT_EQ(s.speed, 0);
}

TEST_F(TickTest, StatusBarTellsTheDoorMovement) {
  s.door_cmd = true;
  s.doors_open = true;
  updateStatusText(s);
  EXPECT_EQ(s.status_text, "ドアが開いています");
  s.door_cmd = false;
  updateStatusText(s);
  EXPECT_EQ(s.status_text, "ドアを閉めています");
  s.doors_open = false;
  updateStatusText(s);
  EXPECT_EQ(s.status_text, "");
}

TEST_F(TickTest, TickCountsAndFillsTheTextPanelOnlyWhenShown) {
  s.clock_text = "x";
  s.next_station_text = "中央";
  simulationTick(drive);
  EXPECT_EQ(s.tick_count, 1);
  EXPECT_EQ(drive.textPanel.nextStation, "");
  drive.textPanel.shown = true;
  simulationTick(drive);
  EXPECT_EQ(drive.textPanel.nextStation, "中央");
  EXPECT_EQ(drive.textPanel.clock, "00:00:00");
}

}  // namespace
}  // namespace velimoro
