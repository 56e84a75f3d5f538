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

// Over the valid rows of Leq_Records and Event_Records, in any order.
RecordedSpan recordedSpan(const Store &store);

// "Recorded data: 01/09/2026 to 13/10/2026", or "Recorded data: none".
QString recordedDataText(const Store &store);
QString recordedDataText(const RecordedSpan &span);

} // namespace kvl
