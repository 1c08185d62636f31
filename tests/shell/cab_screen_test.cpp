// The whole cab screen as the window shows it, drawn on the offscreen platform from the demo
// installation and compared with a reference picture (tolerant to font rasterising).
#include <gtest/gtest.h>
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

// Black and white pixels in turn, as fine as a picture's detail can be.
QImage checker(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u);
  }
  return image;
}

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

// A route video as far as `frame` whose frames all show a checker of single pixels, 1280 x 720,
// as the first route's video in `root` (H.264 in MP4, without loss).
void writeCheckerVideo(const std::string& root, int frame) {
  const content::BuiltRoute route = content::buildRoute(content::demoRoutes().front());
  std::filesystem::create_directories(root + "/move");
  const std::string still = root + "/checker.png";
  ASSERT_TRUE(checker(1280, 720).save(QString::fromStdString(still)));
  const std::string command = "ffmpeg -v error -nostdin -y -loop 1 -framerate 30 -i '" + still +
                              "' -frames:v " + std::to_string(frame + 2) +
                              " -c:v libx264 -preset ultrafast -qp 0 -pix_fmt yuv420p '" + root +
                              "/move/" + route.design.line.video + ".mp4'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The screen of the demo's electric train standing at station `station` of its first route,
// doors closed, before Start: the route video's picture there (written by `writeVideo` as far as
// the frame shown), the texts, the panel; composed at `scale`.
QImage drawStationScreen(const std::string& root, int station = 2, double scale = 1.0,
                         void (*writeVideo)(const std::string&, int) = writeVideoUpTo) {
  testing::RecordingSound sound;
  testing::RecordingMessages messages;
  media::QtCabScreen screen;
  screen.setScale(scale);
  media::FfmpegVideoReader video;
  DriveSetup setup;
  setup.root = root;
  setup.trainFile = "train_QT600.dat";
  setup.routeFile = "line_up1_local.dat";
  setup.startIndex = station;
  setup.settings.ats = 0;
  DriveMedia media{sound, screen, messages, nullptr};
  media.pictureStore = &screen;
  media.sprites = &screen;
  auto drive = startDrive(setup, media);
  writeVideo(root, drive->state.frame);
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

// The mean difference of the channels of `a` and `b` over `region`.
double meanDifference(const QImage& a, const QImage& b, const QRect& region) {
  double sum = 0;
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * region.width() * region.height());
}

// Pixels of `a` and `b` (of one size) whose channels differ by more than 96 together.
int differingPixels(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      const int d = std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q));
      if (d > 96) ++differing;
    }
  }
  return differing;
}

TEST(CabScreen, AFinerScaleShowsTheDetailOfALargeVideoFrame) {
  testing::TempDir dir;
  std::ostringstream progress;
  content::generateDemo(dir.path(), progress);
  const QImage one = drawStationScreen(dir.path(), 0, 1.0, writeCheckerVideo);
  const QImage three = drawStationScreen(dir.path(), 0, 3.0, writeCheckerVideo);
  ASSERT_EQ(one.size(), QSize(604, 630));
  ASSERT_EQ(three.size(), QSize(1812, 1890));
  // The oracle: the source frame scaled to the video's place by Qt's own smooth scaler. The
  // region is open video, away from the texts.
  const QImage reference =
      checker(1280, 720).scaled(1812, 1020, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QRect region(450, 150, 750, 450);
  const QImage oneEnlarged =
      one.scaled(three.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const double fine = meanDifference(three, reference, region);
  const double coarse = meanDifference(oneEnlarged, reference, region);
  EXPECT_LT(fine, 20) << "coarse " << coarse;
  EXPECT_GT(coarse, 25) << "fine " << fine;
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
  EXPECT_LT(differingPixels(shot, reference), shot.width() * shot.height() / 100);
  // The same screen composed at a finer scale agrees with it, both brought to half the screen's
  // size (where text edges rasterised at other sizes even out): every place, text, shading and
  // sprite lies where the screen's own size has it.
  const QImage fine = drawStationScreen(dir.path(), 2, 2.5);
  ASSERT_EQ(fine.size(), QSize(1510, 1575));
  const QSize half = shot.size() / 2;
  const QImage a = fine.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage b = shot.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LT(differingPixels(a, b), half.width() * half.height() / 100);
}

}  // namespace
}  // namespace velimoro
