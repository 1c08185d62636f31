// Whole train data files read end to end: an electric train, a diesel railcar, the bundled
// sample, and garbage.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/train_reader.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::crlfLines;
using testing::TempDir;
using Lines = std::vector<std::string>;

Lines L(std::string_view text) {
  return testing::splitBars(text);
}

Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

class TrainFilesTest : public ::testing::Test {
 protected:
  void read(const std::string& folder, const Lines& lines) {
    dir.writeCp932(folder + "train.dat", crlfLines(lines));
    readTrainFile({dir.path(), folder, "train.dat"}, *train, pictures, lists);
  }

  TempDir dir;
  testing::RecordingPictures pictures;
  PictureLists lists;
  std::unique_ptr<TrainSpec> train = std::make_unique<TrainSpec>();
};

// A two-handle electric train with two power modes, as a train maker writes one.
const Lines kElectricTrain = concat({
    L("// 鉄道運転シミュレータ 車両データ QT600形 (4両編成)|[Handle]|1|[BrakeType]|1"),
    L("[Brake]|5|[Power]|4|[NotchBack]|2|[Hold]|1|[Const]|1|[Back]|1"),
    L("[BrakeRate]|1.15|0.85|[BrakeRate2]|0.25|[PowerDelay]|3"),
    L("[BrakeDelay]|4|[PowerJerk]|5|[SAPDelay]|2|[BrakeUp]|20"),
    L("[BrakeDown]|25|[BPReturn]|10|[EBPress]|440|[SAPPress]|400"),
    L("[HighAirPress]|880|[LowAirPress]|780|[Curr1]|300|[Curr2]|-200||; 電車"),
    L("[Engine_Type]|1|[DoorType]|1|[Mt]|68.5|[Tt]|61.25|[Cars]|4"),
    L("[StopLine]|image\\stop.bmp|[Tons]|129.75|[EB]|1|[MaxSpeed]|110"),
    L("[Lose_elec]|6|[ELBR]|120|[Mc]|1|[ATS_Type]|1|[ATS_Alert]|1"),
    L("[ATS_Time]|5|[ATS_Cnt]|0|[Sound_BK] 全緩め|1|1|1|1|3"),
    L("[Sound_BR] 段緩め|2|2|2|2|2|[Sound_BA] ブレーキ|0|0|0|0|[Sound_EB]|3"),
    L("[Sound_Apply]|0|[Sound_Ats1]|4|[Sound_Ats2]|5|[Sound_Atc]|6"),
    L("[Sound_Horn]|7|[Sound_Horn2]|8|[Sound_Horn3]|8"),
    L("[Sound_DoorOpen]|9|[Sound_DoorClose]|10|[Sound_EBring]|11"),
    L("[Sound_squeak]|12|[CP_Start]|13|[CP_Cnt]|14|[CP_End]|15"),
    L("[Stop]|16|[Buzzer]|17|18|[DepSign]|18|[ATS_Warn]|19"),
    L("[SwitchSound]|20,45,0|20,200,1|#|[Notch]|1.2|1.2|30|50|0.98|0|2.5|2.5|40|60|0.98|0"),
    L("1.0|1.0|35|55|0.97|1|2.8|2.6|45|70|0.985|1|#|[PowerMode]|P,直列|S,並列|#"),
    L("[EngineSound1]|sound\\motor1.wav|0|0|40|80|0.5|1.0|1.6|0|-500|-1000"),
    L("sound\\motor2.wav|1|20|60|110|0.8|1.0|1.4|-2000|0|-300|#"),
    L("[DriveSound]|sound\\brake_apply.wav|sound\\brake_release.wav|sound\\brake_part.wav"),
    L("sound\\eb.wav|sound\\ats_bell.wav|sound\\ats_chime.wav|sound\\atc.wav"),
    L("sound\\horn1.wav|sound\\horn2.wav|sound\\door_open.wav|sound\\door_close.wav"),
    L("sound\\eb_ring.wav|sound\\squeak.wav|sound\\cp_start.wav|sound\\cp_run.wav"),
    L("sound\\cp_end.wav|sound\\stop.wav|sound\\buzzer.wav|sound\\departure.wav"),
    L("sound\\ats_warn.wav|sound\\point.wav|#|[Clock]|520|40|30"),
    L("[Panel]|image\\panel.bmp|0|400|[Panel2]||0|0|[Lamp_Door]|image\\lamp_door.bmp|10|410"),
    L("[Lamp_Power]|image\\lamp_power.bmp|40|410|[Lamp_EB]|image\\lamp_eb.bmp|70|410"),
    L("[Lamp_Ats1]|image\\lamp_ats1.bmp|100|410|[Lamp_Stop]|image\\lamp_stop.bmp|130|410"),
    L("[Needle_Speed]|image\\needle_speed.bmp|120|520|8|60|-135|2.25"),
    L("[Needle_BC]|image\\needle_bc.bmp|260|520|8|50|-120|0.24"),
    L("[Needle_MR]|image\\needle_mr.bmp|330|520|8|50|-120|0.24"),
    L("[Needle_I]|image\\needle_i.bmp|400|520|4|50|-90|0.18|1"),
    L("[Lamp_signal]|300|420|40|20|image\\cabsignal.bmp|0|1|2||4|#"),
    L("[NotchImageP]|200|420|60|20|image\\notch_p.bmp|[NotchImageB]|200|445|60|20"),
    L("image\\notch_b.bmp|[NotchImageP2]|0|0|0|0||[Others]|image\\others1.bmp|10|10"),
    L("image\\others2.bmp|20|30|#"),
});

TEST_F(TrainFilesTest, ReadsAWholeElectricTrain) {
  read("trains/QT600/", kElectricTrain);
  settleTrainBrake(*train);
  const TrainSpec& t = *train;
  const std::string folder = dir.path() + "/trains/QT600/";
  EXPECT_EQ(t.Handle, 1);
  EXPECT_EQ(t.Brake, 5);
  EXPECT_EQ(t.Power, 4);
  EXPECT_EQ(t.Hold, 1);
  EXPECT_EQ(t.BrakeRate[0].raw(), 11500);
  EXPECT_EQ(t.BrakeRate[1].raw(), 8500);
  EXPECT_DOUBLE_EQ(t.BrakeRate2, 0.25);
  EXPECT_EQ(t.BrakeDown, 25);
  EXPECT_EQ(t.LowAirPress, 780);
  EXPECT_EQ(t.Curr2, -200);
  EXPECT_EQ(t.Engine_Type, 1);
  EXPECT_EQ(t.Mt.raw(), 685000);
  EXPECT_EQ(t.Tt.raw(), 612500);
  EXPECT_EQ(t.Tons.raw(), 1297500);
  EXPECT_EQ(t.MaxSpeed, 110);
  EXPECT_EQ(t.ATS_Type, 1);
  EXPECT_EQ(t.Sound_BK, (std::array<int, 64>{1, 1, 1, 1, 3}));
  EXPECT_EQ(t.Sound_BR[4], 2);
  EXPECT_EQ(t.Sound_BA[3], 0);
  EXPECT_EQ(t.Sound_Horn2, 8);
  EXPECT_EQ(t.CP_End, 15);
  EXPECT_EQ(t.Buzzer, (std::array<int, 2>{17, 18}));
  EXPECT_EQ(t.ATS_Warn, 19);

  EXPECT_EQ(t.SwitchSoundCount, 2);
  EXPECT_EQ(t.SwitchSound[1].valueB, 200);
  EXPECT_DOUBLE_EQ(t.Notches[1].accStart, 2.5);
  EXPECT_EQ(t.Notches[3].speedPower, 70);
  EXPECT_DOUBLE_EQ(t.Notches[3].decay, 0.985);
  EXPECT_EQ(t.PowerModeFirst[1], 2);
  EXPECT_EQ(t.PowerModeCount, 2);
  EXPECT_EQ(t.PowerModes[0].prefix, "P");
  EXPECT_EQ(t.PowerModes[1].name, "並列");
  EXPECT_EQ(t.EngineSound1Count, 2);
  EXPECT_EQ(t.EngineSound1[1].file, "sound\\motor2.wav");
  EXPECT_EQ(t.EngineSound1[1].number, 1);
  EXPECT_EQ(t.EngineSound1[1].p[2], 110.0L);
  EXPECT_EQ(t.EngineSound1[1].p[6], -2000.0L);
  EXPECT_EQ(t.DriveSoundCount, 21);
  EXPECT_EQ(t.DriveSound[20], "sound\\point.wav");

  EXPECT_EQ(t.Clock.handLength, 30);
  EXPECT_EQ(t.Panel.file, "image\\panel.bmp");
  EXPECT_EQ(t.Panel.y, 400);
  EXPECT_EQ(t.Panel2.file, "");
  EXPECT_EQ(t.Lamp_Stop.x, 130);
  EXPECT_EQ(t.Needle_Speed.file, "image\\needle_speed.bmp");
  EXPECT_EQ(t.Needle_Speed.extraB, 60);
  EXPECT_EQ(t.Needle_Speed.needleOffset, -135);
  EXPECT_EQ(t.Needle_Speed.needleRate, 2.25L);
  EXPECT_EQ(t.Needle_I.needleAbsolute, 1);
  EXPECT_EQ(t.Needle_BP.file, "");  // absent sections stay as they were
  EXPECT_EQ(t.CabSignalCount, 5);
  EXPECT_EQ(t.CabSignalCodes[4], 4);
  EXPECT_EQ(t.OtherCount, 2);
  EXPECT_EQ(t.Others[1].file, "image\\others2.bmp");
  EXPECT_EQ(t.Others[1].y, 30);

  // Pictures in file order: the stop line, the cab signal and two notch strips.
  EXPECT_EQ(pictures.loaded,
            (std::vector<std::string>{folder + "image/stop.bmp", folder + "image/cabsignal.bmp",
                                      folder + "image/notch_p.bmp", folder + "image/notch_b.bmp"}));
  EXPECT_EQ(lists.sign, std::vector<int>{0});
  EXPECT_EQ(t.StopLinePicture, 0);
  EXPECT_EQ(t.Lamp_signal.picture, 1);
  EXPECT_EQ(t.NotchImageB.picture, 3);
  EXPECT_EQ(t.NotchImageB.y, 445);
  EXPECT_FALSE(t.NotchImageP2.picture);
}

// A one-handle diesel railcar with an automatic air brake and a manual gearbox.
const Lines kDieselRailcar = concat({
    L("; キハ 単行 気動車|[Handle]|0|[BrakeType]|0|[Brake]|4|[Power]|5"),
    L("[Engine_Type]|0|[Tons]|32.5|[Mt]|32.5|[Cars]|1|[StopLine]|stop.bmp"),
    L("[MaxSpeed]|95|[Sound_BK]|0|1|2|3|[EngineRate]|0,0.8|1,1.0|2,1.25|#"),
    L("[Gear_Type]|MT|[Engine]|0|10|25|2.4|2.0|1.2|20|35|60|1.2|1.0|0.6|50|70|95|0.6|0.5"),
    L("0.3|#|[PowerMode]|N,|#|[EngineSound1]|sound\\idle.wav|2|0|0|0|1.0|1.0|1.0|-500|-500"),
    L("-500|#|[EngineSound2]|3|4|5|6|[EngineSound3]|sound\\engine_low.wav|7|8|0|30|0.8|1.6"),
    L("-1000|0|sound\\engine_high.wav|9|10|30|95|0.9|1.5|0|-200|#"),
    L("[DriveSound]|sound\\brake.wav|sound\\release.wav|#"),
    L("[GearImageList]|10|300|40|24|gear.bmp|[GearImageList2]|10|330|40|24|"),
});

TEST_F(TrainFilesTest, ReadsAWholeDieselRailcar) {
  read("", kDieselRailcar);
  settleTrainBrake(*train);
  const TrainSpec& t = *train;
  EXPECT_EQ(t.Handle, 0);
  EXPECT_EQ(t.Brake, 4);
  EXPECT_EQ(t.Engine_Type, 0);
  EXPECT_EQ(t.Tons.raw(), 325000);
  EXPECT_EQ(t.Sound_BK[3], 3);
  EXPECT_EQ(t.EngineRateCount, 3);
  EXPECT_EQ(t.EngineRate[2].value, 2);
  EXPECT_EQ(t.EngineRate[2].rate, 1.25L);
  EXPECT_EQ(t.Gear_Type, 1);
  EXPECT_EQ(t.GearCount, 3);
  EXPECT_EQ(t.Gears[1].speedMid, 35);
  EXPECT_DOUBLE_EQ(t.Gears[2].accHigh, 0.3);
  EXPECT_EQ(t.PowerModeCount, 1);
  EXPECT_EQ(t.PowerModes[0].prefix, "N");
  EXPECT_EQ(t.PowerModes[0].name, "");
  EXPECT_EQ(t.EngineSound1Count, 1);
  EXPECT_EQ(t.EngineSound1[0].p[8], -500.0L);
  EXPECT_EQ(t.EngineSound2, (std::array<int, 4>{3, 4, 5, 6}));
  EXPECT_EQ(t.EngineSound3Count, 2);
  EXPECT_EQ(t.EngineSound3[1].file, "sound\\engine_high.wav");
  EXPECT_EQ(t.EngineSound3[1].numberA, 9);
  EXPECT_EQ(t.EngineSound3[1].numberB, 10);
  EXPECT_EQ(t.EngineSound3[1].p[1], 95.0L);
  EXPECT_EQ(t.EngineSound3[1].p[5], -200.0L);
  EXPECT_EQ(t.DriveSoundCount, 2);
  EXPECT_EQ(t.GearImageList.picture, 1);
  EXPECT_EQ(t.GearImageList.patternHeight, 24);
  EXPECT_FALSE(t.GearImageList2.picture);
  EXPECT_EQ(pictures.loaded,
            (std::vector<std::string>{dir.file("stop.bmp"), dir.file("gear.bmp")}));
}

TEST(TrainSample, BundledSampleIsAValidElectricTrain) {
  const std::string root = std::string(VELIMORO_SOURCE_DIR) + "/samples/sample";
  testing::RecordingPictures pictures;
  pictures.requireExisting = true;
  PictureLists lists;
  auto train = std::make_unique<TrainSpec>();
  readTrainFile({root, "", "train_sample.dat"}, *train, pictures, lists);
  settleTrainBrake(*train);
  EXPECT_EQ(train->Engine_Type, 1);
  EXPECT_EQ(train->Brake, 9);
  EXPECT_EQ(train->Power, 5);
  EXPECT_EQ(train->Cars, 4);
  EXPECT_EQ(train->Tons.raw(), 1400000);
  EXPECT_EQ(lists.sign.size(), 1u);
  EXPECT_EQ(pictures.loaded, std::vector<std::string>{root + "/image/stopline.bmp"});
  for (int n = 0; n < train->Power; ++n)
    EXPECT_GT(train->Notches[n].accStart, 0) << n;
  // Every sound number names an entry of the DriveSound list.
  for (int k = 0; k < train->Brake; ++k) {
    EXPECT_LT(train->Sound_BK[k], train->DriveSoundCount);
    EXPECT_LT(train->Sound_BR[k], train->DriveSoundCount);
  }
  for (int number :
       {train->Sound_EB, train->Sound_Ats1, train->Sound_Ats2, train->Sound_Horn,
        train->Sound_DoorOpen, train->Sound_DoorClose, train->CP_Cnt, train->ATS_Warn}) {
    EXPECT_LT(number, train->DriveSoundCount);
  }
}

/// `bytes` pseudo-random bytes from a fixed seed (xorshift64).
std::string randomBytes(std::size_t bytes, bool printable) {
  std::string out(bytes, '\0');
  std::uint64_t x = 0x9E3779B97F4A7C15ull;
  for (std::size_t i = 0; i < bytes; i += 8) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    std::uint64_t word = x;
    if (printable) {
      // Letters, digits, blanks and line ends only: nothing that can start a key.
      static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789 ,.\r\n";
      for (int k = 0; k < 8; ++k, word >>= 8) {
        if (i + k < bytes) out[i + k] = kChars[(word & 0xFF) % (sizeof kChars - 1)];
      }
    } else {
      std::memcpy(out.data() + i, &word, std::min<std::size_t>(8, bytes - i));
    }
  }
  return out;
}

TEST_F(TrainFilesTest, HundredMegabytesOfGarbageFailCleanlyAndQuickly) {
  dir.writeBytes("garbage.dat", randomBytes(100u << 20, false));
  const auto start = std::chrono::steady_clock::now();
  bool failed = false;
  try {
    readTrainFile({dir.path(), "", "garbage.dat"}, *train, pictures, lists);
  } catch (const DataError& e) {
    failed = true;
    EXPECT_EQ(std::string(e.what()).rfind("車両ファイルに誤りがあります", 0), 0u);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 20.0);
  if (!failed) {
    EXPECT_TRUE(*train == TrainSpec());
  }
  EXPECT_TRUE(pictures.loaded.empty());
}

TEST_F(TrainFilesTest, TextGarbageReadsThroughAndSetsNothing) {
  dir.writeBytes("garbage.dat", randomBytes(8u << 20, true));
  readTrainFile({dir.path(), "", "garbage.dat"}, *train, pictures, lists);
  EXPECT_TRUE(*train == TrainSpec());
  EXPECT_TRUE(pictures.loaded.empty());
}

}  // namespace
}  // namespace velimoro
