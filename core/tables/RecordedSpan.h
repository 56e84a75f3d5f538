#pragma once

// The first and last day the loaded data holds a record for, so the period
// dialogs can tell the user where to look.

#include "store/Store.h"

#include <QDate>
#include <QString>

namespace kvl {

struct RecordedSpan
{
    QDate first;
    QDate last;
    bool isEmpty() const { return !first.isValid(); }
};

// Which records count: a Leq view's dialog tells where the Leq records
// lie (the days the save's proposed name gives), the events table's where
// the events lie.
enum class RecordedData { Leq, Events, All };

// Over the valid rows of Leq_Records and/or Event_Records, in any order.
RecordedSpan recordedSpan(const Store &store, RecordedData which = RecordedData::All);

// "Recorded data: 01/09/2026 to 13/10/2026", or "Recorded data: none".
QString recordedDataText(const Store &store, RecordedData which = RecordedData::All);

} // namespace kvl
