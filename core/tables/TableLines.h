#pragma once

#include "store/Messages.h"
#include "store/Names.h"
#include "store/Store.h"

#include <QStringList>

namespace kvl {

// Text of a list: its lines, and whether they are the empty-period message
// (shown in 12-point bold instead of 8 points).
struct ListText
{
    QStringList lines;
    bool message = false;
};

// Three-character level: hundreds from field 8 ("1", or a blank for 0), then
// field 7 on two digits.
QString leqLevelText(int field7, int field8);

// Interval start of a Leq record: its stamp minus the given minutes, borrowing
// across hour, day, month (with the month's length) and year.
struct Stamp
{
    int minute = 0, hour = 0, day = 0, month = 0, year = 0; // four-digit year
};
Stamp minusMinutes(Stamp stamp, int minutes);

// A Leq record's stamp (its interval's end) and the start of its interval
// as the lists show it: its length before the end, or the end of the
// previous record when the two are adjacent.
Stamp leqStamp(const LeqTable &table, int row);
Stamp leqIntervalStart(const LeqTable &table, int row, LeqSeries kind);

// Lines of rows first..last (rowsWithin) of a Leq table; rows before first still count
// for the interval start and (after the first line) the empty line rule.
QStringList leqLines(const LeqTable &table, int first, int last, LeqSeries kind);

// Lines of Leq_Records rows Period_First..Period_Last.
QStringList Lignes_Tableau_Leq(const Store &store);
// Lines of Leq10_Records rows 1..Leq10_Count - 1.
QStringList Lignes_Tableau_Leq10(const Store &store);
// Lines of Leq1_Records rows 1..Leq1_Count - 1.
QStringList Lignes_Tableau_Leq1(const Store &store);

// Copies the period's Leq1 (field 4 = 1) and Leq10 (field 4 = 10) rows into
// Leq1_Records and Leq10_Records and sets their counts (next free row).
void Separer_Leq1_Leq10(Store &store);

// Event lines of Event_Records rows Period_First..Period_Last, with the
// events table's labels and "   to   ".
QStringList eventTableLines(const Store &store);

// The chart window's event list for the stored period (its own scan), with
// the chart labels and "   at   "; a message when the period has no event row.
ListText Lignes_Evenements(const Store &store);

// The list of a window when its period is empty: five empty lines and the message.
ListText emptyPeriodList(const QString &message);

} // namespace kvl
