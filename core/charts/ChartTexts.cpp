#include "charts/ChartTexts.h"

#include "store/Layout.h"
#include "store/Names.h"
#include "tables/Firmware.h"

namespace kvl {

namespace {

QString dayInWords(const QString &day, const QString &month, const QString &year)
{
    return Nom_Jour(day + QStringLiteral(" / ") + month + QStringLiteral(" / ") + year) + QLatin1Char(' ') +
           day + QLatin1Char(' ') + Nom_Mois(month.toInt()) + QLatin1Char(' ') + year;
}

QString dB(int level)
{
    return QString::number(level) + QStringLiteral(" dB.");
}

QString hrs(int hour)
{
    return QString::number(hour) + QStringLiteral(" hrs.");
}

} // namespace

QString chartHeader(const Store &store)
{
    switch (store.Device_Version) {
    case Version35:
        return QStringLiteral("KVL 24-2 - FirmWare Version : 3.5 - Serial Number : ") + store.Serial_Number;
    case Version40:
        return QStringLiteral("KVL 24-2 - FirmWare Version : 4.0 - Serial Number : ") + store.Serial_Number;
    default:
        break;
    }
    const QString model = store.Device_Version == VersionKvl36
                              ? QStringLiteral("KVL 36 - FirmWare Version : ")
                              : QStringLiteral("KVL 24-2 - FirmWare Version : ");
    return model + firmwareText(store) + QStringLiteral(" - Serial Number : ") + store.Serial_Number;
}

QString chartDateLine(const Store &store)
{
    return QStringLiteral("Leq Diagram from : ") +
           dayInWords(store.Start_Day, store.Start_Month, store.Start_Year) +
           QStringLiteral(" at midday to  ") + dayInWords(store.End_Day, store.End_Month, store.End_Year) +
           QStringLiteral(" at midday.");
}

LevelRange levelRange(const LeqTable &table, int first, int last)
{
    LevelRange range;
    const PeriodRows rows = rowsWithin(first, last, LeqTable::rowCount);
    if (rows.isEmpty())
        return range;
    for (int row = rows.first; row <= rows.last; ++row) {
        const int level = leqLevel(table.row(row));
        if (level < range.lowest)
            range.lowest = level;
        if (level > range.highest)
            range.highest = level;
    }
    return range;
}

QString minimumText(const QString &series, int level)
{
    return series + QStringLiteral(" Level Minimum = ") + dB(level);
}

QString maximumText(const QString &series, int level)
{
    return series + QStringLiteral(" Level Maximum = ") + dB(level);
}

ThresholdTexts thresholdTextsV4(const Store &store)
{
    ThresholdTexts t;
    t.jour = QStringLiteral("Leq Level Day = ") + dB(store.Seuil_Jour);
    t.nuit = QStringLiteral(" Leq Level Night = ") + dB(store.Seuil_Nuit);
    t.heureJourNuit = QStringLiteral("Day to Night = ") + hrs(store.Heure_Jour_Nuit);
    t.heureNuitJour = QStringLiteral("Night to Day = ") + hrs(store.Heure_Nuit_Jour);
    return t;
}

bool thresholdLabelsShown(const Store &store)
{
    return store.Seuils_Prets && store.Parametres_Constants;
}

bool thresholdsChangedShown(const Store &store)
{
    return store.isVersion5Family() && store.Seuils_Prets && !store.Parametres_Constants;
}

QString thresholdsChangedText()
{
    return QStringLiteral("The thresholds changed during the period: see the green staircase.");
}

ThresholdTexts thresholdTextsV5(const Store &store)
{
    ThresholdTexts t;
    const int row = store.Premier_Parametre;
    if (row >= 1 && row <= HistoryTable::rowCount) {
        t.heureJourNuit =
            QStringLiteral("Day to Night Hour = ") + hrs(store.Param_History(row, history::HourDayNight));
        t.heureNuitJour =
            QStringLiteral("Night to Day Hour = ") + hrs(store.Param_History(row, history::HourNightDay));
        t.jour =
            QStringLiteral("Leq Level Day = ") + dB(recordLevel(store.Param_History, row, history::LeqDay));
        t.jourFenetre = QStringLiteral("Leq Level Day Open = ") +
                        dB(recordLevel(store.Param_History, row, history::LeqDayOpen));
        t.nuit = QStringLiteral("Leq Level Night = ") +
                 dB(recordLevel(store.Param_History, row, history::LeqNight));
        t.nuitFenetre = QStringLiteral("Leq Level Night Open = ") +
                        dB(recordLevel(store.Param_History, row, history::LeqNightOpen));
        return t;
    }
    t.heureJourNuit = QStringLiteral("Day to Night = ") + hrs(store.Param_Block[block::HourDayNight]);
    t.heureNuitJour = QStringLiteral("Night to Day = ") + hrs(store.Param_Block[block::HourNightDay]);
    t.jour = QStringLiteral("Leq Level Day = ") + dB(blockLevel(store.Param_Block, block::LeqDay));
    t.jourFenetre =
        QStringLiteral("Leq Level Day Open = ") + dB(blockLevel(store.Param_Block, block::LeqDayOpen));
    t.nuit = QStringLiteral("Leq Level Night = ") + dB(blockLevel(store.Param_Block, block::LeqNight));
    t.nuitFenetre =
        QStringLiteral("Leq Level Night Open = ") + dB(blockLevel(store.Param_Block, block::LeqNightOpen));
    return t;
}

} // namespace kvl
