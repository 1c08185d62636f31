#pragma once

#include <QPainter>
#include <QWidget>

#include <functional>
#include <vector>

#include "data/route_data.h"
#include "studio/core/route_editor.h"

namespace velimoro::studio {

/// Paints the filming speed of `table` over `frames` frames into `plot`: each segment a line from
/// its first speed to its last, on a scale from 0 to the fastest, rounded up to 10 km/h, whose
/// caption goes into `caption`.
void paintSpeedProfile(QPainter& p, const QRectF& plot, const QRectF& caption,
                       const std::vector<FrameSpeedEntry>& table, int frames);

/// The speed profile alone, as a calibration's preview shows it.
class SpeedProfileView : public QWidget {
 public:
  explicit SpeedProfileView(QWidget* parent = nullptr);
  void show(std::vector<FrameSpeedEntry> table, int frames);
  QSize sizeHint() const override { return {520, 90}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<FrameSpeedEntry> m_table;
  int m_frames = 1;
};

/// The strip under the player: a row of marks for each kind of record, the distance ruler of
/// the filming-speed table and its speed profile under them and the current frame as a line. A
/// click goes to the frame of the mark under it, or to the frame at that place.
class TimelineView : public QWidget {
  Q_OBJECT

 public:
  explicit TimelineView(QWidget* parent = nullptr);

  void show(std::vector<RecordMark> marks, std::vector<FrameSpeedEntry> table, int frames);
  void setFrame(int frame);
  std::function<void(int)> frameChosen;
  /// After frameChosen, when the click was on a mark.
  std::function<void(const RecordMark&)> markChosen;

  QSize sizeHint() const override { return {800, 24 + 14 * 9 + 20 + 46}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  double xOf(int frame) const;
  int frameAt(double x) const;

  std::vector<RecordMark> m_marks;
  std::vector<FrameSpeedEntry> m_table;
  int m_frames = 1;
  int m_frame = 0;
};

}  // namespace velimoro::studio
