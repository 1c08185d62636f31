// The cab window's small windows: the value display, the easy cab, the help, the train settings,
// the crew-change dialog and the run report; where they stand and what they show.
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "cab/script.h"
#include "persist/settings.h"
#include "shell/cab_window.h"
#include "shell/report_window.h"

namespace velimoro::shell {
namespace {

// A stored place may lie on a screen no longer there, or come from a hand-edited file: the
// window goes onto the screen that holds its middle (else the primary one), shrunk to fit it
// as far as its least size allows; one larger than the screen keeps its top left corner there.
QRect keptOnScreen(const QRect& place, QSize least) {
  const QScreen* screen = QGuiApplication::screenAt(place.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return place;
  const QRect room = screen->availableGeometry();
  QRect kept(place.topLeft(), place.size().boundedTo(room.size()).expandedTo(least));
  kept.moveLeft(std::max(room.left(), std::min(kept.left(), room.right() + 1 - kept.width())));
  kept.moveTop(std::max(room.top(), std::min(kept.top(), room.bottom() + 1 - kept.height())));
  return kept;
}

}  // namespace

void CabWindow::buildSmallWindows() {
  const windows::CabLink link{
      [this](const std::string& name, std::vector<std::string> args) {
        input(name, std::move(args));
        // The train settings switch the protection, and with it the beginner mode's entry.
        if (m_beginnerEntry != nullptr)
          m_beginnerEntry->setChecked(m_session->drive().setup.settings.ats == 1);
      },
      [this](QKeyEvent* event) { keyPressEvent(event); },
      [this](const std::string& text) { m_messages.show(text); }};
  const Drive& drive = m_session->drive();
  m_valueDisplay = std::make_unique<windows::ValueDisplay>(*m_session, link, this);
  m_easyCab = std::make_unique<windows::EasyCab>(link, this);
  m_help = std::make_unique<windows::HelpWindow>(drive.setup.root, link, this);
  m_help->setWindowFlag(Qt::Window);
  m_trainSettings = std::make_unique<windows::TrainSettingsDialog>(drive, link, this);
  // The crew-change dialog's end of the drive ends the run there, and then is the back
  // picture's: the screen fades, the window closes.
  m_crewChange = std::make_unique<windows::CrewChangeDialog>(
      [this] {
        input("set", {"run_ended", "1"});
        back();
      },
      this);
  for (auto [window, name] : smallWindows()) {
    if (const auto place = readWindowPlace(m_store, name))
      window->setGeometry(keptOnScreen({place->x, place->y, place->width, place->height},
                                       window->minimumSizeHint()));
  }
  m_session->afterTick = [this, before = m_session->afterTick] {
    if (before) before();
    showSmallWindows();
  };
}

std::vector<std::pair<QWidget*, std::string>> CabWindow::smallWindows() {
  return {
      {m_valueDisplay.get(), "ValueDisplay"}, {m_easyCab.get(), "EasyCab"}, {m_help.get(), "Help"}};
}

void CabWindow::showSmallWindow(QWidget& window) {
  bringOut(window);
  // While the drive stands still no tick refreshes it: it opens on the drive as it stands.
  showSmallWindows();
}

void CabWindow::bringOut(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

void CabWindow::showSmallWindows() {
  // F3 shows and hides the value display through the drive's state.
  const SimState& s = m_session->drive().state;
  if (s.value_window_shown != m_valueWindowShown) {
    m_valueWindowShown = s.value_window_shown;
    if (m_valueWindowShown) {
      bringOut(*m_valueDisplay);
    } else {
      m_valueDisplay->hide();
    }
  }
  if (m_valueDisplay->isVisible()) {
    // The serial master controller's last code is the value display's caption, read in the
    // code page of "mascon.dat"; bytes that are no CP932 show escaped.
    const std::string& chunk = m_session->drive().controllerInputs.serialCaption;
    if (!chunk.empty())
      m_valueDisplay->setWindowTitle(QString::fromStdString(serialCaptionText(chunk)));
    m_valueDisplay->showDrive(m_session->pass().fps);
  }
  if (m_easyCab->isVisible()) m_easyCab->showState(s);
}

void CabWindow::showReport() {
  m_reportWindow = std::make_unique<ReportWindow>(m_report->report());
  m_reportWindow->show();
  m_reportWindow->raise();
}

}  // namespace velimoro::shell
