#include "store/Names.h"

#include "store/Store.h"

#include <QDate>
#include <QStringList>

namespace kvl {

QString Nom_Mois(int month)
{
    static const char *const names[] = {" January ", " February ", "  March   ", "  April  ",
                                        "   May   ", "  June   ",  " July ",     "  August ",
                                        "September", " October ",  "November ",  "December "};
    if (month < 1 || month > 12)
        return QString();
    return QString::fromLatin1(names[month - 1]);
}

bool parseDateText(const QString &text, int *day, int *month, int *year)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return false;
    bool ok[3];
    *day = parts[0].trimmed().toInt(&ok[0]);
    *month = parts[1].trimmed().toInt(&ok[1]);
    *year = parts[2].trimmed().toInt(&ok[2]);
    return ok[0] && ok[1] && ok[2] && QDate::isValid(*year, *month, *day);
}

QString Nom_Jour(const QString &dateText)
{
    static const char *const names[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    int d, m, y;
    if (!parseDateText(dateText, &d, &m, &y))
        return QString();
    // QDate counts Monday as 1 and Sunday as 7.
    return QString::fromLatin1(names[QDate(y, m, d).dayOfWeek() % 7]);
}

QString serialNumberOf(const Store &store)
{
    QString text;
    for (int i = block::SerialFirst; i <= block::SerialLast; ++i)
        text += QString::number(store.Param_Block[i]);
    return text;
}

void Lire_Numero_Serie(Store &store)
{
    store.Serial_Number = serialNumberOf(store);
}

QString twoDigitText(int value)
{
    return value < 10 && value >= 0 ? QLatin1Char('0') + QString::number(value) : QString::number(value);
}

QString dateText(int day, int month, int year)
{
    return QStringLiteral("%1 / %2 / %3").arg(day).arg(month).arg(year);
}

} // namespace kvl
