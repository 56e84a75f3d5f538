#include "link/PortNames.h"

#include <algorithm>

namespace kvl {

namespace {

bool isUsb(const SystemPort &p)
{
    return p.usb || p.name.startsWith(QLatin1String("ttyUSB")) || p.name.startsWith(QLatin1String("ttyACM"));
}

// USB adapters first, then the others; shorter names first so that
// ttyS2 comes before ttyS10.
void sortPorts(QList<SystemPort> &ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const SystemPort &a, const SystemPort &b) {
        if (isUsb(a) != isUsb(b))
            return isUsb(a);
        if (a.name.size() != b.name.size())
            return a.name.size() < b.name.size();
        return a.name < b.name;
    });
}

} // namespace

PortSystem currentPortSystem()
{
#if defined(Q_OS_WIN)
    return PortSystem::Windows;
#elif defined(Q_OS_MACOS)
    return PortSystem::MacOS;
#else
    return PortSystem::Linux;
#endif
}

QString comPortDevice(PortSystem system, int number, const QString &override, QList<SystemPort> ports)
{
    if (number < 1)
        return QString();
    if (!override.isEmpty()) {
        const QStringList paths = override.split(QLatin1Char(','));
        return number <= paths.size() ? paths[number - 1].trimmed() : QString();
    }
    switch (system) {
    case PortSystem::Windows:
        return QStringLiteral("COM%1").arg(number);
    case PortSystem::MacOS:
        // The call-out devices; their tty.* twins wait for a carrier.
        ports.erase(
            std::remove_if(ports.begin(), ports.end(),
                           [](const SystemPort &p) { return !p.name.startsWith(QLatin1String("cu.")); }),
            ports.end());
        break;
    case PortSystem::Linux:
        break;
    }
    sortPorts(ports);
    return number <= ports.size() ? ports[number - 1].location : QString();
}

} // namespace kvl
