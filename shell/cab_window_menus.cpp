// The cab window's menus: Start, Display (with the language), Move, Save and Controller.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <utility>

#include "cab/script.h"
#include "data/route_reader.h"
#include "persist/save_slots.h"
#include "persist/settings.h"
#include "shell/cab_window.h"
#include "shell/controller_menu.h"

namespace velimoro::shell {
namespace {

constexpr int kLanguageNoteMs = 8000;  // how long the status line says what a new language changes

}  // namespace

void CabWindow::buildMenus() {
  const UiStrings& strings = m_session->drive().strings;
  const DriveSettings& settings = m_session->drive().setup.settings;
  m_start = menuBar()->addAction(QString::fromStdString(strings.Start));
  connect(m_start, &QAction::triggered, this, [this] { toggleStart(); });

  QMenu* display = menuBar()->addMenu(QString::fromStdString(strings.Display));
  // The window's own entries keep their texts as written, to be shown again in another language.
  const auto ownEntry = [&](QMenu& menu, const char* caption) {
    QAction* action = menu.addAction(tr(caption));
    m_captions.emplace_back(action, caption);
    return action;
  };
  const auto toggle = [&](const char* caption, int DriveSettings::*setting) {
    QAction* action = ownEntry(*display, caption);
    action->setCheckable(true);
    action->setChecked(settings.*setting == 1);
    connect(action, &QAction::triggered, this,
            [this, setting, action] { toggleSetting(setting, action); });
    return action;
  };
  toggle(QT_TR_NOOP("喚呼なし(&K)"), &DriveSettings::kanko);
  toggle(QT_TR_NOOP("解説あり(&D)"), &DriveSettings::information);
  m_beginnerEntry = toggle(QT_TR_NOOP("入門モード(&A)"), &DriveSettings::ats);
  toggle(QT_TR_NOOP("運転支援表示(&G)"), &DriveSettings::aids);
  display->addSeparator();
  connect(ownEntry(*display, QT_TR_NOOP("運転レポート(&R)")), &QAction::triggered, this,
          [this] { showReport(); });
  connect(ownEntry(*display, QT_TR_NOOP("操作説明(&U)")), &QAction::triggered, this,
          [this] { showSmallWindow(*m_help); });
  connect(ownEntry(*display, QT_TR_NOOP("かんたん運転台(&E)")), &QAction::triggered, this,
          [this] { showSmallWindow(*m_easyCab); });
  connect(ownEntry(*display, QT_TR_NOOP("列車設定(&P)")), &QAction::triggered, this, [this] {
    m_trainSettings->showDrive();
    m_trainSettings->exec();
  });
  display->addSeparator();
  buildLanguageMenu(*display);

  QMenu* move = menuBar()->addMenu(QString::fromStdString(strings.Move));
  for (const MoveMenuEntry& entry : moveMenuEntries(*m_session->drive().route)) {
    QAction* station = move->addAction(QString::fromStdString(entry.caption));
    station->setObjectName(QStringLiteral("Sta%1").arg(entry.station));
    connect(station, &QAction::triggered, this,
            [this, index = entry.station] { slotOrStation("jump", index); });
  }

  QMenu* save = menuBar()->addMenu(QString::fromStdString(strings.Save));
  save->setObjectName(QStringLiteral("Save"));
  QMenu* load = save->addMenu(tr("運転状態を復元(&L)"));
  m_captions.emplace_back(load->menuAction(), QT_TR_NOOP("運転状態を復元(&L)"));
  QMenu* store = save->addMenu(tr("運転状態を保存(&S)"));
  m_captions.emplace_back(store->menuAction(), QT_TR_NOOP("運転状態を保存(&S)"));
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

void CabWindow::buildLanguageMenu(QMenu& display) {
  QMenu* menu = display.addMenu(QString::fromUtf8(media::kLanguageMenuCaption));
  menu->setObjectName(QStringLiteral("Language"));
  m_languages = new QActionGroup(menu);
  for (const auto& [language, name] : media::kLanguageNames) {
    QAction* action = menu->addAction(QString::fromUtf8(name));
    action->setObjectName(QString::fromUtf8(media::languageCode(language)));
    action->setCheckable(true);
    action->setChecked(language == media::currentLanguage());
    m_languages->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, language = language] { chooseLanguage(language); });
  }
}

void CabWindow::chooseLanguage(media::Language language) {
  // A language is the user's, not the drive's: it goes to the settings, never into a recording.
  std::string error;
  if (!writeLanguage(m_store, media::languageCode(language), error)) m_messages.show(error);
  if (language == media::currentLanguage()) return;
  media::useLanguage(language);
  // The texts the drive has already made (the panel's, the guidance, the small windows') stay
  // in the language they were made in until the next drive.
  statusBar()->show();
  statusBar()->showMessage(
      tr("言語を切り替えました。運転画面と小窓の一部の表示は次の運転から切り替わります。"),
      kLanguageNoteMs);
}

void CabWindow::retranslate() {
  for (const auto& [action, caption] : m_captions)
    action->setText(tr(caption));
  if (m_session->started())
    m_start->setText(m_session->running() ? tr("一時停止(&S)") : tr("運転再開(&S)"));
  for (QAction* action : m_languages->actions())
    action->setChecked(action->objectName() ==
                       QString::fromUtf8(media::languageCode(media::currentLanguage())));
  m_controllers->retranslate();
  labelSlots(*menuBar()->findChild<QMenu*>(QStringLiteral("Save")));
  update();
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
