#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "data/paths.h"
#include "data/route_reader.h"
#include "data/train_reader.h"
#include "data/ui_strings.h"
#include "media/picture_loader.h"
#include "support/csv_table.h"
#include "support/test_support.h"
#include "tools/content/generator.h"
#include "tools/content/panel_art.h"
#include "tools/content/route_builder.h"
#include "tools/content/train_design.h"
#include "tools/content/validate.h"
#include "tools/drive/headless.h"

namespace velimoro::content {
namespace {

using velimoro::testing::TempDir;

const std::vector<std::string> kRoutes = {"line_up1_local.dat", "line_up1_rapid.dat",
                                          "line_up2.dat",       "line_up3.dat",
                                          "line_in.dat",        "line_out.dat"};
const std::vector<std::string> kTrains = {"train_QT600.dat", "train_QT500.dat"};

std::string contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The demo installation is rendered once for the whole suite.
class DemoInstallation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = std::make_unique<TempDir>();
    std::ostringstream progress;
    generateDemo(dir->path(), progress);
    log = progress.str();
  }
  static void TearDownTestSuite() { dir.reset(); }

  static std::unique_ptr<TempDir> dir;
  static std::string log;

  // The records are large; they live on the heap.
  static std::unique_ptr<RouteData> route(const std::string& file) {
    auto r = std::make_unique<RouteData>();
    media::FileCheckPictureLoader pictures;
    PictureLists lists;
    readRouteFile(dir->path(), file, *r, pictures, lists);
    deriveRouteDistances(*r);
    return r;
  }

  static std::unique_ptr<TrainSpec> train(const std::string& file) {
    auto t = std::make_unique<TrainSpec>();
    media::FileCheckPictureLoader pictures;
    PictureLists lists;
    readTrainFile({dir->path(), "", file}, *t, pictures, lists);
    settleTrainBrake(*t);
    return t;
  }
};

std::unique_ptr<TempDir> DemoInstallation::dir;
std::string DemoInstallation::log;

TEST_F(DemoInstallation, ReportsEachGroupAndKeepsSmall) {
  for (const char* group : {"trains:", "routes:", "sounds:", "voices:", "strings:", "check:"})
    EXPECT_NE(log.find(group), std::string::npos) << group;
  std::uintmax_t bytes = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir->path()))
    if (entry.is_regular_file()) bytes += entry.file_size();
  EXPECT_LT(bytes, 20u * 1024 * 1024);
}

TEST_F(DemoInstallation, IsTheSameByteForByteOnASecondRun) {
  TempDir again;
  std::ostringstream progress;
  generateDemo(again.path(), progress);
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir->path())) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const auto relative = std::filesystem::relative(entry.path(), dir->path());
    EXPECT_EQ(contents(entry.path()), contents(again.path() + "/" + relative.string())) << relative;
  }
  EXPECT_GT(files, 100);
}

TEST_F(DemoInstallation, ValidationNamesAMissingFile) {
  TempDir copy;
  std::filesystem::copy(dir->path(), copy.path(), std::filesystem::copy_options::recursive);
  std::filesystem::remove(copy.path() + "/sound/voice/k20.wav");
  try {
    validateDemo(copy.path(), kTrains, kRoutes);
    ADD_FAILURE() << "a missing voice passed";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("k20.wav"), std::string::npos) << e.what();
  }
}

TEST_F(DemoInstallation, TrainsHaveTheirControlsAndPanels) {
  const auto emuData = train("train_QT600.dat");
  const TrainSpec& emu = *emuData;
  EXPECT_EQ(emu.Handle, 1);
  EXPECT_EQ(emu.BrakeType, 1);
  EXPECT_EQ(emu.Brake, 9);  // eight service steps and EB
  EXPECT_EQ(emu.Hold, 1);
  EXPECT_EQ(emu.Const, 1);
  EXPECT_EQ(emu.Engine_Type, 1);
  EXPECT_EQ(emu.PowerModeCount, 2);
  EXPECT_EQ(emu.PowerModeFirst[1], 5);
  EXPECT_EQ(emu.ATS_Type, 0);
  ASSERT_TRUE(emu.NotchImageB.picture.has_value());
  ASSERT_TRUE(emu.NotchImageP.picture.has_value());
  EXPECT_EQ(emu.CabSignalCount, 8);

  const auto dmuData = train("train_QT500.dat");
  const TrainSpec& dmu = *dmuData;
  EXPECT_EQ(dmu.Handle, 0);
  EXPECT_EQ(dmu.BrakeType, 0);
  EXPECT_EQ(dmu.Engine_Type, 0);
  EXPECT_EQ(dmu.Gear_Type, 0);
  EXPECT_EQ(dmu.GearCount, 4);
  EXPECT_GT(dmu.EngineSound3Count, 0);
  ASSERT_TRUE(dmu.GearImageList.picture.has_value());
  EXPECT_EQ(dmu.OtherCount, 3);
}

TEST_F(DemoInstallation, StripsHoldOnePatternPerHandlePosition) {
  const auto width = [](const std::string& path) { return media::bmpSize(path)->first; };
  const auto emuData = train("train_QT600.dat");
  const TrainSpec& emu = *emuData;
  // Power 0..Power; brake with hold: release, hold, B1..B8, EB.
  EXPECT_EQ(width(dir->file("image/QT600/notch_p.bmp")),
            emu.NotchImageP.patternWidth * (emu.Power + 1));
  EXPECT_EQ(width(dir->file("image/QT600/notch_b.bmp")),
            emu.NotchImageB.patternWidth * (emu.Brake + 2));
  EXPECT_EQ(width(dir->file("image/QT600/cabsignal.bmp")),
            emu.Lamp_signal.patternWidth * emu.CabSignalCount);
  const auto dmuData = train("train_QT500.dat");
  const TrainSpec& dmu = *dmuData;
  EXPECT_EQ(width(dir->file("image/QT500/notch_b.bmp")), dmu.NotchImageB.patternWidth * 5);
  EXPECT_EQ(width(dir->file("image/QT500/gear.bmp")),
            dmu.GearImageList.patternWidth * dmu.GearCount);
}

TEST_F(DemoInstallation, NeedlesTurnAboutTheirGaugesAndReadTheirScales) {
  for (const TrainDesign& design : {electricTrainDesign(), dieselTrainDesign()}) {
    const auto tData = train(design.fileName());
    const TrainSpec& t = *tData;
    const std::map<std::string, const GaugeNeedle*> needles = {
        {"[Needle_Speed]", &t.Needle_Speed}, {"[Needle_BC]", &t.Needle_BC},
        {"[Needle_SAP]", &t.Needle_SAP},     {"[Needle_ER]", &t.Needle_ER},
        {"[Needle_BP]", &t.Needle_BP},       {"[Needle_MR]", &t.Needle_MR},
        {"[Needle_V]", &t.Needle_V},         {"[Needle_I]", &t.Needle_I}};
    for (const NeedleDesign& n : design.needles) {
      const GaugeNeedle& read = *needles.at(n.section);
      const GaugeDesign& g = design.gauges[static_cast<std::size_t>(n.gauge)];
      const auto size = media::bmpSize(resolvePath(dir->path(), read.file));
      ASSERT_TRUE(size.has_value()) << n.section;
      // The sprite turns about its picture's centre, which must be the gauge's centre.
      EXPECT_EQ(read.x + size->first / 2, g.cx) << design.name << n.section;
      EXPECT_EQ(read.y + size->second / 2, g.cy) << design.name << n.section;
      EXPECT_EQ(read.needleOffset, g.zeroAngle) << n.section;
      EXPECT_NEAR(static_cast<double>(read.needleRate), g.degreesPerUnit, 1e-5) << n.section;
      // The full scale lies within one turn, so no two values share a needle angle.
      EXPECT_LE(std::fabs(g.degreesPerUnit * (g.maxValue - g.minValue)), 300.0);
    }
  }
}

TEST_F(DemoInstallation, RoutesHaveTheirOwnCharacter) {
  std::set<int> kinds;
  for (const std::string& file : kRoutes) {
    const auto rData = route(file);
    const RouteData& r = *rData;
    EXPECT_GE(r.stationCount, 3) << file;
    EXPECT_GT(r.signalCount, 0) << file;
    EXPECT_EQ(r.kankoSoundCount, 30) << file;
    for (int i = 0; i < r.stationCount; ++i) {
      kinds.insert(r.stations[i].kind);
      EXPECT_GT(r.stations[i].departTime, 0) << file;
      if (i > 0) {
        EXPECT_GT(r.stations[i].stopCm, r.stations[i - 1].stopCm) << file;
        EXPECT_GE(r.stations[i].departTime, r.stations[i - 1].departTime) << file;
      }
    }
    for (int i = 1; i < r.signalCount; ++i)
      EXPECT_LE(r.signals[i - 1].showTo, r.signals[i].showFrom) << file << " signal " << i;
  }
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2}));

  // Local and rapid run on one video with the same stations, stopping differently.
  const auto localRoute = route("line_up1_local.dat");
  const auto rapidRoute = route("line_up1_rapid.dat");
  const RouteData& local = *localRoute;
  const RouteData& rapid = *rapidRoute;
  EXPECT_EQ(local.dataName, rapid.dataName);
  ASSERT_EQ(local.stationCount, rapid.stationCount);
  int passes = 0;
  for (int i = 0; i < local.stationCount; ++i) {
    EXPECT_EQ(local.stations[i].stopFrame, rapid.stations[i].stopFrame);
    passes += rapid.stations[i].kind == 1 ? 1 : 0;
  }
  EXPECT_GT(passes, 0);
  EXPECT_NE(route("line_up2.dat")->dataName, local.dataName);
  EXPECT_EQ(route("line_up2.dat")->oneMan, 1);
  EXPECT_GT(route("line_up2.dat")->tunnelCount, 0);
  EXPECT_GT(route("line_up2.dat")->speedCheck1Count, 0);
  EXPECT_GT(route("line_up3.dat")->speedCheck2Count, 0);
  const auto depotRoute = route("line_in.dat");
  const RouteData& depot = *depotRoute;
  for (int i = 0; i < depot.signalCount; ++i)
    EXPECT_EQ(depot.signals[i].signalG, 0);  // no beacons
  EXPECT_EQ(readUiStrings(dir->path()).Path, "move\\");
}

TEST_F(DemoInstallation, EveryRouteDrivesFromItsFirstToItsLastStation) {
  for (const std::string& file : kRoutes) {
    for (const std::string& trainFile : kTrains) {
      const auto rData = route(file);
      const RouteData& r = *rData;
      TempDir work;
      std::ofstream(work.file("drive.txt")) << "0 start\n0.1 set debug_mode 1\n";
      headless::Options o;
      o.root = dir->path();
      o.route = file;
      o.train = trainFile;
      o.script = work.file("drive.txt");
      o.trace = work.file("trace.csv");
      o.seconds = 1500;
      std::ostringstream out, err;
      ASSERT_EQ(headless::runDrive(o, out, err), 0) << file << ": " << err.str();
      const auto trace = velimoro::testing::readCsvFile(o.trace);
      ASSERT_FALSE(trace.empty());
      const std::string last = r.stations[r.stationCount - 1].name;
      bool nearedLast = false;
      for (const auto& row : trace)
        nearedLast = nearedLast || row.at("next_station_text").find(last) == 0;
      EXPECT_TRUE(nearedLast) << file << " with " << trainFile;
      EXPECT_GE(std::stoi(trace.back().at("frame")), r.stations[r.stationCount - 1].stopFrame)
          << file << " with " << trainFile;
    }
  }
}

}  // namespace
}  // namespace velimoro::content

namespace velimoro::content {
namespace {

TEST(RouteBuilder, PlacesStationsAndSignalsAtTheirDistancesAlongTheFilmedRun) {
  for (const RouteDesign& design : demoRoutes()) {
    const BuiltRoute built = buildRoute(design);
    auto derived = std::make_unique<RouteData>();
    for (const FrameSpeedEntry& s : built.segments)
      derived->frameSpeeds[derived->frameSpeedCount++] = s;
    for (std::size_t i = 0; i < built.stationFrames.size(); ++i) {
      StationEntry& s = derived->stations[derived->stationCount++];
      s.stopFrame = built.stationFrames[i];
    }
    deriveRouteDistances(*derived);
    // One frame at the filming speed is at most about 90 cm, so each object lies within a frame
    // of the metre the design gives it.
    for (int i = 0; i < derived->stationCount; ++i)
      EXPECT_NEAR(static_cast<double>(derived->stations[i].stopCm),
                  design.line.stations[static_cast<std::size_t>(i)].metre * 100, 100)
          << design.file << " station " << i;
    for (const BuiltSignal& s : built.signals) {
      EXPECT_LT(s.showFrom, s.frame) << design.file;
      EXPECT_GT(s.showTo, s.frame) << design.file;
      if (design.line.protection) {
        EXPECT_GT(s.beacon1, s.showFrom) << design.file;
        EXPECT_LT(s.beacon1, s.frame) << design.file;
      }
    }
    // The filming train never stands, so every frame moves the picture on.
    for (const FrameSpeedEntry& s : built.segments)
      EXPECT_GT(s.fromSpeed + s.toSpeed, 0);
    EXPECT_GT(built.endFrame, built.stationFrames.back());
  }
}

}  // namespace
}  // namespace velimoro::content
