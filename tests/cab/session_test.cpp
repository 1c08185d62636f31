#include "cab/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

// A settings store held in memory, as the window's store would keep it for the next drive.
class MemoryStore final : public media::SettingsStore {
 public:
  std::map<std::string, std::string> values;
  std::optional<int> readInt(const std::string&, const std::string& key) override {
    const auto it = values.find(key);
    return it == values.end() ? std::nullopt : std::optional<int>(std::stoi(it->second));
  }
  void writeInt(const std::string&, const std::string& key, int value) override {
    values[key] = std::to_string(value);
  }
  std::optional<std::string> readText(const std::string&, const std::string& key) override {
    const auto it = values.find(key);
    return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  void writeText(const std::string&, const std::string& key, const std::string& text) override {
    values[key] = text;
  }
  bool flush(const std::string&, std::string&) override { return true; }
};

// A route video of any name that remembers the frames it was last told a jump may land on.
class JumpListVideo final : public media::VideoReader {
 public:
  std::vector<int> jumps;
  bool open(const std::string&, std::string&) override { return true; }
  int frameCount() const override { return 100000; }
  bool decodeFrame(int, media::RgbPicture&) override { return false; }
  void prefetch(int, int) override {}
  void expectJumps(const std::vector<int>& frames) override { jumps = frames; }
};

// A restore jumps to the saved frame: the reader is told it, first and beside the stations'
// stop frames, as soon as the slot is saved and again when the next drive opens the video, so
// that it can have the frame ready; the restore then lands where the reader was told.
TEST(CabSession, TheReaderKeepsTheSavedPlacesReadyForTheirRestore) {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  DriveSetup setup;
  setup.root = testing::kScenarioRoot;
  setup.trainFile = "electric_bt1.dat";
  setup.routeFile = "line_scenario.dat";
  MemoryStore store;
  std::vector<int> stops;
  int savedFrame = -1;
  {
    CabSession session(setup, DriveMedia{sound, pictures, messages, nullptr});
    JumpListVideo video;
    std::string message;
    session.useSettingsStore(&store);
    ASSERT_TRUE(session.openVideo(video, message)) << message;
    stops = video.jumps;
    ASSERT_FALSE(stops.empty());
    session.input("start");
    session.input("set", {"speed", "60"});
    session.runUntil(20000);
    savedFrame = session.drive().state.frame;
    ASSERT_GT(savedFrame, 0);
    session.input("save", {"1"});
    std::vector<int> expected = {savedFrame};
    expected.insert(expected.end(), stops.begin(), stops.end());
    EXPECT_EQ(video.jumps, expected);
    session.runUntil(30000);
    session.input("load", {"1"});
    EXPECT_EQ(session.drive().state.frame, savedFrame);
  }
  CabSession next(setup, DriveMedia{sound, pictures, messages, nullptr});
  JumpListVideo video;
  std::string message;
  next.useSettingsStore(&store);
  ASSERT_TRUE(next.openVideo(video, message)) << message;
  ASSERT_FALSE(video.jumps.empty());
  EXPECT_EQ(video.jumps.front(), savedFrame);
  EXPECT_EQ(video.jumps.size(), stops.size() + 1);
}

}  // namespace
}  // namespace velimoro
