// The cab window's menus: Start, Display, Move, Save and Controller.
#include <QMenu>
#include <QMenuBar>

#include "cab/script.h"
#include "data/route_reader.h"
#include "persist/save_slots.h"
#include "shell/cab_window.h"
#include "shell/controller_menu.h"

namespace velimoro::shell {

void CabWindow::buildMenus() {
  const UiStrings& strings = m_session->drive().strings;
  const DriveSettings& settings = m_session->drive().setup.settings;
  m_start = menuBar()->addAction(QString::fromStdString(strings.Start));
  connect(m_start, &QAction::triggered, this, [this] { toggleStart(); });

  QMenu* display = menuBar()->addMenu(QString::fromStdString(strings.Display));
  const auto toggle = [&](const char* caption, int DriveSettings::*setting) {
    QAction* entry = display->addAction(QString::fromUtf8(caption));
    entry->setCheckable(true);
    entry->setChecked(settings.*setting == 1);
    connect(entry, &QAction::triggered, this,
            [this, setting, entry] { toggleSetting(setting, entry); });
    return entry;
  };
  toggle("喚呼なし(&K)", &DriveSettings::kanko);
  toggle("解説あり(&D)", &DriveSettings::information);
  m_beginnerEntry = toggle("入門モード(&A)", &DriveSettings::ats);
  toggle("運転支援表示(&G)", &DriveSettings::aids);
  display->addSeparator();
  connect(display->addAction(QStringLiteral("運転レポート(&R)")), &QAction::triggered, this,
          [this] { showReport(); });
  connect(display->addAction(QStringLiteral("操作説明(&U)")), &QAction::triggered, this,
          [this] { showSmallWindow(*m_help); });
  connect(display->addAction(QStringLiteral("かんたん運転台(&E)")), &QAction::triggered, this,
          [this] { showSmallWindow(*m_easyCab); });
  connect(display->addAction(QStringLiteral("列車設定(&P)")), &QAction::triggered, this, [this] {
    m_trainSettings->showDrive();
    m_trainSettings->exec();
  });

  QMenu* move = menuBar()->addMenu(QString::fromStdString(strings.Move));
  for (const MoveMenuEntry& entry : moveMenuEntries(*m_session->drive().route)) {
    QAction* station = move->addAction(QString::fromStdString(entry.caption));
    station->setObjectName(QStringLiteral("Sta%1").arg(entry.station));
    connect(station, &QAction::triggered, this,
            [this, index = entry.station] { slotOrStation("jump", index); });
  }

  QMenu* save = menuBar()->addMenu(QString::fromStdString(strings.Save));
  QMenu* load = save->addMenu(QStringLiteral("運転状態を復元(&L)"));
  QMenu* store = save->addMenu(QStringLiteral("運転状態を保存(&S)"));
  for (int slot = 1; slot <= kSaveSlots; ++slot) {
    QAction* loadEntry = load->addAction(QString());
    loadEntry->setObjectName(QStringLiteral("Load%1").arg(slot));
    connect(loadEntry, &QAction::triggered, this, [this, slot] { slotOrStation("load", slot); });
    QAction* saveEntry = store->addAction(QString());
    saveEntry->setObjectName(QStringLiteral("Save%1").arg(slot));
    connect(saveEntry, &QAction::triggered, this, [this, slot] { slotOrStation("save", slot); });
  }
  labelSlots(*save);
  connect(save, &QMenu::aboutToShow, this, [this, save] { labelSlots(*save); });

  QMenu* controller = menuBar()->addMenu(QString::fromStdString(strings.Control));
  m_controllers = std::make_unique<ControllerMenu>(
      *this, *controller, *m_session,
      [this](const std::string& name, std::vector<std::string> args) {
        input(name, std::move(args));
      },
      m_messages, m_store);
}

void CabWindow::labelSlots(QMenu& menu) {
  // An entry without a label says so; such a slot cannot be restored, but can be saved to.
  for (int slot = 1; slot <= kSaveSlots; ++slot) {
    const QString label = QString::fromStdString(storedLabel(m_store, slot));
    const QString caption = label.isEmpty() ? QString::fromUtf8(kNoDataCaption) : label;
    if (auto* entry = menu.findChild<QAction*>(QStringLiteral("Load%1").arg(slot))) {
      entry->setText(caption);
      entry->setEnabled(!label.isEmpty());
    }
    if (auto* entry = menu.findChild<QAction*>(QStringLiteral("Save%1").arg(slot)))
      entry->setText(caption);
  }
}

void CabWindow::slotOrStation(const char* command, int number) {
  input(command, {std::to_string(number)});
  setWindowTitle(QString::fromStdString(m_session->drive().route->lineName));
  m_wakeTimer.start(0);
}

void CabWindow::toggleSetting(int DriveSettings::*setting, QAction* entry) {
  input("setting", {settingWord(setting), entry->isChecked() ? "1" : "0"});
}

void CabWindow::connectSerial(const std::string& port) {
  m_controllers->connectSerial(port);
}

}  // namespace velimoro::shell
