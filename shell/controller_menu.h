#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cab/session.h"
#include "input/serial_framer.h"
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
/// the drive as a command of its session, so a recording holds it: each code framed from the
/// serial byte stream is one `serial` input.
class ControllerMenu final : public QObject {
  Q_OBJECT

 public:
  using Input = std::function<void(const std::string& name, std::vector<std::string> args)>;

  /// Fills `menu`. `input` hands a command to the session at the present host time (outside the
  /// steps); the game controller's state is handed to `session` directly just before a tick.
  ControllerMenu(QMainWindow& window, QMenu& menu, CabSession& session, Input input,
                 media::MessageSink& messages, media::SettingsStore& store);
  ~ControllerMenu() override;

  /// Opens the serial master controller on `port` with the line settings set up, as the
  /// connect entry does.
  void connectSerial(const std::string& port);
  /// The menu's entries in the language in use.
  void retranslate();

 private:
  /// The message that the serial line did not open, with `error` saying why.
  static std::string cannotConnect(const std::string& error);
  void chooseType(int type);
  void setUpSerial();
  void toggleConnection();
  bool openSerial(std::string& error);
  void received(const std::string& bytes);
  void deliver(const std::vector<SerialFramer::Piece>& pieces);
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
  std::optional<SerialFramer> m_framer;  // made from the drive's map lines at the first connect
  QElapsedTimer m_clock;                 // host time of the framer's holds
  QTimer m_holdTimer;                    // ends the hold of the start of a code
  media::SdlJoystick m_joystick;
  std::vector<QAction*> m_types;
  /// The entries with their texts as written (translated when shown).
  std::vector<std::pair<QAction*, const char*>> m_captions;
  QAction* m_debug = nullptr;
  QString m_title;  // the window's caption while the debug option is off
  std::unique_ptr<QWidget> m_setupWindow;
  std::shared_ptr<int> m_alive = std::make_shared<int>(0);  // the session's hooks look here
};

}  // namespace velimoro::shell
