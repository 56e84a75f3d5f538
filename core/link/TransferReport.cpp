#include "link/TransferReport.h"

#include "link/Decode.h"
#include "link/SerialLine.h"
#include "link/Transfer.h"
#include "store/Store.h"

#include <QStringList>

namespace kvl {

namespace {

// The version as the port selection names it.
QString versionChoice(int version)
{
    switch (version) {
    case Version35:
        return QStringLiteral("Version 3.5");
    case Version40:
        return QStringLiteral("Version 4.0");
    case VersionKvl36:
        return QStringLiteral("KVL36 V1.X");
    default:
        return QStringLiteral("Version 5.X");
    }
}

} // namespace

QString transferErrorDetail(const TransferFacts &f)
{
    const TransferVariant variant = transferVariant(f.version);
    QStringList lines;
    if (f.portPath.isEmpty())
        lines << QStringLiteral("COM %1 is no serial port of this computer.").arg(f.comPort);
    else
        lines << QStringLiteral("COM %1 is %2, at %3 baud (%4).")
                     .arg(f.comPort)
                     .arg(f.portPath)
                     .arg(parseLineSettings(variant.dataSettings).baud)
                     .arg(variant.dataSettings);
    const bool parameters =
        f.outcome == TransferOutcome::ParameterIncomplete || f.outcome == TransferOutcome::ParameterNoAnswer;
    const QString what =
        parameters ? QStringLiteral("the parameter answer") : QStringLiteral("the memory image");
    if (f.outcome == TransferOutcome::ParameterIncomplete || f.outcome == TransferOutcome::ImageIncomplete) {
        const int expected = parameters ? ParamAnswerSize : variant.imageSize;
        lines << QStringLiteral("Received %1 of the %2 bytes of %3.").arg(f.received).arg(expected).arg(what);
    } else {
        lines << QStringLiteral("Nothing was received in answer to the request for %1.").arg(what);
    }
    if (!f.reason.isEmpty())
        lines << f.reason;
    lines << QStringLiteral("Check the cable and the USB adapter, that the KVL is switched on, and that %1 "
                            "chosen in Port Selection is the firmware of this KVL.")
                 .arg(versionChoice(f.version));
    return lines.join(QLatin1Char('\n'));
}

} // namespace kvl
