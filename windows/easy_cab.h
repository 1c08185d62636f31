#pragma once

#include <QLabel>
#include <QWidget>
#include <array>

#include "sim/sim_state.h"
#include "windows/cab_link.h"

namespace velimoro::windows {

/// The easy cab: big buttons for the commonest keys and a lamp column that shows where the
/// handles stand, with the doors' status under them.
class EasyCab final : public QWidget {
  Q_OBJECT

 public:
  explicit EasyCab(CabLink link, QWidget* parent = nullptr);
  /// Shows the handles and doors of `s` (every tick while shown).
  void showState(const SimState& s);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CabLink m_link;
  std::array<QLabel*, 14> m_lamps{};  // B8 .. B1, N, P1 .. P5
  QLabel* m_status = nullptr;
};

}  // namespace velimoro::windows
