#include "shell/serial_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace velimoro::shell {
namespace {

QComboBox* choices(const QStringList& texts, const QString& current, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->addItems(texts);
  box->setCurrentText(current);
  return box;
}

}  // namespace

SerialSetupDialog::SerialSetupDialog(const media::SerialSettings& settings,
                                     const std::vector<media::SerialPort::PortInfo>& ports,
                                     QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("DVマスコン（設定）"));
  m_port = new QComboBox(this);
  m_port->setEditable(true);  // a port the system does not list (a pseudo-terminal) by its path
  for (const media::SerialPort::PortInfo& port : ports) {
    const QString name = QString::fromStdString(port.name);
    const QString description = QString::fromStdString(port.description);
    m_port->addItem(description.isEmpty() ? name : name + QStringLiteral(" — ") + description,
                    name);
  }
  const QString current = QString::fromStdString(settings.port);
  const int listed = m_port->findData(current);
  if (listed >= 0) {
    m_port->setCurrentIndex(listed);
  } else {
    m_port->setEditText(current);
  }
  m_baud = choices({"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"},
                   QString::number(settings.baudRate), this);
  m_dataBits = choices({"5", "6", "7", "8"}, QString::number(settings.dataBits), this);
  m_parity = choices({"N", "E", "O"}, QString(QChar(settings.parity)), this);
  m_stopBits = choices({"1", "2"}, QString::number(settings.stopBits), this);
  const QString flow = settings.hardwareFlow   ? QStringLiteral("RTS/CTS")
                       : settings.softwareFlow ? QStringLiteral("XON/XOFF")
                                               : tr("なし");
  m_flow = choices({tr("なし"), QStringLiteral("RTS/CTS"), QStringLiteral("XON/XOFF")}, flow, this);
  // Names that accessibility tools and scripted runs find the choices by.
  m_port->setObjectName(QStringLiteral("port"));
  m_baud->setObjectName(QStringLiteral("baud"));
  m_dataBits->setObjectName(QStringLiteral("dataBits"));
  m_parity->setObjectName(QStringLiteral("parity"));
  m_stopBits->setObjectName(QStringLiteral("stopBits"));
  m_flow->setObjectName(QStringLiteral("flow"));

  auto* form = new QFormLayout;
  form->addRow(tr("ポート"), m_port);
  form->addRow(tr("ボーレート"), m_baud);
  form->addRow(tr("データビット"), m_dataBits);
  form->addRow(tr("パリティ"), m_parity);
  form->addRow(tr("ストップビット"), m_stopBits);
  form->addRow(tr("フロー制御"), m_flow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

media::SerialSettings SerialSetupDialog::settings() const {
  media::SerialSettings s;
  // A listed port keeps its path; a typed one is taken as typed.
  const int index = m_port->currentIndex();
  const bool listed = index >= 0 && m_port->itemText(index) == m_port->currentText();
  s.port =
      (listed ? m_port->itemData(index).toString() : m_port->currentText().trimmed()).toStdString();
  s.baudRate = m_baud->currentText().toInt();
  s.dataBits = m_dataBits->currentText().toInt();
  s.parity = m_parity->currentText().toLatin1().at(0);
  s.stopBits = m_stopBits->currentText().toInt();
  s.hardwareFlow = m_flow->currentIndex() == 1;
  s.softwareFlow = m_flow->currentIndex() == 2;
  return s;
}

}  // namespace velimoro::shell
