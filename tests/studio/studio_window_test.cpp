#include "studio/window/studio_window.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>

#include <string>

#include "support/qt_app.h"
#include "support/test_support.h"

namespace velimoro::studio {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new testing::QtEnvironment);

// On an opened route, Ctrl+1 opens the station's form at the current frame, the name is typed,
// Enter places the station and Ctrl+S saves: the file holds it in frame order, and its other
// lines as they were; an undo takes it away again.
TEST(StudioWindow, PlacesAStationWithTheKeyboardAndSaves) {
  testing::TempDir dir;
  const std::string opened = testing::toCp932(
      "; my line\r\n[LineName]\r\n試験線\r\n[Station]\r\n港,0,100,200,0,0,0,1080000,0,0,0,0,0,0\r\n"
      "岬,0,900,200,0,0,0,1090000,0,0,0,0,0,0\r\n#\r\n");
  const std::string route = dir.writeBytes("line.dat", opened);
  StudioWindow window(false);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_TRUE(window.openFile(route));
  window.goToFrame(500);  // no video: the frame stays at 0
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::ControlModifier);
  for (const QChar c : QString("灯台"))
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c),
                        Qt::NoModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  ASSERT_EQ(window.editor().document().recordCount(RouteSection::kStation), 3);
  EXPECT_TRUE(window.editor().modified());
  QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(window.editor().modified());
  EXPECT_EQ(testing::readFile(route),
            testing::toCp932("; my line\r\n[LineName]\r\n試験線\r\n[Station]\r\n"
                             "灯台,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"
                             "港,0,100,200,0,0,0,1080000,0,0,0,0,0,0\r\n"
                             "岬,0,900,200,0,0,0,1090000,0,0,0,0,0,0\r\n#\r\n"));
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window.editor().document().bytes(), opened);
  window.close();
}

}  // namespace
}  // namespace velimoro::studio
