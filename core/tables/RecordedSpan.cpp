#include "tables/RecordedSpan.h"

#include "store/Layout.h"

namespace kvl {

namespace {

// The day of a valid record row, or an invalid date. Fields 7 and 8 (level
// or event code) are empty in an unused slot.
template <typename Table> QDate recordDay(const Table &table, int row)
{
    const int minute = table(row, field::Minute);
    const int hour = table(row, field::Hour);
    const int year = table(row, field::Year);
    if (minute < 0 || minute > 59 || hour < 0 || hour > 23 || year < 0 || year > 98 ||
        table(row, field::LevelUnits) == 255 || table(row, field::LevelHundreds) == 255)
        return QDate();
    return QDate(2000 + year, table(row, field::Month), table(row, field::Day));
}

template <typename Table> void widen(RecordedSpan &span, const Table &table, int rows)
{
    for (int row = 1; row <= rows; ++row) {
        const QDate day = recordDay(table, row);
        if (!day.isValid())
            continue;
        if (!span.first.isValid() || day < span.first)
            span.first = day;
        if (!span.last.isValid() || day > span.last)
            span.last = day;
    }
}

} // namespace

RecordedSpan recordedSpan(const Store &store, RecordedData which)
{
    RecordedSpan span;
    if (which != RecordedData::Events)
        widen(span, store.Leq_Records, leqRows(store.Device_Version));
    if (which != RecordedData::Leq)
        widen(span, store.Event_Records, EventTable::rowCount);
    return span;
}

QString recordedDataText(const Store &store, RecordedData which)
{
    const RecordedSpan span = recordedSpan(store, which);
    if (span.isEmpty())
        return QStringLiteral("Recorded data: none");
    const QString format = QStringLiteral("dd/MM/yyyy");
    return QStringLiteral("Recorded data: %1 to %2")
        .arg(span.first.toString(format), span.last.toString(format));
}

} // namespace kvl
