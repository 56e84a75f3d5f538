#include "params/Firmware.h"

namespace kvl {

int firmwareDigit(int code)
{
    static const int codes[10] = {12, 140, 76, 204, 44, 172, 108, 236, 28, 156};
    for (int digit = 0; digit < 10; ++digit)
        if (codes[digit] == code)
            return digit;
    return -1;
}

QString firmwareText(const ParamBlockTable &block)
{
    const int major = firmwareDigit(block[160]);
    const int minor = firmwareDigit(block[161]);
    if (major < 0 || minor < 0)
        return QStringLiteral("5.X");
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

} // namespace kvl
