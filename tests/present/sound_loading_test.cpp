#include <gtest/gtest.h>

#include "cab/drive.h"
#include "data/data_error.h"
#include "present/callouts.h"
#include "present/sound_channels.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::crlfLines;

// A WAVE file whose header gives `rate` samples a second.
// A WAVE file at `rate` Hz as many editors save it, with a "LIST" chunk before "fmt ": the
// rate stands where the decoder finds it, not at bytes 24 to 27.
std::string waveAt(std::uint32_t rate) {
  std::string wave = testing::waveFile(0.5);
  for (int i = 0; i < 4; ++i)
    wave[static_cast<std::size_t>(24 + i)] = static_cast<char>((rate >> (8 * i)) & 0xFF);
  wave.insert(12, std::string("LIST\x04\x00\x00\x00INFO", 12));
  return wave;
}

std::vector<std::string> trainFile() {
  return {"[Brake]", "8", "[EBPress]", "440", "[HighAirPress]", "880", "[Engine_Type]", "1",
          "[Tons]", "100",
          // EngineSound1: file, number, nine reals; EngineSound3: file, two numbers, six reals.
          "[EngineSound1]", "snd\\run.wav", "0", "0", "40", "80", "1", "1", "1", "0", "0", "0", "#",
          "[EngineSound3]", "snd\\e0.wav", "0", "0", "0", "30", "1", "1", "0", "0", "snd\\e1.wav",
          "1", "2", "0", "30", "1", "1", "0", "0", "#", "[DriveSound]", "snd\\brake.wav",
          "SND\\Horn.wav", "#"};
}

std::vector<std::string> routeFile() {
  std::vector<std::string> lines = {"[SoundData]",   "sound\\arrive.wav", "sound\\gone.wav", "#",
                                    "[KankoSound1]", "voice\\v0.wav",     "voice\\v1.wav"};
  for (int i = 2; i < 21; ++i)
    lines.push_back("");
  for (const char* line :
       {"[KankoSound2]", "voice\\k21.wav", "#", "[Station]", "A,0,100,300,0,0,0,0,0,0,0,0,0,0", "#",
        "[OtherImageList]", "other.bmp", "sound\\bell.wav", "other2.bmp", "", "#", "[SpeedUnit]",
        "0,10000,36,36", "#"}) {
    lines.push_back(line);
  }
  return lines;
}

// The data root: the train in the folder "trains/t/", the route's sounds below the root. The
// route sound "gone.wav" is missing.
struct SoundLoadingTest : ::testing::Test {
  testing::TempDir dir;
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  std::vector<std::string> statuses;
  DriveSetup setup;

  SoundLoadingTest() {
    dir.writeCp932("trains/t/train.dat", crlfLines(trainFile()));
    dir.writeCp932("route.dat", crlfLines(routeFile()));
    dir.writeCp932("dorvanel.dat", crlfLines({"[Forward]", "前進"}));
    dir.writeCp932("mascon.dat", "MP1\r\n");
    for (const char* name : {"trains/t/snd/brake.wav", "trains/t/snd/horn.wav",
                             "trains/t/snd/run.wav", "trains/t/snd/e0.wav", "trains/t/snd/e1.wav",
                             "sound/bell.wav", "voice/v0.wav", "voice/v1.wav", "voice/k21.wav"}) {
      dir.writeBytes(name, testing::waveFile(0.5));
    }
    dir.writeBytes("sound/arrive.wav", waveAt(11025));
    sound.failing = {"gone.wav"};
    setup.root = dir.path();
    setup.trainFolder = "trains/t/";
    setup.trainFile = "train.dat";
    setup.routeFile = "route.dat";
  }
  std::unique_ptr<Drive> start() {
    return startDrive(setup, DriveMedia{sound, pictures, messages,
                                        [this](const std::string& t) { statuses.push_back(t); }});
  }
  std::string loadError() {
    try {
      start();
    } catch (const DataError& e) {
      return e.what();
    }
    return "no error";
  }
};

TEST_F(SoundLoadingTest, LoadsEverySoundInOrderAndBindsEachToItsChannel) {
  const auto drive = start();
  EXPECT_EQ(statuses, (std::vector<std::string>{
                          "設定ファイルを読み込んでいます",
                          "運転台を描画しています",
                          "DirectSoundオブジェクトを作成しています(走行音)",
                          "DirectSoundオブジェクトを作成しています(環境音)",
                          "DirectSoundオブジェクトを作成しています(喚呼)",
                          "サウンドを読み込んでいます",
                          "環境をセットアップしています",
                      }));
  const std::string root = dir.path() + "/";
  EXPECT_EQ(sound.sounds,
            (std::vector<std::string>{
                root + "trains/t/snd/brake.wav", root + "trains/t/snd/horn.wav",
                root + "sound/arrive.wav", root + "voice/v0.wav", root + "voice/v1.wav",
                root + "voice/k21.wav", root + "sound/bell.wav", root + "trains/t/snd/run.wav",
                root + "trains/t/snd/e0.wav", root + "trains/t/snd/e1.wav"}));
  // Channels: train 0-1, route 2-3, EngineSound1 4, EngineSound3 5 and 8 around the call-out
  // channel 6 and the guidance channel 7. The missing route sound leaves channel 3 unbound.
  const SoundSystem& sounds = drive->sounds;
  EXPECT_EQ(calloutChannel(sounds.layout), 6);
  EXPECT_EQ(guidanceChannel(sounds.layout), 7);
  const std::vector<std::pair<int, int>> bound = {{0, 0}, {1, 1}, {2, 2}, {4, 7}, {5, 8}, {8, 9}};
  for (const auto& [channel, id] : bound) {
    EXPECT_EQ(sounds.channelSound[channel], id) << channel;
    EXPECT_EQ(sound.bound[channel], id) << channel;
  }
  EXPECT_EQ(sounds.channelSound[3], -1);
  EXPECT_EQ(sounds.channelRate[2], 11025);
  EXPECT_EQ(sounds.channelRate[0], 22050);
  // Voices and other sounds wait for their turn on the call-out channel.
  EXPECT_EQ(sounds.voiceSound[0], 3);
  EXPECT_EQ(sounds.voiceSound[21], 5);
  EXPECT_EQ(sounds.voiceSound[2], -1);
  EXPECT_EQ(sounds.otherSound[0], 6);
  EXPECT_EQ(sounds.otherSound[1], -1);
  EXPECT_EQ(sound.bound[6], 0);
  // The missing route sound was reported once, when its length was measured.
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("gone.wav"), std::string::npos);
}

TEST_F(SoundLoadingTest, ATrainOrEngineOrOtherSoundThatFailsEndsTheDriveWithItsMessage) {
  const std::string root = dir.path() + "/";
  sound.failing = {"gone.wav", "horn.wav"};
  EXPECT_EQ(loadError(), "cannot load " + root + "trains/t/snd/horn.wav");
  sound.failing = {"gone.wav", "e1.wav"};
  EXPECT_EQ(loadError(), "cannot load " + root + "trains/t/snd/e1.wav");
  sound.failing = {"gone.wav", "bell.wav"};
  EXPECT_EQ(loadError(), "cannot load " + root + "sound/bell.wav");
}

TEST_F(SoundLoadingTest, ARouteSoundOrVoiceThatFailsIsReportedAndLeftSilent) {
  sound.failing.insert({"arrive.wav", "v1.wav"});
  const auto drive = start();
  const std::string root = dir.path() + "/";
  EXPECT_EQ(messages.shown.size(), 3u);
  EXPECT_NE(std::find(messages.shown.begin(), messages.shown.end(),
                      "cannot load " + root + "sound/arrive.wav"),
            messages.shown.end());
  EXPECT_EQ(messages.shown.back(), "cannot load " + root + "voice/v1.wav");
  EXPECT_EQ(drive->sounds.channelSound[2], -1);
  EXPECT_EQ(drive->sounds.voiceSound[1], -1);
  EXPECT_EQ(statuses.back(), "環境をセットアップしています");
}

TEST(SoundChannels, SoundsBeyondTheLastChannelStayUnloadedAndSilent) {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  drive.train->DriveSoundCount = 100;
  drive.train->EngineSound1Count = 2;
  drive.route->soundDataCount = 200;
  drive.route->kankoSound[0] = "v0.wav";
  loadTrainSounds(drive);
  loadRouteAndEngineSounds(drive);
  // Train sounds 0..99 and route sounds 0..155 fill the 256 channels; the voice loads too.
  EXPECT_EQ(sound.sounds.size(), 257u);
  const ChannelLayout& layout = drive.sounds.layout;
  EXPECT_EQ(routeSoundChannel(layout, 155), 255);
  EXPECT_EQ(routeSoundChannel(layout, 156), -1);
  EXPECT_EQ(engine1Channel(layout, 0), -1);
  EXPECT_EQ(calloutChannel(layout), -1);
  // Without a call-out channel the queue still advances, silently.
  kankoQueueAdd(drive, 0);
  kankoQueuePlay(drive);
  kankoQueuePlay(drive);
  EXPECT_EQ(drive.sounds.callouts.count, 0);
  EXPECT_TRUE(sound.calls.empty());
  // Channel operations outside the layer's channels do nothing.
  playChannel(drive, 256, true);
  stopChannel(drive, -1);
  setChannelVolume(drive, 300, 0);
  EXPECT_TRUE(sound.calls.empty());
}

}  // namespace
}  // namespace velimoro
