#include "archive/ArchiveReport.h"

#include "export/Csv.h"
#include "export/Schedule.h"
#include "export/Statistics.h"
#include "store/Names.h"

#include <QFileInfo>
#include <QJsonArray>

#include <memory>

namespace kvl {

namespace {

// The report's range over the days the device holds.
bool clippedRange(const ArchiveDevice &device, const DateRange &range, QDate *from, QDate *to)
{
    *from = range.from.isNull() ? device.first : std::max(range.from, device.first);
    *to = range.to.isNull() ? device.last : std::min(range.to, device.last);
    return from->isValid() && to->isValid() && *from <= *to;
}

template <typename T, typename F>
void addCsv(CsvWriter &w, const QString &name, const QList<T> &items, F fields)
{
    for (const T &item : items)
        w.addRow(QStringList{name} + fields(item));
}

// Copies the threshold of each counted minute of the intervals, runs joined.
void copyThresholds(const ThresholdTimeline &from, const QList<LeqInterval> &intervals, LeqSeries counted,
                    ThresholdTimeline &to)
{
    for (const LeqInterval &i : intervals) {
        if (i.series != counted)
            continue;
        Minute runStart = i.start;
        int runValue = from.at(i.start);
        for (Minute m = i.start + 1; m <= i.end; ++m) {
            const int value = m < i.end ? from.at(m) : -2;
            if (value == runValue)
                continue;
            if (runValue >= 0)
                to.add(runStart, m, runValue);
            runStart = m;
            runValue = value;
        }
    }
}

} // namespace

QString archiveReportName(const QString &archivePath, const ArchiveDevice &device)
{
    return QFileInfo(archivePath).fileName() + QLatin1Char('#') + device.serial;
}

QList<QPair<QDate, QDate>> fittingStretches(Archive &archive, qint64 device, const QDate &from,
                                            const QDate &to, int longest)
{
    QList<QPair<QDate, QDate>> out;
    for (QDate start = from; start.isValid() && start <= to;) {
        QDate end = std::min(to, start.addDays(longest - 1));
        const PeriodFit fit = archive.periodFit(device, start, end);
        if (!fit.fits)
            end = fit.longestEnd;
        if (!end.isValid())
            return {};
        out.append({start, end});
        start = end.addDays(1);
    }
    return out;
}

FileReport reportArchiveDevice(Archive &archive, const ArchiveDevice &device, const ReportOptions &o)
{
    FileReport r;
    r.path = archiveReportName(archive.path(), device);
    // The device's current parameters and whole parameter history.
    auto latest = std::make_unique<Store>();
    if (!device.last.isValid() ||
        archive.loadPeriod(device.id, device.last, device.last, *latest) != ArchiveStatus::Ok) {
        r.error = QStringLiteral("no record of this device could be read from the archive");
        return r;
    }
    r.loaded = true;
    r.json.insert(QStringLiteral("file"), r.path);
    r.json.insert(QStringLiteral("device"), firmwareName(*latest));
    r.json.insert(QStringLiteral("serial_number"), latest->Serial_Number);
    const bool json = o.format == ReportFormat::Json;
    CsvWriter csv;

    if (o.kind == ReportKind::Params) {
        const QList<ParamEntry> rows = storeParams(*latest, o.range);
        if (json)
            r.json.insert(QStringLiteral("params"), paramJson(rows));
        else
            addCsv(csv, r.path, rows, paramFields);
        r.csv = csv.bytes();
        return r;
    }

    QDate from, to;
    QList<LeqInterval> intervals;
    QList<EventEntry> events;
    ThresholdTimeline timeline;
    bool scheduled = false;
    const LeqSeries counted = latest->isVersion5Family() ? LeqSeries::Leq1 : LeqSeries::Leq;
    if (clippedRange(device, o.range, &from, &to)) {
        const auto stretches = fittingStretches(archive, device.id, from, to);
        if (stretches.isEmpty())
            r.warnings << QStringLiteral("a day holds more records than a store can take: not reported");
        auto store = std::make_unique<Store>();
        for (const auto &[start, end] : stretches) {
            // A level stamped 00:00 belongs to the day before: the day after
            // the stretch comes along when it fits.
            if (archive.loadPeriod(device.id, start, end.addDays(1), *store) != ArchiveStatus::Ok &&
                archive.loadPeriod(device.id, start, end, *store) != ArchiveStatus::Ok) {
                r.loaded = false;
                r.error = archive.lastError();
                return r;
            }
            const DateRange part{start, end};
            const QList<LeqInterval> partIntervals = storeIntervals(*store, part);
            const QList<EventEntry> partEvents = storeEvents(*store, part);
            if (o.kind == ReportKind::Summary) {
                ThresholdTimeline partTimeline;
                if (fileSchedule(*store, partIntervals, &partTimeline, &r.warnings)) {
                    copyThresholds(partTimeline, partIntervals, counted, timeline);
                    scheduled = true;
                }
            }
            if (o.kind == ReportKind::Leq && !json)
                addCsv(csv, r.path, partIntervals, leqFields);
            else if (o.kind == ReportKind::Events && !json)
                addCsv(csv, r.path, partEvents, eventFields);
            else {
                intervals += partIntervals;
                events += partEvents;
            }
        }
    }
    switch (o.kind) {
    case ReportKind::Leq:
        if (json)
            r.json.insert(QStringLiteral("leq"), leqJson(intervals));
        break;
    case ReportKind::Events:
        if (json)
            r.json.insert(QStringLiteral("events"), eventJson(events));
        break;
    case ReportKind::Summary: {
        const DateRange range{from, to};
        const Summary s = summarise(*latest, intervals, events, scheduled ? &timeline : nullptr, range);
        if (json)
            r.json.insert(QStringLiteral("summary"), summaryJson(s));
        else
            for (const QStringList &row : summaryRows(r.path, s))
                csv.addRow(row);
        break;
    }
    case ReportKind::Params:
        break;
    }
    r.csv = csv.bytes();
    return r;
}

} // namespace kvl
