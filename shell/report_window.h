#pragma once

#include <QWidget>

#include "cab/report.h"

namespace velimoro {

/// The driver's run report as a window: the speed-distance plot above the tables of stations,
/// speed limits, protection events and the score. The cab window builds one from the report of
/// its drive (at the end of the run, or from the Display menu) and shows it.
class ReportWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ReportWindow(RunReport report, QWidget* parent = nullptr);

  const RunReport& report() const { return m_report; }

 private:
  RunReport m_report;
};

}  // namespace velimoro
