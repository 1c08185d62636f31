#include "shell/title_window.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <filesystem>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "data/data_error.h"
#include "data/paths.h"

namespace velimoro::shell {
namespace {

constexpr int kTickMs = 100;
constexpr int kMovieFrameMs = 33;  // the opening movie at the route videos' 30 frames a second
constexpr int kMusicChannel = 0;
constexpr int kStartChannel = 1;
// Of the screen's free area the title screen takes at most this much, in quarter steps.
constexpr double kScreenShare = 0.85;
// How long the desktop may take to say which program shows HTML pages.
constexpr int kDesktopQueryMs = 2000;
// Presses and keys that reach the title this soon after a drive closed were made for the cab
// window (the driver's last keys and clicks, queued while it faded out): they pass nothing.
constexpr qint64 kSettleMs = 600;
// A help page larger than this is not the program's own: it is named, not shown.
constexpr qint64 kHelpPageMaxBytes = qint64{16} << 20;

const QColor kButtonFace(0x1E, 0x2E, 0x4A, 0xE0);
const QColor kButtonEdge(0xC8, 0xD2, 0xE6);
const QColor kCursorColour(0xF4, 0xC8, 0x30);

// Whether the desktop has a program for HTML pages: without one, opening the page succeeds in
// handing it on and nothing shows.
bool desktopOpensHtml() {
#ifdef _WIN32
  return true;
#else
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return false;
  const QString mime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (mime.isEmpty()) return !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty();
  QProcess query;
  query.start(mime,
              {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
  if (!query.waitForFinished(kDesktopQueryMs)) {
    query.kill();
    query.waitForFinished(kDesktopQueryMs);
    return false;
  }
  return !query.readAllStandardOutput().trimmed().isEmpty();
#endif
}

std::optional<TitleKey> titleKey(int key) {
  switch (key) {
    case Qt::Key_Up:
      return TitleKey::kUp;
    case Qt::Key_Down:
      return TitleKey::kDown;
    case Qt::Key_Left:
      return TitleKey::kLeft;
    case Qt::Key_Right:
      return TitleKey::kRight;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      return TitleKey::kEnter;
    case Qt::Key_Escape:
      return TitleKey::kEscape;
    case Qt::Key_F1:
      return TitleKey::kHelp;
    default:
      return std::nullopt;
  }
}

QRect rectOf(const MenuBox& box) {
  return {box.x, box.y, box.width, box.height};
}

}  // namespace

TitleWindow::TitleWindow(std::string root, const CabOptions& options, media::SettingsStore& store,
                         int titlePicture)
    : m_root(std::move(root)),
      m_options(options),
      m_store(store),
      m_flow(titlePicture, [this, &options] {
        m_messages.unattended = options.unattended;
        // The opening movie plays when there is one; one that does not open is said and the
        // slideshow goes on.
        const std::string path = resolvePath(m_root, kOpeningMovie);
        if (!std::filesystem::exists(path)) return false;
        std::string error;
        if (m_movie.open(path, error) && m_movie.frameCount() > 0) return true;
        m_messages.show(media::translate("Title", kMovieFailed));
        return false;
      }()) {
  // The title screen is hidden while a cab window is open: closing that cab window must not end
  // the program, closing the title screen does.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  setWindowFlag(Qt::FramelessWindowHint);
  setWindowTitle(programTitle());
  setFocusPolicy(Qt::StrongFocus);
  m_background = m_flow.view().picture;
  connect(&m_timer, &QTimer::timeout, this, [this] {
    m_flow.tick();
    refresh();
  });
  m_timer.start(kTickMs);
  if (m_flow.view().movie) {
    connect(&m_movieTimer, &QTimer::timeout, this, [this] { nextMovieFrame(); });
    m_movieTimer.start(kMovieFrameMs);
  }
  openDocument = [](const std::string& path) {
    return desktopOpensHtml() &&
           QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  };
  askTrainFile = [this] {
    // Qt's own dialog, which speaks the program's language; the desktop's speaks the desktop's.
    return QFileDialog::getOpenFileName(
               this, QString::fromStdString(media::translate("Title", kTrainDialogTitle)),
               QString::fromStdString(m_root),
               QString::fromStdString(media::translate("Title", kTrainDialogFilter)), nullptr,
               QFileDialog::DontUseNativeDialog)
        .toStdString();
  };
  placeOnScreen();
}

TitleWindow::~TitleWindow() = default;

QSize TitleWindow::designSize() const {
  const TitleView view = m_flow.view();
  if (view.wide) return {kOpeningWidth, kOpeningHeight};
  return {kTitleWidth, kTitleHeight + (view.statusLine ? kTitleStatusHeight : 0)};
}

void TitleWindow::placeOnScreen() {
  // Today's screens are larger than the 800 x 600 the pictures are drawn for: the form grows in
  // quarter steps to a comfortable share of the screen, centred.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize design = designSize();
  QRect free(0, 0, design.width(), design.height());
  if (screen != nullptr) free = screen->availableGeometry();
  const double fits = std::min(free.width() * kScreenShare / kTitleWidth,
                               free.height() * kScreenShare / (kTitleHeight + kTitleStatusHeight));
  double scale = std::max(0.5, std::floor(fits * 4) / 4);
  if (fits >= 1.0) scale = std::max(1.0, scale);
  const QSize shown(static_cast<int>(std::lround(design.width() * scale)),
                    static_cast<int>(std::lround(design.height() * scale)));
  if (shown == m_shownSize) return;
  // The status line opens and closes under the picture: the form keeps its place then.
  const bool statusLineOnly = m_shownSize.width() == shown.width();
  m_shownSize = shown;
  setFixedSize(shown);
  if (!statusLineOnly) move(free.center() - QPoint(shown.width() / 2, shown.height() / 2));
}

void TitleWindow::refresh() {
  for (TitleSound sound : m_flow.takeSounds())
    playSound(sound);
  const TitleView view = m_flow.view();
  // A picture that is missing leaves the last one on the screen.
  if (view.picture != m_background && loaded(view.picture) != nullptr) m_background = view.picture;
  if (!view.movie) m_movieTimer.stop();
  placeOnScreen();
  update();
}

void TitleWindow::playSound(TitleSound sound) {
  if (sound == TitleSound::kStopMusic) {
    m_sound.stop(kMusicChannel);
    return;
  }
  const char* name = sound == TitleSound::kOpeningMusic  ? kOpeningMusicFile
                     : sound == TitleSound::kEndingMusic ? kEndingMusicFile
                                                         : kStartSoundFile;
  auto found = m_soundIds.find(name);
  if (found == m_soundIds.end()) {
    // A missing or damaged sound file leaves the title screen silent, nothing more.
    std::string error;
    found = m_soundIds.emplace(name, m_sound.loadSound(resolvePath(m_root, name), error)).first;
  }
  if (found->second < 0) return;
  const int channel = sound == TitleSound::kStart ? kStartChannel : kMusicChannel;
  m_sound.bind(channel, found->second);
  m_sound.play(channel, false);
}

void TitleWindow::nextMovieFrame() {
  media::RgbPicture frame;
  if (m_movieFrameNumber >= m_movie.frameCount()) {
    m_movieTimer.stop();
    m_flow.movieEnded();
    refresh();
    return;
  }
  if (m_movie.decodeFrame(m_movieFrameNumber++, frame) && frame.width > 0) {
    m_movieFrame = QImage(frame.pixels.data(), frame.width, frame.height, frame.width * 3,
                          QImage::Format_RGB888)
                       .copy();
    update();
  }
}

const QImage* TitleWindow::loaded(const std::string& name) {
  auto found = m_pictureHandles.find(name);
  if (found == m_pictureHandles.end()) {
    const std::optional<int> handle = m_pictures.load(resolvePath(m_root, name));
    found = m_pictureHandles.emplace(name, handle.value_or(-1)).first;
  }
  return found->second < 0 ? nullptr : m_pictures.drawnPicture(found->second);
}

void TitleWindow::pressAt(int x, int y, bool rightButton) {
  act(m_flow.press(x, y, rightButton));
}

void TitleWindow::pressKey(TitleKey key) {
  act(m_flow.key(key));
}

void TitleWindow::act(TitleRequest request) {
  switch (request) {
    case TitleRequest::kNone:
      break;
    case TitleRequest::kDrive:
      refresh();
      startDrive();
      return;
    case TitleRequest::kTrainDialog: {
      refresh();
      const std::string path = askTrainFile ? askTrainFile() : std::string();
      if (m_flow.trainFileChosen(path) == TitleRequest::kDrive) {
        refresh();
        startDrive();
        return;
      }
      break;
    }
    case TitleRequest::kHelp:
      if (!openDocument || !openDocument(resolvePath(m_root, kHelpPage))) showHelpPage();
      break;
    case TitleRequest::kQuit:
      close();
      return;
  }
  refresh();
}

void TitleWindow::startDrive() {
  m_status = QString::fromStdString(media::translate("Title", kCreatingForm));
  repaint();
  // The report of the drive before goes now.
  m_cab.reset();
  m_report.reset();
  const DriveChoice choice = m_flow.choice();
  DriveSetup setup;
  setup.root = m_root;
  setup.routeFile = choice.route_file;
  setup.trainFile = choice.train_file;
  setup.trainFolder = choice.train_folder;
  CabOptions options = m_options;
  // The start-up's progress shows on the status line under the title picture.
  options.status = [this](const std::string& text) {
    m_status = QString::fromStdString(text);
    repaint();
  };
  try {
    m_cab = std::make_unique<CabWindow>(setup, options, m_store);
  } catch (const DataError& e) {
    // A drive that cannot start ends there: its message, then the menu again.
    m_messages.show(e.what());
    m_flow.driveEnded(false);
    refresh();
    return;
  }
  m_cab->closed = [this] {
    // The cab window is inside its own close: come back once it has finished.
    QTimer::singleShot(0, this, [this] { driveClosed(); });
  };
  hide();
  m_cab->show();
  m_cab->raise();
  m_cab->activateWindow();
}

void TitleWindow::showHelpPage() {
  if (m_helpPage == nullptr) {
    auto page = std::make_unique<QTextBrowser>();
    page->setObjectName(QStringLiteral("HelpPage"));
    page->setOpenExternalLinks(true);
    const QString path = QString::fromStdString(resolvePath(m_root, kHelpPage));
    const QFileInfo file(path);
    if (!file.isFile()) {
      page->setPlainText(tr("%1 が見つかりません").arg(QString::fromUtf8(kHelpPage)));
    } else if (file.size() > kHelpPageMaxBytes) {
      page->setPlainText(tr("%1: 大きすぎて表示できません").arg(path));
    } else {
      page->setSource(QUrl::fromLocalFile(path));
    }
    const QString title = page->documentTitle();
    page->setWindowTitle(title.isEmpty() ? QString::fromUtf8(kHelpPage) : title);
    page->resize(760, 640);
    m_helpPage = std::move(page);
  }
  m_helpPage->show();
  m_helpPage->raise();
  m_helpPage->activateWindow();
}

void TitleWindow::driveClosed() {
  if (m_cab == nullptr) return;
  m_cab->hide();
  const bool runEnded = m_cab->session().drive().state.run_ended;
  // The drive's video, sounds and pictures go with its window; its report stays.
  m_report = m_cab->takeReport();
  m_cab.reset();
#ifdef __GLIBC__
  // The drive's pictures, sounds and decoder buffers were freed into the allocator's pools,
  // which keep them (a drive takes some 50 MB): the menu hands them back to the system.
  malloc_trim(0);
#endif
  m_flow.driveEnded(runEnded);
  m_backFromDrive.start();
  refresh();
  show();
  raise();
  activateWindow();
  // The report of a run that reached its end stays in front of the menu.
  if (m_report != nullptr && m_report->isVisible()) {
    m_report->raise();
    m_report->activateWindow();
  }
}

QImage TitleWindow::picture() {
  QImage image(designSize(), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  draw(painter);
  return image;
}

void TitleWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), Qt::black);
  painter.scale(static_cast<double>(width()) / designSize().width(),
                static_cast<double>(height()) / designSize().height());
  draw(painter);
}

void TitleWindow::draw(QPainter& painter) {
  const TitleView view = m_flow.view();
  const QSize size = designSize();
  if (view.movie && !m_movieFrame.isNull()) {
    painter.drawImage(QRect(QPoint(0, 0), size), m_movieFrame);
    return;
  }
  if (const QImage* background = loaded(m_background))
    painter.drawImage(QRect(0, 0, kTitleWidth, kTitleHeight), *background);
  for (int i = 0; i < kTitleRoutes; ++i) {
    if (view.routeButtons[i]) drawPicture(painter, kTitleRouteTable[i].button, routeButtonBox(i));
  }
  if (view.map >= 0) drawPicture(painter, kTitleMaps[view.map], kRouteMap);
  if (view.trainButtons) {
    for (int i = 0; i < 2; ++i) {
      drawPicture(painter, kTitleTrainButtons[i], kTrainButtons[i]);
      if (view.focusedTrain == i) {
        painter.setPen(QPen(kCursorColour, 4));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rectOf(kTrainButtons[i]).adjusted(-2, -2, 2, 2));
      }
    }
  }
  if (view.cursorBeside) {
    // The selection cursor: an arrow in the space left of the picture, from its top + 3.
    const MenuBox& box = *view.cursorBeside;
    const double left = box.x - kCursorWidth + 8, top = box.y + 3;
    QPainterPath arrow;
    arrow.moveTo(left, top);
    arrow.lineTo(left + 24, top + 14);
    arrow.lineTo(left, top + 28);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0x40, 0x30, 0x00), 1.5));
    painter.setBrush(kCursorColour);
    painter.drawPath(arrow);
  }
  if (view.help) drawButton(painter, kHelpButton, tr("ヘルプ"));
  if (view.back) drawButton(painter, kBackButton, tr("戻る"));
  if (view.quit) drawButton(painter, kQuitButton, tr("終了"));
  if (view.clickToStart) {
    QFont font = painter.font();
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawText(rectOf(kClickToStart).translated(2, 2), Qt::AlignCenter,
                     tr("クリックしてスタート"));
    painter.setPen(Qt::white);
    painter.drawText(rectOf(kClickToStart), Qt::AlignCenter, tr("クリックしてスタート"));
  }
  if (view.statusLine) {
    const QRect line(0, kTitleHeight, kTitleWidth, kTitleStatusHeight);
    painter.fillRect(line, QColor(0xEC, 0xEC, 0xE8));
    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(line.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, m_status);
  }
}

void TitleWindow::drawPicture(QPainter& painter, const std::string& name, const MenuBox& box) {
  if (const QImage* picture = loaded(name)) painter.drawImage(rectOf(box), *picture);
}

void TitleWindow::drawButton(QPainter& painter, const MenuBox& box, const QString& caption) {
  painter.setPen(QPen(kButtonEdge, 1.5));
  painter.setBrush(kButtonFace);
  painter.drawRoundedRect(QRectF(rectOf(box)).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  QFont font = painter.font();
  font.setPixelSize(16);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(rectOf(box), Qt::AlignCenter, caption);
}

bool TitleWindow::takesInput(const QInputEvent& event) const {
  if (m_backFromDrive.isValid() && !m_backFromDrive.hasExpired(kSettleMs)) return false;
  // A key held down from driving repeats into the title once it is back; the repeats of the
  // keys that pass a picture (Space is also the protection's acknowledge) pass nothing.
  const auto* key = dynamic_cast<const QKeyEvent*>(&event);
  if (key == nullptr || !key->isAutoRepeat()) return true;
  const auto passing = titleKey(key->key());
  return passing != TitleKey::kEnter && passing != TitleKey::kEscape;
}

void TitleWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  if (!takesInput(*event)) return;
  const QSize design = designSize();
  const QPointF at(event->position().x() * design.width() / width(),
                   event->position().y() * design.height() / height());
  pressAt(static_cast<int>(at.x()), static_cast<int>(at.y()), event->button() == Qt::RightButton);
}

void TitleWindow::keyPressEvent(QKeyEvent* event) {
  if (const auto key = titleKey(event->key())) {
    if (takesInput(*event)) pressKey(*key);
    return;
  }
  QWidget::keyPressEvent(event);
}

void TitleWindow::closeEvent(QCloseEvent* event) {
  m_timer.stop();
  m_movieTimer.stop();
  for (int channel : {kMusicChannel, kStartChannel})
    m_sound.stop(channel);
  m_cab.reset();
  m_report.reset();
  m_helpPage.reset();
  QWidget::closeEvent(event);
  QCoreApplication::quit();
}

}  // namespace velimoro::shell
