#include "archive/ArchiveReport.h"

#include "export/Csv.h"
#include "export/Schedule.h"
#include "export/Statistics.h"
#include "store/Names.h"

#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>
#include <memory>
#include <vector>

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

// What is in force at each minute, from the stretches the archive was read
// in: each stretch's store holds the parameter record and door event in
// force at its start, so its own schedule is the device's over its days.
class StretchThresholds
{
public:
    void add(Minute from, Minute to, const Store &store)
    {
        m_parts.push_back({from, to, FileThresholds(store)});
    }

    InForce at(Minute m) const
    {
        const Part &p = partOf(m);
        InForce f = p.thresholds.at(m);
        // A later stretch may know of a change the earlier one does not.
        f.from = std::max(f.from, p.from);
        f.until = std::min(f.until, p.to);
        if (f.until <= m)
            f.until = m + 1;
        return f;
    }

    std::vector<FileThresholds::Gap> gaps(Minute from, Minute to) const
    {
        std::vector<FileThresholds::Gap> out;
        for (const Part &p : m_parts) {
            if (p.to <= from || p.from >= to)
                continue;
            for (const FileThresholds::Gap &g :
                 p.thresholds.gaps(std::max(from, p.from), std::min(to, p.to))) {
                if (!out.empty() && out.back().to == g.from && out.back().why == g.why)
                    out.back().to = g.to;
                else
                    out.push_back(g);
            }
        }
        return out;
    }

private:
    struct Part
    {
        Minute from, to;
        FileThresholds thresholds;
    };

    const Part &partOf(Minute m) const
    {
        auto it = std::upper_bound(m_parts.begin(), m_parts.end(), m,
                                   [](Minute t, const Part &p) { return t < p.from; });
        return it == m_parts.begin() ? m_parts.front() : *(it - 1);
    }

    std::vector<Part> m_parts; // in time order
};

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
    QJsonObject json;
    json.insert(QStringLiteral("file"), r.path);
    json.insert(QStringLiteral("device"), firmwareName(*latest));
    json.insert(QStringLiteral("serial_number"), latest->Serial_Number);
    const bool asJson = o.format == ReportFormat::Json;
    CsvWriter csv;
    auto finish = [&] {
        r.out = asJson ? reportArrayElement(json) : csv.bytes();
        r.warnings.removeDuplicates();
        return r;
    };

    if (o.kind == ReportKind::Params) {
        const QList<ParamEntry> rows = storeParams(*latest, o.range);
        if (asJson)
            json.insert(QStringLiteral("params"), paramJson(rows));
        else
            addCsv(csv, r.path, rows, paramFields);
        return finish();
    }

    QDate from, to;
    const bool any = clippedRange(device, o.range, &from, &to);
    const DateRange range = any ? DateRange{from, to} : o.range;
    QList<LeqInterval> intervals;
    QList<EventEntry> events;
    StretchThresholds thresholds;
    int rows = 0;
    if (any) {
        // A summary counts the minutes of a level ending the day after.
        const QDate through = o.kind == ReportKind::Summary ? std::min(to.addDays(1), device.last) : to;
        const auto stretches = fittingStretches(archive, device.id, from, std::max(to, through));
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
            const QList<LeqInterval> partIntervals = storeIntervals(*store, DateRange{start, end});
            // A night starting on the last day takes its events of the next
            // morning, as in a file's summary.
            const QDate eventsTo = o.kind == ReportKind::Summary ? std::max(to, through) : to;
            const QList<EventEntry> partEvents = start <= eventsTo
                                                     ? storeEvents(*store, DateRange{start, std::min(end, eventsTo)})
                                                     : QList<EventEntry>();
            switch (o.kind) {
            case ReportKind::Leq:
                rows += int(partIntervals.size());
                if (asJson)
                    intervals += partIntervals;
                else
                    addCsv(csv, r.path, partIntervals, leqFields);
                break;
            case ReportKind::Events:
                rows += int(partEvents.size());
                if (asJson)
                    events += partEvents;
                else
                    addCsv(csv, r.path, partEvents, eventFields);
                break;
            case ReportKind::Summary:
                // Missing for want of records, the device's current
                // parameters are the latest download's, as in its file.
                store->Param_Block = latest->Param_Block;
                thresholds.add(minuteOf(start, 0, 0), minuteOf(end.addDays(1), 0, 0), *store);
                intervals += partIntervals;
                events += partEvents;
                break;
            case ReportKind::Params:
                break;
            }
        }
    }
    switch (o.kind) {
    case ReportKind::Leq:
        if (rows == 0)
            r.warnings << emptyPeriodWarning("level", range);
        if (asJson)
            json.insert(QStringLiteral("leq"), leqJson(intervals));
        break;
    case ReportKind::Events:
        if (rows == 0)
            r.warnings << emptyPeriodWarning("event", range);
        if (asJson)
            json.insert(QStringLiteral("events"), eventJson(events));
        break;
    case ReportKind::Summary: {
        Summary s;
        if (any) {
            s = summarise(
                *latest, intervals, events, [&thresholds](Minute m) { return thresholds.at(m); }, range);
            r.warnings << scheduleNotes(s,
                                        [&thresholds](Minute a, Minute b) { return thresholds.gaps(a, b); });
        }
        if (isEmpty(s))
            r.warnings << emptyPeriodWarning("level or event", range);
        if (asJson)
            json.insert(QStringLiteral("summary"), summaryJson(s));
        else
            for (const QStringList &row : summaryRows(r.path, s))
                csv.addRow(row);
        break;
    }
    case ReportKind::Params:
        break;
    }
    return finish();
}

} // namespace kvl
