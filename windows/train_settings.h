#pragma once

#include <QComboBox>
#include <QDialog>
#include <QRadioButton>
#include <QTimer>

#include "cab/drive.h"
#include "windows/cab_link.h"

namespace velimoro::windows {

/// The train settings ("列車設定"): the protection on or off, the engine started, running or
/// stopped, and the crew-change station of the route. Each choice is an input of the drive; the
/// engine runs 700 ms after its start while the window and the drive go on.
class TrainSettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  TrainSettingsDialog(const Drive& drive, CabLink link, QWidget* parent = nullptr);
  /// Shows the protection and the crew-change station as the drive has them now.
  void showDrive();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const Drive& m_drive;
  CabLink m_link;
  QRadioButton* m_atsOn = nullptr;
  QRadioButton* m_atsOff = nullptr;
  QRadioButton* m_engineStart = nullptr;
  QRadioButton* m_engineRun = nullptr;
  QRadioButton* m_engineOff = nullptr;
  QComboBox* m_crewChange = nullptr;
  QTimer m_starter;  // the engine's 700 ms start
};

}  // namespace velimoro::windows
