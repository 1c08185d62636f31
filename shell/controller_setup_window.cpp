#include "shell/controller_setup_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "cab/script.h"
#include "input/external_controllers.h"
#include "persist/settings.h"

namespace velimoro::shell {
namespace {

constexpr int kRefreshMs = 100;  // as often as the tick scans
constexpr int kPowerSteps = 6;
constexpr int kBrakeSteps = 9;
constexpr int kSteps = kPowerSteps + kBrakeSteps + 1;

// The map lines' positions and buttons, in the order of "mascon.dat".
constexpr const char* kMapLineNames[ControllerMap::kUsedLines] = {
    "P1",
    "P2",
    "P3",
    "P4",
    "P5",
    "P6",
    "N",
    "B1",
    "B2",
    "B3",
    "B4",
    "B5",
    "B6",
    "B7",
    "B8",
    "EB",
    QT_TRANSLATE_NOOP("velimoro::shell::ControllerSetupWindow", "前進"),
    QT_TRANSLATE_NOOP("velimoro::shell::ControllerSetupWindow", "中立"),
    QT_TRANSLATE_NOOP("velimoro::shell::ControllerSetupWindow", "後進"),
    QT_TRANSLATE_NOOP("velimoro::shell::ControllerSetupWindow", "放送"),
    QT_TRANSLATE_NOOP("velimoro::shell::ControllerSetupWindow", "警笛"),
    QT_TRANSLATE_NOOP("velimoro::shell::ControllerSetupWindow", "ドア")};

std::string stepName(int step) {
  if (step < kPowerSteps) return "P" + std::to_string(step);
  if (step < kPowerSteps + kBrakeSteps) return "B" + std::to_string(step - kPowerSteps);
  return step == kSteps - 1 ? "EB" : "";
}

QString positionText(std::optional<int> position, bool power) {
  if (!position) return ControllerSetupWindow::tr("境目（変化なし）");
  if (*position == 0)
    return power ? ControllerSetupWindow::tr("P0（切）") : ControllerSetupWindow::tr("B0（緩め）");
  if (power) return QStringLiteral("P%1").arg(*position);
  return *position == -9 ? QStringLiteral("EB") : QStringLiteral("B%1").arg(-*position);
}

}  // namespace

ControllerSetupWindow::ControllerSetupWindow(media::Joystick& joystick, media::SettingsStore& store)
    : m_joystick(joystick), m_store(store) {
  setWindowTitle(tr("コントローラの設定と確認"));
  m_choice = new QComboBox(this);
  m_choice->setObjectName(QStringLiteral("joystick"));
  m_device = new QLabel(this);
  m_live = new QLabel(this);
  m_live->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_analogue = new QLabel(this);
  m_prompt = new QLabel(this);
  m_taken = new QLabel(this);
  m_taken->setWordWrap(true);
  m_next = new QPushButton(tr("次へ(&N)"), this);
  auto* again = new QPushButton(tr("最初から(&R)"), this);
  m_save = new QPushButton(tr("保存(&S)"), this);
  m_serial = new QPlainTextEdit(this);
  m_serial->setReadOnly(true);
  m_serial->setMaximumBlockCount(200);

  auto* live = new QGroupBox(tr("ゲームコントローラ"), this);
  auto* liveLayout = new QVBoxLayout(live);
  auto* choice = new QFormLayout;
  choice->addRow(tr("使うジョイスティック"), m_choice);
  liveLayout->addLayout(choice);
  liveLayout->addWidget(m_device);
  liveLayout->addWidget(m_live);
  liveLayout->addWidget(m_analogue);

  auto* walk = new QGroupBox(tr("ボタン式ゲームコントローラのコード"), this);
  auto* walkLayout = new QVBoxLayout(walk);
  walkLayout->addWidget(m_prompt);
  walkLayout->addWidget(m_taken);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_next);
  buttons->addWidget(again);
  buttons->addWidget(m_save);
  walkLayout->addLayout(buttons);

  auto* serial = new QGroupBox(tr("DVマスコンの受信"), this);
  auto* serialLayout = new QVBoxLayout(serial);
  serialLayout->addWidget(m_serial);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(live);
  layout->addWidget(walk);
  layout->addWidget(serial);

  connect(m_next, &QPushButton::clicked, this, [this] { next(); });
  connect(again, &QPushButton::clicked, this, [this] {
    m_step = 0;
    showStep();
  });
  connect(m_save, &QPushButton::clicked, this, [this] {
    std::string error;
    m_prompt->setText(this->store(error) ? tr("保存しました。次の運転から使われます。")
                                         : QString::fromStdString(error));
  });
  connect(m_choice, &QComboBox::activated, this, [this](int index) {
    chooseJoystick(m_choice->itemData(index).toString().toStdString());
  });
  connect(&m_timer, &QTimer::timeout, this, [this] { refresh(); });
  m_timer.start(kRefreshMs);
  refresh();
  showStep();
  resize(520, 560);
}

void ControllerSetupWindow::chooseJoystick(const std::string& guid) {
  m_joystick.choose(guid);
  std::string error;
  if (!writeJoystickChoice(m_store, guid, error)) m_prompt->setText(QString::fromStdString(error));
  m_listed.clear();
  refresh();
}

void ControllerSetupWindow::listJoysticks() {
  std::vector<media::JoystickInfo> listed = m_joystick.attached();
  const std::string chosen = m_joystick.chosen();
  if (listed == m_listed && m_choice->count() > 0 &&
      m_choice->currentData().toString().toStdString() == chosen)
    return;
  m_listed = std::move(listed);
  const QSignalBlocker quiet(m_choice);
  m_choice->clear();
  m_choice->addItem(tr("最初に見つかったもの"), QString());
  bool chosenListed = chosen.empty();
  for (const media::JoystickInfo& info : m_listed) {
    const QString guid = QString::fromStdString(info.guid);
    // Two joysticks of one kind share a GUID: the first of them is read.
    if (m_choice->findData(guid) >= 0) continue;
    m_choice->addItem(tr("%1（%2）").arg(QString::fromStdString(info.name), guid), guid);
    chosenListed = chosenListed || info.guid == chosen;
  }
  if (!chosenListed) {
    m_choice->addItem(tr("%1（つながっていません）").arg(QString::fromStdString(chosen)),
                      QString::fromStdString(chosen));
  }
  m_choice->setCurrentIndex(m_choice->findData(QString::fromStdString(chosen)));
}

void ControllerSetupWindow::refresh() {
  listJoysticks();
  const std::optional<media::JoystickReading> reading = m_joystick.poll();
  m_attached = reading.has_value();
  m_reading = reading.value_or(media::JoystickReading{});
  m_next->setEnabled(m_attached && m_step < kSteps);
  if (!m_attached) {
    m_device->setText(m_joystick.chosen().empty()
                          ? tr("ジョイスティックが見つかりません。つなぐと表示されます。")
                          : tr("選んだジョイスティックがつながっていません。"
                               "つなぐと表示されます。"));
    m_live->clear();
    m_analogue->clear();
    return;
  }
  const JoystickState j{m_reading.x, m_reading.y, m_reading.buttons};
  m_device->setText(tr("%1（軸 %2、ボタン %3）")
                        .arg(QString::fromStdString(m_joystick.name()))
                        .arg(m_reading.axisCount)
                        .arg(m_reading.buttonCount));
  QString pressed;
  for (int b = 0; b < JoystickState::kButtons; ++b)
    pressed += j.pressed(b) ? QChar('1') : QChar('0');
  m_live->setText(tr("X: %1  Y: %2\nボタン 0→15: %3\n"
                     "ハンドルのコード %4  ブレーキのコード %5  合計 %6")
                      .arg(j.x)
                      .arg(j.y)
                      .arg(pressed)
                      .arg(buttonPadPowerCode(j))
                      .arg(buttonPadBrakeCode(j))
                      .arg(scanSum(j)));
  m_analogue->setText(tr("アナログ軸式として: Y → %1、X → %2")
                          .arg(positionText(analoguePowerPosition(j.y), true),
                               positionText(analogueBrakePosition(j.x), false)));
}

std::string ControllerSetupWindow::askedPosition() const {
  return stepName(m_step);
}

void ControllerSetupWindow::next() {
  if (!m_attached || m_step >= kSteps) return;
  const JoystickState j{m_reading.x, m_reading.y, m_reading.buttons};
  if (m_step < kPowerSteps) {
    m_codes.PowerCode[static_cast<std::size_t>(m_step)] = buttonPadPowerCode(j);
  } else if (m_step < kPowerSteps + kBrakeSteps) {
    m_codes.BrakeCode[static_cast<std::size_t>(m_step - kPowerSteps)] = buttonPadBrakeCode(j);
  } else {
    m_codes.EmergencyCode = buttonPadBrakeCode(j);
  }
  ++m_step;
  showStep();
}

bool ControllerSetupWindow::store(std::string& error) {
  if (m_step < kSteps) {
    error = tr("まだすべての位置のコードを取っていません。").toStdString();
    return false;
  }
  return writeControllerCodes(m_store, m_codes, error);
}

void ControllerSetupWindow::showStep() {
  m_prompt->setText(m_step < kSteps
                        ? tr("ハンドルを %1 に置いて「次へ」を押してください。")
                              .arg(QString::fromStdString(stepName(m_step)))
                        : tr("すべての位置のコードを取りました。「保存」で記録します。"));
  QString taken;
  for (int step = 0; step < m_step; ++step) {
    const int code = step < kPowerSteps ? m_codes.PowerCode[static_cast<std::size_t>(step)]
                     : step < kPowerSteps + kBrakeSteps
                         ? m_codes.BrakeCode[static_cast<std::size_t>(step - kPowerSteps)]
                         : m_codes.EmergencyCode;
    taken += QStringLiteral("%1=%2  ").arg(QString::fromStdString(stepName(step))).arg(code);
  }
  m_taken->setText(taken);
  m_next->setEnabled(m_attached && m_step < kSteps);
  m_save->setEnabled(m_step == kSteps);
}

void ControllerSetupWindow::showSerialChunk(const std::string& chunk,
                                            const std::vector<int>& lines) {
  QString matched;
  for (const int line : lines) {
    if (line < 0 || line >= ControllerMap::kUsedLines) continue;
    matched += tr(" %1行目（%2）").arg(line + 1).arg(tr(kMapLineNames[line]));
  }
  m_serial->appendPlainText(tr("%1 →%2").arg(QString::fromStdString(serialCaptionText(chunk)),
                                             matched.isEmpty() ? tr(" 一致なし") : matched));
}

void ControllerSetupWindow::showDroppedBytes(const std::string& bytes) {
  // A flood is named by its size and its first bytes only.
  constexpr std::size_t kShownBytes = 16;
  const QString shown = QString::fromStdString(serialWord(bytes.substr(0, kShownBytes))) +
                        (bytes.size() > kShownBytes ? QStringLiteral("…") : QString());
  // One arg() of both: the escapes of the bytes shown hold "%" and a digit.
  m_serial->appendPlainText(
      tr("%1 → コードでない %2 バイトを捨てました").arg(shown, QString::number(bytes.size())));
}

}  // namespace velimoro::shell
