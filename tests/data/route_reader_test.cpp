#include "data/route_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/data_error.h"
#include "data/paths.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::crlfLines;
using testing::RecordingPictures;
using testing::TempDir;

const std::string kError = "路線ファイルに誤りがあります。";

class RouteReaderTest : public ::testing::Test {
 protected:
  void read(const std::vector<std::string>& lines) {
    dir.writeCp932("line.dat", crlfLines(lines));
    readRouteFile(dir.path(), "line.dat", *route, pictures, lists);
  }

  // The text of the error the lines raise; "" when they read.
  std::string errorOf(const std::vector<std::string>& lines) {
    try {
      read(lines);
    } catch (const DataError& e) {
      return e.what();
    }
    return "";
  }

  std::string errorOfBytes(const std::string& bytes) {
    dir.writeBytes("line.dat", bytes);
    try {
      readRouteFile(dir.path(), "line.dat", *route, pictures, lists);
    } catch (const DataError& e) {
      return e.what();
    }
    return "";
  }

  TempDir dir;
  RecordingPictures pictures;
  PictureLists lists;
  std::unique_ptr<RouteData> route = std::make_unique<RouteData>();
};

TEST_F(RouteReaderTest, ReadsTheFixedSections) {
  read({"; 上り線のデータ",
        "[LineName]",
        "上り線",
        "[LineName2]",
        "上り 各駅停車",
        "[StartPos]",
        "120",
        "[FrameRate]",
        "15",
        "[Staf]",
        "image\\staf.bmp",
        "image\\staf2.bmp",
        "[Friction]",
        "0.35",
        "[DataName]",
        "line_up1",
        "[Perspective]",
        "12.5",
        "180",
        "[Pre_Train]",
        "500,45",
        "2,60,1000",
        "#",
        "[OneMan]",
        "1"});
  const RouteData& r = *route;
  EXPECT_EQ(r.lineName, "上り線");
  EXPECT_EQ(r.lineName2, "上り 各駅停車");
  EXPECT_EQ(r.startPos, 120);
  EXPECT_EQ(r.frameRate, 15);
  EXPECT_EQ(r.staffImage, "image\\staf.bmp");
  EXPECT_EQ(r.staffBitmap, "image\\staf2.bmp");
  EXPECT_EQ(r.friction.raw(), 3500);
  EXPECT_EQ(r.dataName, "line_up1");
  EXPECT_DOUBLE_EQ(r.perspectiveDistance, 12.5);
  EXPECT_EQ(r.perspectiveHeight, 180);
  EXPECT_EQ(r.preTrainStart, 500);
  EXPECT_EQ(r.preTrainLimit, 45);
  ASSERT_EQ(r.preTrainCount, 1);
  EXPECT_EQ(r.preTrains[0].preA, 2);
  EXPECT_EQ(r.preTrains[0].preB, 60);
  EXPECT_EQ(r.preTrains[0].preC, 1000);
  EXPECT_EQ(r.oneMan, 1);
}

TEST_F(RouteReaderTest, HeadersMatchByPrefixAndOnlyLaterSectionsTakeOverALine) {
  read({"[Station] 駅の一覧", "東京,0,100,300,0,1,0,1080000,0,0,0,0,0,0", "#",
        // A value line that is itself a later header opens that section too.
        "[LineName]", "[LineName2]", "二番目",
        // An earlier header is only a value.
        "[DataName]", "[StartPos]", "77"});
  EXPECT_EQ(route->stationCount, 1);
  EXPECT_EQ(route->stations[0].name, "東京");
  EXPECT_EQ(route->lineName, "[LineName2]");
  EXPECT_EQ(route->lineName2, "二番目");
  EXPECT_EQ(route->dataName, "[StartPos]");
  EXPECT_EQ(route->startPos, 0);
}

TEST_F(RouteReaderTest, HeaderValueLinesAreTakenEvenWhenTheyAreHashLines) {
  EXPECT_EQ(errorOf({"[StafSwitch]", "#"}), kError + "[StafSwitch]:#");
  EXPECT_EQ(errorOf({"[Pre_Train]", "#"}), kError + "[Pre_Train]:#");
  EXPECT_EQ(errorOf({"[Announce]", "#"}), kError + "[Announce]:#");

  read({"[StafSwitch]", "480", "2", "4", "#", "[Announce]", "7", "1,0,2,150", "3,1,3,200", "#"});
  EXPECT_EQ(route->staffSwitchCount, 3);
  EXPECT_EQ(route->staffSwitch[0], 480);
  EXPECT_EQ(route->staffSwitch[2], 4);
  EXPECT_EQ(route->announce[0].sound, 7);
  ASSERT_EQ(route->announceCount, 2);
  EXPECT_EQ(route->announce[1].sound, 1);
  EXPECT_EQ(route->announce[1].kind, 0);
  EXPECT_EQ(route->announce[1].station, 2);
  EXPECT_EQ(route->announce[1].offset, 150);
  EXPECT_EQ(route->announce[2].offset, 200);
}

TEST_F(RouteReaderTest, SoundSkipsCommentLines) {
  read({"[Sound]", ";番号,開始,終了", "1,100,200,60,1,1,0", ";", "2,300,400,0,0,0,1", "#"});
  ASSERT_EQ(route->soundCount, 2);
  const RouteSoundEntry& s = route->sounds[0];
  EXPECT_EQ(s.sound, 1);
  EXPECT_EQ(s.startFrame, 100);
  EXPECT_EQ(s.stopFrame, 200);
  EXPECT_EQ(s.refSpeed, 60);
  EXPECT_EQ(s.loop, 1);
  EXPECT_EQ(s.pitchFollows, 1);
  EXPECT_EQ(s.volumeFollows, 0);
  EXPECT_EQ(route->sounds[1].sound, 2);
  EXPECT_EQ(route->sounds[1].volumeFollows, 1);
}

TEST_F(RouteReaderTest, MissingFieldsFailAndExtraFieldsAreIgnored) {
  EXPECT_EQ(errorOf({"[Tunnel]", "100,200", "#"}), kError + "[Tunnel]:100,200");
  read({"[Tunnel]", "100,200,128,余分,9", "#"});
  ASSERT_EQ(route->tunnelCount, 1);
  EXPECT_EQ(route->tunnels[0].darkness, 128);
}

TEST_F(RouteReaderTest, CalloutVoicesAreNumberedFromTheFirstList) {
  std::vector<std::string> lines{"[KankoSound1]"};
  for (int i = 0; i < 21; ++i)
    lines.push_back("voice\\k" + std::to_string(i) + ".wav");
  lines.insert(lines.end(), {"[KankoSound2]", "voice\\a.wav", "voice\\b.wav", "voice\\c.wav", "#"});
  read(lines);
  EXPECT_EQ(route->kankoSound[0], "voice\\k0.wav");
  EXPECT_EQ(route->kankoSound[20], "voice\\k20.wav");
  EXPECT_EQ(route->kankoSound[21], "voice\\a.wav");
  EXPECT_EQ(route->kankoSound[23], "voice\\c.wav");
  EXPECT_EQ(route->kankoSoundCount, 24);

  read({"[KankoSound2]", "voice\\z.wav", "#"});
  EXPECT_EQ(route->kankoSound[21], "voice\\z.wav");
  EXPECT_EQ(route->kankoSoundCount, 22);
}

TEST_F(RouteReaderTest, ErrorsNameTheSectionLabelAndTheLine) {
  EXPECT_EQ(errorOf({"[StartPos]", "12x"}), kError + "その他:12x");
  EXPECT_EQ(errorOf({"[Friction]", "0,35"}), kError + "その他:0,35");
  EXPECT_EQ(errorOf({"[Perspective]", "far"}), kError + "[Speed_Signal]:far");
  EXPECT_EQ(errorOf({"[Perspective]", "1.5", "2.5"}), kError + "[Speed_Signal]:2.5");
  EXPECT_EQ(errorOf({"[OneMan]", "one"}), kError + "[Pre_Train]:one");
  const std::string badStation = "東京,0,100,300,0,1,0,十時,0,0,0,0,0,0";
  EXPECT_EQ(errorOf({"[Station]", badStation, "#"}), kError + "[Station]:" + badStation);
  EXPECT_EQ(errorOf({"[Slope]", "2.5.1,100,200", "#"}), kError + "[Slope]:2.5.1,100,200");
  EXPECT_EQ(errorOf({"[SpeedUnit]", "0,300,速い,36", "#"}), kError + "[SpeedUnit]:0,300,速い,36");
}

TEST_F(RouteReaderTest, EndOfFileEndsListsButNotFixedSections) {
  EXPECT_EQ(errorOf({"[FrameRate]"}), kError + "その他:");
  EXPECT_EQ(errorOf({"[Staf]", "image\\staf.bmp"}), kError + "その他:");
  EXPECT_EQ(errorOf({"[KankoSound1]", "voice\\k0.wav"}), kError + "[KankoSound1]:");
  EXPECT_EQ(errorOf({"[StafSwitch]"}), kError + "[StafSwitch]:");
  EXPECT_EQ(errorOf({"[Pre_Train]"}), kError + "[Pre_Train]:");
  EXPECT_EQ(errorOf({"[Announce]"}), kError + "[Announce]:");

  read({"[Station]", "東京,0,100,300,0,1,0,1080000,0,0,0,0,0,0"});
  EXPECT_EQ(route->stationCount, 1);
}

TEST_F(RouteReaderTest, SignalAndTrafficSignalFieldsKeepTheirFileMeaning) {
  std::string traffic;
  for (int n = 1; n <= 26; ++n)
    traffic += (n > 1 ? "," : "") + std::to_string(100 + n);
  read({"[Signal]", "1,2,3,4,5,6,7,8,9,10,11,12", "#", "[TrafficSignal]", traffic, "#"});
  ASSERT_EQ(route->signalCount, 1);
  const SignalEntry& s = route->signals[0];
  EXPECT_EQ(s.signalA, 1);
  EXPECT_EQ(s.signalB, 2);
  EXPECT_EQ(s.signalC, 3);
  EXPECT_EQ(s.signalType, 4);
  EXPECT_EQ(s.showFrom, 5);
  EXPECT_EQ(s.showTo, 6);
  EXPECT_EQ(s.signalG, 7);
  EXPECT_EQ(s.position, 8);
  EXPECT_EQ(s.signalI, 9);
  EXPECT_EQ(s.signalJ, 10);
  EXPECT_EQ(s.signalK, 11);
  EXPECT_EQ(s.signalL, 12);
  ASSERT_EQ(route->trafficSignalCount, 1);
  const TrafficSignalEntry& t = route->trafficSignals[0];
  for (int n = 1; n <= 26; ++n)
    EXPECT_EQ(t.field[static_cast<std::size_t>(n)], 100 + n) << n;
  EXPECT_EQ(t.position(), 101);
  EXPECT_EQ(t.position2(), 122);
}

TEST_F(RouteReaderTest, TablesStoreTheirFieldsByMeaning) {
  read({"[MovieStop]",
        "20000",
        "20100",
        "#",
        "[MovieSwitch]",
        "2,100,200,scene1,90,250",
        "#",
        "[Speed_Signal]",
        "0",
        "25",
        "45",
        "#",
        "[SoundData]",
        "sound\\発車.wav",
        "#",
        "[Doppler]",
        "3,500,4000,1",
        "#",
        "[StopSound]",
        "4",
        "#",
        "[Slope]",
        "-2.5,100,200",
        "#",
        "[Sign]",
        "3,110,210,4",
        "#",
        "[Anim]",
        "10,20,3,5",
        "#",
        "[SignalKanko]",
        "1,2,30",
        "#",
        "[StationKanko]",
        "2,5,1000",
        "#",
        "[SpeedLimit]",
        "45,2,7,900,1400",
        "#",
        "[SpeedCheck1]",
        "45,1200",
        "#",
        "[SpeedCheck2]",
        "25,100,300",
        "#",
        "[SpeedUnit]",
        "0,300,36.5,40",
        "#",
        "[Cross]",
        "1,2,3,4,5",
        "#",
        "[Time]",
        "10,20,1080000",
        "#",
        "[Switch]",
        "640,2",
        "#"});
  const RouteData& r = *route;
  EXPECT_EQ(r.movieStopCount, 2);
  EXPECT_EQ(r.movieStop[0], 20000);
  const MovieSwitchEntry& m = r.movieSwitches[0];
  EXPECT_EQ(r.movieSwitchCount, 1);
  EXPECT_EQ(m.kind, 2);
  EXPECT_EQ(m.fromFrame, 100);
  EXPECT_EQ(m.toFrame, 200);
  EXPECT_EQ(m.movieText, "scene1");
  EXPECT_EQ(m.movieLength, 90);
  EXPECT_EQ(m.resumeFrame, 250);
  EXPECT_EQ(r.speedSignalCount, 3);
  EXPECT_EQ(r.speedSignal[2], 45);
  EXPECT_EQ(r.soundDataCount, 1);
  EXPECT_EQ(r.soundData[0], "sound\\発車.wav");
  EXPECT_EQ(r.doppler[0].sound, 3);
  EXPECT_EQ(r.doppler[0].position, 500);
  EXPECT_EQ(r.doppler[0].radius, 4000);
  EXPECT_EQ(r.doppler[0].noShift, 1);
  EXPECT_EQ(r.stopSoundCount, 1);
  EXPECT_EQ(r.stopSounds[0], 4);
  EXPECT_EQ(r.slopes[0].gradient.raw(), -25000);
  EXPECT_EQ(r.slopes[0].from, 100);
  EXPECT_EQ(r.slopes[0].to, 200);
  EXPECT_EQ(r.signs[0].image, 3);
  EXPECT_EQ(r.signs[0].from, 110);
  EXPECT_EQ(r.signs[0].to, 210);
  EXPECT_EQ(r.signs[0].boardCallout, 4);
  EXPECT_EQ(r.anims[0].ticksPerPicture, 3);
  EXPECT_EQ(r.anims[0].firstPicture, 5);
  EXPECT_EQ(r.signalCallouts[0].signal, 1);
  EXPECT_EQ(r.signalCallouts[0].voice, 30);
  EXPECT_EQ(r.stationCallouts[0].when, 5);
  EXPECT_EQ(r.stationCallouts[0].action, 1000);
  const SpeedLimitEntry& l = r.speedLimits[0];
  EXPECT_EQ(l.limit, 45);
  EXPECT_EQ(l.image, 2);
  EXPECT_EQ(l.limitC, 7);
  EXPECT_EQ(l.position, 900);
  EXPECT_EQ(l.limitE, 1400);
  EXPECT_EQ(r.speedChecks1[0].checkA, 45);
  EXPECT_EQ(r.speedChecks1[0].checkB, 1200);
  EXPECT_EQ(r.speedChecks2[0].checkC, 300);
  EXPECT_EQ(r.frameSpeeds[0].toFrame, 300);
  EXPECT_EQ(r.frameSpeeds[0].fromSpeed, 36.5L);
  EXPECT_EQ(r.frameSpeeds[0].toSpeed, 40.0L);
  EXPECT_EQ(r.crossings[0].crossVoice, 2);
  EXPECT_EQ(r.crossings[0].crossE, 5);
  EXPECT_EQ(r.times[0].at, 1080000);
  EXPECT_EQ(r.switches[0].switchFrame, 640);
  EXPECT_EQ(r.switches[0].switchValue, 2);
}

TEST_F(RouteReaderTest, RepeatedListsStartAgainAndImageListsAppend) {
  read({"[Tunnel]",
        "1,2,3",
        "4,5,6",
        "#",
        "[Tunnel]",
        "7,8,9",
        "#",
        "[MovieStop]",
        "100",
        "200",
        "#",
        "[MovieStop]",
        "300",
        "#",
        "[SignImageList]",
        "image\\a.bmp",
        "#",
        "[SignImageList]",
        "image\\b.bmp",
        "#"});
  EXPECT_EQ(route->tunnelCount, 1);
  EXPECT_EQ(route->tunnels[0].entry, 7);
  EXPECT_EQ(route->movieStopCount, 1);
  EXPECT_EQ(route->movieStop[0], 300);
  EXPECT_EQ(lists.sign.size(), 2u);
}

TEST_F(RouteReaderTest, ImageListsLoadEachPictureFromTheRoot) {
  read({"[SignImageList]",
        "image\\Sign1.bmp",
        "#",
        "[OtherImageList]",
        "image\\o1.bmp",
        "sound\\o1.wav",
        "image\\o2.bmp",
        "#",
        "#",
        "[AnimImageList]",
        "image\\a1.bmp",
        "image\\a2.bmp",
        "#",
        "[SignalImageList]",
        "image\\s.bmp",
        "#",
        "[TrafficSignalImageList]",
        "image\\t.bmp",
        "#",
        "[SignalImageList2]",
        "image\\l.bmp",
        "#",
        "[CrossImageList]",
        "image\\c.bmp",
        "#"});
  ASSERT_FALSE(pictures.loaded.empty());
  EXPECT_EQ(pictures.loaded[0], resolvePath(dir.path(), "image\\Sign1.bmp"));
  EXPECT_EQ(lists.sign.size(), 1u);
  // The sound line of a pair is never a terminator.
  EXPECT_EQ(lists.other.size(), 2u);
  EXPECT_EQ(route->otherImageCount, 2);
  EXPECT_EQ(route->otherSounds[0], "sound\\o1.wav");
  EXPECT_EQ(route->otherSounds[1], "#");
  EXPECT_EQ(lists.anim.size(), 2u);
  EXPECT_EQ(route->animImageCount, 2);
  EXPECT_EQ(lists.signal.size(), 1u);
  EXPECT_EQ(lists.trafficSignal.size(), 1u);
  EXPECT_EQ(lists.signal2.size(), 1u);
  EXPECT_EQ(lists.cross.size(), 1u);
  EXPECT_EQ(pictures.loaded.size(), 9u);

  pictures.failing = {"bad.bmp"};
  EXPECT_EQ(errorOf({"[SignalImageList]", "image\\bad.bmp", "#"}),
            kError + "[SignalImageList]:image\\bad.bmp");
  EXPECT_EQ(errorOf({"[OtherImageList]", "image\\bad.bmp", "sound\\x.wav", "#"}),
            kError + "[OtherImageList]:image\\bad.bmp");
}

TEST_F(RouteReaderTest, TablesStopAtTheirCapacity) {
  std::vector<std::string> lines{"[Speed_Signal]"};
  for (int i = 0; i < 12; ++i)
    lines.push_back(std::to_string(i * 10));
  EXPECT_EQ(errorOf(lines), kError + "[Speed_Signal]:110");

  lines = {"[StafSwitch]", "480"};
  for (int i = 1; i < 10; ++i)
    lines.push_back(std::to_string(i));
  lines.push_back("#");
  read(lines);
  EXPECT_EQ(route->staffSwitchCount, 10);
  lines.insert(lines.end() - 1, "10");
  EXPECT_EQ(errorOf(lines), kError + "[StafSwitch]:10");

  lines = {"[Tunnel]"};
  for (int i = 0; i < 502; ++i)
    lines.push_back(std::to_string(i) + ",0,0");
  EXPECT_EQ(errorOf(lines), kError + "[Tunnel]:501,0,0");

  lines = {"[Announce]", "0"};
  for (int i = 0; i < 501; ++i)
    lines.push_back(std::to_string(i) + ",0,0,0");
  EXPECT_EQ(errorOf(lines), kError + "[Announce]:500,0,0,0");

  lines = {"[KankoSound2]"};
  for (int i = 0; i < 521; ++i)
    lines.push_back("v" + std::to_string(i));
  EXPECT_EQ(errorOf(lines), kError + "[KankoSound2]:v520");

  // An image list holds as many pictures as a big table holds records, and a file named again
  // and again is loaded once.
  lines = {"[SignImageList]"};
  for (std::size_t i = 0; i <= PictureLists::kMaxPictures; ++i)
    lines.push_back("image\\sign" + std::to_string(i % 3) + ".bmp");
  EXPECT_EQ(errorOf(lines), kError + "[SignImageList]:image\\sign1.bmp");
  EXPECT_EQ(lists.sign.size(), PictureLists::kMaxPictures);
  EXPECT_EQ(pictures.loaded.size(), 3u);
}

TEST_F(RouteReaderTest, UnreadableAndMissingFiles) {
  // 0x85 0x40 is not a CP932 character.
  EXPECT_EQ(errorOfBytes("\x85\x40\x85\r\n"), kError + "その他:(読み取れない行)");
  EXPECT_EQ(errorOfBytes(testing::toCp932("[Station]\r\n") + "\x85\x40\r\n#\r\n"),
            kError + "[Station]:(読み取れない行)");
  RouteData other;
  EXPECT_THROW(
      {
        try {
          readRouteFile(dir.path(), "nofile.dat", other, pictures, lists);
        } catch (const DataError& e) {
          EXPECT_STREQ(e.what(), (kError + ":nofile.dat").c_str());
          throw;
        }
      },
      DataError);
}

TEST_F(RouteReaderTest, AnEmptyFileReadsAsAnEmptyRoute) {
  EXPECT_EQ(errorOfBytes(""), "");
  EXPECT_EQ(route->lineName, "");
  EXPECT_EQ(route->startPos, 0);
  EXPECT_EQ(route->stationCount, 0);
  EXPECT_EQ(route->frameSpeedCount, 0);
  EXPECT_EQ(route->kankoSoundCount, 21);
  EXPECT_TRUE(pictures.loaded.empty());
}

TEST_F(RouteReaderTest, RandomGarbageFailsCleanlyOrReadsNothing) {
  std::mt19937_64 random(20240611);
  std::string bytes(100u << 20, '\0');
  for (std::size_t i = 0; i + 8 <= bytes.size(); i += 8) {
    const std::uint64_t word = random();
    for (int k = 0; k < 8; ++k)
      bytes[i + k] = static_cast<char>(word >> (8 * k));
  }
  const std::string error = errorOfBytes(bytes);
  if (!error.empty()) {
    EXPECT_EQ(error.rfind(kError, 0), 0u) << error;
  }
}

TEST_F(RouteReaderTest, StaffPictureIsLoadedWhenNamed) {
  EXPECT_EQ(loadStaffPicture(dir.path(), *route, pictures), std::nullopt);
  EXPECT_TRUE(pictures.loaded.empty());
  route->staffImage = "image\\staf.bmp";
  EXPECT_TRUE(loadStaffPicture(dir.path(), *route, pictures).has_value());
  EXPECT_EQ(pictures.loaded.back(), resolvePath(dir.path(), "image\\staf.bmp"));
  pictures.failing = {"staf.bmp"};
  try {
    loadStaffPicture(dir.path(), *route, pictures);
    ADD_FAILURE() << "no error";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "image\\staf.bmpが見つかりません");
  }
}

}  // namespace
}  // namespace velimoro
