#include "store/RecordDate.h"

#include "store/Layout.h"

namespace kvl {

namespace {

bool timeOfDay(const qint16 *row)
{
    const int minute = fieldOf(row, field::Minute), hour = fieldOf(row, field::Hour);
    return minute >= 0 && minute <= 59 && hour >= 0 && hour <= 23;
}

} // namespace

bool isValidRecord(const qint16 *row, RecordCheck check)
{
    const int day = fieldOf(row, field::Day), month = fieldOf(row, field::Month),
              year = fieldOf(row, field::Year);
    if (!timeOfDay(row) || day < 1 || day > 31 || month < 1 || month > 12 || year < 0 || year > 98)
        return false;
    return check == RecordCheck::Stamp ||
           (fieldOf(row, field::LevelUnits) != 255 && fieldOf(row, field::LevelHundreds) != 255);
}

QDate recordDate(const qint16 *row)
{
    const int year = fieldOf(row, field::Year);
    if (!timeOfDay(row) || year < 0 || year > 99)
        return QDate();
    return QDate(2000 + year, fieldOf(row, field::Month), fieldOf(row, field::Day));
}

} // namespace kvl
