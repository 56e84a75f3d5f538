#pragma once

// A date typed whole in a date field, as people type them: "15/10/2026",
// "15.10.2026", "15-10-2026", "5/3/2026", "15102026", or with a two-digit
// year ("15/10/26" is 2026: the devices count years from 2000).

#include <QDate>
#include <QString>

namespace kvl {

// The date, or an invalid one when the text is no whole date.
QDate parseTypedDate(const QString &text);

// Whether the text can still become a whole date as more is typed.
bool isTypedDatePrefix(const QString &text);

} // namespace kvl
