// Drives of the scenario trains on the scenario route through the headless driver, checked on
// their traces and events.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "support/drive_run.h"

namespace velimoro::headless {
namespace {

using velimoro::testing::CsvRow;
using velimoro::testing::DriveRun;
using velimoro::testing::number;

// Runs `train` on the scenario route with `script` (a "0 start" line comes first) for
// `seconds`.
DriveRun drive(const std::string& train, const std::string& script, double seconds, int start = 0,
               const std::string& route = "line_scenario.dat") {
  Options o =
      velimoro::testing::driveOptions(velimoro::testing::kScenarioRoot, route, train, seconds);
  o.start = start;
  o.settings.ats = 0;
  DriveRun run = velimoro::testing::runHeadlessDrive(o, "0 start\n" + script);
  EXPECT_EQ(run.status, 0) << run.err;
  return run;
}

// The highest and the lowest value of `column` over the ticks from `from` to `to` seconds.
double highest(const DriveRun& d, const std::string& column, double from, double to) {
  double best = -1e300;
  for (double t = from; t <= to + 1e-9; t += 0.1)
    best = std::max(best, d.number(t, column));
  return best;
}
double lowest(const DriveRun& d, const std::string& column, double from, double to) {
  double best = 1e300;
  for (double t = from; t <= to + 1e-9; t += 0.1)
    best = std::min(best, d.number(t, column));
  return best;
}

// Seconds after the start of the first event of `kind` on `channel` from `after` on, or -1.
double firstEvent(const DriveRun& d, const std::string& kind, int channel, double after = 0) {
  const int start = velimoro::testing::fastTickOf(d.trace.front()) - 3;
  for (const int tick : d.eventTicks(kind, channel)) {
    const double seconds = (tick - start) / 30.0 * 0.99;
    if (seconds >= after) return seconds;
  }
  return -1;
}

// Script lines that move the handles as the handle input does.
std::string brake(double at, int position) {
  std::ostringstream s;
  s << at << " set brake_handle " << position << "\n"
    << at << " set brake_change_pending 1\n"
    << at << " set sap_change_pending 1\n";
  return s.str();
}
std::string power(double at, int notch) {
  std::ostringstream s;
  s << at << " set power_handle " << notch << "\n" << at << " set power_change_pending 1\n";
  return s.str();
}

TEST(ElectricScenario, AcceleratesHarderInHigherNotchesAndLessOnAClimb) {
  std::vector<double> speeds;
  for (int notch = 1; notch <= 5; ++notch) {
    const DriveRun d = drive("electric_bt1.dat", brake(1, 0) + power(20, notch), 40);
    // Released without power: at most the starting resistance's creep.
    EXPECT_NEAR(d.number(19.9, "speed"), 0, 0.05);
    speeds.push_back(d.number(40, "speed"));
    EXPECT_GT(d.number(40, "force"), 0);
  }
  for (std::size_t i = 1; i < speeds.size(); ++i)
    EXPECT_GT(speeds[i], speeds[i - 1]);
  // Notch 5 for 20 s from rest: 3.3 km/h/s falling off above 42 km/h, less resistance.
  EXPECT_GT(speeds[4], 40);
  EXPECT_LT(speeds[4], 66);

  const DriveRun climb = drive("electric_bt1.dat", brake(1, 0) + power(20, 5), 40, 1);
  EXPECT_EQ(climb.number(40, "gradient"), 10);
  EXPECT_LT(climb.number(40, "speed"), speeds[4] - 2);
}

TEST(ElectricScenario, CoastsThenBrakesToAStandWithoutReversing) {
  const DriveRun d =
      drive("electric_bt1.dat", brake(1, 0) + power(20, 5) + power(45, 0) + brake(60, -6), 120);
  const double coastStart = d.number(46, "speed");
  EXPECT_LT(d.number(59, "speed"), coastStart);      // running resistance slows it
  EXPECT_GT(d.number(59, "speed"), coastStart - 3);  // but only a little
  EXPECT_EQ(d.number(120, "speed"), 0);
  EXPECT_GE(lowest(d, "speed", 60, 120), 0);  // never backwards
  EXPECT_EQ(d.number(120, "force"), 0);
}

TEST(ElectricScenario, SlipsOnLowAdhesion) {
  const DriveRun d =
      drive("electric_bt1.dat", brake(1, 0) + power(20, 5), 30, 0, "line_slippery.dat");
  bool slipped = false;
  for (const CsvRow& r : d.trace)
    slipped = slipped || r.at("slip_text") == "空転";
  EXPECT_TRUE(slipped);
}

TEST(AirBrakeScenario, StraightAirBrakeSettlesAtEachStep) {
  // Service step 4 of 8: 440 / 8 x 4 = 220 kPa, held within 10 kPa below it.
  const DriveRun d =
      drive("electric_bt1.dat", brake(1, 0) + brake(30, -4) + brake(45, -9) + brake(60, 0), 90);
  EXPECT_LT(d.number(25, "bc"), 1);  // released once the brake pipe recharged
  EXPECT_GT(d.number(44, "bc"), 210);
  EXPECT_LE(d.number(44, "bc"), 220);
  EXPECT_EQ(d.number(59, "bc"), 440);  // emergency
  EXPECT_EQ(d.number(90, "bc"), 0);
  EXPECT_LE(highest(d, "bp", 1, 90), 500);
  EXPECT_GE(lowest(d, "mr", 1, 90), 0);
  // The motor car's gauge shows the cylinder at rest.
  EXPECT_NEAR(d.number(44, "bc_gauge"), d.number(44, "bc"), 10);
}

TEST(AirBrakeScenario, ElectricCommandBrakeSettlesAtEachStep) {
  // Step 4 of 9: 440 / 9 x 4 = 195.6 kPa.
  const DriveRun d =
      drive("electric_bt2.dat", brake(1, 0) + brake(20, -4) + brake(35, -9) + brake(50, 0), 70);
  EXPECT_LT(d.number(19, "bc"), 1);
  EXPECT_GT(d.number(34, "bc"), 185.6);
  EXPECT_LE(d.number(34, "bc"), 195.6);
  EXPECT_EQ(d.number(49, "bc"), 440);
  EXPECT_EQ(d.number(70, "bc"), 0);
}

TEST(AirBrakeScenario, AutomaticAirBrakeAppliesLapsAndReleases) {
  const DriveRun d =
      drive("electric_bt0.dat",
            brake(1, 0) + brake(30, -3) + brake(31, -2) + brake(45, -4) + brake(60, 0), 100);
  EXPECT_LT(d.number(29, "bc"), 1);  // running position: released
  EXPECT_NEAR(d.number(29, "bp"), 490, 1);
  const double lapped = d.number(35, "bc");
  EXPECT_GT(lapped, 10);
  EXPECT_EQ(d.number(44, "bc"), lapped);  // lap holds the pressure
  EXPECT_EQ(d.number(59, "bc"), 440);     // emergency
  EXPECT_LT(d.number(100, "bc"), 1);
  EXPECT_LE(highest(d, "bp", 1, 100), 490);
}

TEST(AirBrakeScenario, CompressorCyclesWithItsSounds) {
  // 770 kPa is below [LowAirPress] 780: the compressor starts and fills to 880 at 0.2 a tick.
  const DriveRun d = drive("electric_bt1.dat", "0.5 set mr 770\n", 60);
  EXPECT_EQ(d.number(1, "compressor_on"), 1);
  EXPECT_GE(firstEvent(d, "play_once", 12), 0);       // [CP_Start]
  EXPECT_GE(firstEvent(d, "play_loop", 13), 0);       // [CP_Cnt]
  const double end = firstEvent(d, "play_once", 14);  // [CP_End]
  EXPECT_GT(end, 50);
  EXPECT_EQ(d.number(60, "compressor_on"), 0);
}

TEST(AirBrakeScenario, DeadManTimerRingsThenBrakes) {
  // Moving from 20 s; the last handle operation comes at 30.05 s, between two ticks.
  const DriveRun d =
      drive("electric_bt1.dat", brake(1, 0) + power(20, 2) + "30.05 set eb_device_count 0\n", 100);
  EXPECT_EQ(d.number(90.0, "eb_lamp"), 0);
  EXPECT_EQ(d.number(90.1, "eb_lamp"), 1);  // 601 ticks: 60.1 s
  EXPECT_EQ(d.number(95.0, "ats_eb"), 0);
  EXPECT_EQ(d.number(95.1, "ats_eb"), 1);  // 651 ticks: 65.1 s
  // [Sound_EBring] on channel 10 starts with the lamp.
  const double ring = std::max(firstEvent(d, "play_loop", 10), firstEvent(d, "play_once", 10));
  EXPECT_NEAR(ring, 90.1, 0.2);
}

TEST(DieselScenario, AutomaticGearboxShiftsUpWithoutTractionDuringTheChange) {
  // Handle operations every 30 s keep the dead-man timer quiet.
  const DriveRun d = drive("diesel_at.dat",
                           brake(1, 0) + power(10, 4) + "40 set eb_device_count 0\n" +
                               "70 set eb_device_count 0\n" + "100 set eb_device_count 0\n",
                           140);
  EXPECT_EQ(d.number(9.9, "gear_index"), 1);
  EXPECT_EQ(d.number(140, "gear_index"), 3);  // above 45 and 75 km/h
  EXPECT_EQ(highest(d, "ats_eb", 10, 140), 0);
  // While a change is under way the fast steps give no tractive force (the tick that decides
  // the change still shows the force from before it).
  int shiftingTicks = 0;
  bool wasShifting = false;
  for (const CsvRow& r : d.trace) {
    const bool shifting = r.at("gear_shifting") == "1";
    if (shifting) {
      ++shiftingTicks;
      if (wasShifting) {
        EXPECT_LE(number(r, "force"), 0) << "tick " << r.at("tick_count");
      }
    }
    wasShifting = shifting;
  }
  // Two changes of one second each: the deciding tick counts as the first of ten, and the
  // tenth ends the change.
  EXPECT_EQ(shiftingTicks, 18);
}

TEST(DieselScenario, ManualGearboxStallsWhenPowerIsTakenAtRestInTheTopGear) {
  const DriveRun d = drive("diesel_mt.dat", brake(1, 0) + "5 set gear 3\n" + power(10, 2), 20);
  EXPECT_EQ(d.number(10.5, "engine_running"), 1);  // the change takes one second first
  EXPECT_EQ(d.number(12, "engine_running"), 0);
  EXPECT_EQ(d.number(12, "power_notch"), 0);
  EXPECT_GE(firstEvent(d, "play_once", 19), 10);  // the engine-stop sound
}

}  // namespace
}  // namespace velimoro::headless
