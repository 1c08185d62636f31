// The cab's small windows on the offscreen platform, each driven as a user would: the train
// settings' engine and protection, the crew-change dialog's two buttons, the easy cab's lamps
// and buttons, the value display's jump, and keys typed into each window driving the train; and
// the cab window showing a jump made while the drive stands still.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "shell/cab_fixture.h"

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

TEST(SmallWindows, TheCrewChangeDialogGoesOnOrEndsTheDrive) {
  Cab cab;
  auto& dialog = cab.find<windows::CrewChangeDialog>("CrewChange");
  dialog.show();
  buttonCalled<QPushButton>(dialog, "運転継続")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(cab.window->session().pass().fadeLevel, 0);
  dialog.show();
  buttonCalled<QPushButton>(dialog, "運転終了")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_GT(cab.window->session().pass().fadeLevel, 0);  // the screen fades, then the cab closes
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

TEST(SmallWindows, AJumpWhileTheDriveStandsStillIsShownAtOnce) {
  Cab cab;
  cab.window->toggleStart();  // paused
  runEvents(100);
  const QImage before = cab.window->screen().copy();
  const auto flips = cab.window->flipCount();
  QAction* last = nullptr;
  for (QAction* action : cab.window->findChildren<QAction*>()) {
    if (action->objectName().startsWith(QStringLiteral("Sta"))) last = action;
  }
  ASSERT_NE(last, nullptr);
  last->trigger();
  runEvents(100);
  EXPECT_FALSE(cab.window->session().running());
  EXPECT_EQ(cab.window->flipCount(), flips + 1);
  EXPECT_NE(cab.window->screen(), before);
  if (const char* keep = std::getenv("VELIMORO_TEST_PICTURES"))
    cab.window->grab().save(QString::fromUtf8(keep) + "/paused_jump.png");
}

}  // namespace
}  // namespace velimoro
