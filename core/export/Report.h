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

// A file to report on: its name as written in the report, and the path in
// the file system's own bytes (a name that is no UTF-8 still opens).
struct ReportInput
{
    QString name;
    QByteArray localPath;
    static ReportInput fromName(const QString &name);
    static ReportInput fromLocalPath(const QByteArray &localPath);
};

// The report of one file.
struct FileReport
{
    QString path;
    bool loaded = false;
    // Why the file gave no report: the loader's message and where it failed.
    QString error;
    // Notes worth a look (threshold schedule, an empty period), without duplicates.
    QStringList warnings;
    // What the file adds to the output, made by the thread that read it: its
    // CSV rows without the header, or its JSON object as an array element.
    QByteArray out;
};

// Reads a file (see readUntrustedDataFile) into `store`; why it gave no
// store, as a report names it, or an empty text when loaded.
QString loadReportInput(const ReportInput &input, Store &store);

// Reads a file (see readUntrustedDataFile) and reports on it.
FileReport reportFile(const ReportInput &input, const ReportOptions &options);
// Loads the bytes of a file named `path` and reports on them.
FileReport reportBytes(const QString &path, const QByteArray &bytes, const ReportOptions &options);

// Reports on every input on up to `threads` threads and hands each report to
// `done`, on the calling thread, in the order given, as soon as it and those
// before it are ready. The threads work only a few files ahead of `done`, so
// the reports held at once do not grow with the number of files.
void reportFiles(const QList<ReportInput> &inputs, const ReportOptions &options, int threads,
                 const std::function<void(const FileReport &)> &done);

// Standard output for reports as they come: the CSV header, then each
// loaded file's rows; or the JSON array of the loaded files' objects.
class ReportWriter
{
public:
    using Sink = std::function<void(const QByteArray &)>;
    ReportWriter(const ReportOptions &options, Sink sink);

    void add(const FileReport &report);
    // Closes the output; a report with no file loaded is still complete.
    void finish();

private:
    void open();

    ReportOptions m_options;
    Sink m_sink;
    bool m_opened = false;
    int m_written = 0;
};

// The whole output of reports, as ReportWriter writes it.
QByteArray assembleReport(const QList<FileReport> &reports, const ReportOptions &options);

// The header row of a report in CSV.
QStringList reportHeader(ReportKind kind);

// The summary of a store, as rows and as JSON (exposed for the tests).
QList<QStringList> summaryRows(const QString &file, const struct Summary &summary);
QJsonObject summaryJson(const struct Summary &summary);

} // namespace kvl
