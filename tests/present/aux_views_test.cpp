// The value display's lines and the easy cab's lamp column against the drive.
#include "present/aux_views.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/test_support.h"

namespace velimoro {
namespace {

TEST(EasyCabLamps, ShowTheHandlesAndEmergencyLikeTheLastBrakeStep) {
  // brake handle, power handle -> lit brake lamps, neutral, lit power lamps
  struct Case {
    int brake, power, brakeLamps;
    bool neutral;
    int powerLamps;
  };
  // A train with nine brake positions: B8 and EB (-9) both light all eight brake lamps.
  for (const Case c :
       {Case{0, 0, 0, true, 0}, Case{0, 3, 0, false, 3}, Case{0, 5, 0, false, 5},
        Case{-1, 0, 1, false, 0}, Case{-8, 0, 8, false, 0}, Case{-9, 0, 8, false, 0}}) {
    SimState s;
    s.brake_handle = c.brake;
    s.power_handle = c.power;
    const EasyCabLamps lamps = easyCabLamps(s);
    int brakeLamps = 0, powerLamps = 0;
    for (std::size_t n = 0; n < lamps.brake.size(); ++n) {
      // The lamps light from the first step up, without gaps.
      EXPECT_EQ(lamps.brake[n], static_cast<int>(n) < -c.brake) << c.brake;
      brakeLamps += lamps.brake[n];
    }
    for (bool lit : lamps.power)
      powerLamps += lit;
    EXPECT_EQ(brakeLamps, c.brakeLamps);
    EXPECT_EQ(lamps.neutral, c.neutral);
    EXPECT_EQ(powerLamps, c.powerLamps);
  }
}

TEST(ValueDisplayRows, TheAccelerationIsTheSpeedsChangeOverTheLastSecondOfTicks) {
  struct Sample {
    std::int64_t ms;
    double speed;
  };
  std::vector<Sample> samples;
  EXPECT_EQ(accelerationOverLastSecond(samples), 0);
  // 2 km/h/s for two seconds, then 5 km/h/s, a sample a tick.
  for (int tick = 0; tick <= 23; ++tick) {
    const double t = tick / 10.0;
    samples.push_back({tick * 100, t <= 2 ? 2 * t : 4 + 5 * (t - 2)});
  }
  // The last second: from 1.3 s (2.6 km/h) to 2.3 s (5.5 km/h).
  EXPECT_NEAR(accelerationOverLastSecond(samples), 2.9, 1e-9);
  samples.erase(samples.begin(), samples.end() - 4);  // 2.0 .. 2.3 s only: 5 km/h/s
  EXPECT_NEAR(accelerationOverLastSecond(samples), 5.0, 1e-9);
  samples.erase(samples.begin(), samples.end() - 1);
  EXPECT_EQ(accelerationOverLastSecond(samples), 0);
}

// The value display's value under `caption`.
std::string shownValue(const SimDrive& drive, const std::string& caption) {
  for (const ValueRow& row : valueDisplayRows(drive, 0, 0)) {
    if (row.caption == caption) return row.value;
  }
  ADD_FAILURE() << "no line " << caption;
  return {};
}

TEST(ValueDisplayRows, TheNextLimitIsTheNearestAheadAndOnlyARailcarShowsItsEngine) {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  SimDrive drive(DriveSetup{}, DriveMedia{sound, pictures, messages, nullptr});
  RouteData& route = *drive.route;
  // Limits in no order of place: 60 km/h behind the train, 45 and 90 ahead, 90 the nearest.
  route.speedLimitCount = 3;
  route.speedLimits[0].limit = 45;
  route.speedLimits[0].positionCm = 50000;
  route.speedLimits[1].limit = 90;
  route.speedLimits[1].positionCm = 22350;
  route.speedLimits[2].limit = 60;
  route.speedLimits[2].positionCm = 5000;
  SimState& s = drive.state;
  s.position_cm = 10000;
  s.next_stop_cm = 99000;  // the next stop is no limit
  EXPECT_EQ(shownValue(drive, "next_limit_dist"), "123.5 m");
  EXPECT_EQ(shownValue(drive, "next_limit_speed"), "90 km/h");
  s.position_cm = 60000;
  EXPECT_EQ(shownValue(drive, "next_limit_dist"), "-");
  EXPECT_EQ(shownValue(drive, "next_limit_speed"), "-");

  s.gear_index = 2;
  s.gear = 1;
  drive.train->Engine_Type = 1;
  EXPECT_EQ(shownValue(drive, "rpm"), "-");
  drive.train->Engine_Type = 0;
  EXPECT_EQ(shownValue(drive, "rpm"), "2 / 1");
  s.engine_running = false;
  EXPECT_EQ(shownValue(drive, "rpm"), "停止中");
}

}  // namespace
}  // namespace velimoro
