#pragma once

#include <QString>

namespace kvl {

struct Store;

// Padded English month name of month 1..12; "" for any other number.
QString Nom_Mois(int month);

// English weekday name of a date given as text ("d / m / yyyy", also
// "d/m/yyyy"); "" when the text is no date.
QString Nom_Jour(const QString &dateText);

// The serial number the Param_Block serial elements hold.
QString serialNumberOf(const Store &store);

// Serial_Number from the Param_Block serial elements, decimal, no leading zeros.
void Lire_Numero_Serie(Store &store);

// "05" for 5; values of 10 and more (and negative ones) as they are.
QString twoDigitText(int value);

// The date text of the program: day, month and four-digit year joined by " / ".
QString dateText(int day, int month, int year);

// Parses a date text as built by dateText (blanks around the slashes optional).
bool parseDateText(const QString &text, int *day, int *month, int *year);

} // namespace kvl
