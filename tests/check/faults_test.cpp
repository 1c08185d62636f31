// The faults the program stops at, each reported with its line by going on past it.

#include <gtest/gtest.h>

#include <memory>

#include "data/data_error.h"
#include "data/route_reader.h"
#include "data/train_reader.h"
#include "media/picture_loader.h"
#include "tests/check/check_fixture.h"

namespace velimoro::check {
namespace {

using velimoro::testing::toCp932;

// The message the program stops with at the first fault of the file.
template <typename Read>
std::string programMessage(Read read) {
  try {
    read();
  } catch (const DataError& e) {
    return e.what();
  }
  return "(no fault)";
}

TEST(Faults, EveryFaultOfARouteFileWithItsLine) {
  Installation inst;
  inst.dir.writeBytes("image/there.bmp", "BM");
  const std::string head = velimoro::testing::crlfLines(velimoro::testing::splitBars(
      "[LineName]|テスト線|[StartPos]|x12|[Station]|A,0,100,200,0,0,0,0,0,0,0,0,0,0|"
      "B,0,2x00,200,0,0,0,0,0,0,0,0,0,0|C,0,300|#|[Sound]"));
  const std::string tail = velimoro::testing::crlfLines(velimoro::testing::splitBars(
      "0,10,20,60,0,0,0|#|[Signal]|0,4,0,3,5,387,120,375,0,0,0|#|[SignImageList]|"
      "image\\gone.bmp|image\\there.bmp|image\\lost.bmp|#|[SpeedUnit]|0,1000,36,36|#|"
      "[Perspective]|12.5"));
  // Line 11 is no CP932 text.
  inst.dir.writeBytes("line.dat", toCp932(head) + "\x81\x20\r\n" + toCp932(tail));

  const std::string e = "error: 路線ファイルに誤りがあります。";
  const Lines expected = {
      "4: " + e + "その他:x12",
      "7: " + e + "[Station]:B,0,2x00,200,0,0,0,0,0,0,0,0,0,0",
      "8: " + e + "[Station]:C,0,300",
      "11: " + e + "[Sound]:(読み取れない行)",
      "15: " + e + "[Signal]:0,4,0,3,5,387,120,375,0,0,0",
      "18: " + e + "[SignImageList]:image\\gone.bmp",
      "20: " + e + "[SignImageList]:image\\lost.bmp",
      // The file ends where the section wants its second line.
      "26: " + e + "[Speed_Signal]:",
  };
  EXPECT_EQ(inst.check("line.dat"), expected);

  auto route = std::make_unique<RouteData>();
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  EXPECT_EQ("4: error: " + programMessage([&] {
              readRouteFile(inst.dir.path(), "line.dat", *route, pictures, lists);
            }),
            expected.front());
}

TEST(Faults, EveryFaultOfATrainFileWithItsLine) {
  Installation inst;
  // Line 2 is a header where a value belongs; the check goes on with it as the header it is.
  inst.write("train.dat",
             "[Handle]|[Brake]|3|[EBPress]|abc|[Notch]|1.0|0.9|25|40|0.97|0|#|[PowerMode]|P,通常|#|"
             "[DriveSound]|gone.wav|#|[Panel]|panel.bmp|0|340|[NotchImageP]|1|2|3|4|strip.bmp|"
             "[Cars]");
  const std::string e = "error: 車両ファイルに誤りがあります";
  const Lines expected = {
      "2: " + e + "- 列車の基本設定",
      "5: " + e + "- 列車の基本設定",
      "13: error: 動力が気動車なのにNotch指定があります",
      "18: error: 音声「gone.wav」がありません。これがないと運転を始められません",
      "21: error: 画像「panel.bmp」がありません。これがないと運転を始められません",
      "29: " + e + "[NotchImageP]",
      "30: " + e + "- 列車の基本設定",
  };
  EXPECT_EQ(inst.check("train.dat"), expected);

  auto train = std::make_unique<TrainSpec>();
  media::FileCheckPictureLoader pictures;
  PictureLists lists;
  EXPECT_EQ("2: error: " + programMessage([&] {
              readTrainFile({inst.dir.path(), "", "train.dat"}, *train, pictures, lists);
            }),
            expected.front());

  // A file that reads cleanly meets the start-up's checks of the whole train: the brake steps
  // at "[Brake]", the emergency pressure missing altogether.
  inst.write("few_steps.dat", "[BrakeType]|1|[Brake]|2|[Tons]|30");
  EXPECT_EQ(
      inst.check("few_steps.dat"),
      (Lines{"0: " + e + "[EBPress]", "3: error: ブレーキの段数を3段以上に設定してください"}));
}

TEST(Faults, TheFilesBesideTheRoutesAndTrains) {
  Installation inst;
  inst.write("dorvanel.dat", "[Path]|move");
  inst.write("mascon.dat", "MP1|MP2LONG|#|MP3");
  inst.dir.writeBytes("operation.dat", toCp932("操作説明\r\n") + "\x81\x20\r\n");
  EXPECT_EQ(
      inst.check({"dorvanel.dat", "mascon.dat", "operation.dat", "train.dat"}),
      (Lines{"dorvanel.dat:2: warning: [Path]の「move」が「\\」で終わっていません。映像の"
             "ファイル名が区切りなしでつながります",
             "mascon.dat:2: warning: コード「MP2LONG」が5文字を超えています。マスコンのコードは"
             "先頭の5文字で比べるため、一致することはありません",
             "mascon.dat:3: warning: コードが2個しかありません。3行目から22行目の位置にはコードが"
             "ありません",
             "operation.dat:2: error: operation.datに誤りがあります",
             "train.dat:0: error: ファイルがありません"}));

  // An empty root: the drive does not start without the texts, but goes on without the others.
  Installation empty;
  CheckOptions options;
  options.root = empty.dir.path();
  const Findings findings = checkInstallation(options);
  ASSERT_EQ(findings.size(), 3u);
  EXPECT_EQ(findings[0].file, empty.dir.file("dorvanel.dat"));
  EXPECT_EQ(findings[0].text, "stringファイルに誤りがあります");
  EXPECT_FALSE(findings[0].warning);
  EXPECT_TRUE(findings[1].warning && findings[2].warning);
}

}  // namespace
}  // namespace velimoro::check
