// The cab's small windows on the offscreen platform, each driven as a user would: the train
// settings' engine and protection, the crew-change dialog's two buttons, the easy cab's lamps
// and buttons, the value display's jump, and keys typed into each window driving the train; and
// the cab window showing a jump made while the drive stands still.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "shell/cab_fixture.h"
#include "shell/report_window.h"

namespace velimoro {
namespace {

using testing::runEvents;

QRadioButton* radio(QWidget& window, const char* name) {
  auto* found = window.findChild<QRadioButton*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

template <typename Button>
Button* buttonCalled(QWidget& window, const char* caption) {
  for (Button* button : window.findChildren<Button*>()) {
    if (button->text() == QString::fromUtf8(caption)) return button;
  }
  ADD_FAILURE() << "no button " << caption;
  return nullptr;
}

using Cab = testing::Cab;

// The child of `window` that Tab gives the focus first, focused; the window itself when none
// takes it.
QWidget* tabFocus(QWidget& window) {
  for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain()) {
    if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisibleTo(&window)) {
      w->setFocus(Qt::TabFocusReason);
      return w;
    }
  }
  return &window;
}
using testing::typeInto;

TEST(SmallWindows, TheTrainSettingsStartTheEngineAfterItsStarterAndSwitchTheProtection) {
  Cab cab;
  auto& settings = cab.find<windows::TrainSettingsDialog>("TrainSettings");
  const int startSound = cab.window->session().drive().train->EngineSound2[2];
  const int stopSound = cab.window->session().drive().train->EngineSound2[3];
  const auto playing = [&](int channel) {
    return channel > 0 && cab.window->session().sound().isPlaying(channel);
  };
  // Started while running: no sound, and "運転" is chosen again.
  radio(settings, "engineStart")->click();
  EXPECT_FALSE(playing(startSound));
  for (int waited = 0; waited < 3000 && !radio(settings, "engineRun")->isChecked(); waited += 50)
    runEvents(50);
  EXPECT_TRUE(radio(settings, "engineRun")->isChecked());
  radio(settings, "engineOff")->click();
  EXPECT_FALSE(cab.state().engine_running);
  if (stopSound > 0) {
    EXPECT_TRUE(playing(stopSound));
  }
  // Started when stopped: the starter turns, and only then does the engine run.
  radio(settings, "engineStart")->click();
  EXPECT_FALSE(cab.state().engine_running);
  for (int waited = 0; waited < 3000 && !cab.state().engine_running; waited += 50)
    runEvents(50);
  EXPECT_TRUE(cab.state().engine_running);

  // Protection on leaves the beginner mode; off keeps the setting but stops the protection.
  radio(settings, "atsOn")->click();
  EXPECT_TRUE(cab.state().ats_active && cab.state().lamp_ats1);
  EXPECT_EQ(cab.window->session().drive().setup.settings.ats, 0);
  radio(settings, "atsOff")->click();
  EXPECT_FALSE(cab.state().ats_active || cab.state().lamp_ats1);
}

// The run report windows open now.
int openReports() {
  int open = 0;
  for (const QWidget* widget : QApplication::topLevelWidgets())
    open += widget->isVisible() && dynamic_cast<const ReportWindow*>(widget) != nullptr;
  return open;
}

// At the crew-change station the dialog asks; the run report waits for the run's real end.
TEST(SmallWindows, TheCrewChangeDialogAsksOnceAndGoesOnOrEndsTheDrive) {
  Cab cab;
  auto& settings = cab.find<windows::TrainSettingsDialog>("TrainSettings");
  auto& dialog = cab.find<windows::CrewChangeDialog>("CrewChange");
  auto* crew = settings.findChild<QComboBox*>();
  ASSERT_NE(crew, nullptr);
  const std::vector<QAction*> stations = cab.moveEntries();
  ASSERT_GE(stations.size(), 2u);
  Q_EMIT crew->activated(crew->findData(stations[1]->objectName().mid(3).toInt()));
  // At the station with the doors open, once its announcement has ended.
  stations[1]->trigger();
  cab.window->typeKey('d');  // the one-man train's doors
  for (int waited = 0; waited < 15000 && !dialog.isVisible(); waited += 100)
    runEvents(100);
  ASSERT_TRUE(dialog.isVisible());
  EXPECT_EQ(openReports(), 0);
  EXPECT_FALSE(cab.state().run_ended);
  buttonCalled<QPushButton>(dialog, "運転継続")->click();
  runEvents(500);
  EXPECT_FALSE(dialog.isVisible());  // asked once
  EXPECT_EQ(openReports(), 0);
  EXPECT_TRUE(cab.window->session().running());
  EXPECT_EQ(cab.window->session().pass().fadeLevel, 0);
  // Ending the drive there fades the screen out, and the run counts as ended.
  dialog.show();
  buttonCalled<QPushButton>(dialog, "運転終了")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(cab.state().run_ended);
  EXPECT_GT(cab.window->session().pass().fadeLevel, 0);
}

TEST(SmallWindows, KeysTypedIntoEachWindowDriveTheTrainWhicheverChildHasTheFocus) {
  Cab cab({.train = "train_QT600.dat"});
  std::ostringstream recording;
  cab.window->recordTo(&recording);
  auto& easy = cab.find<windows::EasyCab>("EasyCab");
  auto& values = cab.find<windows::ValueDisplay>("ValueDisplay");
  auto& help = cab.find<windows::HelpWindow>("Help");
  auto& settings = cab.find<windows::TrainSettingsDialog>("TrainSettings");
  // The easy cab's power button, then a "," and a Space typed into each window where Tab puts
  // the focus: the brake comes off a step each time and the Space is the driver's, not a
  // button's.
  const int before = cab.state().brake_handle;
  buttonCalled<QPushButton>(easy, "加速")->click();  // power: the brake comes off first
  EXPECT_EQ(cab.state().brake_handle, before + 1);
  int expected = cab.state().brake_handle;
  for (QWidget* window : std::initializer_list<QWidget*>{&easy, &values, &help}) {
    window->show();
    QWidget* focused = tabFocus(*window);
    typeInto(*focused, Qt::Key_Comma, ",");
    typeInto(*focused, Qt::Key_Space, " ");
    ++expected;
    EXPECT_EQ(cab.state().brake_handle, expected) << window->windowTitle().toStdString();
  }
  // The train settings pass on the keys that are no characters only.
  typeInto(settings, Qt::Key_Comma, ",");
  typeInto(settings, Qt::Key_Z, "z");
  EXPECT_EQ(cab.state().brake_handle, expected);
  const std::string typed = recording.str();
  EXPECT_EQ(std::count(typed.begin(), typed.end(), ','), 3) << typed;
  std::size_t spaces = 0;
  for (std::size_t at = typed.find(" key space"); at != std::string::npos;
       at = typed.find(" key space", at + 1))
    ++spaces;
  EXPECT_EQ(spaces, 3u) << typed;
  EXPECT_EQ(typed.find("speedunits"), std::string::npos) << typed;

  // F3 shows and hides the value display, from the cab, the train settings or the display
  // itself, and brings it out again after its close box.
  values.hide();
  typeInto(*cab.window, Qt::Key_F3, "");
  EXPECT_TRUE(values.isVisible());
  typeInto(values, Qt::Key_F3, "");
  EXPECT_FALSE(values.isVisible());
  typeInto(settings, Qt::Key_F3, "");
  EXPECT_TRUE(values.isVisible());
  values.close();
  EXPECT_FALSE(values.isVisible());
  typeInto(*cab.window, Qt::Key_F3, "");
  EXPECT_TRUE(values.isVisible());
  // The jump takes a number and refuses other text.
  values.findChild<QLineEdit*>()->setText(QStringLiteral("1200"));
  buttonCalled<QPushButton>(values, "jump")->click();
  EXPECT_EQ(cab.state().frame, 1200);
  values.findChild<QLineEdit*>()->setText(QStringLiteral("12x"));
  buttonCalled<QPushButton>(values, "jump")->click();
  EXPECT_EQ(cab.state().frame, 1200);

  if (const char* keep = std::getenv("VELIMORO_TEST_PICTURES")) {
    runEvents(400);
    values.grab().save(QString::fromUtf8(keep) + "/value_display.png");
    easy.grab().save(QString::fromUtf8(keep) + "/easy_cab.png");
  }
}

// The value display's value under `caption`, as its labels show it.
std::string shownValue(const windows::ValueDisplay& values, const char* caption) {
  const QList<QLabel*> labels = values.findChildren<QLabel*>();
  const auto found = std::find_if(labels.begin(), labels.end(), [caption](const QLabel* label) {
    return label->text() == QString::fromUtf8(caption);
  });
  if (found == labels.end() || std::next(found) == labels.end()) {
    ADD_FAILURE() << "no line " << caption;
    return {};
  }
  return (*std::next(found))->text().toStdString();
}

// The lamps of an easy cab as their colours show.
std::vector<QString> lampColours(const windows::EasyCab& easy) {
  std::vector<QString> colours;
  for (const QLabel* label : easy.findChildren<QLabel*>())
    colours.push_back(label->styleSheet());
  return colours;
}

QAction* entryCalled(QWidget& window, const char* caption) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->text() == QString::fromUtf8(caption)) return action;
  }
  ADD_FAILURE() << "no entry " << caption;
  return nullptr;
}

TEST(SmallWindows, TheEasyCabAndTheValueDisplayOpenOnTheDriveAsItStandsWhilePaused) {
  Cab cab({.train = "train_QT600.dat"});
  runEvents(300);
  cab.window->toggleStart();  // paused: no tick refreshes the windows
  auto& easy = cab.find<windows::EasyCab>("EasyCab");
  auto& values = cab.find<windows::ValueDisplay>("ValueDisplay");
  QAction* easyEntry = entryCalled(*cab.window, "かんたん運転台(&E)");
  ASSERT_NE(easyEntry, nullptr);
  // Opened, and opened again after the handles moved: the lamps a fresh easy cab shows for the
  // handles as they stand.
  for (const char* keys : {",,,z", "zz,"}) {
    easy.hide();
    for (const char* key = keys; *key != '\0'; ++key)
      cab.window->typeKey(*key);
    easyEntry->trigger();
    windows::EasyCab fresh(windows::CabLink{});
    fresh.showState(cab.state());
    EXPECT_EQ(lampColours(easy), lampColours(fresh)) << keys;
  }
  // The value display brought out by F3 after a Move shows the frame moved to.
  ASSERT_FALSE(cab.moveEntries().empty());
  cab.moveEntries().back()->trigger();
  typeInto(*cab.window, Qt::Key_F3, "");
  EXPECT_EQ(shownValue(values, "Frame"), std::to_string(cab.state().frame));
}

TEST(SmallWindows, StoredPlacesOffTheScreenOrTooBigForItAreKeptOnIt) {
  // The settings file as a user edits it: the value display far to the right, the easy cab
  // above the screen and wider than it, the help where it fits.
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Dorvanel";
  QDir().mkpath(config);
  QFile file(config + "/velimoro.ini");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(
      "[General]\nKanko=0\nInformation=1\nATS=1\n"
      "ValueDisplayX=2500\nValueDisplayY=40\nValueDisplayWidth=500\nValueDisplayHeight=300\n"
      "EasyCabX=-700\nEasyCabY=-900\nEasyCabWidth=90000\nEasyCabHeight=200\n"
      "HelpX=30\nHelpY=20\nHelpWidth=300\nHelpHeight=200\n");
  file.close();
  auto cab = std::make_unique<Cab>();
  const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
  // Each lies on the screen, whole when it fits (the value display's columns may not).
  for (const char* name : {"ValueDisplay", "EasyCab", "Help"}) {
    auto& window = cab->find<QWidget>(name);
    window.show();
    runEvents(50);
    const QRect place = window.geometry();
    // (The window's frame may take a few pixels.)
    const QRect shown = room.intersected(place);
    EXPECT_TRUE(room.contains(place.topLeft())) << name;
    EXPECT_GE(shown.width(), std::min(place.width(), room.width()) - 8) << name;
    EXPECT_GE(shown.height(), std::min(place.height(), room.height()) - 8) << name;
  }
  EXPECT_EQ(cab->find<QWidget>("Help").geometry(), QRect(30, 20, 300, 200));
  // Closed, the window writes back the places it kept.
  cab->window->close();
  cab.reset();
  QSettings stored(config + "/velimoro.ini", QSettings::IniFormat);
  EXPECT_LT(stored.value("ValueDisplayX").toInt(), room.right());
  EXPECT_GE(stored.value("EasyCabY").toInt(), room.top());
  EXPECT_LE(stored.value("EasyCabWidth").toInt(), room.width());
  EXPECT_EQ(stored.value("HelpWidth").toInt(), 300);
}

TEST(SmallWindows, AJumpWhileTheDriveStandsStillIsShownAtOnce) {
  Cab cab;
  cab.window->toggleStart();  // paused
  runEvents(100);
  const QImage before = cab.window->screen().copy();
  const auto flips = cab.window->flipCount();
  ASSERT_FALSE(cab.moveEntries().empty());
  cab.moveEntries().back()->trigger();
  runEvents(100);
  EXPECT_FALSE(cab.window->session().running());
  EXPECT_EQ(cab.window->flipCount(), flips + 1);
  EXPECT_NE(cab.window->screen(), before);
  if (const char* keep = std::getenv("VELIMORO_TEST_PICTURES"))
    cab.window->grab().save(QString::fromUtf8(keep) + "/paused_jump.png");
}

}  // namespace
}  // namespace velimoro
