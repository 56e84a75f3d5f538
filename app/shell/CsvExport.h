#pragma once

// "Export CSV..." on a window's list: asks for a file through the dialog
// seam and writes the rows the list shows.

#include "export/Export.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QWidget;

namespace kvl {

// Adds the context-menu entry to a list; `csv` builds the file when chosen.
// The entry is disabled when the list shows no rows.
void addCsvExport(QWidget *list, const QString &proposedName, bool hasRows, std::function<QByteArray()> csv);

// The entry for a list of levels: Leq_Records rows Period_First..Period_Last
// (Leq), or the period's Leq10_Records or Leq1_Records, as the lists show them.
void addLeqCsvExport(QWidget *list, const Store &store, LeqSeries series);
// The entry for an event list: the events table's rows Period_First to
// Period_Last, or the chart window's events of the stored period.
void addEventsCsvExport(QWidget *list, const Store &store, EventList labels);

// The entry for the parameter sheet: every dated parameter record, then the
// device's current parameters.
void addParamsCsvExport(QWidget *sheet, const Store &store);

// Asks for a file name and writes the bytes; a failed write is reported and
// the dialog asked again. False when cancelled.
bool exportCsv(QWidget *parent, const QString &proposedName, const QByteArray &csv);

// "Leq10 2008-03-05 to 2008-03-06.csv" for the period the store holds.
QString csvFileName(const QString &what, const Store &store);

} // namespace kvl
