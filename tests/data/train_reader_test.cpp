#include "data/train_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/text_file.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::crlfLines;
using testing::TempDir;
using Lines = std::vector<std::string>;

Lines L(std::string_view text) {
  return testing::splitBars(text);
}

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::string fileError(std::string_view label) {
  return "車両ファイルに誤りがあります" + std::string(label);
}

/// A train file written as CP932 with CR LF line ends into a temporary data root, read into a
/// record that outlives each read.
class TrainReaderTest : public ::testing::Test {
 protected:
  void read(const Lines& lines) {
    dir.writeCp932("train.dat", crlfLines(lines));
    readTrainFile({dir.path(), "", "train.dat"}, *train, pictures, lists);
  }
  /// The message of the error that reading `lines` ends in.
  std::string failure(const Lines& lines) {
    dir.writeCp932("train.dat", crlfLines(lines));
    return failureOf("train.dat");
  }
  std::string failureOf(const std::string& fileName) {
    try {
      readTrainFile({dir.path(), "", fileName}, *train, pictures, lists);
    } catch (const DataError& e) {
      return e.what();
    }
    return "(read without error)";
  }

  TempDir dir;
  testing::RecordingPictures pictures;
  PictureLists lists;
  std::unique_ptr<TrainSpec> train = std::make_unique<TrainSpec>();
};

TEST_F(TrainReaderTest, FileWithOnlyPowerSetsPowerAndNothingElse) {
  read(L("[Power]|5"));
  TrainSpec expected;
  expected.Power = 5;
  EXPECT_TRUE(*train == expected);
  EXPECT_TRUE(pictures.loaded.empty());
  EXPECT_TRUE(lists.sign.empty());
}

TEST_F(TrainReaderTest, EmptyFileReadsFineAndSetsNothing) {
  read({});
  EXPECT_TRUE(*train == TrainSpec());
}

TEST_F(TrainReaderTest, HeaderComparesOnlyItsOwnLengthAndLetterCase) {
  read(L("[Power] 力行ノッチ数|4|[power]|6|[POWER]|7| [Power]|8|[Power|9"));
  EXPECT_EQ(train->Power, 4);
}

TEST_F(TrainReaderTest, ValueLineThatIsALaterHeaderFailsWithTheBaseLabel) {
  EXPECT_EQ(failure(L("[Handle]|[Brake]|3")), fileError("- 列車の基本設定"));
}

TEST_F(TrainReaderTest, LastValueLineIsTestedAgainstTheKeysAfterTheSection) {
  // "[Clock]" comes after "[Gear_Type]" in the order, so the same turn takes it; "[Cars]" comes
  // before it, so its line is not tested again and its value line is skipped as unknown.
  read(L("[Gear_Type]|[Clock]|1|2|3|[Gear_Type]|[Cars]|4"));
  EXPECT_EQ(train->Clock.x, 1);
  EXPECT_EQ(train->Clock.y, 2);
  EXPECT_EQ(train->Clock.handLength, 3);
  EXPECT_EQ(train->Cars, 0);
  EXPECT_EQ(train->Gear_Type, 0);
}

TEST_F(TrainReaderTest, LastListLineIsTestedToo) {
  // A DriveSound entry that looks like a later key is a file name; the list ends at "#".
  read(L("[DriveSound]|[Clock]|#|[Clock]|5|6|7"));
  EXPECT_EQ(train->DriveSoundCount, 1);
  EXPECT_EQ(train->DriveSound[0], "[Clock]");
  EXPECT_EQ(train->Clock.x, 5);
}

TEST_F(TrainReaderTest, GearTypeTakesTheWholeLine) {
  read(L("[Gear_Type]|MT"));
  EXPECT_EQ(train->Gear_Type, 1);
  read(L("[Gear_Type]|mt|[Gear_Type]|MT |[Gear_Type]|AT2"));
  EXPECT_EQ(train->Gear_Type, 1);
  read(L("[Gear_Type]|AT"));
  EXPECT_EQ(train->Gear_Type, 0);
}

TEST_F(TrainReaderTest, NotchModesFillPowerModeFirst) {
  read(
      L("[Engine_Type]|1|[Notch]|1.0|1.0|30|50|0.98|0|2.0|2.0|35|55|0.98|0|"
        "1.5|1.5|40|60|0.97|1|#|[PowerMode]|P,直列|S,並列|#"));
  EXPECT_EQ(train->PowerModeFirst[0], 0);
  EXPECT_EQ(train->PowerModeFirst[1], 2);
  EXPECT_EQ(train->Notches[2].mode, 1);
  EXPECT_DOUBLE_EQ(train->Notches[2].accStart, 1.5);
  EXPECT_EQ(train->Notches[2].speedPower, 60);
  // With mode 1 selected, notch 3 reads as the prefix of mode 1 followed by 1.
  EXPECT_EQ(train->PowerModes[1].prefix + std::to_string(3 - train->PowerModeFirst[1]), "S1");
  EXPECT_EQ(train->PowerModes[1].name, "並列");
}

TEST_F(TrainReaderTest, BrakeSoundsBeforeBrakeReadNothing) {
  read(L("[Sound_BK]|7|8|[Brake]|2|[Sound_BR]|5|6|[Sound_BA]|9|10"));
  EXPECT_EQ(train->Brake, 2);
  EXPECT_EQ(train->Sound_BK[0], 0);
  EXPECT_EQ(train->Sound_BK[1], 0);
  EXPECT_EQ(train->Sound_BR[0], 5);
  EXPECT_EQ(train->Sound_BR[1], 6);
  // "[Sound_BA]" reads Brake - 1 lines; "10" is then an unknown line.
  EXPECT_EQ(train->Sound_BA[0], 9);
  EXPECT_EQ(train->Sound_BA[1], 0);
}

TEST_F(TrainReaderTest, BrakeSoundsBeyondTheirTableFail) {
  read(L("[Brake]|64|[Sound_BA]") + Lines(63, "1"));
  EXPECT_EQ(train->Sound_BA[62], 1);
  EXPECT_EQ(failure(L("[Brake]|65|[Sound_BA]") + Lines(64, "1")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[Brake]|65|[Sound_BK]") + Lines(65, "1")), fileError("- 列車の基本設定"));
}

TEST_F(TrainReaderTest, SwitchSoundWithTwoFieldsFails) {
  EXPECT_EQ(failure(L("[SwitchSound]|1,2,3|4,5|#")), fileError("- 列車の基本設定"));
}

TEST_F(TrainReaderTest, KindOfPowerIsCheckedAtTheEndOfNotchAndEngine) {
  const Lines notch = L("[Notch]|1.0|1.0|30|50|0.98|0|#");
  const Lines engine = L("[Engine]|0|20|40|1.0|0.8|0.5|#");
  EXPECT_EQ(failure(L("[Engine_Type]|0") + notch), "動力が気動車なのにNotch指定があります");
  // Engine_Type 0 is also what an unset field holds.
  EXPECT_EQ(failure(notch), "動力が気動車なのにNotch指定があります");
  EXPECT_EQ(failure(L("[Engine_Type]|1") + engine), "動力が電車なのにEngine指定があります");
  // The end of the file ends the list as a "#" line would.
  EXPECT_EQ(failure(L("[Engine_Type]|0|[Notch]|1.0|1.0|30|50|0.98|0")),
            "動力が気動車なのにNotch指定があります");
  // The check uses the Engine_Type read so far.
  EXPECT_EQ(failure(notch + L("[Engine_Type]|1")), "動力が気動車なのにNotch指定があります");
  read(L("[Engine_Type]|1") + notch);
  read(L("[Engine_Type]|0") + engine);
  EXPECT_EQ(train->GearCount, 1);
}

TEST(SettleTrainBrake, AutomaticBrakeHasFourPositionsAndSteppedNeedsThree) {
  TrainSpec train;
  train.BrakeType = 1;
  train.Brake = 2;
  try {
    settleTrainBrake(train);
    ADD_FAILURE() << "no error";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "ブレーキの段数を3段以上に設定してください");
  }
  train.Brake = 3;
  settleTrainBrake(train);
  EXPECT_EQ(train.Brake, 3);
  for (int brake : {0, 2, 9}) {
    train.BrakeType = 0;
    train.Brake = brake;
    settleTrainBrake(train);
    EXPECT_EQ(train.Brake, 4);
  }
}

TEST_F(TrainReaderTest, EveryScalarKeyIsRecognised) {
  // A bad value proves the key was taken; all of these come before the first label change.
  const Lines keys =
      L("[Handle]|[BrakeType]|[Brake]|[Power]|[NotchBack]|[Hold]|[Const]|[Back]|"
        "[BrakeRate]|[BrakeRate2]|[PowerDelay]|[BrakeDelay]|[PowerJerk]|[SAPDelay]|"
        "[BrakeUp]|[BrakeDown]|[BPReturn]|[EBPress]|[SAPPress]|[HighAirPress]|"
        "[LowAirPress]|[Curr1]|[Curr2]|[Engine_Type]|[DoorType]|[Mt]|[Tt]|[Cars]|[Tons]|"
        "[EB]|[MaxSpeed]|[Lose_elec]|[ELBR]|[Mc]|[ATS_Type]|[ATS_Alert]|[ATS_Time]|"
        "[ATS_Cnt]|[Sound_EB]|[Sound_Apply]|[Sound_Ats1]|[Sound_Ats2]|[Sound_Atc]|"
        "[Sound_Horn]|[Sound_Horn2]|[Sound_Horn3]|[Sound_DoorOpen]|[Sound_DoorClose]|"
        "[Sound_EBring]|[Sound_squeak]|[CP_Start]|[CP_Cnt]|[CP_End]|[Stop]|[Buzzer]|"
        "[DepSign]|[ATS_Warn]");
  for (const std::string& key : keys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(failure({key, "x"}), fileError("- 列車の基本設定"));
    EXPECT_EQ(failure({key, "1.5x"}), fileError("- 列車の基本設定"));
  }
  EXPECT_EQ(failure(L("[Brake]|3|[Sound_BK]|1|x")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[BrakeRate]|1.0|x")), fileError("- 列車の基本設定"));
}

TEST_F(TrainReaderTest, ErrorsNameTheSectionLabelOfThatPoint) {
  struct Case {
    const char* lines;
    const char* label;
  };
  const Case cases[] = {
      {"[Handle]|1.0", "- 列車の基本設定"},
      {"[EngineRate]|1,x|#", "- 列車の基本設定"},
      {"[Gear_Type]|AT|[Handle]|x", "- 列車の基本設定"},
      {"[Engine_Type]|1|[Notch]|1.0|1.0|30|x", "[Notch]"},
      {"[Engine]|0|20|40|1.0|x", "[Engine]"},
      {"[EngineSound1]|a.wav|0|1|2|3|4|5|6|7|8|x", "[EngineSound1]"},
      {"[EngineSound2]|1|2|x", "[EngineSound1]"},
      {"[EngineSound3]|a.wav|0|0|x", "[EngineSound3]"},
      {"[Clock]|1|x", "- アナログ時計"},
      {"[Panel]|panel.bmp|x", "- 運転台パネル"},
      {"[Lamp_Stop]|stop.bmp|1|x", "- 運転台パネル"},
      {"[Lamp_R]|r.bmp|x", "- 運転台パネル"},
      {"[Needle_Speed]|n.bmp|1|2|3|4|5|x", "- 速度計"},
      {"[Needle_BC]|n.bmp|x", "- BC圧力計"},
      {"[Needle_SAP]|n.bmp|x", "- SAP圧力計"},
      {"[Needle_ER]|n.bmp|x", "- ER圧力計"},
      {"[Needle_BP]|n.bmp|x", "- BP圧力計"},
      {"[Needle_MR]|n.bmp|x", "- MR圧力計"},
      {"[Needle_V]|n.bmp|x", "- 電圧計"},
      {"[Needle_I]|n.bmp|1|2|3|4|5|0.5|x", "- 電流計"},
      {"[Lamp_signal]|x", "[Lamp_signal]"},
      {"[Lamp_signal]|1|2|3|4|s.bmp|0|x|#", "[Lamp_signal]"},
      {"[NotchImageP]|1|x", "[NotchImageP]"},
      {"[NotchImageB]|x", "[NotchImageB]"},
      {"[NotchImageP2]|x", "[NotchImageP2]"},
      {"[NotchImageB2]|x", "[NotchImageB2]"},
      {"[GearImageList]|x", "[GearImageList]"},
      {"[GearImageList2]|1|2|3|x", "[GearImageList2]"},
      {"[Others]|o.bmp|1|x|#", "[Others]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    EXPECT_EQ(failure(L(c.lines)), fileError(c.label));
  }
  // The label returns to the base at the start of every turn.
  EXPECT_EQ(failure(L("[Clock]|1|2|3|[Handle]|x")), fileError("- 列車の基本設定"));
}

TEST_F(TrainReaderTest, ValuesAreConvertedByType) {
  read(
      L("[BrakeRate]|1.5|0.33335|[BrakeRate2]|0.12345|[Tons]| 140.5|[Mt]|-2.00005|"
        "[Handle]| +1|[Needle_V]|v.bmp|1|2|3|4|-90|1.25e1"));
  EXPECT_EQ(train->BrakeRate[0].raw(), 15000);
  EXPECT_EQ(train->BrakeRate[1].raw(), 3334);   // half to even
  EXPECT_DOUBLE_EQ(train->BrakeRate2, 0.1234);  // fixed-point first, then a real
  EXPECT_EQ(train->Tons.raw(), 1405000);
  EXPECT_EQ(train->Mt.raw(), -20000);
  EXPECT_EQ(train->Handle, 1);
  EXPECT_EQ(train->Needle_V.needleOffset, -90);
  EXPECT_EQ(train->Needle_V.needleRate, 12.5L);
  EXPECT_EQ(failure(L("[Handle]|1 ")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[Handle]|")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[Cars]|4両")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[Handle]|99999999999")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[Tons]|1,5")), fileError("- 列車の基本設定"));
}

TEST_F(TrainReaderTest, CsvFieldsAreTakenUntrimmed) {
  read(
      L("[SwitchSound]|3,60,0|4,200,1,extra|#|[EngineRate]|1,0.5|2,1.25|#|"
        "[PowerMode]|P,力行|N|#"));
  EXPECT_EQ(train->SwitchSoundCount, 2);
  EXPECT_EQ(train->SwitchSound[1].valueA, 4);
  EXPECT_EQ(train->SwitchSound[1].valueB, 200);
  EXPECT_EQ(train->SwitchSound[1].valueC, 1);
  EXPECT_EQ(train->EngineRateCount, 2);
  EXPECT_EQ(train->EngineRate[1].value, 2);
  EXPECT_EQ(train->EngineRate[1].rate, 1.25L);
  EXPECT_EQ(train->PowerModeCount, 2);
  EXPECT_EQ(train->PowerModes[0].prefix, "P");
  EXPECT_EQ(train->PowerModes[0].name, "力行");
  EXPECT_EQ(train->PowerModes[1].prefix, "N");
  EXPECT_EQ(train->PowerModes[1].name, "Error");
  // A blank after a comma is part of the field, and an integer may not end in one.
  EXPECT_EQ(failure(L("[SwitchSound]|1 ,2,3|#")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[EngineRate]|1|#")), fileError("- 列車の基本設定"));
}

TEST_F(TrainReaderTest, ListHeaderResetsItsCountAndOtherFieldsStay) {
  read(L("[Cars]|6|[DriveSound]|a.wav|b.wav|c.wav|# end of sounds"));
  EXPECT_EQ(train->DriveSoundCount, 3);
  read(L("[DriveSound]|d.wav||#|[Power]|4"));
  EXPECT_EQ(train->DriveSoundCount, 2);
  EXPECT_EQ(train->DriveSound[0], "d.wav");
  EXPECT_EQ(train->DriveSound[1], "");
  EXPECT_EQ(train->DriveSound[2], "c.wav");  // beyond the count, left as it was
  EXPECT_EQ(train->Cars, 6);                 // the record is not cleared between files
  EXPECT_EQ(train->Power, 4);
}

TEST_F(TrainReaderTest, ListWithoutHashEndsAtTheEndOfTheFile) {
  read(L("[Engine_Type]|1|[DriveSound]|a.wav|b.wav"));
  EXPECT_EQ(train->DriveSoundCount, 2);
  read(L("[Others]|o.bmp|1|2"));
  EXPECT_EQ(train->OtherCount, 1);
  EXPECT_EQ(train->Others[0].y, 2);
  read(L("[Lamp_signal]|1|2|3|4||7|8"));
  EXPECT_EQ(train->CabSignalCount, 2);
  // The end of the file inside an entry is a truncated file.
  EXPECT_EQ(failure(L("[Others]|o.bmp|1")), fileError("[Others]"));
  EXPECT_EQ(failure(L("[Engine_Type]|1|[Notch]|1.0|1.0|30|50|0.98")), fileError("[Notch]"));
}

TEST_F(TrainReaderTest, EndOfFileInAFixedSectionFails) {
  EXPECT_EQ(failure(L("[Power]")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[BrakeRate]|1.0")), fileError("- 列車の基本設定"));
  EXPECT_EQ(failure(L("[Needle_Speed]|n.bmp|1")), fileError("- 速度計"));
  EXPECT_EQ(failure(L("[NotchImageB]|1|2|3|4")), fileError("[NotchImageB]"));
  EXPECT_EQ(failure(L("[Lamp_signal]|1|2|3")), fileError("[Lamp_signal]"));
}

TEST_F(TrainReaderTest, ListsLongerThanTheirTablesFail) {
  struct Case {
    Lines header;
    Lines entry;
    int limit;
    const char* label;
  };
  const Case cases[] = {
      {L("[SwitchSound]"), L("1,2,3"), TrainSpec::kMaxSwitchSounds, "- 列車の基本設定"},
      {L("[EngineRate]"), L("1,0.5"), TrainSpec::kMaxEngineRates, "- 列車の基本設定"},
      {L("[Engine_Type]|1|[Notch]"), L("1|1|30|50|0.98|0"), TrainSpec::kMaxNotches, "[Notch]"},
      {L("[Engine_Type]|0|[Engine]"), L("0|20|40|1|1|1"), TrainSpec::kMaxGears, "[Engine]"},
      {L("[PowerMode]"), L("P,力行"), TrainSpec::kMaxPowerModes, "[PowerMode]"},
      {L("[EngineSound1]"), L("a.wav|0|1|2|3|4|5|6|7|8|9"), TrainSpec::kMaxEngineSounds,
       "[EngineSound1]"},
      {L("[EngineSound3]"), L("a.wav|0|1|2|3|4|5|6|7"), TrainSpec::kMaxEngineSounds,
       "[EngineSound3]"},
      {L("[DriveSound]"), L("a.wav"), TrainSpec::kMaxDriveSounds, "[DriveSound]"},
      {L("[Lamp_signal]|1|2|3|4|"), L("5"), TrainSpec::kMaxCabSignalCodes, "[Lamp_signal]"},
      {L("[Others]"), L("o.bmp|1|2"), TrainSpec::kMaxOthers, "[Others]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header[0]);
    Lines full = c.header;
    for (int i = 0; i < c.limit; ++i)
      full = full + c.entry;
    read(full + L("#"));
    EXPECT_EQ(failure(full + c.entry + L("#")), fileError(c.label));
  }
  EXPECT_EQ(train->SwitchSoundCount, TrainSpec::kMaxSwitchSounds);
  EXPECT_EQ(train->OtherCount, TrainSpec::kMaxOthers);
}

TEST_F(TrainReaderTest, CabSignalListTakesEmptyLinesAsEntries) {
  read(L("[Lamp_signal]|10|20|30|40|cab.bmp|1|2|3|#"));
  read(L("[Lamp_signal]|11|21|31|41||9||-4|#"));
  EXPECT_EQ(train->CabSignalCount, 3);
  EXPECT_EQ(train->CabSignalCodes[0], 9);
  EXPECT_EQ(train->CabSignalCodes[1], 2);  // an empty line leaves its slot unchanged
  EXPECT_EQ(train->CabSignalCodes[2], -4);
  EXPECT_EQ(train->Lamp_signal.x, 11);
  EXPECT_EQ(train->Lamp_signal.patternHeight, 41);
  EXPECT_EQ(train->Lamp_signal.file, "");
  EXPECT_FALSE(train->Lamp_signal.picture);  // no file line: no strip
  EXPECT_EQ(pictures.loaded.size(), 1u);
}

TEST_F(TrainReaderTest, StripPicturesLoadAtOnceFromTheTrainFolder) {
  dir.writeBytes("trains/QT600/Image/Notch_P.BMP", "BM");
  dir.writeCp932("trains/QT600/train_QT600.dat",
                 crlfLines(L("[NotchImageP]|200|420|60|20|image\\notch_p.bmp|"
                             "[GearImageList2]|1|2|3|4|gear.bmp|[NotchImageB]|0|0|0|0||"
                             // A section read again keeps the picture of the file it names.
                             "[NotchImageP]|200|420|60|20|Image\\Notch_P.BMP")));
  readTrainFile({dir.path(), "trains\\QT600\\", "train_QT600.dat"}, *train, pictures, lists);
  ASSERT_EQ(pictures.loaded.size(), 2u);
  EXPECT_EQ(pictures.loaded[0], dir.file("trains/QT600/Image/Notch_P.BMP"));
  EXPECT_EQ(pictures.loaded[1], dir.file("trains/QT600/gear.bmp"));
  EXPECT_EQ(train->NotchImageP.picture, 0);
  EXPECT_EQ(train->NotchImageP.file, "Image\\Notch_P.BMP");
  EXPECT_EQ(train->NotchImageP.patternWidth, 60);
  EXPECT_EQ(train->GearImageList2.picture, 1);
  EXPECT_FALSE(train->NotchImageB.picture);
  EXPECT_TRUE(lists.sign.empty());
}

TEST_F(TrainReaderTest, StripPictureThatFailsToLoadFails) {
  pictures.failing.insert("notch_b.bmp");
  EXPECT_EQ(failure(L("[NotchImageP]|1|2|3|4|notch_p.bmp|[NotchImageB]|1|2|3|4|notch_b.bmp")),
            fileError("[NotchImageB]"));
  EXPECT_EQ(failure(L("[Lamp_signal]|1|2|3|4|notch_b.bmp|#")), fileError("[Lamp_signal]"));
}

TEST_F(TrainReaderTest, StopLinePictureGoesFirstIntoTheSignList) {
  read(L("[StopLine]|image\\stopline.bmp"));
  ASSERT_EQ(lists.sign.size(), 1u);
  EXPECT_EQ(train->StopLine, "image\\stopline.bmp");
  EXPECT_EQ(train->StopLinePicture, lists.sign[0]);
  EXPECT_EQ(pictures.loaded[0], dir.file("image/stopline.bmp"));
}

TEST_F(TrainReaderTest, StopLinePictureThatFailsFails) {
  pictures.failing.insert("stopline.bmp");
  EXPECT_EQ(failure(L("[Cars]|4|[StopLine]|stopline.bmp")), fileError("- 列車の基本設定"));
  EXPECT_TRUE(lists.sign.empty());
  EXPECT_EQ(failure(L("[StopLine]|")), fileError("- 列車の基本設定"));
}

TEST_F(TrainReaderTest, AMissingFileIsNamedAfterTheMessage) {
  EXPECT_THROW(
      {
        try {
          readTrainFile({dir.path(), "", "train_none.dat"}, *train, pictures, lists);
        } catch (const DataError& e) {
          EXPECT_STREQ(e.what(), "車両ファイルに誤りがあります:train_none.dat");
          throw;
        }
      },
      DataError);
}

TEST_F(TrainReaderTest, UnreadableLinesFailWithTheLabelOfThatPoint) {
  const std::string bad = "\x85\x40\x85";  // not CP932
  dir.writeBytes("a.dat", testing::toCp932(crlfLines(L("[Power]|5"))) + bad + "\r\n");
  EXPECT_EQ(failureOf("a.dat"), fileError("- 列車の基本設定"));
  dir.writeBytes("b.dat", testing::toCp932(crlfLines(L("[Panel]|p.bmp"))) + bad + "\r\n");
  EXPECT_EQ(failureOf("b.dat"), fileError("- 運転台パネル"));
  dir.writeBytes("c.dat", testing::toCp932(crlfLines(L("[Engine_Type]|1|[Notch]"))) +
                              std::string(TextFileReader::kMaxLineBytes + 1, '1'));
  EXPECT_EQ(failureOf("c.dat"), fileError("[Notch]"));
  dir.writeBytes("d.dat", testing::toCp932(crlfLines(L("[DriveSound]|a.wav"))) + bad);
  EXPECT_EQ(failureOf("d.dat"), fileError("[DriveSound]"));
}

}  // namespace
}  // namespace velimoro
