#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPainter>
#include <QTimer>
#include <QTransform>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cab/report.h"
#include "cab/session.h"
#include "media/ffmpeg_video_reader.h"
#include "media/message_sink.h"
#include "media/openal_sound_layer.h"
#include "media/qt_cab_screen.h"
#include "media/qt_language.h"
#include "media/settings_store.h"
#include "windows/crew_change.h"
#include "windows/easy_cab.h"
#include "windows/help_window.h"
#include "windows/train_settings.h"
#include "windows/value_display.h"

class QAction;
class QActionGroup;
class QMenu;

namespace velimoro::shell {

class ControllerMenu;

/// The program's title, as its message boxes and dialogs are captioned.
QString programTitle();

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
  /// Shows the start-up's progress texts; without it they show on the window's status bar.
  std::function<void(const std::string&)> status;
  /// Above 0: the screen is composed at this scale (1 .. 4), whatever the window's size; else at
  /// the window's own device resolution.
  double composeScale = 0;
};

/// The cab window of one drive: the 604 x 630 cab screen scaled to the window, its menus, and
/// the keyboard, wheel and mouse handed to the drive's session. One precise timer wakes the
/// window when the next step or screen pass is due; the session runs every step due by then.
/// The user settings come from `store` at start and go back to it when the window closes.
class CabWindow final : public QMainWindow {
  Q_OBJECT

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
  /// The run report's window, when one was opened, for the title screen to keep once the cab
  /// window has gone.
  std::unique_ptr<QWidget> takeReport();
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
  /// The whole window as it shows now: the screen and the pictures beside it, at `scale` times
  /// the logical size (1: unscaled).
  QImage windowPicture(double scale = 1.0);
  /// Called when the window has closed and its drive has shut down.
  std::function<void()> closed;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  std::int64_t nowMs() const { return m_clock.elapsed(); }
  /// Runs the steps due by now, then hands the session one input.
  void input(const std::string& name, std::vector<std::string> args = {});
  void wake();
  void drawWindow(QPainter& painter);
  /// The cab screen in its logical place.
  void drawScreen(QPainter& painter);
  void drawValueLabels(QPainter& painter);
  /// Over the standby picture: how to start or resume the drive.
  void drawStartHint(QPainter& painter);
  /// The back picture, which ends the drive; where it lies in the logical picture.
  void drawBackPicture(QPainter& painter);
  QRect backPictureBox() const;
  /// The back picture's click: the screen fades out and the window closes.
  void back();
  void showReport();
  /// While the drive stands still the screen shows the route's standby picture.
  void showStandby();
  void buildMenus();
  /// The Display menu's language entry: the languages to choose from, the one in use checked.
  void buildLanguageMenu(QMenu& display);
  /// Keeps `language` for the next start and shows the window's own texts in it at once; the
  /// rest follow from the next drive, as the status line says.
  void chooseLanguage(media::Language language);
  /// The window's own captions in the language in use.
  void retranslate();
  void buildSmallWindows();
  /// The small windows whose places the store keeps, with their names there.
  std::vector<std::pair<QWidget*, std::string>> smallWindows();
  /// Opens a small window from its menu entry, showing the drive as it stands.
  void showSmallWindow(QWidget& window);
  /// Shows a small window in front.
  void bringOut(QWidget& window);
  /// Brings the value display and the easy cab up to date with the drive.
  void showSmallWindows();
  void toggleSetting(int DriveSettings::*setting, QAction* entry);
  /// Captions the Save menu's entries with the slots' labels, as the store holds them.
  void labelSlots(QMenu& menu);
  /// A Save, Load or Move menu entry: `command` with its slot or station.
  void slotOrStation(const char* command, int number);
  /// The logical size of everything the window draws, before scaling.
  QSize logicalSize() const;
  /// From the logical picture to the window: its scale and place below the menu.
  QTransform logicalToWindow() const;
  /// The window's pixels the drawing covers.
  QRect drawingRect() const;
  /// The device pixels a screen pixel takes: the forced scale, else the window's.
  double compositionScale() const;

  MessageBoxes m_messages;
  media::SettingsStore& m_store;
  bool m_band = false;
  bool m_runCompleted = false;  // the run ended at its last station
  bool m_reportShown = false;   // the report opened itself at the end of the run
  std::unique_ptr<RunReportCollector> m_report;
  std::unique_ptr<QWidget> m_reportWindow;
  QAction* m_start = nullptr;
  QAction* m_beginnerEntry = nullptr;
  /// The menu entries of the window's own, with their texts as written (translated when shown).
  std::vector<std::pair<QAction*, const char*>> m_captions;
  QActionGroup* m_languages = nullptr;
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
  std::unique_ptr<windows::ValueDisplay> m_valueDisplay;
  std::unique_ptr<windows::EasyCab> m_easyCab;
  std::unique_ptr<windows::HelpWindow> m_help;
  std::unique_ptr<windows::TrainSettingsDialog> m_trainSettings;
  std::unique_ptr<windows::CrewChangeDialog> m_crewChange;
  bool m_valueWindowShown = false;  // the drive's F3 state the value display follows
  std::optional<int> m_standby;     // the standby picture once loaded; -1 when it is missing
  bool m_standbyWanted = false;     // the window came to the front while the drive stood still
  bool m_standbyShown = false;      // the screen shows the standby picture, not the cab
  bool m_redrawWanted = false;      // an input came while the drive stood still
  double m_composeScale = 0;        // CabOptions::composeScale
};

}  // namespace velimoro::shell
