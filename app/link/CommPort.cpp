#include "link/CommPort.h"

#include "link/QtSerialLine.h"

#include <QSerialPortInfo>
#include <QStringList>

#include <algorithm>

namespace kvl {

namespace {
SerialLine *g_replacement = nullptr;

// USB adapters first, then the others, each in name order.
QStringList systemPorts()
{
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    auto isUsb = [](const QSerialPortInfo &p) {
        return p.hasVendorIdentifier() || p.portName().startsWith(QLatin1String("ttyUSB")) ||
               p.portName().startsWith(QLatin1String("ttyACM"));
    };
    std::stable_sort(ports.begin(), ports.end(), [&](const QSerialPortInfo &a, const QSerialPortInfo &b) {
        if (isUsb(a) != isUsb(b))
            return isUsb(a);
        if (a.portName().size() != b.portName().size())
            return a.portName().size() < b.portName().size();
        return a.portName() < b.portName();
    });
    QStringList names;
    for (const QSerialPortInfo &p : ports)
        names << p.systemLocation();
    return names;
}
} // namespace

SerialLine &MSComm1()
{
    if (g_replacement)
        return *g_replacement;
    static QtSerialLine line;
    return line;
}

void setMSComm1(SerialLine *replacement)
{
    g_replacement = replacement;
}

QString portDeviceName(int number)
{
    if (number < 1)
        return QString();
    const QByteArray list = qgetenv("KVL_SERIAL_PORTS");
    if (!list.isEmpty()) {
        const QStringList paths = QString::fromLocal8Bit(list).split(QLatin1Char(','));
        return number <= paths.size() ? paths[number - 1].trimmed() : QString();
    }
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QStringList ports = systemPorts();
    return number <= ports.size() ? ports[number - 1] : QString();
#endif
}

} // namespace kvl
