#include "studio/window/timeline_view.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

#include "studio/core/calibration.h"

namespace velimoro::studio {
namespace {

constexpr int kLabelWidth = 96;
constexpr int kRow = 14;
constexpr int kRuler = 20;
constexpr int kProfile = 44;  // the speed profile under the ruler

int rowOf(RecordKind kind) {
  int row = 0;
  for (RecordKind k : kAllRecordKinds) {
    if (k == kind) return row;
    ++row;
  }
  return 0;
}

QColor colourOf(RecordKind kind) {
  static const QColor colours[] = {QColor(40, 110, 200), QColor(200, 50, 50), QColor(220, 140, 20),
                                   QColor(120, 90, 60),  QColor(70, 70, 70),  QColor(30, 150, 120),
                                   QColor(150, 60, 170), QColor(200, 180, 0), QColor(0, 140, 200)};
  return colours[rowOf(kind)];
}

}  // namespace

void paintSpeedProfile(QPainter& p, const QRectF& plot, const QRectF& caption,
                       const std::vector<FrameSpeedEntry>& table, int frames) {
  double fastest = 0;
  for (const FrameSpeedEntry& s : table)
    fastest = std::max({fastest, static_cast<double>(s.fromSpeed), static_cast<double>(s.toSpeed)});
  const double scale = std::max(10.0, std::ceil(fastest / 10) * 10);
  p.setPen(QColor(90, 90, 90));
  p.drawText(caption, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap,
             QCoreApplication::translate("velimoro::studio::TimelineView", "速度 %1 km/h まで")
                 .arg(scale, 0, 'f', 0));
  p.setPen(QColor(225, 225, 220));
  p.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.right(), plot.top()));
  p.drawLine(QPointF(plot.left(), plot.bottom()), QPointF(plot.right(), plot.bottom()));
  const auto xOf = [&](int frame) {
    return plot.left() + plot.width() * frame / std::max(1, frames - 1);
  };
  const auto yOf = [&](long double kmh) {
    return plot.bottom() - plot.height() * std::clamp(static_cast<double>(kmh) / scale, 0.0, 1.0);
  };
  p.setPen(QPen(QColor(30, 110, 60), 1.5));
  for (const FrameSpeedEntry& s : table)
    p.drawLine(QPointF(xOf(s.fromFrame), yOf(s.fromSpeed)),
               QPointF(xOf(s.toFrame), yOf(s.toSpeed)));
}

SpeedProfileView::SpeedProfileView(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(90);
}

void SpeedProfileView::show(std::vector<FrameSpeedEntry> table, int frames) {
  m_table = std::move(table);
  m_frames = std::max(1, frames);
  update();
}

void SpeedProfileView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(248, 248, 246));
  QFont small = font();
  small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
  p.setFont(small);
  paintSpeedProfile(p, QRectF(kLabelWidth, 6, width() - kLabelWidth - 8, height() - 12),
                    QRectF(4, 6, kLabelWidth - 8, height() - 12), m_table, m_frames);
}

TimelineView::TimelineView(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(sizeHint().height());
}

void TimelineView::show(std::vector<RecordMark> marks, std::vector<FrameSpeedEntry> table,
                        int frames) {
  m_marks = std::move(marks);
  m_table = std::move(table);
  m_frames = std::max(1, frames);
  update();
}

void TimelineView::setFrame(int frame) {
  m_frame = frame;
  update();
}

double TimelineView::xOf(int frame) const {
  const double span = std::max(1, width() - kLabelWidth - 8);
  return kLabelWidth + span * frame / std::max(1, m_frames - 1);
}

int TimelineView::frameAt(double x) const {
  const double span = std::max(1, width() - kLabelWidth - 8);
  return std::clamp(static_cast<int>(std::lround((x - kLabelWidth) / span * (m_frames - 1))), 0,
                    m_frames - 1);
}

void TimelineView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(248, 248, 246));
  QFont small = font();
  small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
  p.setFont(small);
  int row = 0;
  for (RecordKind kind : kAllRecordKinds) {
    const int y = 4 + row * kRow;
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRect(4, y, kLabelWidth - 8, kRow), Qt::AlignVCenter | Qt::AlignLeft,
               QString::fromStdString(captionOf(kind)));
    p.setPen(QColor(225, 225, 220));
    p.drawLine(kLabelWidth, y + kRow / 2, width() - 8, y + kRow / 2);
    ++row;
  }
  for (const RecordMark& m : m_marks) {
    const int y = 4 + rowOf(m.kind) * kRow;
    p.fillRect(QRectF(xOf(m.frame) - 2, y + 2, 4, kRow - 4), colourOf(m.kind));
  }
  // The ruler: a tick at every round distance the width allows.
  const int rulerY = 4 + row * kRow + 2;
  p.setPen(QColor(60, 60, 60));
  p.drawLine(kLabelWidth, rulerY, width() - 8, rulerY);
  const double total = metresAtFrame(m_table, m_frames - 1);
  if (total > 0) {
    // 1, 2, 5, 10, 20, 50 … metres: the first that leaves 60 pixels between ticks.
    double step = 1;
    for (int k = 0; total / step > (width() - kLabelWidth) / 60.0; ++k)
      step = std::pow(10, k / 3) * (k % 3 == 0 ? 1 : k % 3 == 1 ? 2 : 5);
    int frame = 0;
    for (double metres = 0; metres <= total; metres += step) {
      while (frame < m_frames - 1 && metresAtFrame(m_table, frame) < metres)
        frame += std::max(1, m_frames / 2000);
      const double x = xOf(frame);
      p.drawLine(QPointF(x, rulerY), QPointF(x, rulerY + 4));
      p.drawText(QPointF(x + 2, rulerY + 14), metres >= 1000
                                                  ? QString::number(metres / 1000, 'f', 1) + " km"
                                                  : QString::number(metres, 'f', 0) + " m");
    }
  } else {
    p.drawText(QPointF(kLabelWidth + 4, rulerY + 14),
               tr("[SpeedUnit] の表がなく、距離がありません"));
  }
  const int top = rulerY + kRuler + 2;
  paintSpeedProfile(p, QRectF(kLabelWidth, top, width() - 8 - kLabelWidth, kProfile - 6),
                    QRectF(4, top, kLabelWidth - 8, kProfile - 6), m_table, m_frames);
  p.setPen(QPen(QColor(220, 0, 0), 1.5));
  p.drawLine(QPointF(xOf(m_frame), 0), QPointF(xOf(m_frame), height()));
}

void TimelineView::mousePressEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  int frame = frameAt(at.x());
  double nearest = 6;
  const RecordMark* hit = nullptr;
  for (const RecordMark& m : m_marks) {
    const int y = 4 + rowOf(m.kind) * kRow;
    const double d = std::fabs(xOf(m.frame) - at.x());
    if (at.y() >= y && at.y() < y + kRow && d < nearest) {
      nearest = d;
      frame = m.frame;
      hit = &m;
    }
  }
  const std::optional<RecordMark> chosen = hit ? std::optional<RecordMark>(*hit) : std::nullopt;
  if (frameChosen) frameChosen(frame);
  if (chosen && markChosen) markChosen(*chosen);
}

}  // namespace velimoro::studio
