// The title screen on the demo installation, on the offscreen platform: its route menu shows the
// installation's own pictures where the menu background leaves room for them, a train starts the
// cab window of the chosen drive, and closing it (or a drive that cannot start) comes back to
// the menu.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBrowser>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "data/paths.h"
#include "media/qt_settings_store.h"
#include "shell/cab_fixture.h"
#include "shell/title_window.h"
#include "tools/content/video_writer.h"

namespace velimoro {
namespace {

using testing::runEvents;

// Lets the menu's timer bring out every button (a tick each), however busy the machine is.
void waitForButtons(const shell::TitleWindow& title) {
  for (int waited = 0; waited < 10000 && title.flow().timerRunning(); waited += 50)
    runEvents(50);
}

using testing::differingPixels;

QImage demoPicture(const char* name) {
  return QImage(QString::fromStdString(resolvePath(testing::demoRoot(), name)));
}

QImage partOf(const QImage& screen, const MenuBox& box) {
  return screen.copy(box.x, box.y, box.width, box.height);
}

TEST(TitleWindow, TheRouteMenuShowsTheInstallationsPicturesAndDrivesTheChosenTrain) {
  media::QtSettingsStore store;
  shell::TitleWindow title(testing::demoRoot(), shell::CabOptions{true, false, {}}, store, 0);
  title.show();
  const char* keep = std::getenv("VELIMORO_TEST_PICTURES");  // where to keep the pictures seen
  title.pressAt(400, 300, false);                            // past the opening
  if (keep != nullptr) title.picture().save(QString::fromUtf8(keep) + "/title_picture.png");
  title.pressAt(400, 300, false);  // past the title picture
  waitForButtons(title);
  title.pressAt(60, routeButtonBox(2).y + 10, false);
  const QImage menu = title.picture();
  if (keep != nullptr) menu.save(QString::fromUtf8(keep) + "/title_menu.png");

  // Each picture sits in its box unchanged; the background shows where nothing covers it.
  for (int i = 0; i < kTitleRoutes; ++i) {
    EXPECT_EQ(
        differingPixels(partOf(menu, routeButtonBox(i)), demoPicture(kTitleRouteTable[i].button)),
        0)
        << i;
  }
  EXPECT_EQ(differingPixels(partOf(menu, kRouteMap), demoPicture(kTitleMaps[1])), 0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(differingPixels(partOf(menu, kTrainButtons[i]), demoPicture(kTitleTrainButtons[i])),
              0);
  }
  const MenuBox header{0, 0, kTitleWidth, 70};
  EXPECT_EQ(differingPixels(partOf(menu, header), partOf(demoPicture(kMenuBackground), header)), 0);

  // Help: without a desktop program for HTML the page shows in a window of the program's own.
  std::string asked;
  title.openDocument = [&asked](const std::string& path) {
    asked = path;
    return false;
  };
  title.pressAt(kHelpButton.x + 10, kHelpButton.y + 10, false);
  EXPECT_EQ(std::filesystem::path(asked).filename(), "readme.html");
  auto* help = dynamic_cast<QTextBrowser*>(title.helpPage());
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("鉄道運転シミュレータ")));
  if (keep != nullptr) help->grab().save(QString::fromUtf8(keep) + "/help_page.png");
  title.helpPage()->hide();
  title.pressKey(TitleKey::kHelp);  // F1
  EXPECT_TRUE(title.helpPage()->isVisible());

  // A train starts the cab window of line_up2 behind a status line, the form keeping its
  // place; closing it brings the menu back with the route still chosen.
  const QPoint place = title.pos();
  title.pressAt(kTrainButtons[1].x + 20, kTrainButtons[1].y + 20, false);
  EXPECT_EQ(title.pos(), place);
  ASSERT_NE(title.cabWindow(), nullptr);
  EXPECT_FALSE(title.isVisible());
  EXPECT_EQ(title.cabWindow()->session().drive().setup.routeFile, "line_up2.dat");
  EXPECT_EQ(title.picture().height(), kTitleHeight + kTitleStatusHeight);
  // Until Start the cab screen shows the route's standby picture.
  title.cabWindow()->activateWindow();
  runEvents(100);
  EXPECT_EQ(differingPixels(title.cabWindow()->screen(), demoPicture("image\\route\\standby.bmp")),
            0);
  // Closing the cab window comes back to the title screen and does not end the program.
  QTimer::singleShot(0, [&title] { title.cabWindow()->close(); });
  QTimer::singleShot(300, [] { QCoreApplication::exit(7); });
  EXPECT_EQ(QCoreApplication::exec(), 7);
  EXPECT_TRUE(title.isVisible());
  EXPECT_EQ(title.flow().state().title_step, TitleStep::kMenu);
  EXPECT_EQ(title.picture().height(), kTitleHeight);
  EXPECT_EQ(title.pos(), place);
  EXPECT_EQ(title.cabWindow(), nullptr);  // its video, sounds and pictures gone with it

  // A train file from the dialog that does not read ends only that drive.
  title.askTrainFile = [] { return std::string("/nonexistent/folder/train_broken.dat"); };
  title.pressAt(kRouteMap.x + 5, kRouteMap.y + 5, true);
  EXPECT_TRUE(title.isVisible());
  EXPECT_EQ(title.flow().state().title_step, TitleStep::kMenu);
  EXPECT_EQ(title.cabWindow(), nullptr);
}

TEST(TitleWindow, TheOpeningMovieCoversTheWideFormToItsEndOrIsSaidToBeUnreadable) {
  testing::TempDir root;
  root.writeBytes("dorvanel.dat", "");
  std::filesystem::create_directories(root.file("move"));
  content::VideoWriter writer;
  ASSERT_EQ(writer.open(root.file("move/opening.avi"), 64, 48, 30, 3), "");
  std::vector<std::uint8_t> frame(64 * 48 * 3, 0);
  for (std::size_t i = 0; i < frame.size(); i += 3)
    frame[i] = 200;
  for (int n = 0; n < 6; ++n)
    ASSERT_EQ(writer.write(frame.data()), "");
  ASSERT_EQ(writer.finish(), "");
  media::QtSettingsStore store;
  {
    shell::TitleWindow title(root.path(), shell::CabOptions{true, false, {}}, store, 0);
    title.show();
    EXPECT_EQ(title.picture().size(), QSize(kOpeningWidth, kOpeningHeight));
    // The movie's red frames cover the form, then it ends, however busy the machine is.
    bool red = false;
    for (int waited = 0; waited < 5000 && !red && title.flow().view().movie; waited += 10) {
      runEvents(10);
      red = qRed(title.picture().pixel(500, 333)) > 150;
    }
    EXPECT_TRUE(red);
    for (int waited = 0; waited < 5000 && title.flow().view().movie; waited += 50)
      runEvents(50);
    EXPECT_EQ(title.picture().size(), QSize(kTitleWidth, kTitleHeight));
    EXPECT_EQ(title.flow().state().title_step, TitleStep::kOpening);
  }
  // A movie that does not read: the message, and the slideshow runs alone.
  root.writeBytes("move/opening.avi", "RIFF");
  ::testing::internal::CaptureStderr();
  shell::TitleWindow title(root.path(), shell::CabOptions{true, false, {}}, store, 0);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(std::string("message: ") + kMovieFailed), std::string::npos) << err;
  EXPECT_EQ(title.picture().size(), QSize(kTitleWidth, kTitleHeight));
}

TEST(TitleWindow, AnInstallationWithoutItsTitleFilesStillReachesTheMenu) {
  // Only the UI string file: every picture, slide, map and sound is missing.
  testing::TempDir root;
  root.writeBytes("dorvanel.dat", "");
  media::QtSettingsStore store;
  shell::TitleWindow title(root.path(), shell::CabOptions{true, false, {}}, store, 5);
  title.show();
  runEvents(250);
  title.pressAt(400, 300, false);
  title.pressAt(400, 300, false);
  waitForButtons(title);
  title.pressAt(60, routeButtonBox(0).y + 10, false);
  EXPECT_EQ(title.flow().state().route_file, "line_up1_local.dat");
  const QImage menu = title.picture();
  EXPECT_EQ(menu.pixel(kRouteMap.x + 10, kRouteMap.y + 10), qRgb(0, 0, 0));
}

// A completed run of line_up3 is followed by the ending, whatever the driver's last keys and
// clicks left queued as the cab window faded out: a held key's repeats and presses that arrive as
// the title comes back pass nothing; a press after that passes the ending to the menu.
TEST(TitleWindow, TheEndingFollowsACompletedRunOfLineUp3AndOnlyAFreshPressPassesIt) {
  media::QtSettingsStore store;
  shell::TitleWindow title(testing::demoRoot(), shell::CabOptions{true, false, {}}, store, 0);
  title.show();
  title.pressAt(400, 300, false);
  title.pressAt(400, 300, false);
  waitForButtons(title);
  title.pressAt(60, routeButtonBox(3).y + 10, false);
  title.pressAt(kTrainButtons[0].x + 20, kTrainButtons[0].y + 20, false);
  ASSERT_NE(title.cabWindow(), nullptr);
  title.cabWindow()->toggleStart();
  runEvents(300);
  // The run's end at its last station, as the station rule signals it to the window.
  auto& drive = const_cast<Drive&>(title.cabWindow()->session().drive());
  ASSERT_EQ(drive.setup.routeFile, "line_up3.dat");
  drive.state.run_ended = true;
  drive.media.backToTitle();
  for (int waited = 0; waited < 10000 && !title.isVisible(); waited += 5)
    runEvents(5);
  ASSERT_TRUE(title.isVisible());
  const auto post = [&title](QEvent* event) { QCoreApplication::postEvent(&title, event); };
  const auto heldSpace = [] {
    return new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                         true);
  };
  const QPointF middle(title.width() / 2.0, title.height() / 2.0);
  const auto press = [&title, middle](QEvent::Type type) {
    return new QMouseEvent(type, middle, title.mapToGlobal(middle), Qt::LeftButton,
                           type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                           Qt::NoModifier);
  };
  post(heldSpace());
  post(new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
  post(press(QEvent::MouseButtonPress));
  post(press(QEvent::MouseButtonRelease));
  post(press(QEvent::MouseButtonDblClick));
  runEvents(900);
  post(heldSpace());
  runEvents(100);
  EXPECT_EQ(title.flow().state().title_step, TitleStep::kEnding);
  EXPECT_GT(title.flow().state().ending_ticks, 0);
  EXPECT_EQ(differingPixels(partOf(title.picture(), {0, 0, kTitleWidth, kTitleHeight}),
                            demoPicture("image\\title\\ed\\01.jpg")),
            0);
  post(press(QEvent::MouseButtonPress));
  runEvents(100);
  EXPECT_EQ(title.flow().state().title_step, TitleStep::kMenu);
}

}  // namespace
}  // namespace velimoro
