#include "link/CommPort.h"

#include "link/PortNames.h"
#include "link/QtSerialLine.h"

#include <QSerialPortInfo>

namespace kvl {

namespace {
SerialLine *g_replacement = nullptr;

QList<SystemPort> systemPorts()
{
    QList<SystemPort> ports;
    for (const QSerialPortInfo &p : QSerialPortInfo::availablePorts())
        ports.append(SystemPort{p.portName(), p.systemLocation(), p.hasVendorIdentifier()});
    return ports;
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
    // Listing the system's ports is slow: only when no list is given.
    const QString override = qEnvironmentVariable("KVL_SERIAL_PORTS");
    return comPortDevice(currentPortSystem(), number, override,
                         override.isEmpty() ? systemPorts() : QList<SystemPort>());
}

} // namespace kvl
