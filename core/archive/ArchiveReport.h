#pragma once

// kvl-report over the archive: a device's records over any period, read in
// stretches that fit the store one after the other, reported as one file.

#include "archive/Archive.h"
#include "export/Report.h"

namespace kvl {

// The name a device has in the report's "file" column: "<archive>#<serial>".
QString archiveReportName(const QString &archivePath, const ArchiveDevice &device);

// The report of one device over the options' range (its whole span when
// the range is open).
FileReport reportArchiveDevice(Archive &archive, const ArchiveDevice &device, const ReportOptions &options);

// Consecutive stretches of days from..to, each fitting the store's tables
// (at most `longest` days each). Empty when a single day does not fit.
QList<QPair<QDate, QDate>> fittingStretches(Archive &archive, qint64 device, const QDate &from,
                                            const QDate &to, int longest = 28);

} // namespace kvl
