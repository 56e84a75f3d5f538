#include "tables/TableLines.h"

#include "store/Names.h"
#include "tables/EventCodes.h"
#include "tables/Period.h"

#include <QDate>

#include <cmath>

namespace kvl {

namespace {

int monthLength(int month, int year)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return year % 4 == 0 ? 29 : 28;
    default:
        return 31;
    }
}

Stamp stampOf(const qint16 *row)
{
    return Stamp{fieldOf(row, field::Minute), fieldOf(row, field::Hour), fieldOf(row, field::Day),
                 fieldOf(row, field::Month), 2000 + fieldOf(row, field::Year)};
}

QString dayName(int day, int month, int year)
{
    return Nom_Jour(dateText(day, month, year));
}

// Age of row "older" relative to "newer" in days rounded to four decimals,
// as ten-thousandths of a day; nothing when a stamp is no calendar date.
bool ageInTenThousandths(const Stamp &older, const Stamp &newer, qint64 *age)
{
    const QDate a(older.year, older.month, older.day);
    const QDate b(newer.year, newer.month, newer.day);
    if (!a.isValid() || !b.isValid())
        return false;
    const qint64 minutes = (b.toJulianDay() - a.toJulianDay()) * 1440 + (newer.hour - older.hour) * 60 +
                           (newer.minute - older.minute);
    *age = qRound64(double(minutes) * 10000.0 / 1440.0);
    return true;
}

QString levelLabel(LeqSeries kind)
{
    switch (kind) {
    case LeqSeries::Leq:
        return QStringLiteral("   :  Leq Level  =  ");
    case LeqSeries::Leq10:
        return QStringLiteral("   :  Leq10 Level =  ");
    case LeqSeries::Leq1:
        return QStringLiteral("   :  Leq1 Level =  ");
    }
    return QString();
}

QString eventLine(const qint16 *row, const QString &between, const QString &label)
{
    const Stamp s = stampOf(row);
    return QStringLiteral("      The  ") + dayName(s.day, s.month, s.year) + QStringLiteral("  ") +
           twoDigitText(s.day) + QStringLiteral("  ") + Nom_Mois(s.month) + QStringLiteral("  ") +
           QString::number(s.year) + between + twoDigitText(s.hour) + QStringLiteral(" h. ") +
           twoDigitText(s.minute) + QStringLiteral("   :   ") + label + QLatin1Char('.');
}

bool sameDay(const qint16 *a, const qint16 *b)
{
    const Stamp x = stampOf(a), y = stampOf(b);
    return x.day == y.day && x.month == y.month && x.year == y.year;
}

QStringList eventLines(const Store &store, int first, int last, EventList list)
{
    QStringList lines;
    const PeriodRows rows = rowsWithin(first, last, EventTable::rowCount);
    if (rows.isEmpty())
        return lines;
    first = rows.first;
    last = rows.last;
    const QString between =
        list == EventList::Table ? QStringLiteral("   to   ") : QStringLiteral("   at   ");
    for (int i = first; i <= last; ++i) {
        const qint16 *row = store.Event_Records.row(i);
        const int a = fieldOf(row, field::CodeA), b = fieldOf(row, field::CodeB);
        if (!isEvent(a, b))
            continue;
        // The row before counts even when it was no event and gave no line.
        if (i != first && !sameDay(row, store.Event_Records.row(i - 1)))
            lines << QString();
        lines << eventLine(row, between, eventLabel(a, b, store.Device_Version, list));
    }
    return lines;
}

} // namespace

QString leqLevelText(int field7, int field8)
{
    // A field 8 other than 0 or 1 is written as the hundreds it stands for.
    const QString hundreds = field8 == 0 ? QStringLiteral(" ") : QString::number(field8);
    return hundreds + twoDigitText(field7);
}

Stamp minusMinutes(Stamp s, int minutes)
{
    s.minute -= minutes;
    if (s.minute < 0) {
        s.minute += 60;
        s.hour -= 1;
    }
    if (s.hour < 0) {
        s.hour += 24;
        s.day -= 1;
    }
    if (s.day < 1) {
        s.month -= 1;
        if (s.month < 1) {
            s.month = 12;
            s.year -= 1;
        }
        s.day = monthLength(s.month, s.year);
    }
    return s;
}

Stamp leqStamp(const LeqTable &table, int row)
{
    return stampOf(table.row(row));
}

Stamp leqIntervalStart(const LeqTable &table, int row, LeqSeries kind)
{
    const Stamp end = stampOf(table.row(row));
    Stamp start = minusMinutes(end, seriesMinutes(kind));
    if (kind != LeqSeries::Leq1 && row > 1) {
        const Stamp previous = stampOf(table.row(row - 1));
        qint64 age = 0;
        // Adjacent to the previous record: the interval starts where it ended.
        if (ageInTenThousandths(previous, end, &age) && age < 70) {
            start = end;
            start.hour = previous.hour;
            start.minute = previous.minute;
        }
    }
    return start;
}

QStringList leqLines(const LeqTable &table, int first, int last, LeqSeries kind)
{
    QStringList lines;
    const PeriodRows rows = rowsWithin(first, last, LeqTable::rowCount);
    if (rows.isEmpty())
        return lines;
    first = rows.first;
    last = rows.last;
    for (int i = first; i <= last; ++i) {
        const qint16 *row = table.row(i);
        const Stamp end = stampOf(row);
        const Stamp start = leqIntervalStart(table, i, kind);
        if (i != first) {
            const Stamp prev = stampOf(table.row(i - 1));
            if (start.day != prev.day || start.month != prev.month || start.year != prev.year)
                lines << QString();
        }
        lines << QStringLiteral("        The  ") + dayName(start.day, start.month, start.year) +
                     QStringLiteral("  ") + twoDigitText(start.day) + QStringLiteral("  ") +
                     Nom_Mois(start.month) + QStringLiteral("  ") + QString::number(start.year) +
                     QStringLiteral("  from  ") + twoDigitText(start.hour) + QStringLiteral(" h. ") +
                     twoDigitText(start.minute) + QStringLiteral("  to  ") + twoDigitText(end.hour) +
                     QStringLiteral(" h. ") + twoDigitText(end.minute) + levelLabel(kind) +
                     leqLevelText(fieldOf(row, field::LevelUnits), fieldOf(row, field::LevelHundreds)) +
                     QStringLiteral(" dB.");
    }
    return lines;
}

QStringList Lignes_Tableau_Leq(const Store &store)
{
    return leqLines(store.Leq_Records, store.Period_First, store.Period_Last, LeqSeries::Leq);
}

QStringList Lignes_Tableau_Leq10(const Store &store)
{
    return leqLines(store.Leq10_Records, 1, store.Leq10_Count - 1, LeqSeries::Leq10);
}

QStringList Lignes_Tableau_Leq1(const Store &store)
{
    return leqLines(store.Leq1_Records, 1, store.Leq1_Count - 1, LeqSeries::Leq1);
}

void Separer_Leq1_Leq10(Store &store)
{
    store.Leq1_Count = 1;
    store.Leq10_Count = 1;
    const PeriodRows rows = store.periodRows(LeqTable::rowCount);
    if (rows.isEmpty())
        return;
    for (int i = rows.first; i <= rows.last; ++i) {
        const qint16 *row = store.Leq_Records.row(i);
        LeqTable *target = nullptr;
        qint32 *count = nullptr;
        if (fieldOf(row, field::Kind) == KindLeq1) {
            target = &store.Leq1_Records;
            count = &store.Leq1_Count;
        } else if (fieldOf(row, field::Kind) == KindLeq10) {
            target = &store.Leq10_Records;
            count = &store.Leq10_Count;
        } else {
            continue;
        }
        std::copy(row, row + LeqTable::fieldCount, target->row(*count));
        ++*count;
    }
}

QStringList eventTableLines(const Store &store)
{
    return eventLines(store, store.Period_First, store.Period_Last, EventList::Table);
}

ListText Lignes_Evenements(const Store &store)
{
    const PeriodRows rows = scanPeriod(store.Event_Records, EventTable::rowCount, storedPeriod(store));
    ListText text;
    if (rows.isEmpty()) {
        text.lines << QString() << QString() << messageText(Message::EmptyChartEvents);
        text.message = true;
        return text;
    }
    text.lines = eventLines(store, rows.first, rows.last, EventList::Chart);
    return text;
}

ListText emptyPeriodList(const QString &message)
{
    ListText text;
    text.lines << QString() << QString() << QString() << QString() << QString() << message;
    text.message = true;
    return text;
}

} // namespace kvl
