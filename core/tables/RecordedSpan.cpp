#include "tables/RecordedSpan.h"

#include "store/Layout.h"
#include "store/RecordDate.h"

namespace kvl {

namespace {

// The day of a row the store keeps, or an invalid date.
template <typename Table> QDate recordDay(const Table &table, int row)
{
    const qint16 *r = table.row(row);
    return isValidRecord(r, RecordCheck::StampAndValues) ? recordDate(r) : QDate();
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
