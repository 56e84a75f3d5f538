#include "export/Report.h"

#include "export/Csv.h"
#include "export/Schedule.h"
#include "export/Statistics.h"
#include "files/DataFile.h"
#include "store/Names.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <atomic>
#include <memory>
#include <thread>

namespace kvl {

namespace {

QString laeqText(const LevelStats &s)
{
    return s.count ? QString::number(s.laeq, 'f', 1) : QString();
}

QString levelText(const LevelStats &s, int value)
{
    return s.count ? QString::number(value) : QString();
}

QString eventsText(const QMap<QString, int> &events)
{
    QStringList parts;
    for (auto it = events.begin(); it != events.end(); ++it)
        parts << it.key() + QLatin1Char('=') + QString::number(it.value());
    return parts.join(QStringLiteral("; "));
}

QJsonValue levelJson(const LevelStats &s, int value)
{
    return s.count ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonObject groupJson(const GroupStats &g)
{
    QJsonObject o;
    o.insert(QStringLiteral("start"), isoText(g.start));
    o.insert(QStringLiteral("end"), isoText(g.end));
    if (!g.part.isEmpty())
        o.insert(QStringLiteral("part"), g.part);
    const LevelStats &s = g.levels;
    o.insert(QStringLiteral("levels"), s.count);
    // One decimal, as the CSV writes it.
    o.insert(QStringLiteral("laeq_db"), s.count ? QJsonValue(std::round(s.laeq * 10) / 10) : QJsonValue());
    o.insert(QStringLiteral("l10_db"), levelJson(s, s.l10));
    o.insert(QStringLiteral("l50_db"), levelJson(s, s.l50));
    o.insert(QStringLiteral("l90_db"), levelJson(s, s.l90));
    o.insert(QStringLiteral("lmax_db"), levelJson(s, s.lmax));
    o.insert(QStringLiteral("minutes_above_threshold"),
             g.minutesAbove >= 0 ? QJsonValue(g.minutesAbove) : QJsonValue());
    o.insert(QStringLiteral("door_openings"), g.doorOpenings);
    QJsonObject events;
    for (auto it = g.events.begin(); it != g.events.end(); ++it)
        events.insert(it.key(), it.value());
    o.insert(QStringLiteral("events"), events);
    return o;
}

QStringList groupRow(const QString &file, const GroupStats &g)
{
    const LevelStats &s = g.levels;
    return {file,
            g.scope,
            isoText(g.start),
            isoText(g.end),
            g.part,
            QString::number(s.count),
            laeqText(s),
            levelText(s, s.l10),
            levelText(s, s.l50),
            levelText(s, s.l90),
            levelText(s, s.lmax),
            g.minutesAbove >= 0 ? QString::number(g.minutesAbove) : QString(),
            QString::number(g.doorOpenings),
            eventsText(g.events)};
}

template <typename T, typename F> void addRows(FileReport &r, const QList<T> &items, F fields)
{
    CsvWriter w;
    for (const T &item : items)
        w.addRow(QStringList{r.path} + fields(item));
    r.csv = w.bytes();
}

void fill(FileReport &r, Store &store, const ReportOptions &o)
{
    const bool json = o.format == ReportFormat::Json;
    Lire_Numero_Serie(store);
    r.json.insert(QStringLiteral("file"), r.path);
    r.json.insert(QStringLiteral("device"), firmwareName(store));
    r.json.insert(QStringLiteral("serial_number"), store.Serial_Number);
    switch (o.kind) {
    case ReportKind::Leq: {
        const QList<LeqInterval> rows = storeIntervals(store, o.range);
        if (json)
            r.json.insert(QStringLiteral("leq"), leqJson(rows));
        else
            addRows(r, rows, leqFields);
        break;
    }
    case ReportKind::Events: {
        const QList<EventEntry> rows = storeEvents(store, o.range);
        if (json)
            r.json.insert(QStringLiteral("events"), eventJson(rows));
        else
            addRows(r, rows, eventFields);
        break;
    }
    case ReportKind::Params: {
        const QList<ParamEntry> rows = storeParams(store, o.range);
        if (json)
            r.json.insert(QStringLiteral("params"), paramJson(rows));
        else
            addRows(r, rows, paramFields);
        break;
    }
    case ReportKind::Summary: {
        const QList<LeqInterval> intervals = storeIntervals(store, o.range);
        const QList<EventEntry> events = storeEvents(store, o.range);
        ThresholdTimeline timeline;
        const bool scheduled = fileSchedule(store, intervals, &timeline, &r.warnings);
        const Summary s = summarise(store, intervals, events, scheduled ? &timeline : nullptr, o.range);
        if (json)
            r.json.insert(QStringLiteral("summary"), summaryJson(s));
        else {
            CsvWriter w;
            for (const QStringList &row : summaryRows(r.path, s))
                w.addRow(row);
            r.csv = w.bytes();
        }
        break;
    }
    }
}

} // namespace

QList<QStringList> summaryRows(const QString &file, const Summary &summary)
{
    QList<QStringList> rows{groupRow(file, summary.whole)};
    for (const GroupStats &g : summary.days)
        rows.append(groupRow(file, g));
    for (const GroupStats &g : summary.parts)
        rows.append(groupRow(file, g));
    return rows;
}

QJsonObject summaryJson(const Summary &summary)
{
    QJsonArray days, parts;
    for (const GroupStats &g : summary.days)
        days.append(groupJson(g));
    for (const GroupStats &g : summary.parts)
        parts.append(groupJson(g));
    return QJsonObject{{QStringLiteral("file"), groupJson(summary.whole)},
                       {QStringLiteral("days"), days},
                       {QStringLiteral("parts"), parts}};
}

QStringList reportHeader(ReportKind kind)
{
    switch (kind) {
    case ReportKind::Leq:
        return leqHeader(true);
    case ReportKind::Events:
        return eventHeader(true);
    case ReportKind::Params:
        return paramHeader(true);
    case ReportKind::Summary:
        break;
    }
    return {
        QStringLiteral("file"),          QStringLiteral("scope"),   QStringLiteral("start"),
        QStringLiteral("end"),           QStringLiteral("part"),    QStringLiteral("levels"),
        QStringLiteral("laeq_db"),       QStringLiteral("l10_db"),  QStringLiteral("l50_db"),
        QStringLiteral("l90_db"),        QStringLiteral("lmax_db"), QStringLiteral("minutes_above_threshold"),
        QStringLiteral("door_openings"), QStringLiteral("events")};
}

FileReport reportBytes(const QString &path, const QByteArray &bytes, const ReportOptions &options)
{
    FileReport r;
    r.path = path;
    auto store = std::make_unique<Store>();
    const LoadOutcome out = readDataFile(bytes, *store);
    if (out.result != LoadOutcome::Loaded) {
        r.error = out.caption.trimmed() + QStringLiteral(": ") + out.text;
        return r;
    }
    r.loaded = true;
    fill(r, *store, options);
    return r;
}

FileReport reportFile(const QString &path, const ReportOptions &options)
{
    QFile file(path);
    const QFileInfo info(path);
    QString reason;
    if (info.isDir())
        reason = QStringLiteral("is a directory");
    else if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    if (!reason.isEmpty()) {
        FileReport r;
        r.path = path;
        // The program's own message, then why.
        r.error = QStringLiteral("It is impossible to open this file (") + reason + QLatin1Char(')');
        return r;
    }
    return reportBytes(path, file.readAll(), options);
}

QList<FileReport> reportFiles(const QStringList &paths, const ReportOptions &options, int threads)
{
    // One slot per file, written by one thread only; read after the joins.
    std::vector<FileReport> results(std::size_t(paths.size()));
    std::atomic<int> next{0};
    auto work = [&] {
        for (int i = next++; i < paths.size(); i = next++)
            results[std::size_t(i)] = reportFile(paths[i], options);
    };
    const int extra = std::clamp(threads, 1, int(paths.size()) > 0 ? int(paths.size()) : 1) - 1;
    std::vector<std::thread> pool;
    for (int t = 0; t < extra; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread &t : pool)
        t.join();
    return QList<FileReport>(results.begin(), results.end());
}

QByteArray assembleReport(const QList<FileReport> &reports, const ReportOptions &options)
{
    if (options.format == ReportFormat::Json) {
        QJsonArray files;
        for (const FileReport &r : reports)
            if (r.loaded)
                files.append(r.json);
        return QJsonDocument(files).toJson(QJsonDocument::Indented);
    }
    CsvWriter w;
    w.addRow(reportHeader(options.kind));
    QByteArray out = w.bytes();
    for (const FileReport &r : reports)
        out += r.csv;
    return out;
}

} // namespace kvl
