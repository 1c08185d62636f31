#include "windows/help_window.h"

#include "data/data_error.h"
#include "data/help_text.h"

namespace velimoro::windows {

HelpWindow::HelpWindow(const std::string& root, CabLink link, QWidget* parent)
    : QPlainTextEdit(parent), m_link(std::move(link)) {
  setWindowFlag(Qt::Tool);
  setObjectName(QStringLiteral("Help"));
  setWindowTitle(tr("Help"));
  setReadOnly(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  try {
    const HelpText help = readHelpText(root);
    setWindowTitle(QString::fromStdString(help.caption));
    setPlainText(QString::fromStdString(help.text));
  } catch (const DataError& e) {
    // Without its file the help says so; the drive goes on.
    setPlainText(QString::fromStdString(e.what()));
  }
  resize(520, 420);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  m_link.key(event);
}

}  // namespace velimoro::windows
