#include "cab/session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/drive_run.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

// The depot line runs without train protection whatever the settings say, and its first
// protection lamp stays dark; the Display menu's beginner mode switches protection and lamp
// together on any other line.
TEST(CabSession, TheDepotLineRunsUnprotectedAndTheBeginnerModeSwitchesProtectionAndLamp) {
  testing::TempDir root;
  std::filesystem::copy(testing::kScenarioRoot, root.path(),
                        std::filesystem::copy_options::recursive);
  std::filesystem::copy_file(root.file("line_scenario.dat"), root.file("line_in.dat"));
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  DriveSetup setup;
  setup.root = root.path();
  setup.trainFile = "electric_bt1.dat";
  setup.settings.ats = 0;
  for (const char* route : {"line_in.dat", "line_scenario.dat"}) {
    setup.routeFile = route;
    CabSession session(setup, DriveMedia{sound, pictures, messages, nullptr});
    const SimState& s = session.drive().state;
    const bool depot = std::string(route) == "line_in.dat";
    EXPECT_EQ(s.ats_active, !depot) << route;
    EXPECT_EQ(s.lamp_ats1, !depot) << route;
    session.input("setting", {"ats", "1"});
    EXPECT_FALSE(s.ats_active);
    EXPECT_FALSE(s.lamp_ats1);
    EXPECT_EQ(session.drive().setup.settings.ats, 1);
    session.input("setting", {"ats", "0"});
    EXPECT_TRUE(s.ats_active);
    EXPECT_TRUE(s.lamp_ats1);
  }
}

}  // namespace
}  // namespace velimoro
