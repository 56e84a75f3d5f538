// kvl-report: levels, events, parameter records or period figures of one or
// many ".kvl" files, on standard output, for spreadsheets and scripts.

#include "PdfMode.h"
#include "export/Report.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>

#include <cstdio>
#include <thread>

using namespace kvl;

namespace {

const char *const Description =
    "Writes what one or many .kvl data files hold, for spreadsheets, pandas or DuckDB.\n"
    "\n"
    "Exactly one of --leq, --events, --params, --summary, --pdf chooses what is written.\n"
    "CSV: RFC 4180, UTF-8, CR LF, one header row, a \"file\" column first.\n"
    "JSON: one array with an object per file (file, device, serial_number and the rows).\n"
    "Times are the device's local time, ISO 8601 (2008-03-05T14:10:00).\n"
    "\n"
    "--leq      one row per stored level: series (Leq on firmware 3.5/4.0, Leq10 and Leq1\n"
    "           on 5.X and KVL 36), start and end of its interval, level_db in whole dB.\n"
    "           A 10-minute level starts where the level before it ended when that one is\n"
    "           at most 10 minutes older, else 10 minutes before its time stamp.\n"
    "--events   one row per event: time, code_a, code_b (the two code bytes), label.\n"
    "--params   the parameter records dated in the period, the one in force at its start,\n"
    "           and the device's current parameters (record \"current\").\n"
    "--summary  figures for the whole file, each day and each day or night part:\n"
    "           levels (number of 10-minute levels), laeq_db = 10 log10 of the mean of\n"
    "           10^(L/10) over those levels, one decimal; l10_db, l50_db, l90_db = the level\n"
    "           reached or exceeded by 10, 50, 90 % of them, nearest rank: sorted highest\n"
    "           first, the level at rank ceil(p/100 x n); lmax_db the highest;\n"
    "           minutes_above_threshold = minutes whose level is strictly above the threshold\n"
    "           in force (1-minute levels on 5.X and KVL 36, each minute of a 10-minute level\n"
    "           on 3.5/4.0; thresholds from the parameter history and door events, or the\n"
    "           device's current parameters); door_openings; events by label.\n"
    "           The device stores a 10-minute level only from 70 dB, so the figures describe\n"
    "           the stored (loud) intervals, not the quiet hours.\n"
    "\n"
    "A level belongs to the day and part of the last minute it measured (a level stamped\n"
    "00:00 belongs to the day before). A file that cannot be read is reported on standard\n"
    "error with the loader's message; the others are still written and the exit status is 1.\n"
    "When the parameter history and door events of a 5.X or KVL 36 file give no threshold\n"
    "schedule for a week, the current parameters are used and the reason is written to\n"
    "standard error as a warning (the exit status stays 0).\n"
    "Bad options give exit status 2.";

bool parseDate(const QString &text, QDate *date)
{
    *date = QDate::fromString(text, Qt::ISODate);
    return date->isValid();
}

void fail(const QString &text)
{
    std::fprintf(stderr, "kvl-report: %s\n", qPrintable(text));
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = makeReportApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvl-report"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    parser.addHelpOption();
    parser.addOptions({
        {"from", "First day of the period, YYYY-MM-DD (default: no limit).", "DATE"},
        {"to", "Last day of the period, YYYY-MM-DD, included (default: no limit).", "DATE"},
        {"leq", "Write the stored levels."},
        {"events", "Write the events."},
        {"params", "Write the parameter records."},
        {"summary", "Write the period figures."},
        {"format", "csv (default) or json.", "csv|json", "csv"},
        {"threads", "Files read at once (default: the number of cores).", "n"},
    });
    parser.addPositionalArgument(QStringLiteral("FILE.kvl"), QStringLiteral("Data files to read."),
                                 QStringLiteral("FILE.kvl..."));
    addPdfOptions(parser);
    parser.process(*app);

    ReportOptions options;
    int kinds = 0;
    const std::pair<const char *, ReportKind> choices[] = {{"leq", ReportKind::Leq},
                                                           {"events", ReportKind::Events},
                                                           {"params", ReportKind::Params},
                                                           {"summary", ReportKind::Summary}};
    for (const auto &c : choices)
        if (parser.isSet(QString::fromLatin1(c.first))) {
            options.kind = c.second;
            ++kinds;
        }
    kinds += pdfRequested(parser) ? 1 : 0;
    if (kinds != 1) {
        fail(QStringLiteral("choose one of --leq, --events, --params, --summary, --pdf (see --help)"));
        return 2;
    }
    const QString format = parser.value(QStringLiteral("format"));
    if (format == QLatin1String("json"))
        options.format = ReportFormat::Json;
    else if (format != QLatin1String("csv")) {
        fail(QStringLiteral("unknown format \"%1\": csv or json").arg(format));
        return 2;
    }
    for (const char *name : {"from", "to"}) {
        const QString key = QString::fromLatin1(name);
        if (!parser.isSet(key))
            continue;
        QDate *date = key == QLatin1String("from") ? &options.range.from : &options.range.to;
        if (!parseDate(parser.value(key), date)) {
            fail(QStringLiteral("--%1: \"%2\" is no date YYYY-MM-DD").arg(key, parser.value(key)));
            return 2;
        }
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        fail(QStringLiteral("no file given (see --help)"));
        return 2;
    }
    if (pdfRequested(parser))
        return runPdf(parser, options.range.from, options.range.to, files);
    int threads = int(std::thread::hardware_concurrency());
    if (parser.isSet(QStringLiteral("threads")))
        threads = parser.value(QStringLiteral("threads")).toInt();
    threads = qMax(1, threads);

    const QList<FileReport> reports = reportFiles(files, options, threads);
    int status = 0;
    for (const FileReport &r : reports) {
        for (const QString &w : r.warnings)
            fail(r.path + QStringLiteral(": warning: ") + w);
        if (!r.loaded) {
            fail(r.path + QStringLiteral(": ") + r.error);
            status = 1;
        }
    }
    const QByteArray out = assembleReport(reports, options);
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    return status;
}
