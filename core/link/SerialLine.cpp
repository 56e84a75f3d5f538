#include "link/SerialLine.h"

#include <QStringList>

namespace kvl {

LineSettings parseLineSettings(const QString &settings)
{
    LineSettings s;
    const QStringList parts = settings.split(QLatin1Char(','));
    if (parts.size() != 4)
        return s;
    bool okBaud = false, okData = false, okStop = false;
    s.baud = parts[0].trimmed().toInt(&okBaud);
    const QString parity = parts[1].trimmed().toUpper();
    s.dataBits = parts[2].trimmed().toInt(&okData);
    s.stopBits = parts[3].trimmed().toInt(&okStop);
    if (parity.size() != 1 || !QStringLiteral("NEOMS").contains(parity))
        return s;
    s.parity = parity[0].toLatin1();
    s.ok = okBaud && okData && okStop && s.baud > 0 && s.dataBits >= 5 && s.dataBits <= 8 &&
           (s.stopBits == 1 || s.stopBits == 2);
    return s;
}

} // namespace kvl
