#pragma once

// The compliance report of a period: device, source, thresholds in force,
// figures per day, the Leq diagrams with the threshold staircase, the runs of
// minutes above the threshold and the events, laid out as report pages.
// Its input is a loaded store, whatever filled it (download, file, archive).

#include "export/Export.h"
#include "report/ReportDocument.h"

#include <QDateTime>

#include <functional>

namespace kvl {

// Longest period a report covers, in days.
constexpr int MaxReportDays = 62;
// Up to this many days a diagram shows one day; longer periods get one
// diagram per week, so a two-month report stays a readable length.
constexpr int DailyDiagramDays = 14;

// The period choices of the report dialog.
enum class ReportSpan { Day, Week, Month, FromTo };
enum class PeriodCheck { Ok, NoDate, EndBeforeStart, TooLong };
// The days a choice covers: a day; seven days; a month from the start day
// (to the day before the same day of the next month); or start to end.
PeriodCheck reportPeriod(ReportSpan span, const QDate &start, const QDate &end, DateRange *period);

enum class SourceKind { DataFile, Download, Archive };
struct ReportSource
{
    SourceKind kind = SourceKind::DataFile;
    QString name; // the file's or archive's name; empty for a download
};

struct ReportRequest
{
    DateRange period; // both days set
    ReportSource source;
    QDateTime generated;
    QString version; // the program's version
    Paper paper = Paper::A4;
};

// "KVL-123456_2026-09-21_2026-09-27.pdf" (one date for a single day).
QString reportFileName(const Store &store, const DateRange &period);

// Builds the report. The store serves as the charts' work area: its chart
// period, schedule and period rows change; its records do not.
ReportDocument buildComplianceReport(Store &store, const ReportRequest &request);

// The version of this build ("1.1").
QString programVersion();

} // namespace kvl
