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

namespace {

bool number(const QString &text, int *value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok;
}

} // namespace

QDate storedDay(const QString &day, const QString &month, const QString &year)
{
    int d, m, y;
    if (!number(day, &d) || !number(month, &m) || !number(year, &y))
        return QDate();
    return QDate(y, m, d);
}

QDate periodStart(const Store &store)
{
    return storedDay(store.Start_Day, store.Start_Month, store.Start_Year);
}

QDate periodEnd(const Store &store)
{
    return storedDay(store.End_Day, store.End_Month, store.End_Year);
}

QDate chartDay(const Store &store, int k)
{
    if (k < 1 || k >= int(store.Chart_Dates.size()))
        return QDate();
    const auto &row = store.Chart_Dates[std::size_t(k)];
    return storedDay(row[1], row[2], row[3]);
}

QDateTime transferStamp(const Store &store)
{
    int day, month, year, hour, minute;
    if (!parseDateText(store.Transfer_Date, &day, &month, &year))
        return QDateTime();
    const QStringList time = store.Transfer_Time.split(QLatin1Char(':'));
    if (time.size() < 2 || !number(time[0], &hour) || !number(time[1], &minute) ||
        !QTime::isValid(hour, minute, 0))
        return QDateTime();
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

QString dayName(const QDate &date)
{
    static const char *const names[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    if (!date.isValid())
        return QString();
    // QDate counts Monday as 1 and Sunday as 7.
    return QString::fromLatin1(names[date.dayOfWeek() % 7]);
}

QString Nom_Jour(const QString &dateText)
{
    int d, m, y;
    if (!parseDateText(dateText, &d, &m, &y))
        return QString();
    return dayName(QDate(y, m, d));
}

void Lire_Numero_Serie(Store &store)
{
    QString text;
    for (int i = block::SerialFirst; i <= block::SerialLast; ++i)
        text += QString::number(store.Param_Block[i]);
    store.Serial_Number = text;
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
