#include "windows/crew_change.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velimoro::windows {

CrewChangeDialog::CrewChangeDialog(std::function<void()> endDrive, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("CrewChange"));
  setWindowTitle(tr("交代しますか？"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("乗務員交代駅です。")));
  layout->addWidget(new QLabel(tr("運転継続をクリックすると続けて運転します。")));
  auto* buttons = new QHBoxLayout;
  auto* goOn = new QPushButton(tr("運転継続"));
  goOn->setObjectName(QStringLiteral("continue"));
  goOn->setDefault(true);
  auto* end = new QPushButton(tr("運転終了"));
  end->setObjectName(QStringLiteral("end"));
  buttons->addWidget(goOn);
  buttons->addWidget(end);
  layout->addLayout(buttons);
  connect(goOn, &QPushButton::clicked, this, [this] { accept(); });
  // Only the button ends the drive: Escape and the close box put the dialog away, and the drive
  // goes on.
  connect(end, &QPushButton::clicked, this, [this, endDrive] {
    accept();
    endDrive();
  });
}

}  // namespace velimoro::windows
