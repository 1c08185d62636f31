#include "media/qt_serial_port.h"

#include "media/translate.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>
#include <cerrno>
#include <cstring>
#ifndef _WIN32
#include <termios.h>
#endif

namespace velimoro::media {
namespace {

// How often an open port is asked whether its line is still there: some lines (a
// pseudo-terminal whose other end closed) only read as empty when they vanish.
constexpr int kWatchMs = 250;

// A flood of bytes waits in the system's buffer rather than in ours.
constexpr qint64 kReadBufferBytes = 64 * 1024;
// The most handed on at one receive event: a flood is read in turns with the window's steps
// and screen passes, never in one long hold of the user-interface thread.
constexpr qint64 kReadBatchBytes = 4096;

QSerialPort::Parity parityOf(char parity) {
  switch (parity) {
    case 'E':
      return QSerialPort::EvenParity;
    case 'O':
      return QSerialPort::OddParity;
    default:
      return QSerialPort::NoParity;
  }
}

}  // namespace

QtSerialPort::QtSerialPort()
    : m_port(std::make_unique<QSerialPort>()), m_watch(std::make_unique<QTimer>()) {
  m_port->setReadBufferSize(kReadBufferBytes);
  m_watch->setInterval(kWatchMs);
  QObject::connect(m_watch.get(), &QTimer::timeout, [this] { watch(); });
  QObject::connect(m_port.get(), &QSerialPort::readyRead, [this] {
    if (!m_readPending) readAvailable();
  });
  QObject::connect(m_port.get(), &QSerialPort::errorOccurred,
                   [this](QSerialPort::SerialPortError e) {
                     if (e == QSerialPort::ResourceError || e == QSerialPort::PermissionError)
                       failed();
                   });
}

QtSerialPort::~QtSerialPort() {
  // No signal of the closing port may reach a half-destroyed owner.
  m_watch->stop();
  m_port->disconnect();
  m_port->close();
}

std::vector<SerialPort::PortInfo> QtSerialPort::availablePorts() const {
  std::vector<PortInfo> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    ports.push_back({info.systemLocation().toStdString(), info.description().toStdString()});
  }
  return ports;
}

std::string QtSerialPort::defaultPort() {
  const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
  for (const QSerialPortInfo& info : ports) {
    if (info.portName() == QStringLiteral("COM1")) return info.systemLocation().toStdString();
  }
  return ports.isEmpty() ? std::string() : ports.front().systemLocation().toStdString();
}

bool QtSerialPort::open(const SerialSettings& settings, std::string& error) {
  if (m_port->isOpen()) m_port->close();
  if (settings.port.empty()) {
    error = translate("SerialPort", "シリアルポートがありません");
    return false;
  }
  m_port->setPortName(QString::fromStdString(settings.port));
  m_port->setBaudRate(settings.baudRate);
  m_port->setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits));
  m_port->setParity(parityOf(settings.parity));
  m_port->setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
  m_port->setFlowControl(settings.hardwareFlow   ? QSerialPort::HardwareControl
                         : settings.softwareFlow ? QSerialPort::SoftwareControl
                                                 : QSerialPort::NoFlowControl);
  if (!m_port->open(QIODevice::ReadOnly)) {
    error = settings.port + ": " + m_port->errorString().toStdString();
    m_port->clearError();
    return false;
  }
  // The controller is powered and framed by the data alone; the control lines stay inactive.
  m_port->setDataTerminalReady(false);
  if (!settings.hardwareFlow) m_port->setRequestToSend(false);
  m_port->clearError();
  m_watch->start();
  return true;
}

void QtSerialPort::close() {
  m_watch->stop();
  m_port->close();
}

bool QtSerialPort::isOpen() const {
  return m_port->isOpen();
}

void QtSerialPort::readWaiting() {
  if (!m_port->isOpen()) return;
  // Bytes the port has not taken in yet are taken in, and signalled, by a wait of no time.
  if (m_port->bytesAvailable() == 0 && !m_port->waitForReadyRead(0)) return;
  if (m_port->bytesAvailable() > 0) readAvailable();
}

void QtSerialPort::readAvailable() {
  m_readPending = false;
  if (!m_port->isOpen()) return;
  const QByteArray bytes = m_port->read(kReadBatchBytes);
  if (!bytes.isEmpty() && received) received(bytes.toStdString());
  // The port only signals new bytes; what is left is read at the next turn of the event loop.
  if (m_port->isOpen() && m_port->bytesAvailable() > 0 && !m_readPending) {
    m_readPending = true;
    QTimer::singleShot(0, m_port.get(), [this] { readAvailable(); });
  }
}

void QtSerialPort::watch() {
  if (!m_port->isOpen()) return;
#ifndef _WIN32
  // The line settings of a vanished line cannot be read.
  termios line{};
  if (::tcgetattr(static_cast<int>(m_port->handle()), &line) != 0 && errno == EIO) {
    vanished(std::strerror(EIO));
  }
#endif
}

void QtSerialPort::failed() {
  if (!m_port->isOpen()) return;
  const std::string why = m_port->errorString().toStdString();
  m_port->clearError();
  vanished(why);
}

void QtSerialPort::vanished(const std::string& why) {
  m_watch->stop();
  m_port->close();
  if (lost) lost(why);
}

}  // namespace velimoro::media
