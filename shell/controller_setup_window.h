#pragma once

#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "data/controller_map.h"
#include "media/joystick.h"
#include "media/settings_store.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velimoro::shell {

/// The controller setup window: the joystick to read, chosen from those attached; the live axes,
/// buttons and scan sum of the joystick in use;
/// which notches the analogue-axis pad's X and Y give; a walk through the button pad's handle
/// positions P0 .. P5, B0 .. B8 and EB that stores their codes for the next start-up; and each
/// code the serial master controller sent with the map lines it matched, and the bytes dropped.
class ControllerSetupWindow final : public QWidget {
  Q_OBJECT

 public:
  ControllerSetupWindow(media::Joystick& joystick, media::SettingsStore& store);

  /// A code framed from the serial controller's bytes and the map lines (0-based) it matched.
  void showSerialChunk(const std::string& chunk, const std::vector<int>& lines);
  /// Bytes from the serial controller that spelled no code and were dropped.
  void showDroppedBytes(const std::string& bytes);
  /// Reads the joystick and shows it, with the joysticks to choose from (every 100 ms while the
  /// window is open).
  void refresh();
  /// Reads the game controllers from the joystick of `guid` (empty: the first attached) from now
  /// on and keeps the choice for the next start-up.
  void chooseJoystick(const std::string& guid);
  /// Takes the present code for the position asked for and asks for the next; after EB the
  /// codes can be stored.
  void next();
  /// Stores the codes taken; false with the store's message.
  bool store(std::string& error);
  /// The position the walk asks for ("P3"), or empty when every code is taken.
  std::string askedPosition() const;

 private:
  void showStep();
  void listJoysticks();

  media::Joystick& m_joystick;
  media::SettingsStore& m_store;
  media::JoystickReading m_reading;
  bool m_attached = false;
  int m_step = 0;  // 0..5 P0..P5, 6..14 B0..B8, 15 EB, 16 done
  ControllerMap m_codes;
  QTimer m_timer;
  std::vector<media::JoystickInfo> m_listed;
  QComboBox* m_choice = nullptr;
  QLabel* m_device = nullptr;
  QLabel* m_live = nullptr;
  QLabel* m_analogue = nullptr;
  QLabel* m_prompt = nullptr;
  QLabel* m_taken = nullptr;
  QPushButton* m_next = nullptr;
  QPushButton* m_save = nullptr;
  QPlainTextEdit* m_serial = nullptr;
};

}  // namespace velimoro::shell
