#pragma once

#include <QDialog>
#include <vector>

#include "media/serial_port.h"

class QComboBox;

namespace velimoro::shell {

/// The serial master controller's port setup: the port (those the system lists, or any name
/// typed) and its line settings. The settings live as long as the program runs.
class SerialSetupDialog final : public QDialog {
  Q_OBJECT

 public:
  SerialSetupDialog(const media::SerialSettings& settings,
                    const std::vector<media::SerialPort::PortInfo>& ports, QWidget* parent);
  /// The settings as the dialog shows them.
  media::SerialSettings settings() const;

 private:
  QComboBox* m_port = nullptr;
  QComboBox* m_baud = nullptr;
  QComboBox* m_dataBits = nullptr;
  QComboBox* m_parity = nullptr;
  QComboBox* m_stopBits = nullptr;
  QComboBox* m_flow = nullptr;
};

}  // namespace velimoro::shell
