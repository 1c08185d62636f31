// The whole cab screen as the window shows it, drawn on the offscreen platform from the demo
// installation and compared with a reference picture (tolerant to font rasterising).
#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cab/tick.h"
#include "media/ffmpeg_video_reader.h"
#include "media/qt_cab_screen.h"
#include "present/screen_pass.h"
#include "sim/tick.h"
#include "support/test_support.h"
#include "tools/content/generator.h"
#include "tools/content/route_builder.h"
#include "tools/content/video_render.h"
#include "tools/content/video_writer.h"

namespace velimoro {
namespace {

const char* const kReference = VELIMORO_SOURCE_DIR "/tests/shell/reference/cab_qt600.png";

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_shell";
    static char* argv[] = {name, nullptr};
    m_app = std::make_unique<QApplication>(argc, argv);  // the Controller menu has widgets
  }
  void TearDown() override { m_app.reset(); }

 private:
  std::unique_ptr<QGuiApplication> m_app;
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Writes the first route's video into the demo root as far as `frame`: blank frames, then the
// rendered view at `frame` (the whole video takes minutes; one frame shows the screen as well).
void writeVideoUpTo(const std::string& root, int frame) {
  const content::BuiltRoute route = content::buildRoute(content::demoRoutes().front());
  content::RouteScene scene(route);
  content::Canvas view(content::kVideoWidth, content::kVideoHeight);
  scene.draw(frame, view);
  std::vector<std::uint8_t> blank(std::size_t{content::kVideoWidth} * content::kVideoHeight * 3);
  std::vector<std::uint8_t> shown;
  shown.reserve(blank.size());
  for (const content::Rgb& p : view.pixels())
    shown.insert(shown.end(), {p.r, p.g, p.b});
  std::filesystem::create_directories(root + "/move");
  content::VideoWriter writer;
  const std::string path = root + "/move/" + route.design.line.video + ".avi";
  ASSERT_EQ(
      writer.open(path, content::kVideoWidth, content::kVideoHeight, content::kVideoFrameRate, 3),
      "");
  for (int n = 0; n <= frame + 1; ++n)
    ASSERT_EQ(writer.write(n < frame ? blank.data() : shown.data()), "");
  ASSERT_EQ(writer.finish(), "");
}

// The screen of the demo's electric train standing at the second station of its first route,
// doors closed, before Start: the route video's picture there, the texts, the panel.
QImage drawStationScreen(const std::string& root) {
  testing::RecordingSound sound;
  testing::RecordingMessages messages;
  media::QtCabScreen screen;
  media::FfmpegVideoReader video;
  DriveSetup setup;
  setup.root = root;
  setup.trainFile = "train_QT600.dat";
  setup.routeFile = "line_up1_local.dat";
  setup.startIndex = 2;
  setup.settings.ats = 0;
  DriveMedia media{sound, screen, messages, nullptr};
  media.pictureStore = &screen;
  media.sprites = &screen;
  auto drive = startDrive(setup, media);
  writeVideoUpTo(root, drive->state.frame);
  std::string message;
  EXPECT_TRUE(openRouteVideo(*drive, video, message)) << message;
  simulationTick(*drive);
  ScreenPass pass;
  takeStopLinePicture(pass, *drive);
  runScreenPass(pass, *drive, drive->panel, &video, screen, 100, true);
  runScreenPass(pass, *drive, drive->panel, &video, screen, 200,
                true);  // shading boxes from the first pass
  return screen.frontBuffer().copy();
}

TEST(CabScreen, TheDemoCabMatchesItsReferencePicture) {
  testing::TempDir dir;
  std::ostringstream progress;
  content::generateDemo(dir.path(), progress);
  const QImage shot = drawStationScreen(dir.path()).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.width(), 604);
  ASSERT_EQ(shot.height(), 630);
  if (std::getenv("VELIMORO_UPDATE_REFERENCE") != nullptr) {
    ASSERT_TRUE(shot.save(kReference));
    GTEST_SKIP() << "reference written";
  }
  const QImage reference = QImage(kReference).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(reference.size(), shot.size()) << "missing reference " << kReference;
  // Text edges may rasterise a little differently: allow small differences and a few pixels.
  int differing = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb a = shot.pixel(x, y);
      const QRgb b = reference.pixel(x, y);
      const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b));
      if (d > 96) ++differing;
    }
  }
  EXPECT_LT(differing, shot.width() * shot.height() / 100) << "pixels that differ";
}

}  // namespace
}  // namespace velimoro
