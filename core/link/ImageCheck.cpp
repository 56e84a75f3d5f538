#include "link/ImageCheck.h"

#include "link/Decode.h"
#include "store/Layout.h"
#include "store/RecordDate.h"
#include "store/Store.h"
#include "tables/Firmware.h"

namespace kvl {

namespace {

bool isBcd(uchar b)
{
    return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}

// A record the store will keep once decoded.
bool validDate(const uchar *record)
{
    qint16 row[RecordFields];
    for (int f = 0; f < RecordFields; ++f)
        row[f] = qint16(bcd(record[f]));
    return isValidRecord(row, RecordCheck::StampAndValues);
}

// Every dated Leq record holds a level of 0..199 dB in BCD.
bool levelsInRange(const uchar *leq, int records)
{
    for (int r = 0; r < records; ++r) {
        const uchar *record = leq + r * 8;
        if (!validDate(record))
            continue;
        const uchar units = record[field::LevelUnits - 1];
        const uchar hundreds = record[field::LevelHundreds - 1];
        if (!isBcd(units) || hundreds > 1)
            return false;
    }
    return true;
}

bool serialDigitsValid(const uchar *serial)
{
    for (int i = 0; i <= block::SerialLast - block::SerialFirst; ++i)
        if (!isBcd(serial[i]))
            return false;
    return true;
}

} // namespace

ImageFault checkImage(const QByteArray &image, int version)
{
    const VersionLayout layout = versionLayout(version);
    if (layout.imageSize == 0 || image.size() < layout.imageSize)
        return ImageFault::Level;
    const auto *bytes = reinterpret_cast<const uchar *>(image.constData());
    if (isVersion5Family(version)) {
        const uchar *params = bytes + layout.paramArea;
        if (firmwareDigit(params[block::FirmwareMajor]) < 0 ||
            firmwareDigit(params[block::FirmwareMinor]) < 0)
            return ImageFault::Firmware;
    }
    // Firmware 3.5 sends its parameters in a second answer.
    if (layout.paramArea != 0 && !serialDigitsValid(bytes + layout.paramArea + block::SerialFirst))
        return ImageFault::SerialNumber;
    if (!levelsInRange(bytes, layout.leqRows))
        return ImageFault::Level;
    return ImageFault::None;
}

ImageFault checkParameterAnswer(const QByteArray &answer)
{
    if (answer.size() < ParamAnswerSize)
        return ImageFault::SerialNumber;
    const auto *bytes = reinterpret_cast<const uchar *>(answer.constData());
    return serialDigitsValid(bytes + block::SerialFirst - block::RawCopyFirst) ? ImageFault::None
                                                                               : ImageFault::SerialNumber;
}

QString imageFaultText(ImageFault fault)
{
    switch (fault) {
    case ImageFault::None:
        return QString();
    case ImageFault::Firmware:
        return QStringLiteral("The firmware digits of the received data are not those of a KVL.");
    case ImageFault::SerialNumber:
        return QStringLiteral("The serial number in the received data is not made of digits.");
    case ImageFault::Level:
        return QStringLiteral("The received data hold levels no KVL can measure.");
    }
    return QString();
}

} // namespace kvl
