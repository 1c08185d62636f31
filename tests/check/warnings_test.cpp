// The checker's warnings, which need more than one file; the program goes on past each of them
// (or, for a file the drive cannot start without, stops: an error).

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "tests/check/check_fixture.h"

namespace velimoro::check {
namespace {

const std::string kSegments = "|[SpeedUnit]|0,1000,36,36|#";

// A route video and scene movies (file names) of the given frame counts, in the folder "move\".
FrameCounter videosOf(Installation& inst, const std::map<std::string, int>& frames) {
  inst.write("dorvanel.dat", "[Path]|move\\");
  for (const auto& [name, count] : frames)
    inst.dir.writeBytes("move/" + name, "RIFF");
  return [frames](const std::string& path) -> std::optional<int> {
    for (const auto& [name, count] : frames)
      if (path.ends_with("/" + name)) return count;
    return std::nullopt;
  };
}

TEST(Warnings, MissingFilesAreErrorsOnlyWhereTheDriveCannotStartWithoutThem) {
  Installation inst;
  inst.dir.writeBytes("image/board.bmp", "BM");
  inst.write("line.dat",
             "[SoundData]|sound\\gone.wav|#|[KankoSound2]|voice\\gone.wav|#|[OtherImageList]|"
             "image\\board.bmp|sound\\whistle.wav|#|[DataName]|line" +
                 kSegments);
  EXPECT_EQ(inst.check("line.dat", videosOf(inst, {})),
            (Lines{"2: warning: sound \"sound\\gone.wav\" is missing; it stays silent",
                   "5: warning: sound \"voice\\gone.wav\" is missing; it stays silent",
                   "9: error: sound \"sound\\whistle.wav\" is missing; the drive does not start "
                   "without it",
                   "12: warning: video \"move\\line.avi\" is missing; the drive shows "
                   "\"move\\line.avi映像ファイルを開けません\""}));

  inst.write("train.dat",
             "[Tons]|30|[EBPress]|400|[DriveSound]|sound\\horn.wav|#|[Lamp_G]|g.bmp|0|0");
  EXPECT_EQ(inst.check("train.dat"),
            (Lines{"6: error: sound \"sound\\horn.wav\" is missing; the drive does not start "
                   "without it",
                   "9: warning: picture \"g.bmp\" is missing; the cab does not show it"}));
}

TEST(Warnings, ALetterCaseDifferenceNamesTheSpellingOnDisk) {
  Installation inst;
  inst.dir.writeBytes("image/sign.bmp", "BM");
  inst.write("line.dat", "[SignImageList]|Image\\Sign.BMP|Image\\Sign.BMP|#" + kSegments);
  const std::string differs =
      ": the letter case differs, which only a search without regard to "
      "case finds";
  // Each line that names it is told.
  EXPECT_EQ(inst.check("line.dat"),
            (Lines{"2: warning: \"Image\\Sign.BMP\" is found as \"image/sign.bmp\"" + differs,
                   "3: warning: \"Image\\Sign.BMP\" is found as \"image/sign.bmp\"" + differs}));

  // A train's names are relative to its own folder.
  inst.dir.writeBytes("trains/t/panel.bmp", "BM");
  inst.write("trains/t/train.dat", "[Tons]|30|[EBPress]|400|[Panel]|Panel.bmp|0|0");
  EXPECT_EQ(inst.check("trains/t/train.dat"),
            Lines{"6: warning: \"Panel.bmp\" is found as \"panel.bmp\"" + differs});
}

TEST(Warnings, PlacesBeyondTheVideosFrames) {
  Installation inst;
  inst.write("line.dat",
             "[StartPos]|10|[MovieStop]|700|#|[MovieSwitch]|2,100,120,scene,300,110|#|"
             "[DataName]|line|[Station]|A,0,100,200,0,0,0,0,0,0,0,0,0,0|"
             "B,0,600,200,0,0,0,0,0,0,0,0,0,0|#|[SpeedLimit]|60,0,0,450,0|#" +
                 kSegments);
  // A movie in another container than AVI stands in for the missing ".avi" file.
  EXPECT_EQ(inst.check("line.dat", videosOf(inst, {{"line.avi", 500}, {"scene.mkv", 200}})),
            (Lines{"4: warning: the route's end at frame 700 lies beyond the video's 500 frames",
                   "7: warning: video \"move\\scene.avi\" is missing; the drive shows "
                   "\"move\\scene.mkv\"",
                   "7: warning: scene movie \"move\\scene.mkv\" holds 200 frames, the record "
                   "plays 300",
                   "13: warning: station B at frame 600 lies beyond the video's 500 frames"}));
}

TEST(Warnings, FrameSpeedSegmentsFollowEachOther) {
  Installation inst;
  inst.write("line.dat",
             "[Station]|A,0,50,200,0,0,0,0,0,0,0,0,0,0|B,0,950,200,0,0,0,0,0,0,0,0,0,0|#|"
             "[SpeedUnit]|0,100,36,36|100,200,36,36|210,300,36,36|290,400,36,36|500,450,36,36|#");
  const std::string starts = ": warning: the segment starts at frame ";
  EXPECT_EQ(inst.check("line.dat"),
            (Lines{"3: warning: station B at frame 950 lies in no [SpeedUnit] segment: its "
                   "distance counts as 0",
                   "8" + starts +
                       "210, the one before ends at frame 200: the distance between "
                       "them is left out (a gap)",
                   "9" + starts +
                       "290, the one before ends at frame 300: the frames between "
                       "count twice (an overlap)",
                   "10: warning: the segment ends at frame 450, before it starts at frame 500",
                   "10" + starts +
                       "500, the one before ends at frame 400: the distance between "
                       "them is left out (a gap)"}));
}

TEST(Warnings, PowerModesNameOnlyNotchesTheTrainHas) {
  Installation inst;
  const auto notch = [](int mode) { return "1.0|0.9|25|40|0.97|" + std::to_string(mode) + "|"; };
  const std::string electric = "[Engine_Type]|1|[Power]|";
  const std::string braked = "|[Tons]|30|[EBPress]|400|[Notch]|";
  inst.write("modes.dat", electric + "1" + braked + notch(0) + notch(1) + notch(2) +
                              "#|[PowerMode]|P,通常|H,高加速|#");
  EXPECT_EQ(inst.check("modes.dat"),
            (Lines{"22: warning: notch 3 is in power mode 2, which [PowerMode] does not list",
                   "31: warning: power mode 1 (高加速) has no notch among the train's notches 1 "
                   "to 1"}));

  inst.write("steps.dat", electric + "3" + braked + notch(0) + notch(2) + "#");
  EXPECT_EQ(inst.check("steps.dat"),
            (Lines{"3: warning: [Power] gives 3 notches, [Notch] describes 2: the notches beyond "
                   "have no traction",
                   "16: warning: notch 2 is in power mode 2 after mode 0: the modes must follow "
                   "0, 1, 2, ... in steps of one"}));
}

std::string le32(std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i)
    bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(Warnings, SoundHeadersThatStateAnotherLength) {
  Installation inst;
  const std::string second = velimoro::testing::waveFile(1.0);  // 22050 bytes a second
  inst.dir.writeBytes("sound/good.wav", second);
  // Cut off halfway, as a copy that broke off.
  inst.dir.writeBytes("sound/short.wav", second.substr(0, second.size() - 11025));
  // A chunk before the data, where the plain header has the data size.
  inst.dir.writeBytes("sound/list.wav",
                      second.substr(0, 36) + "LIST" + le32(4) + "INFO" + second.substr(36));
  inst.write("line.dat",
             "[SoundData]|sound\\good.wav|sound\\short.wav|sound\\list.wav|#" + kSegments);
  EXPECT_EQ(inst.check("line.dat"),
            (Lines{"3: warning: the header of \"sound\\short.wav\" gives 22050 bytes of sound "
                   "(1.00 s), its data hold 11025 (0.50 s)",
                   "4: warning: the header of \"sound\\list.wav\" gives 4 bytes of sound (0.00 s), "
                   "its data hold 22050 (1.00 s)"}));
}

}  // namespace
}  // namespace velimoro::check
