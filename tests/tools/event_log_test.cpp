#include "tools/drive/event_log.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cab/timed_sound_layer.h"
#include "support/test_support.h"

namespace velimoro::headless {
namespace {

TEST(WaveDuration, ReadsTheDataChunkAgainstTheByteRate) {
  velimoro::testing::TempDir dir;
  EXPECT_EQ(waveDurationMs(dir.writeBytes("a.wav", velimoro::testing::waveFile(2.5))), 2500);
  // A chunk before "fmt " and an odd-sized one are skipped by their sizes.
  std::string wave = velimoro::testing::waveFile(1);
  wave.insert(12, std::string("LIST\x03\x00\x00\x00xyz\x00", 12));
  EXPECT_EQ(waveDurationMs(dir.writeBytes("b.wav", wave)), 1000);
  EXPECT_EQ(waveDurationMs(dir.writeBytes("c.wav", "not a wave file")), -1);
  EXPECT_EQ(waveDurationMs(dir.file("missing.wav")), -1);
}

// The headless sound layer under the session's timing: a sound played once plays for its
// length in drive time, whatever the device does.
TEST(TimedSoundLayer, OncePlaysForTheSoundsLengthInDriveTime) {
  velimoro::testing::TempDir dir;
  EventLog log;
  std::int64_t nowMs = 1000;
  LoggingSoundLayer logging(log);
  TimedSoundLayer sound(logging, &nowMs);
  std::string error;
  const int id = sound.loadSound(dir.writeBytes("a.wav", velimoro::testing::waveFile(0.5)), error);
  ASSERT_EQ(id, 0);
  EXPECT_EQ(sound.loadSound(dir.file("none.wav"), error), -1);
  EXPECT_NE(error.find("none.wav"), std::string::npos);

  sound.play(3, false);  // nothing bound: nothing plays
  EXPECT_FALSE(sound.isPlaying(3));
  sound.bind(3, id);
  sound.play(3, false);
  EXPECT_TRUE(sound.isPlaying(3));
  nowMs = 1499;
  EXPECT_TRUE(sound.isPlaying(3));
  nowMs = 1500;
  EXPECT_FALSE(sound.isPlaying(3));
  sound.play(3, true);  // looped: until stopped
  nowMs = 100000;
  EXPECT_TRUE(sound.isPlaying(3));
  sound.stop(3);
  EXPECT_FALSE(sound.isPlaying(3));
  EXPECT_FALSE(sound.isPlaying(300));  // no such channel

  std::ostringstream out;
  log.write(out);
  EXPECT_EQ(out.str(),
            "fast_tick_count,kind,channel,detail\n0,play_once,3,a.wav\n0,play_loop,3,a.wav\n"
            "0,stop,3,\n");
}

}  // namespace
}  // namespace velimoro::headless
