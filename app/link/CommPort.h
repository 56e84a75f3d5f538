#pragma once

// The program's single serial line (the main window's serial control) and
// the mapping of "COM n" to a device.

#include "link/SerialLine.h"

#include <QString>

namespace kvl {

// The serial line every transfer and the port selection use.
SerialLine &MSComm1();

// Installs a replacement (tests); nullptr restores the real line. Not owned.
void setMSComm1(SerialLine *replacement);

// The device behind "COM n": on Windows the port named COMn; elsewhere the
// n-th path of the environment variable KVL_SERIAL_PORTS (comma-separated)
// when it is set, else the n-th serial port of the system, USB adapters
// first. Empty when there is none.
QString portDeviceName(int number);

} // namespace kvl
