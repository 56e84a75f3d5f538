#include "link/QtSerialLine.h"

#include "link/CommPort.h"

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace kvl {

QtSerialLine::QtSerialLine(QObject *parent) : QObject(parent)
{
    m_settings = parseLineSettings(QStringLiteral("9600,N,8,1"));
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialLine::drain);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialLine::onError);
}

QtSerialLine::~QtSerialLine()
{
    close();
}

void QtSerialLine::setSettings(const QString &settings)
{
    const LineSettings parsed = parseLineSettings(settings);
    if (!parsed.ok)
        return;
    m_settings = parsed;
    if (m_port.isOpen())
        applySettings();
}

// A line that cannot do a speed or a signal (a pseudo-terminal, some
// adapters) still carries the bytes, so failures here are not errors.
void QtSerialLine::applySettings()
{
    m_port.setBaudRate(m_settings.baud);
    switch (m_settings.parity) {
    case 'E':
        m_port.setParity(QSerialPort::EvenParity);
        break;
    case 'O':
        m_port.setParity(QSerialPort::OddParity);
        break;
    case 'M':
        m_port.setParity(QSerialPort::MarkParity);
        break;
    case 'S':
        m_port.setParity(QSerialPort::SpaceParity);
        break;
    default:
        m_port.setParity(QSerialPort::NoParity);
        break;
    }
    m_port.setDataBits(QSerialPort::DataBits(m_settings.dataBits));
    m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.clearError();
}

void QtSerialLine::setDtr(bool on)
{
    m_dtr = on;
    if (m_port.isOpen()) {
        m_port.setDataTerminalReady(on);
        m_port.clearError();
    }
}

bool QtSerialLine::open()
{
    if (m_port.isOpen())
        return true;
    const QString name = portDeviceName(m_number);
    if (name.isEmpty())
        return false;
    m_port.setPortName(name);
    m_buffer.clear();
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_port.clearError();
        return false;
    }
    m_lost = false;
    applySettings();
    m_port.setDataTerminalReady(m_dtr);
    // What the system kept from before the port was ours belongs to no
    // answer of this attempt.
    m_port.clear(QSerialPort::Input);
    m_port.clearError();
    return true;
}

void QtSerialLine::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    m_buffer.clear();
}

void QtSerialLine::drain()
{
    if (!m_port.isOpen())
        return;
    m_buffer += m_port.readAll();
#ifdef Q_OS_UNIX
    // A hung-up line (adapter unplugged, the far end of a pseudo-terminal
    // closed) does not always raise an error in QSerialPort; ask the system.
    pollfd p{int(m_port.handle()), POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        markLost();
#endif
}

void QtSerialLine::markLost()
{
    m_lost = true;
    m_port.close();
    m_port.clearError();
    m_buffer.clear();
}

int QtSerialLine::inBufferCount()
{
    drain();
    return int(m_buffer.size());
}

void QtSerialLine::clearInput()
{
    drain();
    m_buffer.clear();
}

QByteArray QtSerialLine::readAll()
{
    drain();
    QByteArray out;
    out.swap(m_buffer);
    return out;
}

bool QtSerialLine::writeByte(quint8 byte)
{
    if (!m_port.isOpen())
        return false;
    const char c = char(byte);
    if (m_port.write(&c, 1) != 1)
        return false;
    m_port.flush();
    return true;
}

void QtSerialLine::onError(QSerialPort::SerialPortError error)
{
    // Unplugged adapter or the other end hung up: the port is gone.
    if (m_port.isOpen() &&
        (error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError)) {
        m_lost = true;
        m_port.close();
        m_buffer.clear();
    }
}

} // namespace kvl
