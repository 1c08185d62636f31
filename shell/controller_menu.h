#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cab/session.h"
#include "media/message_sink.h"
#include "media/qt_serial_port.h"
#include "media/sdl_joystick.h"
#include "media/settings_store.h"

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace velimoro::shell {

/// The cab window's Controller menu and the devices behind it: the controller type, the serial
/// master controller's port (setup, connect and disconnect), the game controller polled before
/// every tick, the debug caption and the controller setup window. Every device input reaches
/// the drive as a command of its session, so a recording holds it.
class ControllerMenu final : public QObject {
 public:
  using Input = std::function<void(const std::string& name, std::vector<std::string> args)>;

  /// Fills `menu`. `input` hands a command to the session at the present host time (outside the
  /// steps); the game controller's state is handed to `session` directly just before a tick.
  ControllerMenu(QMainWindow& window, QMenu& menu, CabSession& session, Input input,
                 media::MessageSink& messages, media::SettingsStore& store);
  ~ControllerMenu() override;

  /// Opens the serial master controller on `port` with the default line settings, as the
  /// connect entry does.
  void connectSerial(const std::string& port);

  /// The longest chunk handed on: only its first bytes can match a code, and the rest is shown.
  static constexpr std::size_t kChunkBytes = 64;

 private:
  void chooseType(int type);
  void setUpSerial();
  void toggleConnection();
  void received(const std::string& chunk);
  void pollJoystick();
  void showCaption();
  void showLater(const std::string& text);
  void openSetupWindow();

  QMainWindow& m_window;
  CabSession& m_session;
  Input m_input;
  media::MessageSink& m_messages;
  media::SettingsStore& m_store;
  media::QtSerialPort m_serial;
  media::SerialSettings m_serialSettings;
  media::SdlJoystick m_joystick;
  std::vector<QAction*> m_types;
  QAction* m_debug = nullptr;
  QString m_title;  // the window's caption while the debug option is off
  std::unique_ptr<QWidget> m_setupWindow;
  std::shared_ptr<int> m_alive = std::make_shared<int>(0);  // the session's hooks look here
};

}  // namespace velimoro::shell
