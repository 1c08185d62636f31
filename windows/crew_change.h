#pragma once

#include <QDialog>
#include <functional>

namespace velimoro::windows {

/// The crew-change dialog of a crew-change station: "運転継続" goes on driving, "運転終了" ends
/// the drive (`endDrive`).
class CrewChangeDialog final : public QDialog {
  Q_OBJECT

 public:
  CrewChangeDialog(std::function<void()> endDrive, QWidget* parent = nullptr);
};

}  // namespace velimoro::windows
