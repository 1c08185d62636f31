#include "shell/cab_window.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "cab/trace.h"
#include "persist/settings.h"
#include "present/side_column.h"
#include "shell/controller_menu.h"

namespace velimoro::shell {
namespace {

constexpr int kPassMs = 33;  // the screen pass's own gate
constexpr int kIdleMs = 5;   // how often to look again while nothing is due

}  // namespace

QString programTitle() {
  return QCoreApplication::translate("velimoro::shell::Program", "鉄道運転シミュレータ");
}

void MessageBoxes::show(const std::string& text) {
  if (unattended) {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    return;
  }
  QMessageBox::information(nullptr, programTitle(), QString::fromStdString(text));
}

CabWindow::CabWindow(DriveSetup setup, const CabOptions& options, media::SettingsStore& store)
    : m_store(store), m_band(options.band) {
  m_messages.unattended = options.unattended;
  if (!m_sound.notice().empty()) m_messages.show(m_sound.notice());
  // The settings first: a missing one is the first run, which starts in the beginner mode.
  const StoredSettings stored = readSettings(store);
  if (stored.firstRun) m_messages.show(media::translate("Settings", kFirstRunMessage));
  setup.settings.kanko = stored.settings.kanko;
  setup.settings.information = stored.settings.information;
  setup.settings.ats = stored.settings.ats;
  setup.settings.aids = stored.settings.aids;
  setup.settings.crewChangeStation = readCrewChangeStation(store, setup.routeFile);
  readControllerCodes(store, setup.controllers);

  m_composeScale = options.composeScale;
  // The paint covers every pixel of the window, so its background is not filled first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  DriveMedia media{m_sound, m_screen, m_messages, options.status};
  if (!media.status) {
    media.status = [this](const std::string& text) {
      statusBar()->showMessage(QString::fromStdString(text));
      statusBar()->repaint();
    };
  }
  media.pictureStore = &m_screen;
  media.sprites = &m_screen;
  media.backToTitle = [this] {
    m_runCompleted = true;
    back();
  };
  media.showCrewChange = [this] {
    m_crewChange->show();
    m_crewChange->raise();
  };
  m_session = std::make_unique<CabSession>(setup, media);
  m_session->useSettingsStore(&m_store);
  Drive& drive = m_session->drive();
  m_report = std::make_unique<RunReportCollector>(drive);
  attachReport(*m_session, *m_report);
  // The band display writes the texts into the labels under the screen and the guidance into
  // the picture's band; the picture then carries no texts and no stop-line marker.
  drive.textPanel.shown = m_band;
  m_session->pass().bandMode = m_band;
  takeStopLinePicture(m_session->pass(), drive);
  keySidePictures(drive, m_screen);
  std::string message;
  if (!m_session->openVideo(m_video, message)) m_messages.show(message);
  statusBar()->clearMessage();
  statusBar()->hide();
  // The status line comes back only for a note, and goes with it.
  connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& shown) {
    if (shown.isEmpty()) statusBar()->hide();
  });

  setWindowTitle(QString::fromStdString(drive.route->lineName));
  buildSmallWindows();
  buildMenus();
  m_shownWidth = drive.state.client_width;
  resize(m_shownWidth, logicalSize().height() + menuBar()->sizeHint().height());

  m_wakeTimer.setTimerType(Qt::PreciseTimer);
  m_wakeTimer.setSingleShot(true);
  connect(&m_wakeTimer, &QTimer::timeout, this, [this] { wake(); });
  m_clock.start();
  m_wakeTimer.start(0);
}

CabWindow::~CabWindow() = default;

void CabWindow::input(const std::string& name, std::vector<std::string> args) {
  m_session->advanceHost(nowMs());
  m_session->input(name, std::move(args));
  showSmallWindows();
  // While a started drive stands still the screen is not drawn; what an input changed there (a
  // jump, a restored slot, a handle) is shown by one pass. Before Start the standby picture
  // stays: the panel shows nothing true until the first tick.
  if (m_session->started() && !m_session->running() && !m_quitRecorded) {
    m_redrawWanted = true;
    m_wakeTimer.start(0);
  }
}

void CabWindow::toggleStart() {
  input("start");
  m_start->setText(m_session->running() ? tr("一時停止(&S)") : tr("運転再開(&S)"));
  // Stepping starts or stops with it: look again at once.
  m_wakeTimer.start(0);
}

void CabWindow::back() {
  // Before the first Start there is no drive to fade out of: the window closes at once.
  if (!m_session->started()) {
    close();
    return;
  }
  if (m_session->pass().fadeLevel == 0) m_session->pass().fadeLevel = 1;
  m_wakeTimer.start(0);
}

std::unique_ptr<QWidget> CabWindow::takeReport() {
  return std::move(m_reportWindow);
}

void CabWindow::traceTo(std::ostream& out) {
  writeTraceHeader(out);
  m_session->afterTick = [this, &out, before = m_session->afterTick] {
    if (before) before();
    writeTraceRow(out, m_session->drive().state);
  };
}

void CabWindow::endRecording() {
  if (m_quitRecorded) return;
  m_quitRecorded = true;
  input("quit");
}

void CabWindow::wake() {
  const std::int64_t now = nowMs();
  m_session->advanceHost(now);
  Drive& drive = m_session->drive();
  ScreenPass& pass = m_session->pass();
  const auto flips = m_screen.flipCount();
  // A window resized or moved to another screen gets the screen composed anew at its scale.
  const double scale = m_screen.scale();
  m_screen.setScale(compositionScale());
  if (m_screen.scale() != scale && m_session->started()) m_redrawWanted = true;
  // The screen draws while the drive runs or fades; while it is paused, one pass after each
  // input. Until the first Start it shows the standby picture.
  const bool drawing =
      m_session->running() || pass.fadeLevel > 0 || std::exchange(m_redrawWanted, false);
  const bool closeNow = runScreenPass(pass, drive, drive.panel, &m_video, m_screen,
                                      static_cast<std::uint32_t>(now), drawing);
  if (m_screen.flipCount() != flips) {
    m_standbyShown = false;
    // Only the drawing is painted again: the menu, the status bar and the black around the
    // drawing stay as they are.
    update(drawingRect());
  }
  if (!m_session->started() && !m_standbyShown) m_standbyWanted = true;
  // The timetable card widens the window, and putting it away narrows it again.
  const int width = drive.state.client_width;
  if (width != m_shownWidth && m_shownWidth > 0 && width > 0) {
    resize(this->width() * width / m_shownWidth, height());
    m_shownWidth = width;
  }
  if (m_standbyWanted) {
    m_standbyWanted = false;
    showStandby();
  }
  // The run has ended at its last station: the report shows how it went. A crew change ends the
  // run as well, but the driver may go on: its dialog asks first.
  if (m_runCompleted && !m_reportShown) {
    m_reportShown = true;
    showReport();
  }
  if (closeNow) {
    close();
    return;
  }
  // Sleep until the next step or screen pass is due. Timers fire up to a millisecond late, so
  // aim at the whole millisecond before and look again at once if nothing is due yet.
  std::int64_t dueNs = (now + kIdleMs) * 1000000;
  if (drawing) dueNs = (static_cast<std::int64_t>(pass.lastPassTime) + kPassMs) * 1000000;
  const std::int64_t stepMs = m_session->nextStepHostMs();
  if (stepMs >= 0) dueNs = std::min(dueNs, stepMs * 1000000);
  const std::int64_t waitNs = dueNs - m_clock.nsecsElapsed();
  m_wakeTimer.start(static_cast<int>(std::clamp<std::int64_t>(waitNs / 1000000, 0, kPassMs)));
}

void CabWindow::closeEvent(QCloseEvent* event) {
  // The drive ends: no more steps or screen passes, the sounds silent, the video closed, and the
  // settings written back (a store that cannot be written is named, never passed over).
  endRecording();
  m_wakeTimer.stop();
  m_controllers.reset();
  m_session->shutDown();
  // The small windows close with the drive and keep their places for the next.
  for (auto [window, name] : smallWindows()) {
    const QRect place = window->geometry();
    if (window->isVisible())
      writeWindowPlace(m_store, name, {place.x(), place.y(), place.width(), place.height()});
    window->hide();
  }
  m_trainSettings->hide();
  m_crewChange->hide();
  writeCrewChangeStation(m_store, m_session->drive().setup.routeFile,
                         m_session->drive().setup.settings.crewChangeStation);
  std::string error;
  if (!writeSettings(m_store, m_session->drive().setup.settings, error)) m_messages.show(error);
  QMainWindow::closeEvent(event);
  if (closed) closed();
}

void CabWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::LanguageChange && m_start != nullptr) retranslate();
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_session->running()) {
    m_standbyWanted = true;
    m_wakeTimer.start(0);
  }
}

}  // namespace velimoro::shell
