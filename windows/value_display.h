#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <deque>
#include <vector>

#include "cab/session.h"
#include "windows/cab_link.h"

namespace velimoro::windows {

/// The value display ("Value Display", F3), for route and train authors: the running values of
/// the drive, which sound channels play (a click stops one), the reload of the filming-speed
/// table, a jump to a frame, the switch that leaves out running resistance, and a plot of the
/// speed and the brake pressures over the last minute. Keys typed into it drive the train.
class ValueDisplay final : public QWidget {
  Q_OBJECT

 public:
  ValueDisplay(const CabSession& session, CabLink link, QWidget* parent = nullptr);
  /// Shows the drive as it stands (every tick while shown); `fps` the screen passes a second.
  void showDrive(int fps);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class SoundGrid;
  friend class ValuePlot;
  struct Sample {
    std::int64_t ms;
    double speed;
    double bc;
    double bp;
  };

  void jump();

  const CabSession& m_session;
  CabLink m_link;
  std::vector<QLabel*> m_values;
  QWidget* m_grid = nullptr;
  QWidget* m_plot = nullptr;
  QLineEdit* m_jumpTo = nullptr;
  QPushButton* m_resistance = nullptr;
  std::deque<Sample> m_samples;  // the last minute of drive time, one sample a tick
  int m_sampledTick = -1;        // the tick of the last sample
  double m_acceleration = 0;     // km/h/s over the last second of samples
};

}  // namespace velimoro::windows
