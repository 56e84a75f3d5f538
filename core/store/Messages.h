#pragma once

// The fixed texts of the empty-period lists and notes and of the data file
// loader's refusals, in one table. Several differ only in a capital or a
// leading blank; each is the one its window has always shown.

#include <QString>

namespace kvl {

enum class Message {
    EmptyLeqTable,        // Leq table, on screen and printed
    EmptyLeq10Table,      // Leq10 list of the Leq tables
    EmptyLeq1Table,       // Leq1 list of the Leq tables
    EmptyEventTable,      // events table
    EmptyChartEvents,     // chart window's event list
    NoLeq10Value,         // chart window with no record in the period; printed Leq10 list
    NoLeq10Series,        // chart window: records, but no Leq10 row
    NoLeq1Series,         // chart window: records, but no Leq1 row
    Leq1Unavailable,      // chart window, firmware 3.5 and 4.0
    PrintedNoLeq1,        // printed Leq1 list of the Leq tables
    NotKvlFile,           // loader: the marker line is no data file's
    NotKvlCaption,        // loader: that message's caption
    ReadFailureCaption,   // loader: a value or the date token fails
    NotKvl24File,         // loader: values of a "KVL 24-2" file
    NotKvl36File,         // loader: values of a "KVL 36" file
    NotKvl24Version5File, // loader: date token of a 5.X file
    NotKvl36Version5File, // loader: date token of a "KVL 36" file
};

QString messageText(Message message);

} // namespace kvl
