#include "data/route_document.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/route_reader.h"
#include "data/route_records.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::RecordingPictures;
using testing::TempDir;
using testing::toCp932;
using S = RouteSection;

// The route a document's bytes read as, read from a file in `dir`.
std::unique_ptr<RouteData> readBack(const TempDir& dir, const std::string& bytes) {
  dir.writeBytes("line.dat", bytes);
  auto route = std::make_unique<RouteData>();
  RecordingPictures pictures;
  PictureLists lists;
  readRouteFile(dir.path(), "line.dat", *route, pictures, lists);
  return route;
}

std::string written(const RouteData& route, const RoutePictureNames& pictures) {
  RouteDocument doc;
  EXPECT_TRUE(writeRouteDocument(route, pictures, doc));
  return doc.bytes();
}

// Every table full to its capacity with values from the whole range of their types: what the
// reader reads back from the written file writes the same bytes again, so no field is lost or
// changed on the way.
TEST(RouteWriter, RecordsAtTheirCapacitiesReadBackAsWritten) {
  std::mt19937_64 random(34);
  const auto anyInt = [&] {
    switch (random() % 4) {
      case 0:
        return INT_MIN + static_cast<int>(random() % 3);
      case 1:
        return INT_MAX - static_cast<int>(random() % 3);
      default:
        return static_cast<int>(static_cast<std::uint32_t>(random()));
    }
  };
  const std::vector<std::string> texts = {"汐見",         "ﾊﾝｶｸ",    " blank before", "after ",
                                          "sound\\a.wav", "中央 駅", "x;y",           ""};
  const auto anyText = [&] { return texts[random() % texts.size()]; };
  const auto anyReal = [&]() -> long double {
    const long double magnitudes[] = {1, 1e-3L, 1e3L, 1e-9L, 1e20L};
    return static_cast<long double>(static_cast<std::int64_t>(random())) / 1e18L *
           magnitudes[random() % 5];
  };

  auto r = std::make_unique<RouteData>();
  r->lineName = "路線";
  r->lineName2 = anyText();
  r->startPos = anyInt();
  r->frameRate = anyInt();
  r->staffImage = "staff.bmp";
  r->staffBitmap = anyText();
  r->friction = Fixed::fromRaw(static_cast<std::int64_t>(random() >> 12) - (std::int64_t{1} << 51));
  r->dataName = anyText();
  r->perspectiveDistance = static_cast<double>(anyReal());
  r->perspectiveHeight = anyInt();
  r->preTrainStart = anyInt();
  r->preTrainLimit = anyInt();
  r->oneMan = anyInt();
  const auto fillInts = [&](auto& table, int& count, int from = 0) {
    count = static_cast<int>(table.size());
    for (std::size_t i = static_cast<std::size_t>(from); i < table.size(); ++i)
      table[i] = anyInt();
  };
  fillInts(r->staffSwitch, r->staffSwitchCount);
  fillInts(r->movieStop, r->movieStopCount);
  fillInts(r->speedSignal, r->speedSignalCount);
  fillInts(r->stopSounds, r->stopSoundCount);
  r->soundDataCount = RouteData::kTable;
  for (auto& s : r->soundData)
    s = anyText();
  r->kankoSoundCount = RouteData::kKankoSlots;
  for (auto& s : r->kankoSound)
    s = anyText();
  r->announce[0].sound = anyInt();
  r->announceCount = RouteData::kTable - 1;
  // Every record field, whatever its meaning, is an int the file gives in decimal; a table's
  // records are filled through their bytes.
  const auto fillRecords = [&](auto& table, int& count) {
    count = static_cast<int>(table.size());
    for (auto& e : table) {
      auto* ints = reinterpret_cast<int*>(&e);
      for (std::size_t k = 0; k < sizeof e / sizeof(int); ++k)
        ints[k] = anyInt();
    }
  };
  fillRecords(r->sounds, r->soundCount);
  r->tunnelCount = RouteData::kTable;
  for (auto& e : r->tunnels)
    e = {anyInt(), anyInt(), anyInt(), 0, 0};
  fillRecords(r->signals, r->signalCount);
  fillRecords(r->signs, r->signCount);
  fillRecords(r->anims, r->animCount);
  fillRecords(r->signalCallouts, r->signalCalloutCount);
  fillRecords(r->stationCallouts, r->stationCalloutCount);
  fillRecords(r->speedChecks1, r->speedCheck1Count);
  fillRecords(r->speedChecks2, r->speedCheck2Count);
  fillRecords(r->crossings, r->crossingCount);
  fillRecords(r->times, r->timeCount);
  fillRecords(r->switches, r->switchCount);
  fillRecords(r->preTrains, r->preTrainCount);
  for (std::size_t i = 1; i < r->announce.size(); ++i)
    r->announce[i] = {anyInt(), anyInt(), anyInt(), anyInt()};
  r->dopplerCount = RouteData::kTable;
  for (auto& e : r->doppler)
    e = {anyInt(), anyInt(), anyInt(), anyInt()};
  r->trafficSignalCount = RouteData::kTable;
  for (auto& e : r->trafficSignals)
    for (int n = 1; n <= 26; ++n)
      e.field[static_cast<std::size_t>(n)] = anyInt();
  r->speedLimitCount = RouteData::kTable;
  for (auto& e : r->speedLimits)
    e = {anyInt(), anyInt(), anyInt(), anyInt(), anyInt()};
  r->stationCount = RouteData::kTable;
  for (auto& e : r->stations) {
    e = StationEntry{};
    e.name = anyText();
    for (int* v : {&e.kind, &e.stopFrame, &e.stopTolerance, &e.departSound1, &e.departSound2,
                   &e.stationValue7, &e.departTime, &e.stationValue9, &e.stationValue10,
                   &e.stationValue11, &e.stationValue12, &e.stationValue13, &e.stationValue14})
      *v = anyInt();
  }
  r->slopeCount = RouteData::kTable;
  for (auto& e : r->slopes)
    e = {anyInt(), anyInt(), Fixed::fromRaw(static_cast<std::int64_t>(random() >> 14) * 7)};
  r->movieSwitchCount = RouteData::kSmallTable;
  for (auto& e : r->movieSwitches)
    e = {anyInt(), anyInt(), anyInt(), anyText(), anyInt(), false, anyInt()};
  r->frameSpeedCount = RouteData::kFrameSpeeds;
  for (auto& e : r->frameSpeeds)
    e = {anyInt(), anyInt(), anyReal(), anyReal(), 0};
  RoutePictureNames pictures{{"a.bmp"}, {},        {"b.bmp", "c.bmp"}, {"d.bmp"},
                             {"e.bmp"}, {"f.bmp"}, {"g.bmp"}};
  r->otherImageCount = RouteData::kBigTable;
  for (int i = 0; i < r->otherImageCount; ++i) {
    pictures.other.push_back("board" + std::to_string(i % 3) + ".bmp");
    r->otherSounds[static_cast<std::size_t>(i)] = anyText();
  }

  TempDir dir;
  const std::string bytes = written(*r, pictures);
  const auto back = readBack(dir, bytes);
  EXPECT_EQ(written(*back, pictures), bytes);
  EXPECT_EQ(back->frameSpeeds[9999].toSpeed, r->frameSpeeds[9999].toSpeed);
  EXPECT_EQ(back->stations[500].name, r->stations[500].name);

  // One record past a capacity is the reader's error; the writer refuses to write it.
  ++r->announceCount;
  RouteDocument refused;
  EXPECT_FALSE(writeRouteDocument(*r, pictures, refused));
}

TEST(RouteWriter, DecimalsHaveTheFewestPlacesThatReadBack) {
  EXPECT_EQ(decimalText(Fixed::fromRaw(3500)), "0.35");
  EXPECT_EQ(decimalText(Fixed::fromRaw(-250000)), "-25.0");
  EXPECT_EQ(decimalText(Fixed::fromRaw(-1)), "-0.0001");
  EXPECT_EQ(decimalText(62.5L), "62.5");
  EXPECT_EQ(decimalText(30.0L), "30.0");
  EXPECT_EQ(decimalText(20.0), "20.0");
}

// A file as an author keeps it by hand: comments, notes after headers, blanks inside fields,
// a line no section reads, LF and CR LF mixed, a skipped line in "[Sound]" and no line end at
// the end of the file.
const std::string kHandFile =
    "; 手書きの路線\r\n"
    "[LineName]\r\n"
    "港線\r\n"
    "author=someone\n"
    "[StartPos] first stop\r\n"
    " 120\r\n"
    "[Sound]\r\n"
    "0, 10, 20,60,1,1,0\r\n"
    ";1,30,40,60,1,1,0\r\n"
    "2,50,60,60,1,1,0\r\n"
    "#\r\n"
    "  ; 駅\r\n"
    "[Station] 上り\r\n"
    "港,0,300,200,0,0,0,1080000,0,0,0,0,0,0\r\n"
    "岬,0,900,200,0,0,0,1090000,0,0,0,0,0,0\r\n"
    "#";

TEST(RouteDocument, EditsKeepEveryLineTheyDoNotTouch) {
  const std::string hand = toCp932(kHandFile);
  RouteDocument doc = RouteDocument::parse(hand);
  EXPECT_EQ(doc.bytes(), hand);
  EXPECT_EQ(doc.recordCount(S::kSound), 2);
  EXPECT_EQ(doc.record(S::kStation, 1),
            std::vector<std::string>{"岬,0,900,200,0,0,0,1090000,0,0,0,0,0,0"});
  EXPECT_EQ(doc.value(S::kStartPos, 0), " 120");

  // Refused edits leave every byte.
  EXPECT_FALSE(doc.setRecord(S::kStation, 0, {"two\nlines"}));
  EXPECT_FALSE(doc.setRecord(S::kStation, 0, {"電車🚃,0"}));
  EXPECT_FALSE(doc.setRecord(S::kStation, 2, {"x"}));
  EXPECT_FALSE(doc.insertRecord(S::kStation, 0, {"#,1"}));
  EXPECT_FALSE(doc.insertRecord(S::kSound, 0, {";1,2"}));
  EXPECT_FALSE(doc.insertRecord(S::kOtherImageList, 0, {"only the picture.bmp"}));
  EXPECT_FALSE(doc.setValue(S::kLineName, 1, "x"));
  EXPECT_EQ(doc.bytes(), hand);

  ASSERT_TRUE(doc.setRecord(S::kStation, 1, {"岬,1,950,300,0,0,0,1090000,0,0,0,0,0,0"}));
  ASSERT_TRUE(doc.insertRecord(S::kStation, 2, {"灯台,0,1500,200,0,0,0,1100000,0,0,0,0,0,0"}));
  ASSERT_TRUE(doc.removeRecord(S::kSound, 0));
  ASSERT_TRUE(doc.insertRecord(S::kTunnel, 0, {"400,500,128"}));
  ASSERT_TRUE(doc.setValue(S::kFrameRate, 0, "30"));
  EXPECT_EQ(doc.bytes(), toCp932("; 手書きの路線\r\n"
                                 "[LineName]\r\n"
                                 "港線\r\n"
                                 "author=someone\n"
                                 "[StartPos] first stop\r\n"
                                 " 120\r\n"
                                 "[FrameRate]\r\n"
                                 "30\r\n"
                                 "[Sound]\r\n"
                                 ";1,30,40,60,1,1,0\r\n"
                                 "2,50,60,60,1,1,0\r\n"
                                 "#\r\n"
                                 "[Tunnel]\r\n"
                                 "400,500,128\r\n"
                                 "#\r\n"
                                 "  ; 駅\r\n"
                                 "[Station] 上り\r\n"
                                 "港,0,300,200,0,0,0,1080000,0,0,0,0,0,0\r\n"
                                 "岬,1,950,300,0,0,0,1090000,0,0,0,0,0,0\r\n"
                                 "灯台,0,1500,200,0,0,0,1100000,0,0,0,0,0,0\r\n"
                                 "#"));

  // The file is CP932 and the reader takes the edits.
  TempDir dir;
  const auto route = readBack(dir, doc.bytes());
  EXPECT_EQ(route->stationCount, 3);
  EXPECT_EQ(route->stations[2].name, "灯台");
  EXPECT_EQ(route->stations[1].stopFrame, 950);
  EXPECT_EQ(route->soundCount, 1);
  EXPECT_EQ(route->tunnelCount, 1);
  EXPECT_EQ(route->frameRate, 30);

  // A list the end of the file closes gets its "#" once a section follows it.
  RouteDocument open = RouteDocument::parse("[Time]\n1,2,3");
  ASSERT_TRUE(open.insertRecord(S::kSwitch, 0, {"7,1"}));
  EXPECT_EQ(open.bytes(), "[Time]\n1,2,3\n#\n[Switch]\n7,1\n#\n");
}

}  // namespace
}  // namespace velimoro
