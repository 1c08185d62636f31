#include "shell/cab_window.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>

#include "cab/trace.h"
#include "input/controls.h"
#include "persist/settings.h"
#include "present/side_column.h"
#include "shell/controller_menu.h"
#include "shell/report_window.h"

namespace velimoro::shell {
namespace {

constexpr int kPassMs = 33;       // the screen pass's own gate
constexpr int kIdleMs = 5;        // how often to look again while nothing is due
constexpr int kWheelNotch = 120;  // eighths of a degree a wheel notch turns
constexpr int kBandHeight = 44;   // the two rows of value labels of the band display

// The virtual keys the driver's controls know, from Qt's key codes.
std::optional<VirtualKey> virtualKey(int key) {
  switch (key) {
    case Qt::Key_Backspace:
      return VirtualKey::kBackSpace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VirtualKey::kEnter;
    case Qt::Key_ScrollLock:
      return VirtualKey::kScrollLock;
    case Qt::Key_PageUp:
      return VirtualKey::kPageUp;
    case Qt::Key_PageDown:
      return VirtualKey::kPageDown;
    case Qt::Key_Left:
      return VirtualKey::kLeft;
    case Qt::Key_Right:
      return VirtualKey::kRight;
    default:
      break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
    return static_cast<VirtualKey>(static_cast<int>(VirtualKey::kF1) + (key - Qt::Key_F1));
  }
  return std::nullopt;
}

}  // namespace

void MessageBoxes::show(const std::string& text) {
  if (unattended) {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    return;
  }
  QMessageBox::information(nullptr, QStringLiteral("鉄道運転シミュレータ"),
                           QString::fromStdString(text));
}

CabWindow::CabWindow(DriveSetup setup, const CabOptions& options, media::SettingsStore& store)
    : m_store(store), m_band(options.band), m_unattended(options.unattended) {
  m_messages.unattended = options.unattended;
  if (!m_sound.notice().empty()) m_messages.show(m_sound.notice());
  // The settings first: a missing one is the first run, which starts in the beginner mode.
  const StoredSettings stored = readSettings(store);
  if (stored.firstRun) m_messages.show(kFirstRunMessage);
  setup.settings.kanko = stored.settings.kanko;
  setup.settings.information = stored.settings.information;
  setup.settings.ats = stored.settings.ats;
  readControllerCodes(store, setup.controllers);

  DriveMedia media{m_sound, m_screen, m_messages, [this](const std::string& text) {
                     statusBar()->showMessage(QString::fromStdString(text));
                     statusBar()->repaint();
                   }};
  media.pictureStore = &m_screen;
  media.sprites = &m_screen;
  media.backToTitle = [this] { m_session->pass().fadeLevel = 1; };
  m_session = std::make_unique<CabSession>(setup, media);
  Drive& drive = m_session->drive();
  m_report = std::make_unique<RunReportCollector>(drive);
  attachReport(*m_session, *m_report);
  drive.textPanel.shown = m_band;
  takeStopLinePicture(m_session->pass(), drive);
  keySidePictures(drive, m_screen);
  std::string message;
  if (!m_session->openVideo(m_video, message)) m_messages.show(message);
  statusBar()->clearMessage();
  statusBar()->hide();

  setWindowTitle(QString::fromStdString(drive.route->lineName));
  buildMenus();
  m_shownWidth = drive.state.client_width;
  resize(m_shownWidth, logicalSize().height() + menuBar()->sizeHint().height());

  m_wakeTimer.setTimerType(Qt::PreciseTimer);
  m_wakeTimer.setSingleShot(true);
  connect(&m_wakeTimer, &QTimer::timeout, this, [this] { wake(); });
  m_clock.start();
  m_wakeTimer.start(0);
}

void CabWindow::buildMenus() {
  const UiStrings& strings = m_session->drive().strings;
  const DriveSettings& settings = m_session->drive().setup.settings;
  m_start = menuBar()->addAction(QString::fromStdString(strings.Start));
  connect(m_start, &QAction::triggered, this, [this] { toggleStart(); });

  QMenu* display = menuBar()->addMenu(QString::fromStdString(strings.Display));
  const auto toggle = [&](const char* caption, int DriveSettings::*setting) {
    QAction* entry = display->addAction(QString::fromUtf8(caption));
    entry->setCheckable(true);
    entry->setChecked(settings.*setting == 1);
    connect(entry, &QAction::triggered, this,
            [this, setting, entry] { toggleSetting(setting, entry); });
  };
  toggle("喚呼なし(&K)", &DriveSettings::kanko);
  toggle("解説あり(&D)", &DriveSettings::information);
  toggle("入門モード(&A)", &DriveSettings::ats);
  display->addSeparator();
  connect(display->addAction(QStringLiteral("運転レポート(&R)")), &QAction::triggered, this,
          [this] { showReport(); });
  // The windows these open come with their own work; until then they show as not yet there.
  for (const char* caption : {"操作説明(&U)", "かんたん運転台(&E)", "列車設定(&P)"})
    display->addAction(QString::fromUtf8(caption))->setEnabled(false);

  QMenu* move = menuBar()->addMenu(QString::fromStdString(strings.Move));
  const RouteData& route = *m_session->drive().route;
  for (int i = 0; i < route.stationCount; ++i) {
    QAction* station = move->addAction(QString::fromStdString(route.stations[i].name));
    station->setObjectName(QStringLiteral("Sta%1").arg(i));
    station->setEnabled(false);
  }

  QMenu* save = menuBar()->addMenu(QString::fromStdString(strings.Save));
  for (const char* caption : {"運転状態を復元(&L)", "運転状態を保存(&S)"})
    save->addMenu(QString::fromUtf8(caption))->setEnabled(false);

  QMenu* controller = menuBar()->addMenu(QString::fromStdString(strings.Control));
  m_controllers = std::make_unique<ControllerMenu>(
      *this, *controller, *m_session,
      [this](const std::string& name, std::vector<std::string> args) {
        input(name, std::move(args));
      },
      m_messages, m_store);
}

void CabWindow::connectSerial(const std::string& port) {
  m_controllers->connectSerial(port);
}

void CabWindow::toggleSetting(int DriveSettings::*setting, QAction* entry) {
  const char* name = setting == &DriveSettings::kanko         ? "kanko"
                     : setting == &DriveSettings::information ? "information"
                                                              : "ats";
  input("setting", {name, entry->isChecked() ? "1" : "0"});
}

CabWindow::~CabWindow() = default;

void CabWindow::input(const std::string& name, std::vector<std::string> args) {
  m_session->advanceHost(nowMs());
  m_session->input(name, std::move(args));
}

void CabWindow::toggleStart() {
  input("start");
  m_start->setText(m_session->running() ? QStringLiteral("一時停止(&S)")
                                        : QStringLiteral("運転再開(&S)"));
  // Stepping starts or stops with it: look again at once.
  m_wakeTimer.start(0);
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
  // The screen draws while the drive runs; until it starts, one pass shows the cab at rest.
  const bool drawing = m_session->running() || flips == 0;
  const bool closeNow = runScreenPass(pass, drive, drive.panel, &m_video, m_screen,
                                      static_cast<std::uint32_t>(now), drawing);
  if (m_screen.flipCount() != flips) update();
  // The timetable card widens the window, and putting it away narrows it again.
  const int width = drive.state.client_width;
  if (width != m_shownWidth && m_shownWidth > 0 && width > 0) {
    resize(this->width() * width / m_shownWidth, height());
    m_shownWidth = width;
  }
  // The run has ended at its last station: the report shows how it went.
  if (drive.state.run_ended && !m_reportShown && !m_unattended) {
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

void CabWindow::drawWindow(QPainter& painter) {
  const QRect all(QPoint(0, 0), logicalSize());
  painter.setClipRect(all);
  painter.fillRect(all, QColor(0x2B, 0x2D, 0x30));
  painter.drawImage(QPoint(0, 0), m_screen.frontBuffer());
  for (const PlacedPicture& p : sidePictures(m_session->drive())) {
    if (const QImage* picture = m_screen.drawnPicture(p.picture)) {
      painter.drawImage(QPoint(p.x, p.y), *picture);
    }
  }
  if (m_band) drawValueLabels(painter);
}

void CabWindow::drawValueLabels(QPainter& painter) {
  // The twelve value labels of the band display, in two rows under the screen.
  const TextPanel& panel = m_session->drive().textPanel;
  const std::string values[] = {
      panel.reverser, panel.power,       panel.brake,         panel.gear,
      panel.speed,    panel.pattern,     panel.nextStation,   panel.crew,
      panel.clock,    panel.trafficStop, panel.trafficDetect, m_session->drive().state.status_text};
  QFont font = painter.font();
  font.setPixelSize(13);
  painter.setFont(font);
  painter.setPen(QColor(0xE8, 0xE8, 0xE0));
  const int width = logicalSize().width() / 6;
  for (int i = 0; i < 12; ++i) {
    const QRect box((i % 6) * width + 4, media::CabSurface::kHeight + 2 + (i / 6) * 21, width - 8,
                    19);
    painter.drawText(box, Qt::AlignVCenter | Qt::AlignLeft, QString::fromStdString(values[i]));
  }
}

QImage CabWindow::windowPicture() {
  QImage picture(logicalSize(), QImage::Format_RGB32);
  QPainter painter(&picture);
  drawWindow(painter);
  return picture;
}

void CabWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (m_screen.frontBuffer().isNull()) return;
  // The cab screen and the column beside it keep their shape, scaled smoothly to the space
  // below the menu.
  const QSize logical = logicalSize();
  const QRect area = rect().adjusted(0, menuBar()->height(), 0, 0);
  const QSize size = logical.scaled(area.size(), Qt::KeepAspectRatio);
  painter.translate(area.left() + (area.width() - size.width()) / 2,
                    area.top() + (area.height() - size.height()) / 2);
  painter.scale(static_cast<double>(size.width()) / logical.width(),
                static_cast<double>(size.height()) / logical.height());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  drawWindow(painter);
}

void CabWindow::keyPressEvent(QKeyEvent* event) {
  const bool shiftAlone = event->modifiers() == Qt::ShiftModifier;
  if (const auto key = virtualKey(event->key())) {
    std::vector<std::string> args = {virtualKeyName(*key)};
    if (shiftAlone) args.push_back("shift");
    input("vkey", std::move(args));
    return;
  }
  const QString text = event->text();
  if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F) {
    typeKey(static_cast<char>(text[0].unicode()));
  }
}

void CabWindow::typeKey(char key) {
  input("key", {keyWord(key)});
}

void CabWindow::closeEvent(QCloseEvent* event) {
  // The drive ends: no more steps or screen passes, the sounds silent, the video closed, and the
  // settings written back (a store that cannot be written is named, never passed over).
  endRecording();
  m_wakeTimer.stop();
  m_controllers.reset();
  m_session->shutDown();
  std::string error;
  if (!writeSettings(m_store, m_session->drive().setup.settings, error)) m_messages.show(error);
  QMainWindow::closeEvent(event);
}

void CabWindow::mousePressEvent(QMouseEvent* event) {
  // A click on the cab screen while the drive stands still is the Start menu item.
  if (event->button() == Qt::LeftButton && !m_session->running()) toggleStart();
}

void CabWindow::showReport() {
  m_reportWindow = std::make_unique<ReportWindow>(m_report->report());
  m_reportWindow->show();
  m_reportWindow->raise();
}

QSize CabWindow::logicalSize() const {
  const int width = m_session->drive().state.client_width;
  return {width, media::CabSurface::kHeight + (m_band ? kBandHeight : 0)};
}

void CabWindow::wheelEvent(QWheelEvent* event) {
  // Fine wheels and touchpads send many small turns and a fast wheel merges notches into one
  // event: the handle moves one step per whole notch turned. Turning the wheel away from the
  // driver moves towards the brake, as a brake valve does.
  m_wheelDelta += event->angleDelta().y();
  while (m_wheelDelta >= kWheelNotch) {
    m_wheelDelta -= kWheelNotch;
    input("wheel", {"up"});
  }
  while (m_wheelDelta <= -kWheelNotch) {
    m_wheelDelta += kWheelNotch;
    input("wheel", {"down"});
  }
}

}  // namespace velimoro::shell
