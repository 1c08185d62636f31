#include "shell/controller_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include "cab/script.h"
#include "persist/settings.h"
#include "shell/controller_setup_window.h"
#include "shell/serial_setup_dialog.h"

namespace velimoro::shell {

ControllerMenu::ControllerMenu(QMainWindow& window, QMenu& menu, CabSession& session, Input input,
                               media::MessageSink& messages, media::SettingsStore& store)
    : m_window(window),
      m_session(session),
      m_input(std::move(input)),
      m_messages(messages),
      m_store(store) {
  m_serialSettings.port = media::QtSerialPort::defaultPort();
  m_joystick.choose(readJoystickChoice(store));
  const auto entry = [&](const char* caption) {
    QAction* action = menu.addAction(tr(caption));
    m_captions.emplace_back(action, caption);
    return action;
  };
  auto* types = new QActionGroup(this);
  const char* captions[] = {QT_TR_NOOP("標準/DVマスコン(&N)"),
                            QT_TR_NOOP("アナログ軸式ゲームコントローラ"),
                            QT_TR_NOOP("ボタン式ゲームコントローラ")};
  for (int type = 0; type < 3; ++type) {
    QAction* action = entry(captions[type]);
    action->setCheckable(true);
    action->setChecked(type == session.drive().state.controller_type);
    types->addAction(action);
    connect(action, &QAction::triggered, this, [this, type] { chooseType(type); });
    m_types.push_back(action);
  }
  menu.addSeparator();
  connect(entry(QT_TR_NOOP("DVマスコン（設定）(&P)")), &QAction::triggered, this,
          [this] { setUpSerial(); });
  connect(entry(QT_TR_NOOP("DVマスコン（接続/切断）(&C)")), &QAction::triggered, this,
          [this] { toggleConnection(); });
  connect(entry(QT_TR_NOOP("コントローラの設定と確認(&S)...")), &QAction::triggered, this,
          [this] { openSetupWindow(); });
  menu.addSeparator();
  m_debug = entry(QT_TR_NOOP("デバッグオプション(&D)"));
  m_debug->setCheckable(true);
  connect(m_debug, &QAction::triggered, this, [this] { showCaption(); });

  m_clock.start();
  m_holdTimer.setSingleShot(true);
  m_holdTimer.setTimerType(Qt::PreciseTimer);
  connect(&m_holdTimer, &QTimer::timeout, this, [this] {
    // The rest of a code may wait unread behind this timer.
    m_serial.readWaiting();
    if (m_framer) deliver(m_framer->expire(m_clock.elapsed()));
  });
  m_serial.received = [this](const std::string& bytes) { received(bytes); };
  m_serial.lost = [this](const std::string& why) {
    showLater(
        tr("DVマスコンとの接続が切れました（%1: %2）。\nキーボードで運転を続けられます。接続し"
           "直すにはコントローラメニューの「接続」を選んでください。")
            .arg(QString::fromStdString(m_serialSettings.port), QString::fromStdString(why))
            .toStdString());
  };
  // The game controller is read just before the tick that scans it, so that a change is an
  // input at that tick, in the window and in a replay alike.
  // The session's hooks may be chained further by others and outlive the menu.
  const std::weak_ptr<int> alive = m_alive;
  m_session.beforeTick = [this, alive, before = m_session.beforeTick] {
    if (before) before();
    if (!alive.expired()) pollJoystick();
  };
  m_session.afterTick = [this, alive, after = m_session.afterTick] {
    if (after) after();
    if (!alive.expired() && m_debug->isChecked()) showCaption();
  };
}

ControllerMenu::~ControllerMenu() = default;

void ControllerMenu::retranslate() {
  for (const auto& [action, caption] : m_captions)
    action->setText(tr(caption));
}

std::string ControllerMenu::cannotConnect(const std::string& error) {
  return tr("DVマスコンに接続できません。\n%1").arg(QString::fromStdString(error)).toStdString();
}

void ControllerMenu::chooseType(int type) {
  m_input("controller", {std::to_string(type)});
}

void ControllerMenu::setUpSerial() {
  SerialSetupDialog dialog(m_serialSettings, m_serial.availablePorts(), &m_window);
  if (dialog.exec() != QDialog::Accepted) return;
  m_serialSettings = dialog.settings();
  // The settings apply to the open line at once.
  if (!m_serial.isOpen()) return;
  std::string error;
  if (!openSerial(error)) m_messages.show(cannotConnect(error));
}

void ControllerMenu::connectSerial(const std::string& port) {
  m_serialSettings.port = port;
  if (m_serial.isOpen()) m_serial.close();
  toggleConnection();
}

void ControllerMenu::toggleConnection() {
  if (m_serial.isOpen()) {
    m_serial.close();
    m_messages.show(tr("Disconnect from controller.").toStdString());
    return;
  }
  std::string error;
  if (!openSerial(error)) {
    m_messages.show(cannotConnect(error));
    return;
  }
  m_messages.show(tr("Connect to controller.").toStdString());
}

bool ControllerMenu::openSerial(std::string& error) {
  // The start of a code from before is no start of one on the line opened now.
  m_holdTimer.stop();
  if (m_framer) {
    m_framer->clear();
  } else {
    m_framer.emplace(m_session.drive().setup.controllers);
  }
  return m_serial.open(m_serialSettings, error);
}

void ControllerMenu::received(const std::string& bytes) {
  deliver(m_framer->receive(bytes, m_clock.elapsed()));
  const std::int64_t holdEnds = m_framer->holdEndsMs();
  if (holdEnds >= 0) {
    m_holdTimer.start(static_cast<int>(std::max<std::int64_t>(holdEnds - m_clock.elapsed(), 0)));
  } else {
    m_holdTimer.stop();
  }
}

void ControllerMenu::deliver(const std::vector<SerialFramer::Piece>& pieces) {
  auto* setup = dynamic_cast<ControllerSetupWindow*>(m_setupWindow.get());
  for (const SerialFramer::Piece& piece : pieces) {
    if (piece.code) m_input("serial", {serialWord(piece.bytes)});
    if (setup == nullptr) continue;
    if (piece.code) {
      setup->showSerialChunk(piece.bytes, m_session.lastSerialMatch().lines);
    } else {
      setup->showDroppedBytes(piece.bytes);
    }
  }
}

void ControllerMenu::pollJoystick() {
  const int type = m_session.drive().state.controller_type;
  if (type != kAnalogueAxisPad && type != kButtonPad) return;
  std::string lost;
  const std::optional<media::JoystickReading> reading = m_joystick.poll(&lost);
  if (!lost.empty()) {
    showLater(tr("ゲームコントローラ（%1）が外れました。\nつなぎ直すと次の読み取りで見つかります。")
                  .arg(QString::fromStdString(lost))
                  .toStdString());
  }
  if (!reading) return;
  const JoystickState now{reading->x, reading->y, reading->buttons};
  const JoystickState& was = m_session.drive().controllerInputs.joystick;
  if (now.x == was.x && now.y == was.y && now.buttons == was.buttons) return;
  m_session.input("joystick", joystickWords(now));
}

void ControllerMenu::showCaption() {
  if (m_title.isEmpty()) m_title = m_window.windowTitle();
  const std::string& caption = m_session.drive().controllerInputs.debugCaption;
  m_window.setWindowTitle(m_debug->isChecked() && !caption.empty() ? QString::fromStdString(caption)
                                                                   : m_title);
}

void ControllerMenu::showLater(const std::string& text) {
  // Not from inside a step or a port's signal: a message box waits for the user.
  QTimer::singleShot(0, this, [this, text] { m_messages.show(text); });
}

void ControllerMenu::openSetupWindow() {
  if (!m_setupWindow) {
    m_setupWindow = std::make_unique<ControllerSetupWindow>(m_joystick, m_store);
  }
  m_setupWindow->show();
  m_setupWindow->raise();
}

}  // namespace velimoro::shell
