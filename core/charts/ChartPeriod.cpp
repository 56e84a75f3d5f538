#include "charts/ChartPeriod.h"

#include "store/Layout.h"
#include "store/Names.h"
#include "store/RecordDate.h"

#include <QDate>

#include <cmath>
#include <limits>
#include <tuple>

namespace kvl {

namespace {

// One minute in days cut, not rounded, to seven decimals. Positions (and the
// reference diagrams) depend on it, so it is not 1/1440.
constexpr double MinuteInDays = 0.0006944;

// The chart's own month length: every year divisible by 4 is a leap year.
int chartMonthLength(int month, int year)
{
    switch (month) {
    case 2:
        return year % 4 == 0 ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

// Day + days with at most one roll-over into the next month, which is all
// a chart of up to seven days needs.
ChartDate addDays(ChartDate date, int days)
{
    date.day += days;
    const int length = chartMonthLength(date.month, date.year);
    if (date.day > length) {
        date.day -= length;
        if (++date.month == 13) {
            date.month = 1;
            ++date.year;
        }
    }
    return date;
}

} // namespace

ChartDate chartEndDate(ChartDate start, int days)
{
    return addDays(start, days);
}

QList<ChartDate> chartDayTable(ChartDate start, int days)
{
    QList<ChartDate> table{start};
    for (int k = 2; k <= days; ++k)
        table.append(addDays(table.last(), 1));
    table.append(chartEndDate(start, days));
    return table;
}

void storeChartPeriod(Store &store, ChartDate start, int days)
{
    store.Chart_Days = qint16(days);
    store.Chart_Days_Text = QString::number(days);
    const QList<ChartDate> table = chartDayTable(start, days);
    const ChartDate end = table.last();
    store.Start_Day = QString::number(start.day);
    store.Start_Month = QString::number(start.month);
    store.Start_Year = QString::number(start.year);
    store.End_Day = QString::number(end.day);
    store.End_Month = QString::number(end.month);
    store.End_Year = QString::number(end.year);
    // Eight rows: the longest chart has seven days and an end date.
    for (int k = 1; k <= table.size() && k < int(store.Chart_Dates.size()); ++k) {
        store.Chart_Dates[k][1] = QString::number(table[k - 1].day);
        store.Chart_Dates[k][2] = QString::number(table[k - 1].month);
        store.Chart_Dates[k][3] = QString::number(table[k - 1].year);
    }
}

int minutesPerUnit(int chartDays)
{
    switch (chartDays) {
    case 1:
        return 60;
    case 3:
        return 180;
    case 7:
        return 360;
    default:
        return 0;
    }
}

ChartOrigin chartOrigin(const Store &store)
{
    ChartOrigin origin;
    const QDate start = periodStart(store);
    if (start.isValid()) {
        origin.julianDay = start.toJulianDay();
        origin.valid = true;
    }
    origin.unitMinutes = minutesPerUnit(store.Chart_Days);
    return origin;
}

double chartX(const ChartOrigin &origin, int minute, int hour, int day, int month, int year2)
{
    qint16 stamp[RecordFields] = {};
    stamp[field::Minute - 1] = qint16(minute);
    stamp[field::Hour - 1] = qint16(hour);
    stamp[field::Day - 1] = qint16(day);
    stamp[field::Month - 1] = qint16(month);
    stamp[field::Year - 1] = qint16(year2);
    const QDate date = recordDate(stamp);
    if (!origin.valid || origin.unitMinutes == 0 || !date.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    const qint64 days = date.toJulianDay() - origin.julianDay;
    const double d = double(days) + (hour * 60 + minute - 12 * 60) / 1440.0;
    // The day difference goes through its seven-decimal text, like the constant.
    const double written = QString::number(d, 'f', 7).toDouble();
    return written / MinuteInDays / origin.unitMinutes + 12;
}

double chartX(const Store &store, int minute, int hour, int day, int month, int year2)
{
    return chartX(chartOrigin(store), minute, hour, day, month, year2);
}

double recordX(const ChartOrigin &origin, const qint16 *row)
{
    return chartX(origin, row[field::Minute - 1], row[field::Hour - 1], row[field::Day - 1],
                  row[field::Month - 1], row[field::Year - 1]);
}

void Periode_Graphique(Store &store, int rows)
{
    store.Period_First = 0;
    store.Period_Last = 0;
    const QDate startDay = periodStart(store), endDay = periodEnd(store);
    if (!startDay.isValid() || !endDay.isValid())
        return;
    const auto start = std::make_tuple(startDay.year(), startDay.month(), startDay.day());
    const auto end = std::make_tuple(endDay.year(), endDay.month(), endDay.day());
    rows = qBound(0, rows, LeqTable::rowCount);
    qint32 first = 0, last = 0;
    for (int i = 1; i <= rows; ++i) {
        const qint16 *r = store.Leq_Records.row(i);
        const auto date =
            std::make_tuple(2000 + r[field::Year - 1], int(r[field::Month - 1]), int(r[field::Day - 1]));
        const int hour = r[field::Hour - 1];
        const bool inside =
            (date == start && hour >= 12) || (date > start && date < end) || (date == end && hour < 12);
        if (inside && first == 0)
            first = i;
        if (!inside && first != 0) {
            last = i - 1;
            break;
        }
    }
    if (first != 0 && last == 0)
        last = rows;
    store.Period_First = first;
    store.Period_Last = last;
}

} // namespace kvl
