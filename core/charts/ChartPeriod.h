#pragma once

// The chart period: the dialogs' end date and chart day table, the chart
// origin and the position of a time stamp on the time axis, and the period
// selection of the chart window.

#include "store/Store.h"

#include <QList>

namespace kvl {

struct ChartDate
{
    int day = 0, month = 0, year = 0; // four-digit year
    bool operator==(const ChartDate &o) const { return day == o.day && month == o.month && year == o.year; }
};

// The date `days` (1..7) after start, with the chart's month-length rule:
// every year divisible by 4 is a leap year.
ChartDate chartEndDate(ChartDate start, int days);

// The chart day table: start, the following days, then the end date
// (days + 1 entries).
QList<ChartDate> chartDayTable(ChartDate start, int days);

// Writes Chart_Days, Chart_Days_Text, Start_*, End_* and rows 1..days+1 of
// Chart_Dates for a chart of `days` days from start (rows beyond untouched).
void storeChartPeriod(Store &store, ChartDate start, int days);

// Minutes per horizontal unit for a chart length: 60, 180 or 360; 0 for any
// other length.
int minutesPerUnit(int chartDays);

// Date_Origine (start day at 12:00) and the minutes per unit of the stored
// chart, read once for a whole series.
struct ChartOrigin
{
    qint64 julianDay = 0;
    int unitMinutes = 0;
    bool valid = false; // false when the start texts are no date
};
ChartOrigin chartOrigin(const Store &store);

// X of a time stamp (year within the century) on a chart of the stored
// period: day difference from Date_Origine written with seven decimals,
// divided by 0.0006944 and by the minutes per unit, plus 12. NaN when the
// stamp or the start is no date and time, or the chart length is unknown.
double chartX(const ChartOrigin &origin, int minute, int hour, int day, int month, int year2);
double chartX(const Store &store, int minute, int hour, int day, int month, int year2);
// X of a record row (field 1 first).
double recordX(const ChartOrigin &origin, const qint16 *row);

// Periode_Graphique: Period_First and Period_Last of Leq_Records rows
// 1..rows for the stored chart period (start day 12:00 to end day 12:00).
void Periode_Graphique(Store &store, int rows);

} // namespace kvl
