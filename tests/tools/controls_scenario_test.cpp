// A drive on the keys and the wheel alone through the headless driver, checked on the handle
// texts of its trace.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/drive_run.h"
#include "support/test_support.h"

namespace velimoro::headless {
namespace {

using velimoro::testing::DriveRun;
using velimoro::testing::kScenarioRoot;

// Runs the scenario train with two handles and a Hold position on the scenario route.
DriveRun drive(const std::string& script, double seconds, const std::string& root = kScenarioRoot) {
  Options o =
      velimoro::testing::driveOptions(root, "line_scenario.dat", "electric_bt1.dat", seconds);
  o.settings.ats = 0;
  return velimoro::testing::runHeadlessDrive(o, script);
}

// Lines "<t> <command>" at `t`, `t` + 0.2, ... for each command.
std::string every200ms(double t, const std::vector<std::string>& commands) {
  std::ostringstream s;
  for (const std::string& command : commands) {
    s << t << " " << command << "\n";
    t += 0.2;
  }
  return s.str();
}

TEST(ControlsScenario, DrivesFromTheFirstStationToAStopOnKeysAndWheel) {
  const std::string script =
      "0 start\n" +
      every200ms(1.0, {"key ,", "wheel down", "key 8", "key ,", "key ,", "key ,", "key ,", "key ,",
                       "key ,", "key ,"}) +
      every200ms(20.0, {"key z", "key z", "key z", "key z"}) + "30 key b\n" +
      every200ms(40.0, {"key a", "key a", "key a", "key a"}) +
      every200ms(41.0, {"key .", "key .", "key .", "key .", "key ."}) + "80 key n\n" +
      every200ms(80.2, {"wheel up", "wheel up", "wheel up", "wheel up", "wheel up"}) + "82 quit\n";
  const DriveRun d = drive(script, 90);
  ASSERT_EQ(d.status, 0) << d.err;

  // The start: forward, emergency brake, power off.
  EXPECT_EQ(d.at(0.1).at("reverser_text"), "前進");
  EXPECT_EQ(d.at(0.1).at("brake_text"), "非常");
  EXPECT_EQ(d.at(0.1).at("power_text"), "切");
  // Off the brake: by the release key, the wheel and the combined key, then Hold and release.
  const std::pair<double, const char*> release[] = {{1.0, "B8"}, {1.2, "B7"},   {1.4, "B6"},
                                                    {2.4, "B1"}, {2.6, "抑速"}, {2.8, "切"}};
  for (const auto& [t, text] : release) {
    EXPECT_EQ(d.at(t).at("brake_text"), text) << t;
  }
  EXPECT_EQ(d.at(2.6).at("hold_engaged"), "1");
  EXPECT_EQ(d.at(2.8).at("hold_engaged"), "0");
  EXPECT_EQ(d.number(2.9, "brake_notch"), 0);
  // Power, the notch taking effect after the train's delay.
  const std::pair<double, const char*> power[] = {{20.0, "1"}, {20.4, "3"}, {20.6, "4"}};
  for (const auto& [t, text] : power) {
    EXPECT_EQ(d.at(t).at("power_text"), text) << t;
  }
  EXPECT_EQ(d.number(20.7, "power_notch"), 4);
  // The reverser does not move at speed.
  EXPECT_GT(d.number(30, "speed"), 1);
  EXPECT_EQ(d.at(30).at("reverser_text"), "前進");
  // Power off and brake: through Hold to B4.
  EXPECT_EQ(d.at(40.6).at("power_text"), "切");
  EXPECT_EQ(d.number(40.9, "power_notch"), 0);
  const std::pair<double, const char*> brake[] = {
      {41.0, "抑速"}, {41.2, "B1"}, {41.4, "B2"}, {41.8, "B4"}};
  for (const auto& [t, text] : brake) {
    EXPECT_EQ(d.at(t).at("brake_text"), text) << t;
  }
  EXPECT_GT(d.number(40, "speed"), 30);
  EXPECT_EQ(d.number(79.9, "speed"), 0);
  for (double t = 21; t < 80; t += 0.1) {
    EXPECT_GE(d.number(t, "speed"), 0) << t;
  }
  // At rest: neutral, then the wheel on to EB.
  EXPECT_EQ(d.at(80).at("reverser_text"), "中立");
  EXPECT_EQ(d.at(80.8).at("brake_text"), "B8");
  EXPECT_EQ(d.at(81).at("brake_text"), "非常");
  EXPECT_EQ(d.number(81, "brake_handle"), -9);
  EXPECT_FALSE(d.eventTicks("play_once", 1).empty());  // [Sound_EB] on channel 1
}

TEST(ControlsScenario, KeysBeforeStartAreIgnoredButTheWheelAndVirtualKeysAreNot) {
  const DriveRun d = drive(
      "0 key ,\n0 key z\n0 wheel down\n0 wheel down\n0 vkey ScrollLock\n0 start\n0.5 key 8\n", 1);
  ASSERT_EQ(d.status, 0) << d.err;
  EXPECT_EQ(d.at(0.1).at("brake_text"), "B7");
  EXPECT_EQ(d.at(0.1).at("power_text"), "切");
  EXPECT_EQ(d.at(0.5).at("brake_text"), "B8");  // "8" swapped for "2": one step more braking
}

TEST(ControlsScenario, ADataRootWithoutTheControllerMapOrTheStringFileCannotStart) {
  velimoro::testing::TempDir root;
  for (const char* name : {"electric_bt1.dat", "line_scenario.dat"}) {
    std::filesystem::copy_file(kScenarioRoot + "/" + name, root.file(name));
  }
  DriveRun d = drive("0 start\n", 1, root.path());
  EXPECT_EQ(d.status, 1);
  EXPECT_EQ(d.err, "mascon.datが見つかりません\n");
  // "mascon.dat" is read first; the lines after "#" and past the 26th are left alone.
  root.writeBytes("mascon.dat", "MP1\r\n# the rest\r\n\xff\xfe\r\n");
  d = drive("0 start\n", 1, root.path());
  EXPECT_EQ(d.status, 1);
  EXPECT_EQ(d.err, "stringファイルに誤りがあります:dorvanel.dat\n");
}

// The serial master controller's codes of the scenario's "mascon.dat" and then the analogue-axis
// game controller drive the train away and back to a stand; the handles follow each input at
// once and the notches after the train's delays.
TEST(ControlsScenario, TheSerialControllerAndTheGamePadDriveTheTrain) {
  const DriveRun d = drive(
      "0 start\n1 serial MN\n1.5 serial MP%0D%0AMP2\n2 serial MP4\n2 serial BHRN\n"
      "25 serial MB3\n25.5 serial RB\n"  // the reverser does not move at speed
      "26 controller 1\n26 joystick 0 -20001 0\n"
      "30 joystick 13001 0 10\n"  // EB, and button 4 posts the call-out key
      "70 joystick 0 0 0\n70 controller 0\n70.5 serial RB\n71 quit\n",
      72);
  ASSERT_EQ(d.status, 0) << d.err;
  EXPECT_EQ(d.at(1.0).at("brake_text"), "切");
  EXPECT_EQ(d.at(1.5).at("power_text"), "切");  // "MP\r\nM" is no code
  EXPECT_EQ(d.at(2.0).at("power_text"), "4");
  EXPECT_EQ(d.number(2.5, "power_notch"), 4);
  EXPECT_FALSE(d.eventTicks("play_once", 6).empty());  // the horn button: [Sound_Horn]
  EXPECT_EQ(d.at(25.0).at("power_text"), "切");
  EXPECT_EQ(d.at(25.0).at("brake_text"), "B3");
  EXPECT_EQ(d.at(25.5).at("reverser_text"), "前進");
  EXPECT_GT(d.number(25.5, "speed"), 1);
  // The game controller: P4 at once (the tick scans it), then EB.
  EXPECT_EQ(d.at(26.0).at("power_text"), "4");
  EXPECT_EQ(d.at(26.0).at("brake_text"), "切");
  EXPECT_EQ(d.at(30.0).at("brake_text"), "非常");
  EXPECT_EQ(d.number(69.9, "speed"), 0);
  // Back on the serial controller at rest, the reverser moves.
  EXPECT_EQ(d.at(70.5).at("reverser_text"), "後進");
}

}  // namespace
}  // namespace velimoro::headless
