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
            (Lines{"2: warning: 音声「sound\\gone.wav」がありません。その音は鳴りません",
                   "5: warning: 音声「voice\\gone.wav」がありません。その音は鳴りません",
                   "9: error: 音声「sound\\whistle.wav」がありません。これがないと運転を始められ"
                   "ません",
                   "12: warning: 映像「move\\line.avi」がありません。運転では「move\\line.avi"
                   "映像ファイルを開けません」と表示されます"}));

  inst.write("train.dat",
             "[Tons]|30|[EBPress]|400|[DriveSound]|sound\\horn.wav|#|[Lamp_G]|g.bmp|0|0");
  EXPECT_EQ(inst.check("train.dat"),
            (Lines{"6: error: 音声「sound\\horn.wav」がありません。これがないと運転を始められ"
                   "ません",
                   "9: warning: 画像「g.bmp」がありません。運転台には表示されません"}));
}

TEST(Warnings, ALetterCaseDifferenceNamesTheSpellingOnDisk) {
  Installation inst;
  inst.dir.writeBytes("image/sign.bmp", "BM");
  inst.write("line.dat", "[SignImageList]|Image\\Sign.BMP|Image\\Sign.BMP|#" + kSegments);
  const std::string differs =
      "として見つかります。大文字と小文字が違うため、区別しない検索でしか見つかりません";
  // Each line that names it is told.
  EXPECT_EQ(inst.check("line.dat"),
            (Lines{"2: warning: 「Image\\Sign.BMP」は「image/sign.bmp」" + differs,
                   "3: warning: 「Image\\Sign.BMP」は「image/sign.bmp」" + differs}));

  // A train's names are relative to its own folder.
  inst.dir.writeBytes("trains/t/panel.bmp", "BM");
  inst.write("trains/t/train.dat", "[Tons]|30|[EBPress]|400|[Panel]|Panel.bmp|0|0");
  EXPECT_EQ(inst.check("trains/t/train.dat"),
            Lines{"6: warning: 「Panel.bmp」は「panel.bmp」" + differs});
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
            (Lines{"4: warning: フレーム700の路線の終端は、映像の500フレームより先にあります",
                   "7: warning: 映像「move\\scene.avi」がありません。運転では「move\\scene.mkv」"
                   "を映します",
                   "7: warning: 場面の動画「move\\scene.mkv」は200フレームしかありませんが、記録は"
                   "300フレームを再生します",
                   "13: warning: フレーム600のB駅は、映像の500フレームより先にあります"}));
}

TEST(Warnings, FrameSpeedSegmentsFollowEachOther) {
  Installation inst;
  inst.write("line.dat",
             "[Station]|A,0,50,200,0,0,0,0,0,0,0,0,0,0|B,0,950,200,0,0,0,0,0,0,0,0,0,0|#|"
             "[SpeedUnit]|0,100,36,36|100,200,36,36|210,300,36,36|290,400,36,36|500,450,36,36|#");
  const std::string starts = ": warning: 区間がフレーム";
  const std::string gap = "で終わります。その間の距離は数えられません（すき間）";
  EXPECT_EQ(inst.check("line.dat"),
            (Lines{"3: warning: フレーム950のB駅はどの[SpeedUnit]の区間にも入っていません。その"
                   "距離は0と数えられます",
                   "8" + starts + "210から始まり、前の区間はフレーム200" + gap,
                   "9" + starts +
                       "290から始まり、前の区間はフレーム300で終わります。その間のフレームは"
                       "二重に数えられます（重なり）",
                   "10" + starts + "450で終わり、始まりのフレーム500より前です",
                   "10" + starts + "500から始まり、前の区間はフレーム400" + gap}));
}

TEST(Warnings, PowerModesNameOnlyNotchesTheTrainHas) {
  Installation inst;
  const auto notch = [](int mode) { return "1.0|0.9|25|40|0.97|" + std::to_string(mode) + "|"; };
  const std::string electric = "[Engine_Type]|1|[Power]|";
  const std::string braked = "|[Tons]|30|[EBPress]|400|[Notch]|";
  inst.write("modes.dat", electric + "1" + braked + notch(0) + notch(1) + notch(2) +
                              "#|[PowerMode]|P,通常|H,高加速|#");
  EXPECT_EQ(inst.check("modes.dat"),
            (Lines{"22: warning: ノッチ3の力行モード2は[PowerMode]にありません",
                   "31: warning: 力行モード1（高加速）には、この車両のノッチ1〜1のどれも属して"
                   "いません"}));

  inst.write("steps.dat", electric + "3" + braked + notch(0) + notch(2) + "#");
  EXPECT_EQ(inst.check("steps.dat"),
            (Lines{"3: warning: [Power]のノッチは3段ですが、[Notch]には2段分しかありません。"
                   "それより上のノッチでは引張力が出ません",
                   "16: warning: ノッチ2の力行モード2がモード0の後にあります。モードは0, 1, 2, …"
                   "と1ずつ順に並べてください"}));
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
            (Lines{"3: warning: 「sound\\short.wav」のヘッダーでは音のデータが22050バイト"
                   "（1.00秒）ですが、実際のデータは11025バイト（0.50秒）です",
                   "4: warning: 「sound\\list.wav」のヘッダーでは音のデータが4バイト（0.00秒）"
                   "ですが、実際のデータは22050バイト（1.00秒）です"}));
}

}  // namespace
}  // namespace velimoro::check
