#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPainter>
#include <QTimer>
#include <memory>
#include <string>

#include "cab/drive.h"
#include "media/ffmpeg_video_reader.h"
#include "media/message_sink.h"
#include "media/openal_sound_layer.h"
#include "media/qt_cab_screen.h"
#include "present/screen_pass.h"

namespace velimoro::shell {

/// Message boxes of the cab window; unattended (for screenshots) they go to the error stream.
class MessageBoxes final : public media::MessageSink {
 public:
  void show(const std::string& text) override;
  bool unattended = false;
};

/// The cab window of one drive: the 604 x 630 cab screen scaled to the window, the Start menu
/// item, the 33 ms fast step, the 100 ms tick and the idle screen pass on their timers, and the
/// keyboard and wheel handed to the driver's controls.
class CabWindow final : public QMainWindow {
 public:
  /// Starts the drive of `setup` (throws DataError as the start-up does).
  CabWindow(const DriveSetup& setup, bool unattended);
  ~CabWindow() override;

  /// The Start menu item: starts the drive, or pauses and resumes it.
  void toggleStart();
  /// A key typed on the keyboard (printable ASCII), as the driver's controls take it.
  void typeKey(char key);
  /// Screens presented so far.
  std::int64_t flipCount() const { return m_screen.flipCount(); }
  /// The screen as last presented.
  const QImage& screen() const { return m_screen.frontBuffer(); }
  /// The whole window as it shows now, unscaled: the screen and the pictures beside it.
  QImage windowPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void fastStep();
  void tick();
  void screenPass();
  void drawWindow(QPainter& painter);

  MessageBoxes m_messages;
  media::OpenAlSoundLayer m_sound;
  media::QtCabScreen m_screen;
  media::FfmpegVideoReader m_video;
  std::unique_ptr<Drive> m_drive;
  ScreenPass m_pass;
  QTimer m_fastTimer;
  QTimer m_tickTimer;
  QTimer m_idleTimer;
  QElapsedTimer m_clock;
  bool m_running = false;
  bool m_started = false;
  int m_shownWidth = 0;  // the window's width in screen pixels when it was last sized
};

}  // namespace velimoro::shell
