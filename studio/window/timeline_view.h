#pragma once

#include <QPainter>
#include <QWidget>

#include <functional>
#include <vector>

#include "data/route_data.h"
#include "studio/core/route_editor.h"

namespace velimoro::studio {

/// The strip under the player: a row of marks for each kind of record, the distance ruler of
/// the filming-speed table and its speed profile under them and the current frame as a line. A
/// click goes to the frame of the mark under it, or to the frame at that place.
class TimelineView : public QWidget {
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
  void paintProfile(QPainter& p, int top) const;
  double xOf(int frame) const;
  int frameAt(double x) const;

  std::vector<RecordMark> m_marks;
  std::vector<FrameSpeedEntry> m_table;
  int m_frames = 1;
  int m_frame = 0;
};

}  // namespace velimoro::studio
