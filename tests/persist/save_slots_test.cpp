#include "persist/save_slots.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cab/trace.h"

#include "media/qt_settings_store.h"
#include "persist/settings.h"
#include "present/station_jump.h"
#include "support/relocation_drive.h"

namespace velimoro {
namespace {

struct SaveSlots : ::testing::Test, testing::RelocationDrive {
  // The store finds its folder once per process: the slots of this program live here.
  static const testing::TempDir& config() {
    static testing::TempDir dir;
    return dir;
  }
  SaveSlots() { setenv("XDG_CONFIG_HOME", config().path().c_str(), 1); }

  // The drive between B and C, as the slots below saved it.
  void putBetweenBAndC(long double speed) {
    s.speed = speed;
    s.frame = 600;
    s.position_cm = 60000;
    s.fast_tick_count = 40000;
    s.window_station = 0;
    s.pre_train_frame = 700;
  }

  // Restores slot `slot` from the settings file as it stands on the disk, with the message a
  // failure shows; "" when it restored.
  std::string load(int slot) {
    media::QtSettingsStore onDisk;
    std::string message, fault;
    const std::optional<SavedState> saved = readSlot(onDisk, slot, drive, message, fault);
    if (saved) restoreState(drive, *saved);
    EXPECT_EQ(fault.empty(), message != kDamagedMessage) << fault;
    return message;
  }

  // The drive's state as the trace shows it.
  std::string fingerprint() const {
    std::ostringstream row;
    writeTraceRow(row, s);
    return row.str();
  }

  media::QtSettingsStore store;
  std::string error;
};

// A slot saved at a stand and one saved while moving, restored after a jump elsewhere: the
// place, clock and preceding train come back, the doors are closed and the power off, and the
// brake holds on full service at a stand but is released for a train that was moving.
TEST_F(SaveSlots, RestoreBringsBackThePlaceWithTheBrakeAsTheTrainWasMoving) {
  putBetweenBAndC(0);
  ASSERT_TRUE(saveSlot(store, 1, drive, error)) << error;
  EXPECT_EQ(storedLine(store, 1), "line_test.dat,0,0,600,40000,60000,700");
  EXPECT_EQ(storedLabel(store, 1), "普通（B～C）");
  putBetweenBAndC(42.6L);
  ASSERT_TRUE(saveSlot(store, 2, drive, error)) << error;
  EXPECT_EQ(storedLine(store, 2), "line_test.dat,0,43,600,40000,60000,700");

  for (int slot : {1, 2}) {
    jumpToStation(pass, drive, nullptr, 2);
    s.doors_open = s.door_cmd = true;
    s.power_handle = s.power_notch = 2;
    EXPECT_EQ(load(slot), "");
    EXPECT_EQ(s.frame, 600);
    EXPECT_EQ(s.position_cm, 60000);
    EXPECT_EQ(s.fast_tick_count, 40000);
    EXPECT_EQ(s.pre_train_frame, 700);
    EXPECT_EQ(s.remain_cm, 40000);  // to C: B is passed through
    EXPECT_EQ(s.announce_index, 1);
    EXPECT_FALSE(s.doors_open);
    EXPECT_EQ(s.power_handle, 0);
    EXPECT_EQ(s.speed, slot == 1 ? 0 : 43);
    EXPECT_EQ(s.brake_handle, slot == 1 ? -7 : 0);
    EXPECT_EQ(s.brake_notch, s.brake_handle);
  }

  // The last station's label has no second name; before the first stop point there is none,
  // though the state line is kept.
  s.position_cm = 250000;
  EXPECT_EQ(slotLabel(*drive.route, s.position_cm), "普通（D～）");
  s.position_cm = 9999;
  ASSERT_TRUE(saveSlot(store, 3, drive, error)) << error;
  EXPECT_EQ(storedLabel(store, 3), "");
  EXPECT_FALSE(storedLine(store, 3).empty());
}

// A slot the drive cannot have saved is refused with its message and the drive stays as it is:
// an empty one, one of another route, and damaged lines written by hand into the settings file.
// A line written without quotes reads as the text it is. A store that cannot be written says
// so, naming it, and the slot keeps what it held.
TEST_F(SaveSlots, FaultsLeaveTheDriveAndTheSlotAsTheyWere) {
  putBetweenBAndC(0);
  ASSERT_TRUE(saveSlot(store, 1, drive, error)) << error;
  const std::string saved = storedLine(store, 1);
  jumpToStation(pass, drive, nullptr, 2);
  const std::string before = fingerprint();
  const std::string file = store.location(kSettingsApplication);
  // Each hand-written file gets a time of its own: the store reads a file again only when its
  // size or time has changed, and two of these lines have the same length.
  auto written = std::filesystem::file_time_type::clock::now();
  const auto handWritten = [&](const std::string& value) {
    std::ofstream(file) << "[General]\nSave1=" << saved << "\nSave2=" << value << "\n";
    written += std::chrono::seconds(2);
    std::filesystem::last_write_time(file, written);
    return load(2);
  };
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"", kNothingSavedMessage},
      {"\"line_other.dat,0,0,600,40000,60000,700\"", kOtherRouteMessage},
      {"line_test.dat,0,0,600", kDamagedMessage},                      // short
      {"line_test.dat,0,fast,600,40000,60000,700", kDamagedMessage},   // not a number
      {"line_test.dat,7,0,600,40000,60000,700", kDamagedMessage},      // no such station
      {"line_test.dat,2,0,600,40000,60000,700", kDamagedMessage},      // C lies ahead
      {"line_test.dat,0,0,3001,40000,300100,700", kDamagedMessage},    // past the last frame
      {"line_test.dat,0,0,-5,40000,-500,700", kDamagedMessage},        // before the first
      {"line_test.dat,0,131,600,40000,60000,700", kDamagedMessage},    // another train's speed
      {"line_test.dat,0,0,600,40000,61001,700", kDamagedMessage},      // not the frame's place
      {"line_test.dat,0,0,600,2682001,60000,700", kDamagedMessage},    // a day after the last
      {"line_test.dat,0,0,600,40000,60000,-1", kDamagedMessage},       // preceding train
      {"line_test.dat,0,1e400,600,40000,60000,700", kDamagedMessage},  // huge numbers
      {"line_test.dat,0,0,99999999999,40000,60000,700", kDamagedMessage},
      {"line_test.dat,0,0,600,2147483647,60000,700", kDamagedMessage},
      {"line_test.dat,0,0,600,40000,1e4000,700", kDamagedMessage},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(handWritten(c.line), c.message) << c.line;
    EXPECT_EQ(fingerprint(), before) << c.line;
  }
  EXPECT_EQ(handWritten("line_test.dat,0,43,600,40000,60600,700"), "");
  EXPECT_EQ(s.frame, 600);
  EXPECT_EQ(s.speed, 43);

  std::filesystem::remove(file);
  std::filesystem::create_directories(file);  // a folder where the file belongs
  EXPECT_FALSE(saveSlot(store, 1, drive, error));
  EXPECT_NE(error.find(file), std::string::npos) << error;
  EXPECT_EQ(storedLine(store, 1), saved);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace velimoro
