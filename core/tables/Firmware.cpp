#include "tables/Firmware.h"

#include "store/Store.h"

namespace kvl {

int firmwareDigit(int byte)
{
    if ((byte & 0x0F) != 0x0C || byte < 0 || byte > 255)
        return -1;
    const int reversed = (byte >> 4) & 0x0F;
    int digit = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (reversed & (1 << bit))
            digit |= 1 << (3 - bit);
    return digit <= 9 ? digit : -1;
}

QString firmwareText(int majorByte, int minorByte)
{
    const int major = firmwareDigit(majorByte);
    const int minor = firmwareDigit(minorByte);
    if (major < 0 || minor < 0)
        return QStringLiteral("5.X");
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

QString firmwareText(const Store &store)
{
    return firmwareText(store.Param_Block[block::FirmwareMajor], store.Param_Block[block::FirmwareMinor]);
}

} // namespace kvl
