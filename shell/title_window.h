#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "media/ffmpeg_video_reader.h"
#include "media/openal_sound_layer.h"
#include "media/qt_cab_screen.h"
#include "media/settings_store.h"
#include "present/title.h"
#include "shell/cab_window.h"

namespace velimoro::shell {

/// The borderless title screen on a data root: the opening, the title picture and the route
/// menu, scaled to the screen with its shape kept. Choosing a train starts the cab window of
/// that drive; when it closes the menu (or the ending) comes back. Every rule lives in
/// TitleFlow; this form draws it, plays its sounds and forwards the mouse, keys and timer.
class TitleWindow final : public QWidget {
  Q_OBJECT

 public:
  /// `titlePicture` 0..5 (chosen at random by the program).
  TitleWindow(std::string root, const CabOptions& options, media::SettingsStore& store,
              int titlePicture);
  ~TitleWindow() override;

  const TitleFlow& flow() const { return m_flow; }
  /// What the title screen shows now, at its design size (800 x 600, or taller with the status
  /// line): what a screenshot keeps.
  QImage picture();
  /// A click at (x, y) of the design, as the mouse gives it.
  void pressAt(int x, int y, bool rightButton);
  void pressKey(TitleKey key);
  /// The cab window of the drive under way; null when none is open.
  CabWindow* cabWindow() { return m_cab.get(); }
  /// The run report of the drive last driven, while it stays open; null when none opened.
  QWidget* reportWindow() { return m_report.get(); }
  /// Asks for a train data file (the right-click dialog); empty when cancelled. Tests replace it.
  std::function<std::string()> askTrainFile;
  /// Opens a document with the desktop's program for it; false when the desktop has none, and
  /// the title screen then shows it itself. Tests replace it.
  std::function<bool(const std::string& path)> openDocument;
  /// The help page as the title screen shows it itself; null until it is needed.
  QWidget* helpPage() { return m_helpPage.get(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void act(TitleRequest request);
  /// Carries out what the flow asks after a change: sounds, the window's size, a redraw.
  void refresh();
  void startDrive();
  void driveClosed();
  /// The help page "readme.html" in a window of the program's own.
  void showHelpPage();
  void playSound(TitleSound sound);
  void nextMovieFrame();
  void draw(QPainter& painter);
  void drawPicture(QPainter& painter, const std::string& name, const MenuBox& box);
  void drawButton(QPainter& painter, const MenuBox& box, const QString& caption);
  /// The loaded picture of `name` (Windows separators, relative to the root), loaded once; null
  /// when it is missing or does not decode.
  const QImage* loaded(const std::string& name);
  QSize designSize() const;
  void placeOnScreen();
  /// Whether a press or key from the window system is the user's answer to what the title
  /// shows now, not one left over from the drive that has just closed.
  bool takesInput(const QInputEvent& event) const;

  std::string m_root;
  CabOptions m_options;
  media::SettingsStore& m_store;
  MessageBoxes m_messages;
  media::FfmpegVideoReader m_movie;  // the opening movie, when there is one
  TitleFlow m_flow;
  QElapsedTimer m_backFromDrive;  // since the title came back from the last drive
  QTimer m_timer;                 // the 100 ms tick of the flow
  QTimer m_movieTimer;            // the opening movie's frames
  media::OpenAlSoundLayer m_sound;
  media::QtCabScreen m_pictures;
  std::map<std::string, int> m_pictureHandles;  // -1 for a picture that is missing
  std::map<std::string, int> m_soundIds;        // -1 for a sound that is missing
  QImage m_movieFrame;
  int m_movieFrameNumber = 0;
  std::string m_background;  // the picture shown behind; kept when the next is missing
  QString m_status;
  QSize m_shownSize;
  std::unique_ptr<CabWindow> m_cab;
  std::unique_ptr<QWidget> m_report;  // the last drive's run report, kept until the next drive
  std::unique_ptr<QWidget> m_helpPage;
};

}  // namespace velimoro::shell
