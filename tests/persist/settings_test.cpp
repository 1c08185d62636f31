#include "persist/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "media/qt_settings_store.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

// The settings store on its real files, in a config folder of the test's own (the store finds
// its folder once per process, so the whole life of the settings runs in one test).
TEST(Settings, FirstRunDefaultsThenKeptValuesAndControllerCodesUpToTheFirstMissing) {
  static testing::TempDir config;
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  const std::string file = config.file("Dorvanel/velimoro.ini");

  media::QtSettingsStore first;
  StoredSettings stored = readSettings(first);
  EXPECT_TRUE(stored.firstRun);
  EXPECT_EQ(stored.settings.kanko, 0);
  EXPECT_EQ(stored.settings.information, 1);
  EXPECT_EQ(stored.settings.ats, 1);
  stored.settings.ats = 0;
  std::string error;
  ASSERT_TRUE(writeSettings(first, stored.settings, error)) << error;
  EXPECT_EQ(first.location(kSettingsApplication), file);

  media::QtSettingsStore second;
  stored = readSettings(second);
  EXPECT_FALSE(stored.firstRun);
  EXPECT_EQ(stored.settings.ats, 0);
  EXPECT_EQ(stored.settings.aids, 1);

  // A store written before the driver aids had a key is no first run; the aids come on.
  std::ofstream(file) << "[General]\nKanko=0\nInformation=1\nATS=0\n";
  media::QtSettingsStore older;
  stored = readSettings(older);
  EXPECT_FALSE(stored.firstRun);
  EXPECT_EQ(stored.settings.aids, 1);

  // A damaged file: the values that read are kept, the rest take their defaults.
  std::ofstream(file) << "[General]\nKanko=1\nInformation=yes\n\x01\x02 garbage\n";
  media::QtSettingsStore damaged;
  stored = readSettings(damaged);
  EXPECT_TRUE(stored.firstRun);
  EXPECT_EQ(stored.settings.kanko, 1);
  EXPECT_EQ(stored.settings.information, 1);
  EXPECT_EQ(stored.settings.ats, 1);

  // The game controller's codes stop at the first missing one without a word.
  std::ofstream(config.file("Dorvanel/dgcontroller.ini"))
      << "[General]\nP0=10\nP1=11\nP2=12\nP3=13\nP5=15\nB0=20\nEB=99\n";
  media::QtSettingsStore codes;
  ControllerMap map;
  map.BrakeCode[0] = -1;
  readControllerCodes(codes, map);
  EXPECT_EQ(map.PowerCode[3], 13);
  EXPECT_EQ(map.PowerCode[4], 0);
  EXPECT_EQ(map.PowerCode[5], 0);
  EXPECT_EQ(map.BrakeCode[0], -1);
  EXPECT_EQ(map.EmergencyCode, 0);
  // Codes stored by the controller setup come back whole at the next start-up.
  ControllerMap learnt;
  for (int i = 0; i < 6; ++i)
    learnt.PowerCode[static_cast<std::size_t>(i)] = -100 * i;
  for (int i = 0; i < 9; ++i)
    learnt.BrakeCode[static_cast<std::size_t>(i)] = i + 1;
  learnt.EmergencyCode = 12;
  ASSERT_TRUE(writeControllerCodes(codes, learnt, error)) << error;
  media::QtSettingsStore nextStart;
  ControllerMap read;
  readControllerCodes(nextStart, read);
  EXPECT_EQ(read.PowerCode, learnt.PowerCode);
  EXPECT_EQ(read.BrakeCode, learnt.BrakeCode);
  EXPECT_EQ(read.EmergencyCode, 12);

  // A store that cannot be written says so, naming its file, and nothing is lost.
  std::filesystem::remove(file);
  std::filesystem::create_directories(file);  // a folder where the file belongs
  media::QtSettingsStore blocked;
  EXPECT_FALSE(writeSettings(blocked, DriveSettings(), error));
  EXPECT_NE(error.find(file), std::string::npos) << error;
}

}  // namespace
}  // namespace velimoro
