// The cab form on the offscreen platform, used as a driver uses it: the band display against the
// normal one, the standby picture until Start, and the clicks the form takes: Start on the
// screen, the back picture's fade-out.
#include <gtest/gtest.h>
#include <QImage>

#include <cstdlib>
#include <sstream>

#include "data/paths.h"
#include "shell/cab_fixture.h"

namespace velimoro {
namespace {

using testing::Cab;
using testing::differingPixels;
using testing::runEvents;

// Pixels of `rect` in `picture` brighter than the black of a drive without video.
int litPixels(const QImage& picture, const QRect& rect) {
  int lit = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x)
      lit += qGray(picture.pixel(x, y)) > 40;
  }
  return lit;
}

void keep(const QImage& picture, const char* name) {
  if (const char* folder = std::getenv("VELIMORO_TEST_PICTURES"))
    picture.save(QString::fromUtf8(folder) + "/" + name);
}

TEST(CabForm, TheBandDisplayShowsTheTextsUnderThePictureAndNoneOverIt) {
  Cab normal({.train = "train_QT600.dat"});
  Cab band({.train = "train_QT600.dat", .band = true});
  runEvents(300);
  const QImage shownNormally = normal.window->windowPicture();
  const QImage shownInTheBand = band.window->windowPicture();
  keep(shownInTheBand, "band_display.png");
  // The picture above the text band: the speed, the handles and the station over it normally,
  // nothing in the band display (no text, no stop-line marker).
  const QRect picture(0, 0, 604, 312);
  EXPECT_GT(litPixels(shownNormally, picture), 200);
  EXPECT_EQ(litPixels(shownInTheBand, picture), 0);
  // The same texts stand in the labels under the screen instead.
  ASSERT_EQ(shownInTheBand.height(), shownNormally.height() + 44);
  EXPECT_GT(litPixels(shownInTheBand, QRect(0, 630, 604, 44)), 200);
}

TEST(CabForm, UntilStartTheScreenShowsTheStandbyPictureAndHowToStart) {
  Cab cab({.start = false});
  runEvents(200);
  const QImage standby(QString::fromStdString(
      resolvePath(testing::demoRoot(), cab.window->session().drive().route->staffBitmap)));
  ASSERT_FALSE(standby.isNull());
  // A key and a Move before Start change the drive, not the picture: the panel is not true
  // before the first tick.
  const int frame = cab.state().frame;
  testing::typeInto(*cab.window, Qt::Key_Z, "z");
  ASSERT_FALSE(cab.moveEntries().empty());
  cab.moveEntries().back()->trigger();
  runEvents(200);
  EXPECT_NE(cab.state().frame, frame);
  EXPECT_EQ(differingPixels(cab.window->screen(), standby), 0);
  // The window says over it how to start; the hint goes with the first picture of the drive.
  const QImage shown = cab.window->windowPicture();
  keep(shown, "standby.png");
  const QRect hint(0, 560, 604, 36);
  EXPECT_GT(differingPixels(shown.copy(hint), standby.copy(hint)), 500);
  cab.window->toggleStart();
  runEvents(200);
  EXPECT_GT(differingPixels(cab.window->screen(), standby), 10000);
  const QImage driving = cab.window->windowPicture();
  EXPECT_EQ(differingPixels(driving.copy(hint), cab.window->screen().copy(hint)), 0);
}

TEST(CabForm, OnlyAClickOnTheCabScreenStartsOrResumesTheDrive) {
  Cab cab({.start = false});
  cab.scaleTwice();
  runEvents(100);
  cab.click(680, 100);  // the lineside column
  EXPECT_FALSE(cab.window->session().running());
  cab.click(300, 500);  // the panel
  EXPECT_TRUE(cab.window->session().running());
  cab.click(300, 100);  // a click while it runs does not pause it
  EXPECT_TRUE(cab.window->session().running());
  cab.window->toggleStart();
  cab.click(700, 600);
  EXPECT_FALSE(cab.window->session().running());
  cab.click(10, 10);
  EXPECT_TRUE(cab.window->session().running());
}

TEST(CabForm, TheBackPictureFadesTheScreenOutAndThenClosesTheWindow) {
  // Running or paused, the screen fades to black over its passes and the window closes after.
  for (const bool paused : {false, true}) {
    Cab cab;
    cab.scaleTwice();
    runEvents(200);
    if (paused) cab.window->toggleStart();
    bool closed = false;
    cab.window->closed = [&closed] { closed = true; };
    const int left = cab.state().back_button_left;
    cab.click(left + 13, 630 - 15);
    EXPECT_GT(cab.window->session().pass().fadeLevel, 0) << paused;
    EXPECT_FALSE(closed);
    for (int waited = 0; waited < 5000 && !closed; waited += 50)
      runEvents(50);
    EXPECT_TRUE(closed) << paused;
    EXPECT_FALSE(cab.window->isVisible());
    const QImage last = cab.window->screen();
    EXPECT_LT(qGray(last.pixel(100, 100)) + qGray(last.pixel(100, 500)), 12) << paused;
  }
  // Before Start there is nothing to fade: the window closes at once.
  Cab cab({.start = false});
  cab.scaleTwice();
  runEvents(100);
  bool closed = false;
  cab.window->closed = [&closed] { closed = true; };
  cab.click(cab.state().back_button_left + 13, 630 - 15);
  EXPECT_TRUE(closed);
}

}  // namespace
}  // namespace velimoro

namespace velimoro {
namespace {

TEST(CabForm, TheDriverAidOverlayComesAndGoesWithItsDisplayEntry) {
  std::ostringstream recording;
  // The panel's lines stand at the picture's top right, where the classic screen shows none.
  const QRect panel(300, 34, 300, 100);
  QImage shown;
  {
    Cab cab({.train = "train_QT600.dat"});
    cab.window->recordTo(&recording);
    QAction* entry = nullptr;
    for (QAction* action : cab.window->findChildren<QAction*>()) {
      if (action->text() == QStringLiteral("運転支援表示(&G)")) entry = action;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->isChecked());
    runEvents(200);
    EXPECT_EQ(litPixels(cab.window->windowPicture(), panel), 0);
    entry->trigger();
    EXPECT_EQ(cab.window->session().drive().setup.settings.aids, 1);
    runEvents(200);
    shown = cab.window->windowPicture();
    keep(shown, "driver_aids.png");
    EXPECT_GT(litPixels(shown, panel), 100);
    entry->trigger();
    runEvents(200);
    EXPECT_EQ(litPixels(cab.window->windowPicture(), panel), 0);
    entry->trigger();
    cab.window->close();
    EXPECT_EQ(cab.store.readInt(kSettingsApplication, "DriverAids"), 1);
  }
  const std::string script = recording.str();
  const std::size_t on = script.find(" setting aids 1\n");
  const std::size_t off = script.find(" setting aids 0\n");
  EXPECT_TRUE(on != std::string::npos && off != std::string::npos && on < off) << script;
}

}  // namespace
}  // namespace velimoro
