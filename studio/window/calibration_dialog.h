#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

#include "studio/core/calibration.h"
#include "studio/core/track.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace velimoro::studio {

class SpeedProfileView;

/// The distance calibration beside the player: kilometre-post pairs marked at the player's frames
/// with their typed distances, or a GPX track or a speed log aligned by one or two marked frames.
/// It previews the filming-speed segments the core derives and their speed profile, and hands
/// them to the window to write. It stays open while the player moves, asks nothing on its own
/// but the file to import, and keeps no rule: the calibration is the core's.
class CalibrationDialog : public QDialog {
  Q_OBJECT

 public:
  /// `currentFrame` gives the player's frame the mark buttons take; `write` puts a calibration
  /// into the route, false when it is refused.
  CalibrationDialog(QWidget* parent, int lastFrame, double fps, std::function<int()> currentFrame,
                    std::function<bool(const Calibration&)> write);

  /// Imports a GPX track or a speed log and shows its tab; false with the reason in the preview.
  bool importTrack(const QString& path);
  bool importSpeedLog(const QString& path);
  /// The calibration the preview shows, when the source gives one.
  const std::optional<Calibration>& result() const { return m_result; }
  /// Writes the previewed calibration into the route.
  bool writeToRoute();

 private:
  QWidget* buildPosts();
  QWidget* buildTrack();
  QWidget* buildSpeedLog();
  QWidget* buildMarks();
  void addPair();
  void removePair();
  void recompute();
  void showMessage(const QString& message, bool fault);
  bool readFile(const QString& path, std::string& text);

  int m_lastFrame = 0;
  double m_fps = 30;
  std::function<int()> m_currentFrame;
  std::function<bool(const Calibration&)> m_write;
  std::vector<FramePair> m_pairs;
  std::vector<TrackPoint> m_track;
  std::vector<SpeedSample> m_log;
  std::optional<Calibration> m_result;

  QTabWidget* m_sources = nullptr;
  QSpinBox* m_from = nullptr;
  QSpinBox* m_to = nullptr;
  QLineEdit* m_distance = nullptr;
  QTableWidget* m_pairList = nullptr;
  QLabel* m_trackInfo = nullptr;
  QLabel* m_logInfo = nullptr;
  QCheckBox* m_slopes = nullptr;
  QWidget* m_marks = nullptr;
  QSpinBox* m_markFrame[2] = {};
  QLineEdit* m_markTime[2] = {};
  QCheckBox* m_secondMark = nullptr;
  QLabel* m_summary = nullptr;
  SpeedProfileView* m_profile = nullptr;
  QTableWidget* m_segments = nullptr;
  QPushButton* m_writeButton = nullptr;
};

}  // namespace velimoro::studio
