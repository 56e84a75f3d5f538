#pragma once

// When a record's date stamp counts: one rule for the store, one for a real
// calendar day. Every reader of fields 1..6 goes through these two.

#include <QDate>
#include <QtGlobal>

namespace kvl {

// What a store validity check looks at besides the stamp.
enum class RecordCheck {
    Stamp,          // minute, hour, day, month and year only (parameter history, save names)
    StampAndValues, // also fields 7 and 8 not empty (Leq and event records)
};

// The store's rule, which decoding applies before the sort: minute 0..59,
// hour 0..23, day 1..31, month 1..12, year 0..98, and with StampAndValues
// neither field 7 nor field 8 is 255. The calendar is not consulted: day 31
// of any month passes.
bool isValidRecord(const qint16 *row, RecordCheck check);

// The stamp's day when it is a real date and time in 2000-2099: minute
// 0..59, hour 0..23, year 0..99 and a day the month has; an invalid QDate
// otherwise. Charts, schedules, exports and texts that name a weekday read
// dates through this.
QDate recordDate(const qint16 *row);

} // namespace kvl
