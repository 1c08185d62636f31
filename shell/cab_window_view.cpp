// What the cab window draws: the cab screen scaled to the window, the lineside pictures beside
// it, the band display's value labels and the standby picture.
#include <QMenuBar>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

#include "data/paths.h"
#include "present/side_column.h"
#include "shell/cab_window.h"

namespace velimoro::shell {
namespace {

constexpr int kBandHeight = 44;  // the two rows of value labels of the band display

}  // namespace

void CabWindow::drawWindow(QPainter& painter) {
  constexpr int kScreenWidth = media::CabSurface::kWidth;
  constexpr int kScreenHeight = media::CabSurface::kHeight;
  const QSize logical = logicalSize();
  painter.setClipRect(QRect(QPoint(0, 0), logical));
  // The grey around the screen: the column beside it and the band below, each reaching a pixel
  // under the screen so that no seam shows where the screen's edge falls between two pixels.
  const QColor grey(0x2B, 0x2D, 0x30);
  painter.fillRect(QRect(kScreenWidth - 1, 0, logical.width() - kScreenWidth + 1, logical.height()),
                   grey);
  painter.fillRect(QRect(0, kScreenHeight - 1, kScreenWidth, logical.height() - kScreenHeight + 1),
                   grey);
  drawScreen(painter);
  for (const PlacedPicture& p : sidePictures(m_session->drive())) {
    if (const QImage* picture = m_screen.drawnPicture(p.picture)) {
      painter.drawImage(QPoint(p.x, p.y), *picture);
    }
  }
  drawBackPicture(painter);
  if (m_band) drawValueLabels(painter);
  if (m_standbyShown) drawStartHint(painter);
}

void CabWindow::drawScreen(QPainter& painter) {
  const QImage& front = m_screen.frontBuffer();
  const QRectF logical(0, 0, media::CabSurface::kWidth, media::CabSurface::kHeight);
  // The screen composed at the device's own pixels is copied onto them one to one, from the
  // device pixel its corner falls on: no pixel is filtered again, and a copy is all it costs.
  const QTransform device = painter.deviceTransform();
  const QRectF place = device.mapRect(logical);
  if (device.type() <= QTransform::TxScale && device.m11() > 0 && device.m22() > 0 &&
      std::abs(place.width() - front.width()) < 1 &&
      std::abs(place.height() - front.height()) < 1) {
    const double ratio = painter.device()->devicePixelRatioF();
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio)
                                  .translate(std::round(place.left()), std::round(place.top())));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QPoint(0, 0), front);
    painter.restore();
    return;
  }
  painter.drawImage(logical, front);
}

QRect CabWindow::backPictureBox() const {
  // At the bottom right of the form; the timetable card moves it out with the window's edge.
  return {m_session->drive().state.back_button_left, media::CabSurface::kHeight - 26, 26, 22};
}

void CabWindow::drawBackPicture(QPainter& painter) {
  const QRect box = backPictureBox();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QColor(0x9A, 0x9E, 0xA6));
  painter.setBrush(QColor(0x44, 0x48, 0x50));
  painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  QFont font = painter.font();
  font.setPixelSize(11);
  painter.setFont(font);
  painter.setPen(QColor(0xF0, 0xF0, 0xE8));
  painter.drawText(box, Qt::AlignCenter, tr("戻る"));
  painter.restore();
}

void CabWindow::drawStartHint(QPainter& painter) {
  // The Start menu's caption as the menu shows it, without its accelerator mark.
  QString caption = m_start->text();
  caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)"))).remove(QLatin1Char('&'));
  const QString hint = m_session->started()
                           ? tr("メニューの「%1」か画面のクリックで運転を再開します").arg(caption)
                           : tr("メニューの「%1」か画面のクリックで運転を始めます").arg(caption);
  const QRect band(0, media::CabSurface::kHeight - 70, media::CabSurface::kWidth, 36);
  painter.fillRect(band, QColor(0, 0, 0, 150));
  QFont font = painter.font();
  font.setPixelSize(16);
  painter.setFont(font);
  painter.setPen(QColor(0xF4, 0xF4, 0xEC));
  painter.drawText(band, Qt::AlignCenter, hint);
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

QImage CabWindow::windowPicture(double scale) {
  const QSize logical = logicalSize();
  QImage picture(static_cast<int>(std::lround(logical.width() * scale)),
                 static_cast<int>(std::lround(logical.height() * scale)), QImage::Format_RGB32);
  QPainter painter(&picture);
  if (scale != 1.0) {
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
  }
  drawWindow(painter);
  return picture;
}

double CabWindow::compositionScale() const {
  if (m_composeScale > 0) return m_composeScale;
  return logicalToWindow().m11() * devicePixelRatioF();
}

QTransform CabWindow::logicalToWindow() const {
  // The cab screen and the column beside it keep their shape, scaled to the space below the
  // menu and centred in it.
  const QSize logical = logicalSize();
  const QRect area = rect().adjusted(0, menuBar()->height(), 0, 0);
  const QSize size = logical.scaled(area.size(), Qt::KeepAspectRatio);
  QTransform transform;
  transform.translate(area.left() + (area.width() - size.width()) / 2,
                      area.top() + (area.height() - size.height()) / 2);
  transform.scale(static_cast<double>(size.width()) / logical.width(),
                  static_cast<double>(size.height()) / logical.height());
  return transform;
}

QRect CabWindow::drawingRect() const {
  return logicalToWindow().mapRect(QRectF(QPointF(0, 0), logicalSize())).toAlignedRect();
}

void CabWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Black only around the drawing, which paints every pixel of its own place.
  painter.setClipRegion(QRegion(rect()).subtracted(drawingRect().adjusted(1, 1, -1, -1)));
  painter.fillRect(rect(), Qt::black);
  painter.setClipping(false);
  if (m_screen.frontBuffer().isNull()) return;
  painter.setTransform(logicalToWindow());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  drawWindow(painter);
}

void CabWindow::showStandby() {
  if (m_session->running()) return;
  const Drive& drive = m_session->drive();
  if (!m_standby)
    m_standby = m_screen.load(resolvePath(drive.setup.root, drive.route->staffBitmap)).value_or(-1);
  if (!m_screen.canDraw()) return;
  // The panel around a smaller picture shows only once a tick has set it; without a picture
  // the screen stays dark.
  m_screen.fillScreen(0);
  if (m_session->started()) m_screen.drawSprites();
  if (*m_standby >= 0) m_screen.drawPicture(*m_standby, 0, 0);
  m_screen.flip();
  m_standbyShown = true;
  update();
}

QSize CabWindow::logicalSize() const {
  const int width = m_session->drive().state.client_width;
  return {width, media::CabSurface::kHeight + (m_band ? kBandHeight : 0)};
}

}  // namespace velimoro::shell
