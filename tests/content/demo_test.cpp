#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "data/paths.h"
#include "data/route_document.h"
#include "data/route_reader.h"
#include "data/route_records.h"
#include "data/train_reader.h"
#include "data/ui_strings.h"
#include "media/ffmpeg_video_reader.h"
#include "media/picture_loader.h"
#include "support/drive_run.h"
#include "support/test_support.h"
#include "tools/content/generator.h"
#include "tools/content/panel_art.h"
#include "tools/content/route_builder.h"
#include "tools/content/scene_movies.h"
#include "tools/content/train_design.h"
#include "tools/content/validate.h"
#include "tools/content/video_render.h"

namespace velimoro::content {
namespace {

using velimoro::testing::readFile;
using velimoro::testing::TempDir;

const std::vector<std::string> kRoutes = {"line_up1_local.dat", "line_up1_rapid.dat",
                                          "line_up2.dat",       "line_up3.dat",
                                          "line_in.dat",        "line_out.dat"};
const std::vector<std::string> kTrains = {"train_QT600.dat", "train_QT500.dat"};

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
  for (const char* group : {"車両:", "路線:", "音:", "喚呼:", "文字列:", "確認:"})
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
    EXPECT_EQ(readFile(entry.path()), readFile(again.file(relative.string()))) << relative;
  }
  EXPECT_GT(files, 100);
}

// Every route file reads into a document that writes its very bytes; an edit of one record
// changes that line alone, and the reader takes it.
TEST_F(DemoInstallation, RouteFilesRoundTripThroughTheirDocuments) {
  const auto lines = [](const std::string& bytes) {
    std::vector<std::string> out;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);)
      out.push_back(line);
    return out;
  };
  TempDir copy;
  std::filesystem::copy(dir->path(), copy.path(), std::filesystem::copy_options::recursive);
  for (const std::string& file : kRoutes) {
    const std::string bytes = readFile(dir->file(file));
    RouteDocument doc = RouteDocument::parse(bytes);
    EXPECT_EQ(doc.bytes(), bytes) << file;

    auto station = route(file)->stations[0];
    station.stopTolerance += 55;
    ASSERT_TRUE(doc.setRecord(RouteSection::kStation, 0, {recordLine(station)})) << file;
    const auto before = lines(bytes), after = lines(doc.bytes());
    ASSERT_EQ(before.size(), after.size()) << file;
    int changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i)
      changed += before[i] != after[i];
    EXPECT_EQ(changed, 1) << file;
    copy.writeBytes(file, doc.bytes());
    auto r = std::make_unique<RouteData>();
    media::FileCheckPictureLoader pictures;
    PictureLists lists;
    readRouteFile(copy.path(), file, *r, pictures, lists);
    EXPECT_EQ(r->stations[0].stopTolerance, station.stopTolerance) << file;
  }
}

TEST_F(DemoInstallation, ValidationNamesAMissingFile) {
  TempDir copy;
  std::filesystem::copy(dir->path(), copy.path(), std::filesystem::copy_options::recursive);
  // A voice, a board's call-out, an animation picture and a road traffic signal picture.
  for (const std::string name : {"sound/voice/k20.wav", "sound/voice/board_whistle.wav",
                                 "image/route/anim_flag07.bmp", "image/route/road_detect_go.bmp"}) {
    const std::string path = copy.file(name);
    const std::string kept = path + ".kept";
    std::filesystem::rename(path, kept);
    try {
      validateDemo(copy.path(), kTrains, kRoutes);
      ADD_FAILURE() << "a missing " << name << " passed";
    } catch (const std::runtime_error& e) {
      const std::string base = std::filesystem::path(name).filename().string();
      EXPECT_NE(std::string(e.what()).find(base), std::string::npos) << e.what();
    }
    std::filesystem::rename(kept, path);
  }
  validateDemo(copy.path(), kTrains, kRoutes);
}

// Each route uses the sections that suit it; between them the six files hold every section of
// the route format, each with content.
TEST_F(DemoInstallation, RoutesTogetherUseEverySection) {
  // The route file's sections in the order the reader compares them.
  std::istringstream all(
      "[LineName] [LineName2] [StartPos] [FrameRate] [Staf] [Friction] [StafSwitch] [MovieStop] "
      "[MovieSwitch] [Speed_Signal] [DataName] [Perspective] [Pre_Train] [OneMan] [SoundData] "
      "[Announce] [KankoSound1] [KankoSound2] [Sound] [Doppler] [Tunnel] [Station] [StopSound] "
      "[Signal] [TrafficSignal] [Slope] [Sign] [Anim] [SignalKanko] [StationKanko] [SpeedLimit] "
      "[SpeedCheck1] [SpeedCheck2] [SignImageList] [OtherImageList] [AnimImageList] "
      "[SignalImageList] [TrafficSignalImageList] [SignalImageList2] [SpeedUnit] "
      "[CrossImageList] [Cross] [Time] [Switch]");
  std::vector<std::string> headers;
  for (std::string header; all >> header;)
    headers.push_back(header);
  ASSERT_EQ(headers.size(), 44u);
  std::map<std::string, std::vector<std::string>> lines;
  for (const std::string& file : kRoutes) {
    std::istringstream in(readFile(dir->file(file)));
    for (std::string line; std::getline(in, line);) {
      if (line.ends_with('\r')) line.pop_back();
      lines[file].push_back(line);
    }
  }
  for (const std::string& header : headers) {
    bool used = false;
    for (const auto& [file, text] : lines) {
      for (std::size_t i = 0; i + 1 < text.size() && !used; ++i)
        used = text[i].starts_with(header) && !text[i + 1].starts_with('#');
    }
    EXPECT_TRUE(used) << header;
  }
}

// The scene movies are rendered with the videos; the routes name them either way.
TEST_F(DemoInstallation, SceneMoviesHoldWhatTheRoutesPlay) {
  TempDir copy;
  std::filesystem::copy(dir->path(), copy.path(), std::filesystem::copy_options::recursive);
  EXPECT_THROW(validateSceneMovies(copy.path(), kRoutes), std::runtime_error);
  validateDemo(copy.path(), kTrains, kRoutes);

  std::vector<BuiltRoute> built;
  for (const RouteDesign& design : demoRoutes())
    built.push_back(buildRoute(design));
  std::ostringstream progress;
  EXPECT_EQ(writeSceneMovies(built, copy.path(), progress), 2);
  validateSceneMovies(copy.path(), kRoutes);

  // Each scene shows something the route video does not have at that place: halfway through,
  // the passengers or the passing train change a good part of the picture.
  for (const BuiltRoute& r : built) {
    for (const BuiltScene& scene : r.scenes) {
      media::FfmpegVideoReader reader;
      std::string error;
      ASSERT_TRUE(reader.open(copy.file("move/" + scene.design.movie + ".avi"), error)) << error;
      EXPECT_EQ(reader.frameCount(), scene.movieFrames);
      const int middle = scene.length / 2;
      media::RgbPicture shown;
      ASSERT_TRUE(reader.decodeFrame(middle, shown));
      RouteScene view(r);
      Canvas route(kVideoWidth, kVideoHeight);
      view.draw(scene.kind == 2 ? scene.resumeFrame : scene.fromFrame + middle, route);
      int changed = 0;
      for (int y = 0; y < kVideoHeight; ++y) {
        for (int x = 0; x < kVideoWidth; ++x) {
          const std::size_t at = (static_cast<std::size_t>(y) * kVideoWidth + x) * 3;
          const Rgb p = route.at(x, y);
          const int d = std::abs(shown.pixels[at] - p.r) + std::abs(shown.pixels[at + 1] - p.g) +
                        std::abs(shown.pixels[at + 2] - p.b);
          changed += d > 90 ? 1 : 0;
        }
      }
      EXPECT_GT(changed, kVideoWidth * kVideoHeight / 100) << scene.design.movie;
    }
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
      const velimoro::testing::DriveRun d = velimoro::testing::runHeadlessDrive(
          velimoro::testing::driveOptions(dir->path(), file, trainFile, 1500),
          "0 start\n0.1 set debug_mode 1\n");
      ASSERT_EQ(d.status, 0) << file << ": " << d.err;
      const auto& trace = d.trace;
      ASSERT_FALSE(trace.empty());
      const std::string last = r.stations[r.stationCount - 1].name;
      bool nearedLast = false;
      for (const auto& row : trace)
        nearedLast = nearedLast || row.at("next_station_text").find(last) == 0;
      EXPECT_TRUE(nearedLast) << file << " with " << trainFile;
      EXPECT_GE(std::stoi(trace.back().at("frame")), r.stations[r.stationCount - 1].stopFrame)
          << file << " with " << trainFile;
      // A preceding train runs ahead of the train; a road traffic signal holds it in its stop
      // phases and says how far off it stands.
      int precedingFrame = r.preTrainStart;
      bool trafficStop = false;
      for (const auto& row : trace) {
        precedingFrame = std::max(precedingFrame, std::stoi(row.at("pre_train_frame")));
        trafficStop = trafficStop || row.at("traffic_stop_text").starts_with("信号停止 ");
      }
      if (r.preTrainCount > 0) {
        EXPECT_GT(precedingFrame, r.preTrainStart) << file;
      }
      EXPECT_EQ(trafficStop, r.trafficSignalCount > 0) << file << " with " << trainFile;
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
