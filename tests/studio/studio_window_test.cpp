#include "studio/window/studio_window.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/route_records.h"
#include "media/ffmpeg_video_reader.h"
#include "media/qt_settings_store.h"
#include "persist/settings.h"
#include "studio/core/calibration.h"
#include "studio/window/calibration_dialog.h"
#include "support/csv_table.h"
#include "support/drive_run.h"
#include "support/qt_app.h"
#include "support/test_support.h"
#include "tools/check/checker.h"

namespace velimoro::studio {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new testing::QtEnvironment);

// An installation with a route being made: the scenario trains, a ten-second video of 300
// frames made by ffmpeg and "line.dat" on it, whose last station lies beyond its one
// filming-speed segment.
struct Installation {
  testing::TempDir root;
  std::string route;
  std::string opened;
  Installation() {
    std::filesystem::copy(testing::kScenarioRoot, root.path(),
                          std::filesystem::copy_options::recursive);
    const std::string video = root.file("ride.avi");
    EXPECT_EQ(
        std::system(("ffmpeg -v error -y -f lavfi -i testsrc=size=160x120:rate=30:duration=10 "
                     "-c:v mpeg4 -q:v 10 '" +
                     video + "'")
                        .c_str()),
        0);
    opened = testing::toCp932(
        "[LineName]\r\n試験線\r\n[StartPos]\r\n100\r\n[FrameRate]\r\n30\r\n[DataName]\r\nride\r\n"
        "[Station]\r\n始発,2,100,300,0,0,0,0,0,0,0,0,0,0\r\n終点,2,250,300,0,0,0,0,0,0,0,0,0,0\r\n#"
        "\r\n"
        "[SpeedUnit]\r\n0,200,60,60\r\n#\r\n");
    route = root.writeBytes("line.dat", opened);
  }
};

// Places a station named `name` at `frame` from the keyboard: Ctrl+1 opens its form, the name is
// typed and Enter places it.
void placeStation(StudioWindow& window, int frame, const QString& name) {
  window.goToFrame(frame);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::ControlModifier);
  for (const QChar c : name)
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c),
                        Qt::NoModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

// Types `text` into `widget` key by key.
void typeInto(QWidget* widget, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Brings the window to the front and opens `path` in it.
::testing::AssertionResult showAndOpen(StudioWindow& window, const std::string& path) {
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window))
    return ::testing::AssertionFailure() << "the window did not come to the front";
  if (!window.openFile(path)) return ::testing::AssertionFailure() << "cannot open " << path;
  return ::testing::AssertionSuccess();
}

bool hasFinding(const StudioWindow& window, const std::string& text) {
  for (const LiveFinding& f : window.findings())
    if (f.text.find(text) != std::string::npos) return true;
  return false;
}

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
  ASSERT_TRUE(showAndOpen(window, route));
  placeStation(window, 500, "灯台");  // no video: the frame stays at 0
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

  // The language chosen in the Display menu is kept for the next start.
  window.keepLanguage(media::Language::kEnglish);
  media::QtSettingsStore store;
  EXPECT_EQ(readLanguage(store), "en");
  window.close();
}

// The window lists what the data checker finds in the file as the route stands: the same findings
// as the checker's on the saved file. A click on one goes to its record's frame; an edit is
// checked a moment later, and its undo brings the first findings back.
TEST(StudioWindow, ListsTheCheckersFindingsAsTheRouteIsEdited) {
  Installation at;
  StudioWindow window(false);
  ASSERT_TRUE(showAndOpen(window, at.route));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.findings().empty(); }));

  check::CheckOptions options;
  options.root = at.root.path();
  options.files = {at.route};
  options.frames = [](const std::string& path) -> std::optional<int> {
    media::FfmpegVideoReader video;
    std::string error;
    return video.open(path, error) ? std::optional<int>(video.frameCount()) : std::nullopt;
  };
  const check::Findings expected = check::checkInstallation(options);
  ASSERT_EQ(window.findings().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(window.findings()[i].line, expected[i].line);
    EXPECT_EQ(window.findings()[i].text, expected[i].text);
  }
  const auto* list = window.findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  int beyond = -1;
  for (std::size_t i = 0; i < window.findings().size(); ++i)
    if (window.findings()[i].text.find("フレーム250の") != std::string::npos &&
        window.findings()[i].text.find("区間にも入っていません") != std::string::npos)
      beyond = static_cast<int>(i);
  ASSERT_GE(beyond, 0);
  EXPECT_EQ(window.findings()[static_cast<std::size_t>(beyond)].line, 11);
  const QRect place = list->visualItemRect(list->item(beyond));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
  EXPECT_EQ(window.frame(), 250);

  const auto first = window.findings();
  placeStation(window, 280, "岬");
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return hasFinding(window, "フレーム280の岬駅はどの[SpeedUnit]の区間にも"); }));
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !hasFinding(window, "フレーム280の"); }));
  EXPECT_EQ(window.findings().size(), first.size());
  window.close();
}

// A click on a station's mark chooses it: its fields fill the form, a changed name applied with
// Enter and then the record removed with Delete are two steps that undo back to the file as
// opened; redone, the document is that of the same edits made afresh in the core.
TEST(StudioWindow, ChangesAndRemovesAChosenRecord) {
  Installation at;
  StudioWindow window(false);
  ASSERT_TRUE(showAndOpen(window, at.route));
  ASSERT_TRUE(window.selectRecord(RecordKind::kStation, 1));
  EXPECT_EQ(window.editor().fields(RecordKind::kStation, 1)[0], "終点");
  window.goToFrame(40);  // the chosen record keeps its own frame
  QLineEdit* first = nullptr;
  for (QLineEdit* edit : window.findChildren<QLineEdit*>())
    if (edit->text() == "終点") first = edit;
  ASSERT_NE(first, nullptr);
  first->setFocus();
  first->setText("岬");
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_FALSE(window.selected());
  ASSERT_TRUE(window.selectRecord(RecordKind::kStation, 0));
  window.setFocus();
  QTest::keyClick(&window, Qt::Key_Delete);

  RouteEditor afresh(RouteDocument::parse(at.opened));
  std::string error;
  ASSERT_TRUE(afresh.edit(
      RecordKind::kStation, 1,
      {"岬", "2", "250", "300", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}, error));
  ASSERT_TRUE(afresh.remove(RecordKind::kStation, 0));
  EXPECT_EQ(window.editor().document().bytes(), afresh.document().bytes());
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window.editor().document().bytes(), at.opened);
  QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
  QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(window.editor().document().bytes(), afresh.document().bytes());
  window.close();
}

// "Drive from here" opens the cab program on a copy of the route as edited, not yet saved,
// standing at the current frame: the drive has the new station as its next stop (the last one
// lies in no segment, at 0 m), and the author's file stays as it was.
TEST(StudioWindow, DrivesTheEditedRouteFromTheCurrentFrame) {
  Installation at;
  StudioWindow window(false);
  ASSERT_TRUE(showAndOpen(window, at.route));
  ASSERT_FALSE(window.trains().empty());
  placeStation(window, 150, "灯台");
  ASSERT_EQ(window.editor().document().recordCount(RouteSection::kStation), 3);
  window.goToFrame(120);
  QString program;
  QStringList arguments;
  window.launch = [&](const QString& p, const QStringList& a) {
    program = p;
    arguments = a;
    return true;
  };
  ASSERT_TRUE(window.driveFromHere());
  EXPECT_EQ(testing::readFile(at.route), at.opened);
  const qsizetype route = arguments.indexOf("--route") + 1;
  ASSERT_GT(route, 0);
  EXPECT_EQ(std::filesystem::path(arguments[route].toStdString()).filename(), "line.dat");
  EXPECT_EQ(testing::readFile(arguments[route].toStdString()), window.editor().document().bytes());

  testing::TempDir config;
  std::string command = "XDG_CONFIG_HOME=" + config.path() +
                        " ALSOFT_DRIVERS=null QT_QPA_PLATFORM=offscreen '" + program.toStdString() +
                        "'";
  for (const QString& a : arguments)
    command += " '" + a.toStdString() + "'";
  command += " --seconds 1 --trace " + config.file("trace.csv") + " 2>" + config.file("err.txt");
  ASSERT_EQ(std::system(command.c_str()), 0) << testing::readFile(config.file("err.txt"));
  const auto trace = testing::readCsvFile(config.file("trace.csv"));
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.front().at("frame"), "120");
  // 150 frames at 60 km/h filmed at 30 frames a second: 83.33 m.
  EXPECT_NEAR(testing::number(trace.front(), "next_stop_cm"), 8333.3, 1);
  EXPECT_EQ(trace.front().at("doors_open"), "0");
  window.close();
}

// The calibration from the window on the ten-second video: two kilometre-post pairs marked at the
// player's frames with typed distances replace the route's table by the core's own segments, as
// one undoable edit, and give the typed distances; a GPX track of a steady 10 m/s climbing 5 per
// mille, aligned by one mark, writes the core's slopes too.
TEST(StudioWindow, CalibratesTheDistancesFromMarkedFrames) {
  Installation at;
  StudioWindow window(false);
  ASSERT_TRUE(showAndOpen(window, at.route));
  QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
  auto* dialog = window.findChild<CalibrationDialog*>();
  ASSERT_NE(dialog, nullptr);
  const auto click = [&](const char* name) {
    auto* button = dialog->findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    // At the start: a check box takes clicks on its box and caption only.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  };
  const auto pair = [&](int from, int to, const char* metres) {
    window.goToFrame(from);
    click("fromMark");
    window.goToFrame(to);
    click("toMark");
    auto* distance = dialog->findChild<QLineEdit*>("distance");
    distance->setFocus();
    typeInto(distance, metres);
    QTest::keyClick(distance, Qt::Key_Return);
  };
  pair(30, 150, "200");
  pair(150, 270, "240");
  click("write");
  Calibration expected;
  std::string error;
  CalibrationSource posts;
  posts.pairs = {{30, 150, 200}, {150, 270, 240}};
  posts.lastFrame = 299;
  ASSERT_TRUE(calibrate(posts, expected, error)) << error;
  const auto recordsOf = [&](RouteSection section) {
    std::vector<std::string> lines;
    for (int i = 0; i < window.editor().document().recordCount(section); ++i)
      lines.push_back(window.editor().document().record(section, i).at(0));
    return lines;
  };
  std::vector<std::string> lines;
  for (const FrameSpeedEntry& s : expected.segments)
    lines.push_back(recordLine(s));
  EXPECT_EQ(recordsOf(RouteSection::kSpeedUnit), lines);
  const auto table = speedTableOf(window.editor().document());
  EXPECT_NEAR(metresAtFrame(table, 150) - metresAtFrame(table, 30), 200, 1);
  EXPECT_NEAR(metresAtFrame(table, 270) - metresAtFrame(table, 150), 240, 1.2);
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window.editor().document().bytes(), at.opened);

  std::string gpx = "<gpx><trk><trkseg>\n";
  for (int t = 0; t <= 12; ++t)
    gpx += "<trkpt lat=\"" + std::to_string(35 + 10.0 * t / 6371008.8 * 180 / 3.14159265358979) +
           "\" lon=\"139\"><ele>" + std::to_string(100 + 0.05 * t) +
           "</ele><time>2024-05-01T10:00:" + (t < 10 ? "0" : "") + std::to_string(t) +
           "Z</time></trkpt>\n";
  ASSERT_TRUE(dialog->importTrack(
      QString::fromStdString(at.root.writeBytes("ride.gpx", gpx + "</trkseg></trk></gpx>"))));
  window.goToFrame(0);
  click("markFrame1Mark");
  typeInto(dialog->findChild<QLineEdit*>("markTime1"), "1");
  click("slopes");
  click("write");
  ASSERT_TRUE(dialog->result().has_value());
  EXPECT_FALSE(dialog->result()->slopes.empty());
  lines.clear();
  for (const SlopeEntry& s : dialog->result()->slopes)
    lines.push_back(recordLine(s));
  EXPECT_EQ(recordsOf(RouteSection::kSlope), lines);
  EXPECT_NEAR(metresAtFrame(speedTableOf(window.editor().document()), 299), 99.7, 0.5);
  for (const SlopeEntry& s : dialog->result()->slopes)
    EXPECT_EQ(s.gradient, Fixed::fromInt(5)) << recordLine(s);
  window.close();
}

}  // namespace
}  // namespace velimoro::studio
