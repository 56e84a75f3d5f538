#pragma once

// What kvl-report writes for its files: the levels, events, parameter
// records or figures of each file in a date range, as CSV (one header row,
// a "file" column first) or as one JSON array with an object per file.

#include "export/Export.h"

#include <QJsonObject>
#include <QList>
#include <QStringList>

#include <functional>

namespace kvl {

enum class ReportKind { Leq, Events, Params, Summary };
enum class ReportFormat { Csv, Json };

struct ReportOptions
{
    ReportKind kind = ReportKind::Summary;
    ReportFormat format = ReportFormat::Csv;
    DateRange range;
};

// The report of one file.
struct FileReport
{
    QString path;
    bool loaded = false;
    // Why the file gave no report: the loader's message.
    QString error;
    // Notes worth a look (threshold schedule messages), without duplicates.
    QStringList warnings;
    // The file's CSV rows, "file" column included, header left out: written
    // by the thread that read the file.
    QByteArray csv;
    QJsonObject json;
};

// Loads a file (bytes read from disk by the caller, or a read error) and reports on it.
FileReport reportFile(const QString &path, const ReportOptions &options);
FileReport reportBytes(const QString &path, const QByteArray &bytes, const ReportOptions &options);

// The header row of a report in CSV.
QStringList reportHeader(ReportKind kind);

// Standard output for reports in argument order: the CSV (header and the
// rows of every loaded file) or the JSON array of the loaded files.
QByteArray assembleReport(const QList<FileReport> &reports, const ReportOptions &options);

// Reports on every path, on up to `threads` threads, in the order given.
QList<FileReport> reportFiles(const QStringList &paths, const ReportOptions &options, int threads);

// The summary of a store, as rows and as JSON (exposed for the tests).
QList<QStringList> summaryRows(const QString &file, const struct Summary &summary);
QJsonObject summaryJson(const struct Summary &summary);

} // namespace kvl
