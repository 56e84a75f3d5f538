#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace kvl {

struct Store;

// Padded English month name of month 1..12; "" for any other number.
QString Nom_Mois(int month);

// English weekday name of a date given as text ("d / m / yyyy", also
// "d/m/yyyy"); "" when the text is no date.
QString Nom_Jour(const QString &dateText);
// English weekday name of a date; "" for an invalid one.
QString dayName(const QDate &date);

// Serial_Number from the Param_Block serial elements, decimal, no leading zeros.
void Lire_Numero_Serie(Store &store);

// "05" for 5; values of 10 and more (and negative ones) as they are.
QString twoDigitText(int value);

// The date text of the program: day, month and four-digit year joined by " / ".
QString dateText(int day, int month, int year);

// Parses a date text as built by dateText (blanks around the slashes optional).
bool parseDateText(const QString &text, int *day, int *month, int *year);

// The store keeps its days as texts (Start_Day .. End_Year, Chart_Dates,
// Transfer_Date): these read them, so that every view decides on the same
// date. Numbers (blanks around them allowed) naming a real calendar day,
// else an invalid date.
QDate storedDay(const QString &day, const QString &month, const QString &year);
QDate periodStart(const Store &store);
QDate periodEnd(const Store &store);
// Chart day k (1..8) of Chart_Dates.
QDate chartDay(const Store &store, int k);
// Transfer_Date ("dd/mm/yyyy") at the hours and minutes of Transfer_Time
// ("hh:mm", seconds ignored); invalid when the store holds no transfer date.
QDateTime transferStamp(const Store &store);

} // namespace kvl
