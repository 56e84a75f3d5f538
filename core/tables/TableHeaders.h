#pragma once

#include <QString>

namespace kvl {

struct Store;

// Which window a serial number line is for; their texts differ slightly.
enum class TableWindow { Events, Leq, LeqV5 };

// Label_Serial_Number of a table window (reads Device_Version,
// Serial_Number and, for 5.X and "KVL 36", Param_Block 160 and 161).
QString serialNumberLine(const Store &store, TableWindow window);

// The period with day names: "Friday 29  February  2008 :" or
// "... to <end> :", as the Leq headers show it.
QString leqPeriodText(const Store &store);

// Label_Entete of the events table.
QString eventsHeader(const Store &store);
// Label_Entete of the Leq table.
QString leqHeader(const Store &store);
// Label_Entete10 and Label_Entete1 of the Leq1/Leq10 window.
QString leq10Header(const Store &store);
QString leq1Header(const Store &store);

} // namespace kvl
