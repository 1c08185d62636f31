#include "present/sound_pause.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "present/sound_channels.h"
#include "support/test_support.h"
#include "tools/drive/headless.h"

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
  dir.writeBytes("a.wav", testing::waveFile(1));
  headless::Options o;
  o.root = dir.path();
  o.route = "route.dat";
  o.train = "train.dat";
  o.seconds = 3;
  o.script = dir.writeBytes("script.txt", "0 start\n1 start\n2 start\n");
  o.events = dir.file("events.csv");
  std::ostringstream out, err;
  ASSERT_EQ(headless::runDrive(o, out, err), 0) << err.str();
  std::ifstream events(o.events);
  std::vector<std::string> channel0;
  for (std::string line; std::getline(events, line);) {
    std::istringstream cells(line);
    std::string tick, kind, channel;
    std::getline(cells, tick, ',');
    std::getline(cells, kind, ',');
    std::getline(cells, channel, ',');
    if (channel == "0") channel0.push_back(kind);
  }
  EXPECT_EQ(channel0, (Calls{"stop", "play_loop", "stop", "play_loop"}));
}

}  // namespace
}  // namespace velimoro
