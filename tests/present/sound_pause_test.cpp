#include "present/sound_pause.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include "present/sound_channels.h"
#include "support/drive_run.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using Calls = std::vector<std::string>;

TEST(SoundPause, PauseStopsWhatPlaysAndResumeRestartsItOnceOrLooped) {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  playChannel(drive, 3, true);
  playChannel(drive, 5, false);
  playChannel(drive, 7, true);
  stopChannel(drive, 7);
  sound.play(9, true);  // started past this system: taken to play once
  sound.calls.clear();
  pauseSounds(drive);
  EXPECT_EQ(sound.calls, (Calls{"stop 3", "stop 5", "stop 9"}));
  sound.calls.clear();
  resumeSounds(drive);
  EXPECT_EQ(sound.calls, (Calls{"loop 3", "once 5", "once 9"}));
  sound.calls.clear();
  resumeSounds(drive);  // the pause was resumed already
  EXPECT_TRUE(sound.calls.empty());
}

TEST(SoundPause, TheHeadlessStartCommandPausesAndResumesTheSounds) {
  testing::TempDir dir;
  dir.writeCp932("train.dat",
                 testing::crlfLines({"[Handle]", "1", "[BrakeType]", "1", "[Brake]", "9", "[Power]",
                                     "5", "[EBPress]", "440", "[HighAirPress]", "880",
                                     "[Engine_Type]", "1", "[Cars]", "4", "[Tons]", "140"}));
  // A looping route sound starts at the start frame.
  dir.writeCp932("route.dat",
                 testing::crlfLines({"[StartPos]", "100", "[FrameRate]", "30", "[SoundData]",
                                     "a.wav", "#", "[Sound]", "0,100,5000,50,1,0,0", "#",
                                     "[Station]", "A,2,100,300,-1,-1,0,0,0,0,0,0,0,0", "#",
                                     "[SpeedUnit]", "0,10000,36,36", "#"}));
  dir.writeCp932("dorvanel.dat", testing::crlfLines({"[Forward]", "前進"}));
  dir.writeCp932("mascon.dat", "MP1\r\n");
  dir.writeBytes("a.wav", testing::waveFile(1));
  const testing::DriveRun run =
      testing::runHeadlessDrive(testing::driveOptions(dir.path(), "route.dat", "train.dat", 3),
                                "0 start\n1 start\n2 start\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> channel0;
  for (const testing::CsvRow& event : run.events) {
    if (event.at("channel") == "0") channel0.push_back(event.at("kind"));
  }
  EXPECT_EQ(channel0, (Calls{"stop", "play_loop", "stop", "play_loop"}));
}

}  // namespace
}  // namespace velimoro
