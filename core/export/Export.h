#pragma once

// The store's records as rows for other programs: Leq intervals, events and
// parameter records, in CSV or JSON. Times are local (the device keeps no
// time zone), to the minute, written as ISO 8601 date-times.

#include "params/ParamSheet.h"
#include "store/Store.h"
#include "tables/EventCodes.h"

#include <QByteArray>
#include <QDate>
#include <QJsonArray>
#include <QList>
#include <QString>

namespace kvl {

// A minute of local time: Julian day x 1440 + minute of the day.
using Minute = qint64;
constexpr Minute MinutesPerDay = 1440;
Minute minuteOf(const QDate &date, int hour, int minute);
QDate dateOf(Minute m);
// "2008-03-05T14:10:00".
QString isoText(Minute m);

// Stamp of a record row (fields 1..6); false when it is no date (an empty
// or damaged row).
bool rowMinute(const qint16 *row, Minute *out);

// Whole days, both ends included; a null end leaves that side open.
struct DateRange
{
    QDate from, to;
    bool contains(const QDate &d) const { return (from.isNull() || d >= from) && (to.isNull() || d <= to); }
    // Whether the minute lies on one of the days, without building a date.
    bool containsMinute(Minute m) const
    {
        return (from.isNull() || m >= from.toJulianDay() * MinutesPerDay) &&
               (to.isNull() || m < (to.toJulianDay() + 1) * MinutesPerDay);
    }
};

QString seriesName(LeqSeries series);

// A level the device stored: the interval it covers, [start, end), and its level.
struct LeqInterval
{
    LeqSeries series = LeqSeries::Leq;
    Minute start = 0, end = 0;
    int level = 0;
    // The minute a level belongs to for days, periods and day/night parts:
    // the last one it measured (a level stamped 00:00 measured the day before).
    Minute lastMinute() const { return end - 1; }
};

// Intervals of rows first..last (rowsWithin) of a Leq table, all of one series. A 10-minute
// level starts where the previous row of its table ended when that row is at
// most 10 minutes older, else 10 minutes before its stamp (as the tables
// read); a 1-minute level always covers the minute before its stamp.
QList<LeqInterval> leqIntervals(const LeqTable &table, int first, int last, LeqSeries series);

// The levels a list of the windows shows: Leq_Records rows Period_First to
// Period_Last (Leq), or the period's Leq10_Records or Leq1_Records.
QList<LeqInterval> listIntervals(const Store &store, LeqSeries series);

// Every stored level of the store whose last minute lies in the range, in
// table order: Leq (firmware 3.5, 4.0) or Leq10 and Leq1 (5.X, "KVL 36").
QList<LeqInterval> storeIntervals(const Store &store, const DateRange &range);

struct EventEntry
{
    Minute time = 0;
    int codeA = 0, codeB = 0;
    QString label; // blanks around the list's label trimmed
};

// Events of rows first..last (rowsWithin; rows that are no event are left out).
QList<EventEntry> eventEntries(const EventTable &table, int first, int last, int version, EventList list);
// The events table's events of the store dated in the range.
QList<EventEntry> storeEvents(const Store &store, const DateRange &range);

// A parameter record: one of the dated history, or the device's current
// parameters ("current", dated at the download when known).
struct ParamEntry
{
    QString record; // "history" or "current"
    bool dated = false;
    Minute time = 0;
    ParamValues values;
};

// The history records dated in the range, preceded by the one in force at
// its start, then the current parameters.
QList<ParamEntry> storeParams(const Store &store, const DateRange &range);

// CSV texts, one header row. `file`, when not null, fills a first "file"
// column so that the rows of several files stay apart.
QStringList leqHeader(bool withFile);
QStringList leqFields(const LeqInterval &i);
QStringList eventHeader(bool withFile);
QStringList eventFields(const EventEntry &e);
QStringList paramHeader(bool withFile);
QStringList paramFields(const ParamEntry &p);

QByteArray leqCsv(const QList<LeqInterval> &rows);
QByteArray eventCsv(const QList<EventEntry> &rows);
QByteArray paramCsv(const QList<ParamEntry> &rows);

QJsonArray leqJson(const QList<LeqInterval> &rows);
QJsonArray eventJson(const QList<EventEntry> &rows);
QJsonArray paramJson(const QList<ParamEntry> &rows);

// "3.5", "4.0", "5.X" or "KVL 36 1.X" style firmware text of the store.
QString firmwareName(const Store &store);

} // namespace kvl
