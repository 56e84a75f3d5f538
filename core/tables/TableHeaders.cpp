#include "tables/TableHeaders.h"

#include "store/Names.h"
#include "store/Store.h"
#include "tables/Firmware.h"
#include "tables/Period.h"

namespace kvl {

namespace {

QString newerFamilyLine(const Store &store)
{
    const QString model =
        store.Device_Version == VersionKvl36 ? QStringLiteral("KVL 36") : QStringLiteral("KVL 24-2");
    return model + QStringLiteral(" - FirmWare Version : ") + firmwareText(store) +
           QStringLiteral(" - Serial Number : ") + store.Serial_Number;
}

} // namespace

QString serialNumberLine(const Store &store, TableWindow window)
{
    const QString v35 = QStringLiteral("KVL 24-2 - FirmWare Version : 3.5 - Serial Number : ");
    switch (window) {
    case TableWindow::Events:
        if (store.Device_Version == Version35)
            return v35 + store.Serial_Number;
        if (store.Device_Version == Version40)
            return QStringLiteral("KVL 24-2 - FirmWare Version : 4.0 - Serial number : ") +
                   store.Serial_Number;
        return newerFamilyLine(store);
    case TableWindow::Leq:
        // This window only shows firmware 3.5 and 4.0 data.
        if (store.Device_Version == Version35)
            return v35 + store.Serial_Number;
        return QStringLiteral("KVL 24-2 - Firmware Version : 4.0 - Serial Number : ") + store.Serial_Number;
    case TableWindow::LeqV5:
        return newerFamilyLine(store);
    }
    return QString();
}

QString leqPeriodText(const Store &store)
{
    QString text = dayName(periodStart(store)) + QLatin1Char(' ') + store.Start_Day + QLatin1Char(' ') +
                   Nom_Mois(store.Start_Month.toInt()) + QLatin1Char(' ') + store.Start_Year;
    if (isSingleDay(store))
        return text + QStringLiteral(" :");
    return text + QStringLiteral(" to ") + dayName(periodEnd(store)) + QLatin1Char(' ') + store.End_Day +
           QLatin1Char(' ') + Nom_Mois(store.End_Month.toInt()) + QLatin1Char(' ') + store.End_Year +
           QStringLiteral(" :");
}

QString eventsHeader(const Store &store)
{
    QString text = QStringLiteral("Events Chart from ") + store.Start_Day + QLatin1Char(' ') +
                   Nom_Mois(store.Start_Month.toInt()) + QLatin1Char(' ') + store.Start_Year;
    if (isSingleDay(store))
        return text + QStringLiteral(" :");
    return text + QStringLiteral(" to ") + store.End_Day + QLatin1Char(' ') +
           Nom_Mois(store.End_Month.toInt()) + QLatin1Char(' ') + store.End_Year + QStringLiteral(" :");
}

QString leqHeader(const Store &store)
{
    return QStringLiteral("Leq Value Chart ") + leqPeriodText(store);
}

QString leq10Header(const Store &store)
{
    return QStringLiteral("Leq10 value chart ") + leqPeriodText(store);
}

QString leq1Header(const Store &store)
{
    return QStringLiteral("Leq1 value chart ") + leqPeriodText(store);
}

} // namespace kvl
