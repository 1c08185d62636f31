// The cab window's small windows: the value display, the easy cab, the help, the train settings,
// the crew-change dialog and the run report; where they stand and what they show.
#include "cab/script.h"
#include "persist/settings.h"
#include "shell/cab_window.h"
#include "shell/report_window.h"

namespace velimoro::shell {

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
  // The crew-change dialog's end of the drive is the back button's: the screen fades, the
  // window closes.
  m_crewChange = std::make_unique<windows::CrewChangeDialog>(
      [this] { m_session->pass().fadeLevel = 1; }, this);
  for (auto [window, name] : smallWindows()) {
    if (const auto place = readWindowPlace(m_store, name))
      window->setGeometry(place->x, place->y, place->width, place->height);
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
      showSmallWindow(*m_valueDisplay);
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
