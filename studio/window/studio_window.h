#pragma once

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "media/ffmpeg_video_reader.h"
#include "studio/core/route_editor.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace velimoro::studio {

class TimelineView;

/// The studio's window: a frame-exact player of the route video, the timeline of the placed
/// records, and the palette whose form places a record at the current frame. It holds no rule
/// of its own: the route, its checks and its steps are the RouteEditor's.
class StudioWindow : public QMainWindow {
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
  /// The path of the autosave beside the route.
  std::string autosavePath() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildPalette(QWidget* parent, QFormLayout* layout);
  void showPaletteFields();
  void checkPalette();
  void placeFromPalette();
  void refresh();
  void showFrame();
  void autosave();
  bool mayDiscard();

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
  QTimer m_player;
  QTimer m_autosave;
};

}  // namespace velimoro::studio
