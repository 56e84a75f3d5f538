#pragma once

// "COM n" to a device, per system, as a pure function of what the system
// lists: tested here for all three whatever system builds it.

#include <QList>
#include <QString>
#include <QStringList>

namespace kvl {

enum class PortSystem { Windows, MacOS, Linux };

// The system this program was built for.
PortSystem currentPortSystem();

// A serial port as the system lists it.
struct SystemPort
{
    QString name;     // "ttyUSB0", "cu.usbserial-1410", "COM3"
    QString location; // "/dev/ttyUSB0"
    bool usb = false; // a USB adapter (it has a vendor identifier)
};

// The device of "COM n" (n from 1): the n-th path of `override` (the
// comma-separated KVL_SERIAL_PORTS) when it is not empty; else on Windows
// the port named COMn, on macOS the n-th /dev/cu.* port and on Linux the
// n-th port, USB adapters first, each in name order. Empty when none.
QString comPortDevice(PortSystem system, int number, const QString &override, QList<SystemPort> ports);

} // namespace kvl
