#include "windows/easy_cab.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "cab/script.h"
#include "present/aux_views.h"

namespace velimoro::windows {
namespace {

constexpr int kLampSize = 18;

void light(QLabel* lamp, const char* colour) {
  lamp->setStyleSheet(QStringLiteral("background:%1; border:1px solid #555; border-radius:4px;")
                          .arg(QString::fromUtf8(colour)));
}

}  // namespace

EasyCab::EasyCab(CabLink link, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_link(std::move(link)) {
  setObjectName(QStringLiteral("EasyCab"));
  setWindowTitle(tr("かんたん運転台"));
  auto* layout = new QGridLayout(this);
  // The lamp column: brake 8 at the top down to power 5, with the handle's words beside it.
  auto* lamps = new QGridLayout;
  lamps->addWidget(new QLabel(tr("ブレーキ")), 0, 0, 1, 2);
  for (int i = 0; i < 14; ++i) {
    auto* lamp = new QLabel;
    lamp->setFixedSize(kLampSize * 2, kLampSize / 2 + 4);
    m_lamps[static_cast<std::size_t>(i)] = lamp;
    lamps->addWidget(lamp, i + 1, 0);
  }
  lamps->addWidget(new QLabel(QStringLiteral("↑")), 4, 1);
  lamps->addWidget(new QLabel(tr("惰行\n（ニュートラル）")), 9, 1);
  lamps->addWidget(new QLabel(QStringLiteral("↓")), 12, 1);
  lamps->addWidget(new QLabel(tr("加速")), 15, 0, 1, 2);
  layout->addLayout(lamps, 0, 0, 3, 1);
  for (std::size_t i = 0; i < kEasyCabButtons.size(); ++i) {
    const EasyCabButton& b = kEasyCabButtons[i];
    auto* button = new QPushButton(QString::fromStdString(media::translate("EasyCab", b.caption)));
    button->setMinimumSize(120, 64);
    QFont font = button->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    button->setFont(font);
    button->setFocusPolicy(Qt::NoFocus);  // the keys stay with the window, which passes them on
    const char key = b.key;
    connect(button, &QPushButton::clicked, this,
            [this, key] { m_link.input("key", {keyWord(key)}); });
    layout->addWidget(button, static_cast<int>(i % 3), 1 + static_cast<int>(i / 3));
  }
  m_status = new QLabel;
  m_status->setFrameShape(QFrame::StyledPanel);
  layout->addWidget(m_status, 3, 0, 1, 3);
  SimState resting;
  showState(resting);
}

void EasyCab::showState(const SimState& s) {
  const EasyCabLamps lamps = easyCabLamps(s);
  for (int n = 8; n >= 1; --n)
    light(m_lamps[static_cast<std::size_t>(8 - n)],
          lamps.brake[static_cast<std::size_t>(n - 1)] ? "#e03030" : "white");
  light(m_lamps[8], lamps.neutral ? "#30c040" : "white");
  for (int n = 1; n <= 5; ++n)
    light(m_lamps[static_cast<std::size_t>(8 + n)],
          lamps.power[static_cast<std::size_t>(n - 1)] ? "#f0d020" : "white");
  m_status->setText(QString::fromStdString(s.status_text));
}

void EasyCab::keyPressEvent(QKeyEvent* event) {
  m_link.key(event);
}

}  // namespace velimoro::windows
