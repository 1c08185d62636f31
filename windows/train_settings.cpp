#include "windows/train_settings.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velimoro::windows {
namespace {

constexpr int kStarterMs = 700;

}  // namespace

TrainSettingsDialog::TrainSettingsDialog(const Drive& drive, CabLink link, QWidget* parent)
    : QDialog(parent), m_drive(drive), m_link(std::move(link)) {
  setObjectName(QStringLiteral("TrainSettings"));
  setWindowTitle(tr("列車設定"));
  auto* layout = new QVBoxLayout(this);
  const auto group = [&](const QString& title, std::initializer_list<QRadioButton**> items,
                         std::initializer_list<const char*> captions) {
    auto* box = new QGroupBox(title);
    auto* row = new QHBoxLayout(box);
    auto* buttons = new QButtonGroup(box);
    auto caption = captions.begin();
    for (QRadioButton** item : items) {
      *item = new QRadioButton(tr(*caption++));
      buttons->addButton(*item);
      row->addWidget(*item);
    }
    layout->addWidget(box);
  };
  group(tr("ATS"), {&m_atsOn, &m_atsOff}, {QT_TR_NOOP("入"), QT_TR_NOOP("切")});
  group(tr("機関始動"), {&m_engineStart, &m_engineRun, &m_engineOff},
        {QT_TR_NOOP("始動"), QT_TR_NOOP("運転"), QT_TR_NOOP("切")});
  m_engineRun->setChecked(true);
  m_atsOn->setObjectName(QStringLiteral("atsOn"));
  m_atsOff->setObjectName(QStringLiteral("atsOff"));
  m_engineStart->setObjectName(QStringLiteral("engineStart"));
  m_engineRun->setObjectName(QStringLiteral("engineRun"));
  m_engineOff->setObjectName(QStringLiteral("engineOff"));

  // The station where the crew changes and the run ends, kept for the route.
  auto* crew = new QHBoxLayout;
  crew->addWidget(new QLabel(tr("乗務員交代駅")));
  m_crewChange = new QComboBox;
  m_crewChange->addItem(tr("なし"), -1);
  for (int i = 0; i < drive.route->stationCount; ++i)
    m_crewChange->addItem(
        QString::fromStdString(drive.route->stations[static_cast<std::size_t>(i)].name), i);
  crew->addWidget(m_crewChange);
  layout->addLayout(crew);
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, [this] { accept(); });

  connect(m_atsOn, &QRadioButton::clicked, this, [this] { m_link.input("ats", {"on"}); });
  connect(m_atsOff, &QRadioButton::clicked, this, [this] { m_link.input("ats", {"off"}); });
  m_starter.setSingleShot(true);
  connect(&m_starter, &QTimer::timeout, this, [this] {
    m_link.input("engine", {"run"});
    m_engineRun->setChecked(true);
  });
  connect(m_engineStart, &QRadioButton::clicked, this, [this] {
    m_link.input("engine", {"start"});
    m_starter.start(kStarterMs);
  });
  connect(m_engineOff, &QRadioButton::clicked, this, [this] { m_link.input("engine", {"stop"}); });
  connect(m_crewChange, &QComboBox::activated, this, [this](int index) {
    m_link.input("crewchange", {std::to_string(m_crewChange->itemData(index).toInt())});
  });
  showDrive();
}

void TrainSettingsDialog::showDrive() {
  (m_drive.state.ats_active ? m_atsOn : m_atsOff)->setChecked(true);
  const int crew = m_crewChange->findData(m_drive.setup.settings.crewChangeStation);
  m_crewChange->setCurrentIndex(crew < 0 ? 0 : crew);
}

void TrainSettingsDialog::keyPressEvent(QKeyEvent* event) {
  // Enter is the OK button's. The dialog passes on the keys that are no characters (the
  // function keys, Backspace, the page and arrow keys): a letter or a digit typed here does not
  // move a handle.
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
    QDialog::keyPressEvent(event);
    return;
  }
  const QString text = event->text();
  if (text.size() == 1 && text[0].isPrint()) return;
  m_link.key(event);
}

}  // namespace velimoro::windows
