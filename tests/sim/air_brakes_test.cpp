#include "sim/air_brakes.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace velimoro {

// Shows pressures in kPa in failure messages.
void PrintTo(const Fixed& value, std::ostream* out) {
  *out << value.toDouble() << " kPa";
}

namespace {

Fixed kPa(long double value) {
  return Fixed::fromLongDouble(value);
}

struct AirBrakeTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  TrainSpec& train = *drive.train;
  SimState& s = drive.state;

  // Rates that give round steps: BrakeUp 300 is 10 kPa a step, BrakeDown 150 is 5, BPReturn 60
  // is 2.
  void useTrain(int brakeType, int brake) {
    train.BrakeType = brakeType;
    train.Brake = brake;
    train.EBPress = 440;
    train.SAPPress = 440;
    train.HighAirPress = 880;
    train.LowAirPress = 780;
    train.BrakeUp = 300;
    train.BrakeDown = 150;
    train.BPReturn = 60;
    train.ELBR = 200;
    train.Lose_elec = 5;
    train.DriveSoundCount = 60;
  }
  // The state a drive starts in: cylinder at the emergency pressure, every notch at EB.
  void startState() {
    s = SimState();
    s.bc = kPa(train.EBPress);
    s.mr = kPa(train.HighAirPress);
    setNotch(train.BrakeType == 0 ? -4 : -train.Brake);
  }
  void setNotch(int notch) { s.brake_notch = s.sap_notch = s.brake_handle = notch; }
  void steps(int count) {
    for (int i = 0; i < count; ++i)
      updateAirPressures(s, train);
  }
};

TEST_F(AirBrakeTest, AutomaticBrakeChargesAppliesAndReleases) {
  useTrain(0, 4);
  startState();
  // Running: bp and er rise 2 a step (150 / 30 / 2.5 and 60 / 30 alike); er passes 490 on step
  // 246, so mr feeds 245 steps of 300 / 600 = 0.5: 880 - 122.5. bc vents 5 a step below er.
  setNotch(0);
  steps(600);
  EXPECT_EQ(s.bc, Fixed());
  EXPECT_EQ(s.bp, kPa(490));
  EXPECT_EQ(s.er, 490);
  EXPECT_EQ(s.mr, kPa(757.5L));
  // Service: bp falls 300 / 138 a step; bc rises 10 a step while below 4.6 x the reduction
  // (4.6 x 300 / 138 = 10), one step behind: after 23 steps bp = 440 and bc = 220.
  setNotch(-3);
  steps(23);
  EXPECT_EQ(s.bc, kPa(220));
  EXPECT_NEAR(s.bp.toDouble(), 440, 0.01);
  // Lap holds it all; the gauge catches up with bc.
  setNotch(-2);
  const SimState lapped = s;
  steps(100);
  EXPECT_EQ(s.bc, lapped.bc);
  EXPECT_EQ(s.bp, lapped.bp);
  EXPECT_EQ(s.er, lapped.er);
  EXPECT_EQ(s.bc_gauge, kPa(220));
  // Emergency: bc += 300 / 9 while below 440 (7 steps, the last one stopping at 440),
  // mr -= 300 / 99 on each; bp and er empty.
  setNotch(-4);
  steps(400);
  EXPECT_EQ(s.bc, kPa(440));
  EXPECT_NEAR(s.mr.toDouble(), 757.5 - 7 * 300.0 / 99, 0.001);
  EXPECT_EQ(s.bp, Fixed());
  EXPECT_EQ(s.er, 0);
  EXPECT_EQ(s.bc_gauge, s.bc);
  // Release: the same charge again, another 122.5 from mr.
  const Fixed mr = s.mr;
  setNotch(0);
  steps(600);
  EXPECT_EQ(s.bc, Fixed());
  EXPECT_EQ(s.bp, kPa(490));
  EXPECT_EQ(s.er, 490);
  EXPECT_EQ(s.mr, mr - kPa(122.5L));
  EXPECT_EQ(s.sap, Fixed());
  EXPECT_EQ(s.bc_gauge, Fixed());
}

TEST_F(AirBrakeTest, AutomaticBrakeHoldingEmergencyAndProtection) {
  useTrain(0, 8);  // the file's 8 positions do not count: EB stays at -4
  // Holding (-1): bp and er += 150 / 75 = 2, mr -= 0.5, bc kept; both stop at 490.
  s.bc = kPa(100);
  s.bp = kPa(489);
  s.er = 489;
  s.mr = kPa(800);
  setNotch(-1);
  steps(1);
  EXPECT_EQ(s.bc, kPa(100));
  EXPECT_EQ(s.bp, kPa(490));
  EXPECT_EQ(s.er, 490);
  EXPECT_EQ(s.mr, kPa(799.5L));
  // Emergency at -4: bc += 33.3333, bp -= 300 / 18, er -= 300 / 138.
  setNotch(-4);
  steps(1);
  EXPECT_EQ(s.bc, kPa(133.3333L));
  EXPECT_EQ(s.bp, kPa(490 - 300.0L / 18));
  EXPECT_NEAR(static_cast<double>(s.er), 490 - 300.0 / 138, 1e-9);
  // Either protection flag acts as the emergency position at any notch, with er falling as
  // fast as bp.
  for (const bool pattern : {false, true}) {
    s.bc = kPa(100);
    s.bp = kPa(400);
    s.er = 400;
    s.ats_eb = !pattern;
    s.ats_pattern_brake = pattern;
    setNotch(0);
    steps(1);
    EXPECT_EQ(s.bc, kPa(133.3333L));
    EXPECT_EQ(s.bp, kPa(400 - 300.0L / 18));
    EXPECT_NEAR(static_cast<double>(s.er), 400 - 300.0 / 18, 1e-9);
  }
}

TEST_F(AirBrakeTest, StraightAirBrakeSettlesBelowItsStepAndEmptiesOnEmergency) {
  useTrain(1, 8);  // step k aims at 440 / 7 x k
  startState();
  // Step 1 aims at 62.857. bp and er recharge 150 / 150 = 1 a step; bc vents 5 a step only once
  // er reaches 440 - 440 / 8 = 385 (step 386), and stops at 440 - 76 x 5 = 60, within 10 below.
  // sap rises 300 / 45 = 6.6667 while sap + 10 < 62.857: 8 steps to 53.33.
  setNotch(-1);
  steps(385);
  EXPECT_EQ(s.bc, kPa(440));
  steps(1);
  EXPECT_EQ(s.bc, kPa(435));
  steps(1000);
  EXPECT_EQ(s.bc, kPa(60));
  EXPECT_NEAR(s.sap.toDouble(), 53.3333, 0.001);  // each step stores four places
  EXPECT_EQ(s.bp, kPa(500));
  EXPECT_EQ(s.er, 500);
  EXPECT_EQ(s.mr, kPa(880));
  EXPECT_EQ(s.bc_gauge, kPa(60));
  // Emergency: bc += 3 x 10 while below 440 (13 steps, the last stopping at 440), mr -= 2 on
  // each; bp, sap and er fall 30 a step to 0.
  setNotch(-8);
  steps(300);
  EXPECT_EQ(s.bc, kPa(440));
  EXPECT_EQ(s.mr, kPa(854));
  EXPECT_EQ(s.bp, Fixed());
  EXPECT_EQ(s.sap, Fixed());
  EXPECT_EQ(s.er, 0);
  // Release: bc holds until bp is back at 385, then vents 5 a step.
  setNotch(0);
  steps(385);
  EXPECT_EQ(s.bc, kPa(440));
  steps(1000);
  EXPECT_EQ(s.bc, Fixed());
  EXPECT_EQ(s.bp, kPa(500));
  EXPECT_EQ(s.er, 500);
  EXPECT_EQ(s.bc_gauge, Fixed());
}

TEST_F(AirBrakeTest, StraightAirBrakeProtectionApplications) {
  useTrain(1, 8);
  for (const bool pattern : {false, true}) {
    s = SimState();
    s.bc = kPa(100);
    s.bp = kPa(400);
    s.er = 400;
    s.sap = kPa(100);
    s.mr = kPa(800);
    s.ats_eb = !pattern;
    s.ats_pattern_brake = true;  // with both set the emergency application wins
    steps(1);
    // Both recharge bp and er by 1 out of the EB position. EB: bc += 300 / 15, mr -= 1, bp,
    // sap and er -= 30. Full service: bc += 300 / 60, mr -= 1, sap += 300 / 45.
    EXPECT_EQ(s.bc, kPa(pattern ? 105 : 120));
    EXPECT_EQ(s.mr, kPa(799));
    EXPECT_EQ(s.sap, pattern ? kPa(106.6667L) : kPa(70));
    EXPECT_EQ(s.bp, kPa(pattern ? 401 : 371));
    EXPECT_EQ(s.er, pattern ? 401 : 371);
  }
  steps(1000);  // full service settles at the emergency pressure, sap at SAPPress
  EXPECT_EQ(s.bc, kPa(440));
  EXPECT_GE(s.sap, kPa(440));
  EXPECT_LT(s.sap, kPa(446.6667L));
}

TEST_F(AirBrakeTest, ElectricCommandBrakeSettlesOnItsStepAndReleasesInBands) {
  useTrain(2, 8);  // step k aims at 440 / 8 x k
  startState();
  setNotch(-1);  // target 55: 5 a step down from 440, landing on it
  steps(500);
  EXPECT_EQ(s.bc, kPa(55));
  EXPECT_EQ(s.bc_gauge, kPa(55));
  setNotch(-8);  // 1.3 x 10 = 13 a step while below 440, stopping at 440
  steps(500);
  EXPECT_EQ(s.bc, kPa(440));
  EXPECT_EQ(s.mr, kPa(880));
  setNotch(-2);  // target 110 from empty: 10 a step while bc + 10 < 110, mr -= 1 on each
  s.bc = Fixed();
  steps(200);
  EXPECT_EQ(s.bc, kPa(100));
  EXPECT_EQ(s.mr, kPa(870));
  EXPECT_EQ(s.bp, Fixed());
  EXPECT_EQ(s.sap, Fixed());
  EXPECT_EQ(s.er, 0);
  // Released, each band on the value the band before left: 202 -> 197 -> 192; 102 -> 97 ->
  // 97 - 150 / 37.5 = 93; 2 -> clamped at 0.
  setNotch(0);
  for (const auto& [from, to] :
       {std::pair{202, 192}, std::pair{150, 145}, std::pair{102, 93}, std::pair{2, 0}}) {
    s.bc = kPa(from);
    steps(1);
    EXPECT_EQ(s.bc, kPa(to)) << from;
  }
  s.ats_eb = true;  // protection: 13 a step at any notch
  steps(1);
  EXPECT_EQ(s.bc, kPa(13));
}

TEST_F(AirBrakeTest, GaugeFollowsTheCylinder) {
  useTrain(2, 8);
  train.BrakeDown = 0;  // a frozen release holds bc where the test puts it
  setNotch(0);
  s.bc = kPa(100);
  // Gaps above 50 move 300 / 30 = 10, above 30 move 5, above 10 move 2.5, else 1; the needle
  // stops on bc.
  const double expected[] = {10, 20,   30, 40, 50, 55, 60, 65, 70, 72.5, 75, 77.5, 80,  82.5,
                             85, 87.5, 90, 91, 92, 93, 94, 95, 96, 97,   98, 99,   100, 100};
  for (const double want : expected) {
    steps(1);
    EXPECT_EQ(s.bc_gauge, kPa(want));
  }
  s.bc_gauge = kPa(100.4L);
  steps(1);
  EXPECT_EQ(s.bc_gauge, kPa(100));
}

TEST_F(AirBrakeTest, ElectricBrakeHoldsTheGaugeAtElbrAboveLoseElec) {
  useTrain(2, 8);
  train.Mc = 1;
  startState();
  s.speed = 60;
  setNotch(-7);  // bc falls to 385 while the gauge rises 300 / 45 a step and holds at ELBR
  steps(300);
  EXPECT_EQ(s.bc, kPa(385));
  EXPECT_EQ(s.bc_gauge, kPa(200));
  s.speed = 4;  // below Lose_elec the air takes over
  steps(300);
  EXPECT_EQ(s.bc_gauge, kPa(385));
  s.speed = 60;
  steps(300);
  EXPECT_EQ(s.bc_gauge, kPa(200));
  setNotch(-1);  // bc 55, below ELBR: held only at exactly Lose_elec
  s.speed = 5;
  steps(300);
  EXPECT_EQ(s.bc, kPa(55));
  EXPECT_EQ(s.bc_gauge, kPa(200));
  s.speed = 6;
  steps(300);
  EXPECT_EQ(s.bc_gauge, kPa(55));
  s.speed = 60;
  setNotch(-8);  // emergency is air only
  steps(300);
  EXPECT_EQ(s.bc_gauge, s.bc);
  setNotch(0);
  steps(500);
  EXPECT_EQ(s.bc_gauge, Fixed());

  // A straight-air train brakes electrically only with er at 440 - 440 / 8 = 385 or more.
  useTrain(1, 8);
  s.bc = kPa(300);
  s.bc_gauge = kPa(203);
  setNotch(-7);
  s.er = 300;
  steps(1);
  EXPECT_EQ(s.bc_gauge, kPa(209.6667L));  // follows bc up
  s.er = 400;
  steps(1);
  EXPECT_EQ(s.bc_gauge, kPa(203));  // held: falls 6.6667
  steps(1);
  EXPECT_EQ(s.bc_gauge, kPa(200));  // and stops on ELBR
}

TEST_F(AirBrakeTest, PressuresStayWithinLimitsWhateverTheHandlingAndTrainData) {
  std::mt19937 random(12345);
  const auto pick = [&random](int count) { return static_cast<int>(random() % count); };
  for (int run = 0; run < 60; ++run) {
    useTrain(run % 3, run % 3 == 0 ? 4 : 8);
    train.Mc = run % 2;
    if (run >= 30) {  // bad data: too few positions, no emergency pressure, unknown types
      train.Brake = run % 4 - 1;
      train.EBPress = run % 5 == 0 ? 0 : 440;
      train.BrakeType = run % 5 - 1;
    }
    startState();
    for (int i = 0; i < 3000; ++i) {
      if (i % 37 == 0) {
        setNotch(-pick(9));
        s.sap_notch = -pick(9);
        s.ats_eb = pick(7) == 0;
        s.ats_pattern_brake = pick(5) == 0;
        s.speed = pick(100);
      }
      updateAirPressures(s, train);
      ASSERT_FALSE(std::isnan(static_cast<double>(s.er))) << run;
      ASSERT_GE(s.er, 0) << run;
      for (const Fixed p : {s.bc, s.bc_gauge, s.bp, s.mr, s.sap}) {
        ASSERT_GE(p, Fixed()) << run << " step " << i;
        ASSERT_LE(p, kPa(1000)) << run << " step " << i;
      }
      if (train.BrakeType == 0) {
        ASSERT_LE(s.bp, kPa(490));
      }
      if (train.BrakeType == 1) {
        ASSERT_LE(s.bp, kPa(500));
      }
    }
  }
  // A stepped brake without positions has no charged pressure to release from: bc stays.
  useTrain(1, 0);
  s.bc = kPa(100);
  s.bp = kPa(500);
  setNotch(0);
  steps(10);
  EXPECT_EQ(s.bc, kPa(100));
}

TEST_F(AirBrakeTest, ZeroRatesFreezeThePressures) {
  for (const int type : {0, 1, 2}) {
    useTrain(type, type == 0 ? 4 : 8);
    train.BrakeUp = 0;
    train.BrakeDown = 0;
    s.bc = kPa(100);
    s.mr = kPa(800);
    for (const int notch : {-3, type == 0 ? -4 : -8, 0}) {  // apply, emergency, release
      setNotch(notch);
      steps(100);
      EXPECT_EQ(s.bc, kPa(100)) << type << " " << notch;
      EXPECT_EQ(s.mr, kPa(800)) << type << " " << notch;
    }
  }
}

TEST_F(AirBrakeTest, CompressorCyclesBetweenItsPressuresWithItsSounds) {
  useTrain(1, 8);
  train.HighAirPress = 781;
  train.CP_Start = 1;
  train.CP_Cnt = 2;
  train.CP_End = 3;
  s.mr = kPa(780);  // not below LowAirPress
  runCompressor(drive);
  EXPECT_FALSE(s.compressor_on);
  s.mr = kPa(779.9L);  // starts, and fills 0.2 in the same tick
  runCompressor(drive);
  EXPECT_EQ(s.mr, kPa(780.1L));
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"once 1", "loop 2"}));
  for (int i = 0; i < 5; ++i)
    runCompressor(drive);
  EXPECT_EQ(s.mr, kPa(781.1L));  // 780.1 + 5 x 0.2
  EXPECT_TRUE(s.compressor_on);
  runCompressor(drive);  // at HighAirPress: stops without filling
  runCompressor(drive);
  EXPECT_FALSE(s.compressor_on);
  EXPECT_EQ(s.mr, kPa(781.1L));
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"once 1", "loop 2", "once 3", "stop 2"}));
  s.mr = kPa(700);  // drawn down: starts again, once
  runCompressor(drive);
  runCompressor(drive);
  EXPECT_EQ(sound.calls.size(), 6u);
}

TEST_F(AirBrakeTest, DeadManTimerRingsThenBrakesAfterTheLastHandleOperation) {
  train.EB = 1;
  train.DriveSoundCount = 10;
  train.Sound_EBring = 4;
  s.speed = 30;
  for (int i = 0; i < 300; ++i)
    runDeadManTimer(drive);
  resetDeadManTimer(drive);
  for (int i = 0; i < 600; ++i)
    runDeadManTimer(drive);
  EXPECT_TRUE(sound.calls.empty());
  runDeadManTimer(drive);  // tick 601
  EXPECT_EQ(sound.calls, std::vector<std::string>{"once 4"});
  EXPECT_TRUE(s.eb_lamp);
  for (int i = 0; i < 49; ++i)
    runDeadManTimer(drive);
  EXPECT_FALSE(s.ats_eb);
  runDeadManTimer(drive);  // tick 651
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"once 4", "stop 4"}));
  EXPECT_TRUE(s.ats_eb);
  EXPECT_EQ(s.eb_device_count, 0);
  EXPECT_TRUE(s.power_change_pending && s.brake_change_pending && s.sap_change_pending);

  // A handle operation silences the ring and puts out the lamp.
  s.eb_device_count = 620;
  runDeadManTimer(drive);
  resetDeadManTimer(drive);
  EXPECT_FALSE(sound.playing[4]);
  EXPECT_FALSE(s.eb_lamp);
  EXPECT_EQ(s.eb_device_count, 0);
  // It counts only above 1 km/h, and not at all when switched off or not fitted.
  s.speed = 1;
  runDeadManTimer(drive);
  s.speed = 30;
  s.deadman_off = true;
  runDeadManTimer(drive);
  s.deadman_off = false;
  train.EB = 0;
  runDeadManTimer(drive);
  EXPECT_EQ(s.eb_device_count, 0);
}

TEST_F(AirBrakeTest, RollBackGuardBrakesATrainRollingBackwards) {
  train.DriveSoundCount = 10;
  train.Sound_EB = 5;
  s.speed = -5;  // not faster than 5 km/h backwards
  train.Back = 1;
  runRollBackGuard(drive);
  s.speed = -10;
  s.reverser = 0;
  runRollBackGuard(drive);
  s.reverser = 1;
  train.Back = 0;
  runRollBackGuard(drive);
  EXPECT_FALSE(s.ats_eb);
  train.Back = 1;
  runRollBackGuard(drive);
  runRollBackGuard(drive);  // still rolling: the sound is not restarted
  EXPECT_TRUE(s.ats_eb);
  EXPECT_EQ(sound.calls, std::vector<std::string>{"once 5"});
}

TEST_F(AirBrakeTest, BrakeSoundsPlayOncePerReleaseAndGuardTheirTables) {
  useTrain(1, 8);
  for (std::size_t k = 0; k < 8; ++k) {
    train.Sound_BK[k] = static_cast<int>(10 + k);
    train.Sound_BR[k] = static_cast<int>(20 + k);
  }
  // Full release, once until the notch catches up and bc is empty.
  s.brake_handle = 0;
  s.brake_notch = -3;
  s.bc = kPa(100);
  playBrakeSounds(drive);
  playBrakeSounds(drive);
  s.brake_notch = 0;
  s.bc = Fixed();
  playBrakeSounds(drive);
  EXPECT_FALSE(s.brake_sound_once);
  // Partial release from step 5 to step 2 while bc - 10 > 440 / 8 x 2 = 110.
  s.brake_handle = -2;
  s.brake_notch = -5;
  s.bc = kPa(200);
  playBrakeSounds(drive);
  playBrakeSounds(drive);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"once 10", "once 22"}));
  s.bc = kPa(120);  // 110 is not above 110: the flag clears
  playBrakeSounds(drive);
  EXPECT_FALSE(s.brake_sound_once);
  // None under protection; none for entries the file did not give.
  s.bc = kPa(200);
  s.ats_pattern_brake = true;
  playBrakeSounds(drive);
  s.ats_pattern_brake = false;
  train.EBPress = 10;
  for (const auto& [brake, handle] : {std::pair{3, -5}, std::pair{100, -70}, std::pair{0, -1}}) {
    train.Brake = brake;
    s.brake_handle = handle;
    s.brake_notch = handle - 2;
    s.brake_sound_once = false;
    playBrakeSounds(drive);
  }
  EXPECT_EQ(sound.calls.size(), 2u);

  // The automatic brake's application sound loops in service while bc is below EBPress.
  train.BrakeType = 0;
  train.Brake = 4;
  train.EBPress = 440;
  train.Sound_Apply = 30;
  s.brake_notch = -3;
  s.bc = kPa(100);
  playBrakeSounds(drive);
  playBrakeSounds(drive);
  s.bc = kPa(440);
  playBrakeSounds(drive);
  playBrakeSounds(drive);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"once 10", "once 22", "loop 30", "stop 30"}));
}

}  // namespace
}  // namespace velimoro
