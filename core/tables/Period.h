#pragma once

#include "store/Store.h"

namespace kvl {

// A period of whole days, both ends included, as stored by the period dialog.
struct Period
{
    int startDay = 0, startMonth = 0, startYear = 0;
    int endDay = 0, endMonth = 0, endYear = 0;
    // False when a stored end is no calendar day; such a period selects nothing.
    bool valid = false;

    // Whether the date made of day, month and four-digit year lies inside.
    bool contains(int day, int month, int year) const;
};

// The period held in Start_Day .. End_Year.
Period storedPeriod(const Store &store);

// Whether the stored start and end texts name the same day.
bool isSingleDay(const Store &store);

// First and last rows 1..rowCount of a date-sorted table inside the period
// (0 and 0 when none); the stamp's year field is read as 2000 + field 6.
PeriodRows scanPeriod(const LeqTable &table, int rowCount, const Period &period);
PeriodRows scanPeriod(const EventTable &table, int rowCount, const Period &period);

// Sets Period_First and Period_Last for Event_Records from the stored period.
void Periode_Evenements(Store &store);

// Sets Period_First and Period_Last for Leq_Records rows 1..count.
void Periode_Leq(Store &store, qint32 &count);

} // namespace kvl
