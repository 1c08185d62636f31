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
#include <utility>

#include "cab/trace.h"
#include "data/paths.h"
#include "data/route_reader.h"
#include "input/controls.h"
#include "persist/save_slots.h"
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
  setup.settings.crewChangeStation = readCrewChangeStation(store, setup.routeFile);
  readControllerCodes(store, setup.controllers);

  DriveMedia media{m_sound, m_screen, m_messages, options.status};
  if (!media.status) {
    media.status = [this](const std::string& text) {
      statusBar()->showMessage(QString::fromStdString(text));
      statusBar()->repaint();
    };
  }
  media.pictureStore = &m_screen;
  media.sprites = &m_screen;
  media.backToTitle = [this] { m_session->pass().fadeLevel = 1; };
  media.showCrewChange = [this] {
    m_crewChange->show();
    m_crewChange->raise();
  };
  m_session = std::make_unique<CabSession>(setup, media);
  m_session->useSettingsStore(&m_store);
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
    return entry;
  };
  toggle("喚呼なし(&K)", &DriveSettings::kanko);
  toggle("解説あり(&D)", &DriveSettings::information);
  m_beginnerEntry = toggle("入門モード(&A)", &DriveSettings::ats);
  display->addSeparator();
  connect(display->addAction(QStringLiteral("運転レポート(&R)")), &QAction::triggered, this,
          [this] { showReport(); });
  connect(display->addAction(QStringLiteral("操作説明(&U)")), &QAction::triggered, this,
          [this] { showSmallWindow(*m_help); });
  connect(display->addAction(QStringLiteral("かんたん運転台(&E)")), &QAction::triggered, this,
          [this] { showSmallWindow(*m_easyCab); });
  connect(display->addAction(QStringLiteral("列車設定(&P)")), &QAction::triggered, this, [this] {
    m_trainSettings->showDrive();
    m_trainSettings->exec();
  });

  QMenu* move = menuBar()->addMenu(QString::fromStdString(strings.Move));
  for (const MoveMenuEntry& entry : moveMenuEntries(*m_session->drive().route)) {
    QAction* station = move->addAction(QString::fromStdString(entry.caption));
    station->setObjectName(QStringLiteral("Sta%1").arg(entry.station));
    connect(station, &QAction::triggered, this,
            [this, index = entry.station] { slotOrStation("jump", index); });
  }

  QMenu* save = menuBar()->addMenu(QString::fromStdString(strings.Save));
  QMenu* load = save->addMenu(QStringLiteral("運転状態を復元(&L)"));
  QMenu* store = save->addMenu(QStringLiteral("運転状態を保存(&S)"));
  for (int slot = 1; slot <= kSaveSlots; ++slot) {
    QAction* loadEntry = load->addAction(QString());
    loadEntry->setObjectName(QStringLiteral("Load%1").arg(slot));
    connect(loadEntry, &QAction::triggered, this, [this, slot] { slotOrStation("load", slot); });
    QAction* saveEntry = store->addAction(QString());
    saveEntry->setObjectName(QStringLiteral("Save%1").arg(slot));
    connect(saveEntry, &QAction::triggered, this, [this, slot] { slotOrStation("save", slot); });
  }
  labelSlots(*save);
  connect(save, &QMenu::aboutToShow, this, [this, save] { labelSlots(*save); });

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
    // The serial master controller's last chunk is the value display's caption.
    const std::string& chunk = m_session->drive().controllerInputs.serialCaption;
    if (!chunk.empty())
      m_valueDisplay->setWindowTitle(
          QString::fromLatin1(chunk.data(), static_cast<qsizetype>(chunk.size())));
    m_valueDisplay->showDrive(m_session->pass().fps);
  }
  if (m_easyCab->isVisible()) m_easyCab->showState(s);
}

void CabWindow::labelSlots(QMenu& menu) {
  // An entry without a label says so; such a slot cannot be restored, but can be saved to.
  for (int slot = 1; slot <= kSaveSlots; ++slot) {
    const QString label = QString::fromStdString(storedLabel(m_store, slot));
    const QString caption = label.isEmpty() ? QString::fromUtf8(kNoDataCaption) : label;
    if (auto* entry = menu.findChild<QAction*>(QStringLiteral("Load%1").arg(slot))) {
      entry->setText(caption);
      entry->setEnabled(!label.isEmpty());
    }
    if (auto* entry = menu.findChild<QAction*>(QStringLiteral("Save%1").arg(slot)))
      entry->setText(caption);
  }
}

void CabWindow::slotOrStation(const char* command, int number) {
  input(command, {std::to_string(number)});
  setWindowTitle(QString::fromStdString(m_session->drive().route->lineName));
  m_wakeTimer.start(0);
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
  showSmallWindows();
  // While the drive stands still the screen is not drawn; what an input changed there (a jump,
  // a restored slot, a handle) is shown by one pass.
  if (!m_session->running() && !m_quitRecorded) {
    m_redrawWanted = true;
    m_wakeTimer.start(0);
  }
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
  // The screen draws while the drive runs; until it starts, one pass shows the cab at rest, and
  // one more after each input.
  const bool drawing = m_session->running() || flips == 0 || std::exchange(m_redrawWanted, false);
  const bool closeNow = runScreenPass(pass, drive, drive.panel, &m_video, m_screen,
                                      static_cast<std::uint32_t>(now), drawing);
  if (m_screen.flipCount() != flips) update();
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

void CabWindow::mousePressEvent(QMouseEvent* event) {
  // A click on the cab screen while the drive stands still is the Start menu item.
  if (event->button() == Qt::LeftButton && !m_session->running()) toggleStart();
}

void CabWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_session->running()) {
    m_standbyWanted = true;
    m_wakeTimer.start(0);
  }
}

void CabWindow::showStandby() {
  if (m_session->running()) return;
  const Drive& drive = m_session->drive();
  if (!m_standby)
    m_standby = m_screen.load(resolvePath(drive.setup.root, drive.route->staffBitmap)).value_or(-1);
  if (*m_standby < 0 || !m_screen.canDraw()) return;
  m_screen.fillScreen(0);
  m_screen.drawSprites();
  m_screen.drawPicture(*m_standby, 0, 0);
  m_screen.flip();
  update();
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
