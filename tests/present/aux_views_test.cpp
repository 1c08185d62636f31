// The easy cab's lamp column against the handles.
#include "present/aux_views.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velimoro
