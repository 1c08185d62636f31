#pragma once

#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "media/ffmpeg_video_reader.h"
#include "media/qt_language.h"
#include "studio/core/calibration.h"
#include "studio/core/live_check.h"
#include "studio/core/route_editor.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;

namespace velimoro::studio {

class CalibrationDialog;
class TimelineView;

/// The studio's window: a frame-exact player of the route video, the timeline of the placed
/// records, and the palette whose form places a record at the current frame. It holds no rule
/// of its own: the route, its checks and its steps are the RouteEditor's.
class StudioWindow : public QMainWindow {
  Q_OBJECT

 public:
  /// `askQuestions` false: a run without a user at the screen never waits on a dialog.
  explicit StudioWindow(bool askQuestions = true);
  ~StudioWindow() override;

  /// Opens a route file (with its video, through "dorvanel.dat") or a video for a new route;
  /// false with the message shown in the status line when it cannot be opened.
  bool openFile(const std::string& path);
  /// Saves the route; a new one asks for its name (or, without questions, fails).
  bool save();
  bool saveAs(const std::string& path);

  const RouteEditor& editor() const { return m_editor; }
  int frame() const { return m_frame; }
  void goToFrame(int frame);
  /// Plays at `speed` frames per frame time: 1, 2, 4 forwards, negative backwards, 0 stops.
  void play(int speed);
  /// The kind the palette's form shows.
  void choosePaletteKind(RecordKind kind);
  /// Selects placed record `index` of `kind` (a click on its mark does): the palette's form
  /// shows its fields, to change and apply or to remove it. False when there is no such record.
  bool selectRecord(RecordKind kind, int index);
  void clearSelection();
  /// The selected record, if any: its kind and index within its section.
  std::optional<std::pair<RecordKind, int>> selected() const { return m_selected; }
  /// Replaces the selected record by the form's fields, or removes it; each is one undo step.
  bool applyToSelected();
  bool removeSelected();
  /// The path of the autosave beside the route.
  std::string autosavePath() const;
  /// The data checker's findings on the route as it stands, listed under the timeline; they
  /// follow the edits a moment after the last one.
  const std::vector<LiveFinding>& findings() const { return m_findings; }
  /// Checks the route now (the window does it on its own after each edit).
  void checkNow();

  /// Opens the distance calibration beside the player (Edit menu): what it writes replaces the
  /// route's "[SpeedUnit]" records, and its "[Slope]" records when asked, as one undo step.
  CalibrationDialog* openCalibration();

  /// Opens the cab window on the route as it stands, edits and all, standing at the current
  /// frame with the train chosen in the Drive menu. The route goes to a copy of the same name in
  /// a folder of the studio's own; the author's file is left as it was saved. False with the
  /// message in the status line when there is no saved route, no train or no cab program.
  bool driveFromHere();
  /// The train data files of the route's installation, and the one a drive takes.
  const std::vector<std::string>& trains() const { return m_trains; }
  void chooseTrain(const std::string& train);
  /// Keeps `language` for the texts in the settings; the studio shows it from its next start.
  void keepLanguage(media::Language language);
  /// Starts the cab program with its arguments; by default a process of its own, which the
  /// studio does not wait for. Tests put their own here.
  std::function<bool(const QString& program, const QStringList& arguments)> launch;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildPalette(QWidget* parent, QFormLayout* layout);
  void showPaletteFields();
  void resetPaletteFields();
  void checkPalette();
  void placeFromPalette();
  void refresh();
  void showFrame();
  void autosave();
  bool mayDiscard();
  std::string routeRoot() const;
  std::optional<int> countFrames(const std::string& path);
  void findTrains();
  bool writeCalibrationToRoute(const Calibration& calibration);

  RouteEditor m_editor;
  std::string m_routePath;
  std::unique_ptr<media::FfmpegVideoReader> m_video;
  int m_frames = 0;
  int m_frame = 0;
  int m_speed = 0;
  double m_fps = 30;
  bool m_ask = true;

  QLabel* m_picture = nullptr;
  QLabel* m_position = nullptr;
  QSpinBox* m_frameBox = nullptr;
  QLineEdit* m_timeBox = nullptr;
  TimelineView* m_timeline = nullptr;
  QComboBox* m_kinds = nullptr;
  QFormLayout* m_form = nullptr;
  std::vector<QLineEdit*> m_fields;
  QLabel* m_check = nullptr;
  QLabel* m_selectedLabel = nullptr;
  QWidget* m_selectedButtons = nullptr;
  QPushButton* m_placeButton = nullptr;
  std::optional<std::pair<RecordKind, int>> m_selected;
  QListWidget* m_findingList = nullptr;
  std::vector<LiveFinding> m_findings;
  std::string m_videoPath;
  std::map<std::string, std::optional<int>> m_frameCounts;
  QTemporaryDir m_scratch;
  std::vector<std::string> m_trains;
  std::string m_train;
  QMenu* m_trainMenu = nullptr;
  CalibrationDialog* m_calibration = nullptr;
  QTimer m_player;
  QTimer m_autosave;
  QTimer m_checkLater;
};

}  // namespace velimoro::studio
