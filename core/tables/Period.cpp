#include "tables/Period.h"

#include "store/Names.h"

#include <tuple>

namespace kvl {

namespace {

template <typename Table> PeriodRows scan(const Table &table, int rowCount, const Period &period)
{
    PeriodRows rows;
    if (!period.valid)
        return rows;
    rowCount = qBound(0, rowCount, Table::rowCount);
    for (int i = 1; i <= rowCount; ++i) {
        const qint16 *r = table.row(i);
        const bool inside =
            period.contains(fieldOf(r, field::Day), fieldOf(r, field::Month), 2000 + fieldOf(r, field::Year));
        if (inside && rows.first == 0)
            rows.first = i;
        if (!inside && rows.first != 0)
            rows.last = i - 1;
        if (rows.first != 0 && rows.last != 0)
            break;
    }
    if (rows.first != 0 && rows.last == 0)
        rows.last = rowCount;
    if (rows.first == 0 || rows.last < rows.first)
        rows = PeriodRows();
    return rows;
}

} // namespace

bool Period::contains(int day, int month, int year) const
{
    // Compared field by field, so a stamp that is no calendar day
    // (31 February) still has its place in the order.
    const auto date = std::make_tuple(year, month, day);
    return valid && date >= std::make_tuple(startYear, startMonth, startDay) &&
           date <= std::make_tuple(endYear, endMonth, endDay);
}

Period storedPeriod(const Store &store)
{
    Period p;
    const QDate start = periodStart(store), end = periodEnd(store);
    p.valid = start.isValid() && end.isValid();
    if (p.valid) {
        start.getDate(&p.startYear, &p.startMonth, &p.startDay);
        end.getDate(&p.endYear, &p.endMonth, &p.endDay);
    }
    return p;
}

bool isSingleDay(const Store &store)
{
    return store.Start_Day == store.End_Day && store.Start_Month == store.End_Month &&
           store.Start_Year == store.End_Year;
}

PeriodRows scanPeriod(const LeqTable &table, int rowCount, const Period &period)
{
    return scan(table, rowCount, period);
}

PeriodRows scanPeriod(const EventTable &table, int rowCount, const Period &period)
{
    return scan(table, rowCount, period);
}

void Periode_Evenements(Store &store)
{
    const PeriodRows rows = scanPeriod(store.Event_Records, EventTable::rowCount, storedPeriod(store));
    store.Period_First = rows.first;
    store.Period_Last = rows.last;
}

void Periode_Leq(Store &store, qint32 &count)
{
    const PeriodRows rows = scanPeriod(store.Leq_Records, count, storedPeriod(store));
    store.Period_First = rows.first;
    store.Period_Last = rows.last;
}

} // namespace kvl
