#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPainter>
#include <QTimer>
#include <memory>
#include <ostream>
#include <string>

#include "cab/report.h"
#include "cab/session.h"
#include "media/ffmpeg_video_reader.h"
#include "media/message_sink.h"
#include "media/openal_sound_layer.h"
#include "media/qt_cab_screen.h"
#include "media/settings_store.h"

class QAction;
class QMenu;

namespace velimoro::shell {

class ControllerMenu;

/// Message boxes of the cab window; unattended (for screenshots) they go to the error stream.
class MessageBoxes final : public media::MessageSink {
 public:
  void show(const std::string& text) override;
  bool unattended = false;
};

/// How the cab window runs.
struct CabOptions {
  bool unattended = false;  // no user at the screen: messages go to the error stream
  bool band = false;        // the band display: the twelve value labels under the screen
};

/// The cab window of one drive: the 604 x 630 cab screen scaled to the window, its menus, and
/// the keyboard, wheel and mouse handed to the drive's session. One precise timer wakes the
/// window when the next step or screen pass is due; the session runs every step due by then.
/// The user settings come from `store` at start and go back to it when the window closes.
class CabWindow final : public QMainWindow {
 public:
  /// Starts the drive of `setup` (throws DataError as the start-up does).
  CabWindow(DriveSetup setup, const CabOptions& options, media::SettingsStore& store);
  ~CabWindow() override;

  /// The Start menu item: starts the drive, or pauses and resumes it.
  void toggleStart();
  /// A key typed on the keyboard (printable ASCII), as the driver's controls take it.
  void typeKey(char key);
  /// Writes every input of the drive to `out` as script lines (the headless driver replays it).
  void recordTo(std::ostream* out) { m_session->recordTo(out); }
  /// Writes one trace row per tick to `out`, as the headless driver does.
  void traceTo(std::ostream& out);
  /// Connects the serial master controller on `port`, as the Controller menu does.
  void connectSerial(const std::string& port);
  /// Ends the drive's recording with a quit at the present drive time.
  void endRecording();
  /// Screens presented so far.
  std::int64_t flipCount() const { return m_screen.flipCount(); }
  const CabSession& session() const { return *m_session; }
  /// The screen as last presented.
  const QImage& screen() const { return m_screen.frontBuffer(); }
  /// The whole window as it shows now, unscaled: the screen and the pictures beside it.
  QImage windowPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::int64_t nowMs() const { return m_clock.elapsed(); }
  /// Runs the steps due by now, then hands the session one input.
  void input(const std::string& name, std::vector<std::string> args = {});
  void wake();
  void drawWindow(QPainter& painter);
  void drawValueLabels(QPainter& painter);
  void showReport();
  void buildMenus();
  void toggleSetting(int DriveSettings::*setting, QAction* entry);
  /// The logical size of everything the window draws, before scaling.
  QSize logicalSize() const;

  MessageBoxes m_messages;
  media::SettingsStore& m_store;
  bool m_band = false;
  bool m_unattended = false;
  bool m_reportShown = false;  // the report opened itself at the end of the run
  std::unique_ptr<RunReportCollector> m_report;
  std::unique_ptr<QWidget> m_reportWindow;
  QAction* m_start = nullptr;
  media::OpenAlSoundLayer m_sound;
  media::QtCabScreen m_screen;
  media::FfmpegVideoReader m_video;
  std::unique_ptr<CabSession> m_session;
  std::unique_ptr<ControllerMenu> m_controllers;
  QTimer m_wakeTimer;
  QElapsedTimer m_clock;
  int m_wheelDelta = 0;  // eighths of a degree turned since the last whole notch
  bool m_quitRecorded = false;
  int m_shownWidth = 0;  // the window's width in screen pixels when it was last sized
};

}  // namespace velimoro::shell
