#pragma once

#include <QPlainTextEdit>
#include <string>

#include "windows/cab_link.h"

namespace velimoro::windows {

/// The help window: the text of "operation.dat" in the data root, its first line the caption.
/// A missing or unreadable file is said in the window; keys typed into it drive the train.
class HelpWindow final : public QPlainTextEdit {
  Q_OBJECT

 public:
  HelpWindow(const std::string& root, CabLink link, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CabLink m_link;
};

}  // namespace velimoro::windows
