#include "shell/controller_setup_window.h"

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
    "P1", "P2", "P3", "P4", "P5", "P6",   "N",    "B1",   "B2",   "B3",   "B4",
    "B5", "B6", "B7", "B8", "EB", "前進", "中立", "後進", "放送", "警笛", "ドア"};

std::string stepName(int step) {
  if (step < kPowerSteps) return "P" + std::to_string(step);
  if (step < kPowerSteps + kBrakeSteps) return "B" + std::to_string(step - kPowerSteps);
  return step == kSteps - 1 ? "EB" : "";
}

QString positionText(std::optional<int> position, bool power) {
  if (!position) return QStringLiteral("境目（変化なし）");
  if (*position == 0) return power ? QStringLiteral("P0（切）") : QStringLiteral("B0（緩め）");
  if (power) return QStringLiteral("P%1").arg(*position);
  return *position == -9 ? QStringLiteral("EB") : QStringLiteral("B%1").arg(-*position);
}

}  // namespace

ControllerSetupWindow::ControllerSetupWindow(media::Joystick& joystick, media::SettingsStore& store)
    : m_joystick(joystick), m_store(store) {
  setWindowTitle(QStringLiteral("コントローラの設定と確認"));
  m_device = new QLabel(this);
  m_live = new QLabel(this);
  m_live->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_analogue = new QLabel(this);
  m_prompt = new QLabel(this);
  m_taken = new QLabel(this);
  m_taken->setWordWrap(true);
  m_next = new QPushButton(QStringLiteral("次へ(&N)"), this);
  auto* again = new QPushButton(QStringLiteral("最初から(&R)"), this);
  m_save = new QPushButton(QStringLiteral("保存(&S)"), this);
  m_serial = new QPlainTextEdit(this);
  m_serial->setReadOnly(true);
  m_serial->setMaximumBlockCount(200);

  auto* live = new QGroupBox(QStringLiteral("ゲームコントローラ"), this);
  auto* liveLayout = new QVBoxLayout(live);
  liveLayout->addWidget(m_device);
  liveLayout->addWidget(m_live);
  liveLayout->addWidget(m_analogue);

  auto* walk = new QGroupBox(QStringLiteral("ボタン式ゲームコントローラのコード"), this);
  auto* walkLayout = new QVBoxLayout(walk);
  walkLayout->addWidget(m_prompt);
  walkLayout->addWidget(m_taken);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_next);
  buttons->addWidget(again);
  buttons->addWidget(m_save);
  walkLayout->addLayout(buttons);

  auto* serial = new QGroupBox(QStringLiteral("DVマスコンの受信"), this);
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
    m_prompt->setText(this->store(error) ? QStringLiteral("保存しました。次の運転から使われます。")
                                         : QString::fromStdString(error));
  });
  connect(&m_timer, &QTimer::timeout, this, [this] { refresh(); });
  m_timer.start(kRefreshMs);
  refresh();
  showStep();
  resize(520, 560);
}

void ControllerSetupWindow::refresh() {
  const std::optional<media::JoystickReading> reading = m_joystick.poll();
  m_attached = reading.has_value();
  m_reading = reading.value_or(media::JoystickReading{});
  m_next->setEnabled(m_attached && m_step < kSteps);
  if (!m_attached) {
    m_device->setText(QStringLiteral("ジョイスティックが見つかりません。つなぐと表示されます。"));
    m_live->clear();
    m_analogue->clear();
    return;
  }
  const JoystickState j{m_reading.x, m_reading.y, m_reading.buttons};
  m_device->setText(QStringLiteral("%1（軸 %2、ボタン %3）")
                        .arg(QString::fromStdString(m_joystick.name()))
                        .arg(m_reading.axisCount)
                        .arg(m_reading.buttonCount));
  QString pressed;
  for (int b = 0; b < JoystickState::kButtons; ++b)
    pressed += j.pressed(b) ? QChar('1') : QChar('0');
  m_live->setText(QStringLiteral("X: %1  Y: %2\nボタン 0→15: %3\n"
                                 "ハンドルのコード %4  ブレーキのコード %5  合計 %6")
                      .arg(j.x)
                      .arg(j.y)
                      .arg(pressed)
                      .arg(buttonPadPowerCode(j))
                      .arg(buttonPadBrakeCode(j))
                      .arg(scanSum(j)));
  m_analogue->setText(QStringLiteral("アナログ軸式として: Y → %1、X → %2")
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
    error = "まだすべての位置のコードを取っていません。";
    return false;
  }
  return writeControllerCodes(m_store, m_codes, error);
}

void ControllerSetupWindow::showStep() {
  m_prompt->setText(
      m_step < kSteps ? QStringLiteral("ハンドルを %1 に置いて「次へ」を押してください。")
                            .arg(QString::fromStdString(stepName(m_step)))
                      : QStringLiteral("すべての位置のコードを取りました。「保存」で記録します。"));
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
    matched +=
        QStringLiteral(" %1行目（%2）").arg(line + 1).arg(QString::fromUtf8(kMapLineNames[line]));
  }
  m_serial->appendPlainText(
      QStringLiteral("%1 →%2").arg(QString::fromStdString(serialCaptionText(chunk)),
                                   matched.isEmpty() ? QStringLiteral(" 一致なし") : matched));
}

void ControllerSetupWindow::showDroppedBytes(const std::string& bytes) {
  // A flood is named by its size and its first bytes only.
  constexpr std::size_t kShownBytes = 16;
  const QString shown = QString::fromStdString(serialWord(bytes.substr(0, kShownBytes))) +
                        (bytes.size() > kShownBytes ? QStringLiteral("…") : QString());
  m_serial->appendPlainText(
      QStringLiteral("%1 → コードでない %2 バイトを捨てました").arg(shown).arg(bytes.size()));
}

}  // namespace velimoro::shell
