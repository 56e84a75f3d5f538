#include "export/Report.h"

#include "export/Csv.h"
#include "export/Schedule.h"
#include "export/Statistics.h"
#include "files/DataFile.h"
#include "files/UntrustedRead.h"
#include "store/Messages.h"
#include "store/Names.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
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
    QString text;
    for (auto it = events.begin(); it != events.end(); ++it) {
        if (!text.isEmpty())
            text += QLatin1String("; ");
        text += it.key();
        text += QLatin1Char('=');
        text += QString::number(it.value());
    }
    return text;
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
    r.out = w.bytes();
}

// "from 2026-09-10 to 2026-09-11", "in the file" ...
QString periodText(const DateRange &range)
{
    const QString from = range.from.toString(Qt::ISODate), to = range.to.toString(Qt::ISODate);
    if (range.from.isNull() && range.to.isNull())
        return QStringLiteral("in the file");
    if (range.to.isNull())
        return QStringLiteral("from ") + from;
    if (range.from.isNull())
        return QStringLiteral("up to ") + to;
    return QStringLiteral("from %1 to %2").arg(from, to);
}

void noteEmpty(FileReport &r, const char *what, const DateRange &range)
{
    r.warnings << QStringLiteral("no %1 %2").arg(QLatin1String(what), periodText(range));
}

void fill(FileReport &r, Store &store, const ReportOptions &o, QJsonObject &json)
{
    const bool asJson = o.format == ReportFormat::Json;
    Lire_Numero_Serie(store);
    json.insert(QStringLiteral("file"), r.path);
    json.insert(QStringLiteral("device"), firmwareName(store));
    json.insert(QStringLiteral("serial_number"), store.Serial_Number);
    switch (o.kind) {
    case ReportKind::Leq: {
        const QList<LeqInterval> rows = storeIntervals(store, o.range);
        if (rows.isEmpty())
            noteEmpty(r, "level", o.range);
        if (asJson)
            json.insert(QStringLiteral("leq"), leqJson(rows));
        else
            addRows(r, rows, leqFields);
        break;
    }
    case ReportKind::Events: {
        const QList<EventEntry> rows = storeEvents(store, o.range);
        if (rows.isEmpty())
            noteEmpty(r, "event", o.range);
        if (asJson)
            json.insert(QStringLiteral("events"), eventJson(rows));
        else
            addRows(r, rows, eventFields);
        break;
    }
    case ReportKind::Params: {
        const QList<ParamEntry> rows = storeParams(store, o.range);
        if (asJson)
            json.insert(QStringLiteral("params"), paramJson(rows));
        else
            addRows(r, rows, paramFields);
        break;
    }
    case ReportKind::Summary: {
        const FileThresholds thresholds(store);
        const Summary s = fileSummary(store, storeIntervals(store, DateRange()), thresholds, o.range);
        r.warnings << scheduleNotes(s, thresholds);
        if (isEmpty(s))
            noteEmpty(r, "level or event", o.range);
        if (asJson)
            json.insert(QStringLiteral("summary"), summaryJson(s));
        else {
            CsvWriter w;
            for (const QStringList &row : summaryRows(r.path, s))
                w.addRow(row);
            r.out = w.bytes();
        }
        break;
    }
    }
}

// A file's object as an element of the indented array QJsonDocument writes.
QByteArray arrayElement(const QJsonObject &json)
{
    const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Indented);
    QByteArray out;
    out.reserve(text.size() + text.size() / 8);
    for (const QByteArray &line : text.split('\n'))
        if (!line.isEmpty())
            out += (out.isEmpty() ? "    " : "\n    ") + line;
    return out;
}

} // namespace

QList<QStringList> summaryRows(const QString &file, const Summary &summary)
{
    if (isEmpty(summary))
        return {};
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
    return QJsonObject{{QStringLiteral("file"), isEmpty(summary) ? QJsonValue() : groupJson(summary.whole)},
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

ReportInput ReportInput::fromName(const QString &name)
{
    return {name, QFile::encodeName(name)};
}

ReportInput ReportInput::fromLocalPath(const QByteArray &localPath)
{
    return {QFile::decodeName(localPath), localPath};
}

namespace {

QString loadFailure(const LoadOutcome &out)
{
    return out.caption.trimmed() + QStringLiteral(": ") + out.text + QStringLiteral(" (") + out.detailText() +
           QLatin1Char(')');
}

// The program's own message, then why.
QString openFailure(const UntrustedBytes &read)
{
    return messageText(Message::NotKvlCaption) + QStringLiteral(" (") + read.error + QLatin1Char(')');
}

} // namespace

QString loadReportInput(const ReportInput &input, Store &store)
{
    const UntrustedBytes read = readUntrustedDataFile(input.localPath);
    if (!read.error.isEmpty())
        return openFailure(read);
    const LoadOutcome out = readDataFile(read.bytes, store);
    return out.result == LoadOutcome::Loaded ? QString() : loadFailure(out);
}

FileReport reportBytes(const QString &path, const QByteArray &bytes, const ReportOptions &options)
{
    FileReport r;
    r.path = path;
    auto store = std::make_unique<Store>();
    const LoadOutcome out = readDataFile(bytes, *store);
    if (out.result != LoadOutcome::Loaded) {
        r.error = loadFailure(out);
        return r;
    }
    r.loaded = true;
    QJsonObject json;
    fill(r, *store, options, json);
    if (options.format == ReportFormat::Json)
        r.out = arrayElement(json);
    r.warnings.removeDuplicates();
    return r;
}

FileReport reportFile(const ReportInput &input, const ReportOptions &options)
{
    const UntrustedBytes read = readUntrustedDataFile(input.localPath);
    if (!read.error.isEmpty()) {
        FileReport r;
        r.path = input.name;
        r.error = openFailure(read);
        return r;
    }
    return reportBytes(input.name, read.bytes, options);
}

void reportFiles(const QList<ReportInput> &inputs, const ReportOptions &options, int threads,
                 const std::function<void(const FileReport &)> &done)
{
    const int count = int(inputs.size());
    threads = std::clamp(threads, 1, std::max(count, 1));
    if (threads == 1) {
        for (const ReportInput &input : inputs)
            done(reportFile(input, options));
        return;
    }
    // Reports wait in a ring of slots; a thread takes file i only once file
    // i - ahead has been handed on, so at most `ahead` reports wait at once.
    const int ahead = 2 * threads;
    std::vector<std::optional<FileReport>> ring(static_cast<std::size_t>(ahead));
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0, handed = 0;
    auto work = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return next >= count || next < handed + ahead; });
            if (next >= count)
                return;
            const int i = next++;
            lock.unlock();
            FileReport r = reportFile(inputs[i], options);
            lock.lock();
            ring[std::size_t(i % ahead)] = std::move(r);
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (int i = 0; i < count; ++i) {
        std::optional<FileReport> r;
        {
            std::unique_lock<std::mutex> lock(mutex);
            auto &slot = ring[std::size_t(i % ahead)];
            changed.wait(lock, [&] { return slot.has_value(); });
            r = std::move(slot);
            slot.reset();
            handed = i + 1;
        }
        changed.notify_all();
        done(*r);
    }
    for (std::thread &t : pool)
        t.join();
}

ReportWriter::ReportWriter(const ReportOptions &options, Sink sink)
    : m_options(options), m_sink(std::move(sink))
{
}

void ReportWriter::open()
{
    if (m_opened)
        return;
    m_opened = true;
    if (m_options.format == ReportFormat::Json) {
        m_sink(QByteArrayLiteral("["));
        return;
    }
    CsvWriter w;
    w.addRow(reportHeader(m_options.kind));
    m_sink(w.bytes());
}

void ReportWriter::add(const FileReport &report)
{
    open();
    if (!report.loaded)
        return;
    if (m_options.format == ReportFormat::Json)
        m_sink((m_written ? QByteArrayLiteral(",\n") : QByteArrayLiteral("\n")) + report.out);
    else
        m_sink(report.out);
    ++m_written;
}

void ReportWriter::finish()
{
    open();
    if (m_options.format == ReportFormat::Json)
        m_sink(QByteArrayLiteral("\n]\n"));
}

QByteArray assembleReport(const QList<FileReport> &reports, const ReportOptions &options)
{
    QByteArray out;
    ReportWriter w(options, [&out](const QByteArray &bytes) { out += bytes; });
    for (const FileReport &r : reports)
        w.add(r);
    w.finish();
    return out;
}

} // namespace kvl
