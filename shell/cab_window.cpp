#include "shell/cab_window.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>

#include "cab/tick.h"
#include "input/controls.h"
#include "present/scene_movies.h"
#include "present/side_column.h"
#include "present/sound_pause.h"
#include "sim/fast_step.h"
#include "sim/tick.h"

namespace velimoro::shell {
namespace {

constexpr int kFastStepMs = 33;
constexpr int kTickMs = 100;
constexpr int kPassMs = 33;  // the screen pass's own gate
constexpr int kIdleMs = 5;   // how often to look again while no pass is due

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

CabWindow::CabWindow(const DriveSetup& setup, bool unattended) {
  m_messages.unattended = unattended;
  if (!m_sound.notice().empty()) m_messages.show(m_sound.notice());
  DriveMedia media{m_sound, m_screen, m_messages, nullptr};
  media.pictureStore = &m_screen;
  media.sprites = &m_screen;
  media.backToTitle = [this] { m_pass.fadeLevel = 1; };
  m_drive = startDrive(setup, media);
  takeStopLinePicture(m_pass, *m_drive);
  keySidePictures(*m_drive, m_screen);
  std::string message;
  if (!openRouteVideo(*m_drive, m_video, message)) m_messages.show(message);

  setWindowTitle(QString::fromStdString(m_drive->route->lineName));
  QAction* start = menuBar()->addAction(QString::fromStdString(m_drive->strings.Start));
  connect(start, &QAction::triggered, this, [this] { toggleStart(); });
  m_shownWidth = m_drive->state.client_width;
  resize(m_shownWidth, media::CabSurface::kHeight + menuBar()->sizeHint().height());

  m_fastTimer.setTimerType(Qt::PreciseTimer);
  m_fastTimer.setInterval(kFastStepMs);
  connect(&m_fastTimer, &QTimer::timeout, this, [this] { fastStep(); });
  m_tickTimer.setTimerType(Qt::PreciseTimer);
  m_tickTimer.setInterval(kTickMs);
  connect(&m_tickTimer, &QTimer::timeout, this, [this] { tick(); });
  m_idleTimer.setTimerType(Qt::PreciseTimer);
  m_idleTimer.setSingleShot(true);
  m_idleTimer.setInterval(kIdleMs);
  connect(&m_idleTimer, &QTimer::timeout, this, [this] { screenPass(); });
  m_clock.start();
  m_idleTimer.start();
}

CabWindow::~CabWindow() = default;

void CabWindow::toggleStart() {
  if (m_running) {
    pauseSounds(*m_drive);
    m_fastTimer.stop();
    m_tickTimer.stop();
  } else {
    if (m_started) resumeSounds(*m_drive);
    m_fastTimer.start();
    m_tickTimer.start();
    m_started = true;
  }
  m_running = !m_running;
  m_drive->state.input_blocked = false;
}

void CabWindow::fastStep() {
  velimoro::fastStep(*m_drive);
  advanceSceneFrame(m_pass, *m_drive);
}

void CabWindow::tick() {
  simulationTick(*m_drive);
  runSceneMovies(m_pass, *m_drive, m_video);
}

void CabWindow::screenPass() {
  const auto now = static_cast<std::uint32_t>(m_clock.elapsed());
  const auto flips = m_screen.flipCount();
  // The screen draws while the drive runs; until it starts, one pass shows the cab at rest.
  const bool drawing = m_running || flips == 0;
  const bool closeNow =
      runScreenPass(m_pass, *m_drive, m_drive->panel, &m_video, m_screen, now, drawing);
  if (m_screen.flipCount() != flips) update();
  // The timetable card widens the window, and putting it away narrows it again.
  const int width = m_drive->state.client_width;
  if (width != m_shownWidth && m_shownWidth > 0 && width > 0) {
    resize(this->width() * width / m_shownWidth, height());
    m_shownWidth = width;
  }
  if (closeNow) {
    close();
    return;
  }
  // Timers fire up to a millisecond late, so aim at the whole millisecond before the next pass
  // is due and look again at once (within that millisecond) if it is not due yet.
  int wait = kIdleMs;
  if (drawing) {
    const std::int64_t dueNs = (static_cast<std::int64_t>(m_pass.lastPassTime) + kPassMs) * 1000000;
    const std::int64_t waitNs = dueNs - m_clock.nsecsElapsed();
    wait = static_cast<int>(std::clamp<std::int64_t>(waitNs / 1000000, 0, kPassMs));
  }
  m_idleTimer.start(wait);
}

void CabWindow::drawWindow(QPainter& painter) {
  const QRect all(0, 0, m_drive->state.client_width, media::CabSurface::kHeight);
  painter.setClipRect(all);
  painter.fillRect(all, QColor(0x2B, 0x2D, 0x30));
  painter.drawImage(QPoint(0, 0), m_screen.frontBuffer());
  for (const PlacedPicture& p : sidePictures(*m_drive)) {
    if (const QImage* picture = m_screen.drawnPicture(p.picture)) {
      painter.drawImage(QPoint(p.x, p.y), *picture);
    }
  }
}

QImage CabWindow::windowPicture() {
  QImage picture(m_drive->state.client_width, media::CabSurface::kHeight, QImage::Format_RGB32);
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
  const QSize logical(m_drive->state.client_width, media::CabSurface::kHeight);
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
    keyDown(*m_drive, *key, shiftAlone);
    return;
  }
  const QString text = event->text();
  if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F) {
    typeKey(static_cast<char>(text[0].unicode()));
  }
}

void CabWindow::typeKey(char key) {
  asciiDown(*m_drive, key);
}

void CabWindow::wheelEvent(QWheelEvent* event) {
  // Turning the wheel away from the driver moves towards the brake, as a brake valve does.
  if (event->angleDelta().y() > 0) wheelUp(*m_drive);
  if (event->angleDelta().y() < 0) wheelDown(*m_drive);
}

}  // namespace velimoro::shell
