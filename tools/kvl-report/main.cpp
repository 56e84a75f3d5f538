// kvl-report: levels, events, parameter records or period figures of one or
// many ".kvl" files, on standard output, for spreadsheets and scripts.

#include "PdfMode.h"
#include "export/Report.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QFile>

#include <cerrno>
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
    "           on 3.5/4.0), 0 when none is; door_openings; events by label. A day or night\n"
    "           part follows the switching hours in force at each minute; a night belongs to\n"
    "           the day it starts on.\n"
    "           The device stores a 10-minute level only from 70 dB, so the figures describe\n"
    "           the stored (loud) intervals, not the quiet hours.\n"
    "\n"
    "Thresholds: on 5.X and KVL 36 the parameter record and the door state in force at each\n"
    "minute, from all the file's records before it, so a figure never depends on --from\n"
    "and --to. Before the first parameter record or door event (or under a record without\n"
    "usable thresholds) the device's current parameters, door closed: a warning on standard\n"
    "error names each such day and stretch. On 3.5/4.0 the current parameters.\n"
    "\n"
    "A level belongs to the day and part of the last minute it measured (a level stamped\n"
    "00:00 belongs to the day before). Rows are written as each file is done, in the order\n"
    "given. A period without data writes no row for that file and a warning.\n"
    "Exit status: 0 done; 1 a file could not be read (it is named on standard error with\n"
    "the loader's message and where it failed; the others are still written) or standard\n"
    "output could not be written; 2 bad options (unknown option, --from after --to,\n"
    "--threads not from 1 to 256, ...). Warnings leave the status at 0.\n"
    "Files are checked before they are read: only regular files, at most the size of the\n"
    "largest data file, starting with a data file marker.";

bool parseDate(const QString &text, QDate *date)
{
    *date = QDate::fromString(text, Qt::ISODate);
    return date->isValid();
}

void fail(const QString &text)
{
    std::fprintf(stderr, "kvl-report: %s\n", qPrintable(text));
}

// More would only hold more files' stores at once.
constexpr int MaxThreads = 256;

// What the command line asks for; `error` set when it cannot be done (exit status 2).
struct Request
{
    ReportOptions options;
    QList<ReportInput> files;
    int threads = 1;
    QString error;
};

// Argument strings as the parser wants them, and each argument's own bytes:
// a file name that is no UTF-8 must reach open() unchanged.
QStringList decodedArguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QFile::decodeName(argv[i]);
    return args;
}

QList<ReportInput> positionalInputs(const QStringList &positional, const QStringList &args, char **argv)
{
    // The positional arguments come in argument order: match each to the
    // next argument that decodes to it.
    QList<ReportInput> inputs;
    int from = 1;
    for (const QString &name : positional) {
        int i = from;
        while (i < args.size() && args[i] != name)
            ++i;
        if (i == args.size()) {
            inputs << ReportInput::fromName(name);
            continue;
        }
        inputs << ReportInput::fromLocalPath(QByteArray(argv[i]));
        from = i + 1;
    }
    return inputs;
}

Request readRequest(QCommandLineParser &parser, int argc, char **argv)
{
    Request q;
    const QStringList args = decodedArguments(argc, argv);
    if (!parser.parse(args)) {
        QString text = parser.errorText();
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        q.error = text + QStringLiteral(" (see --help)");
        return q;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    int kinds = 0;
    const std::pair<const char *, ReportKind> choices[] = {{"leq", ReportKind::Leq},
                                                           {"events", ReportKind::Events},
                                                           {"params", ReportKind::Params},
                                                           {"summary", ReportKind::Summary}};
    for (const auto &c : choices)
        if (parser.isSet(QString::fromLatin1(c.first))) {
            q.options.kind = c.second;
            ++kinds;
        }
    kinds += pdfRequested(parser) ? 1 : 0;
    if (kinds != 1) {
        q.error = QStringLiteral("choose one of --leq, --events, --params, --summary, --pdf (see --help)");
        return q;
    }
    const QString format = parser.value(QStringLiteral("format"));
    if (format == QLatin1String("json"))
        q.options.format = ReportFormat::Json;
    else if (format != QLatin1String("csv")) {
        q.error = QStringLiteral("unknown format \"%1\": csv or json").arg(format);
        return q;
    }
    for (const char *name : {"from", "to"}) {
        const QString key = QString::fromLatin1(name);
        if (!parser.isSet(key))
            continue;
        QDate *date = key == QLatin1String("from") ? &q.options.range.from : &q.options.range.to;
        if (!parseDate(parser.value(key), date)) {
            q.error = QStringLiteral("--%1: \"%2\" is no date YYYY-MM-DD").arg(key, parser.value(key));
            return q;
        }
    }
    const DateRange &range = q.options.range;
    if (!range.from.isNull() && !range.to.isNull() && range.from > range.to) {
        q.error = QStringLiteral("--from %1 is after --to %2: no day to report")
                      .arg(range.from.toString(Qt::ISODate), range.to.toString(Qt::ISODate));
        return q;
    }
    q.threads = qMax(1, int(std::thread::hardware_concurrency()));
    if (parser.isSet(QStringLiteral("threads"))) {
        bool number = false;
        const QString text = parser.value(QStringLiteral("threads"));
        q.threads = text.toInt(&number);
        if (!number || q.threads < 1 || q.threads > MaxThreads) {
            q.error = QStringLiteral("--threads: \"%1\" is no number of threads from 1 to %2")
                          .arg(text)
                          .arg(MaxThreads);
            return q;
        }
    }
    q.files = positionalInputs(parser.positionalArguments(), args, argv);
    if (q.files.isEmpty())
        q.error = QStringLiteral("no file given (see --help)");
    return q;
}

// Writes to standard output and remembers a failure (a full disk, a closed pipe).
class StandardOutput
{
public:
    void write(const QByteArray &bytes)
    {
        if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) != std::size_t(bytes.size()))
            m_failed = true;
    }
    bool close()
    {
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            m_failed = true;
        return !m_failed;
    }

private:
    bool m_failed = false;
};

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
        {"threads", "Files read at once, 1 to 256 (default: the number of cores).", "n"},
    });
    parser.addPositionalArgument(QStringLiteral("FILE.kvl"), QStringLiteral("Data files to read."),
                                 QStringLiteral("FILE.kvl..."));
    addPdfOptions(parser);
    const Request request = readRequest(parser, argc, argv);
    if (!request.error.isEmpty()) {
        fail(request.error);
        return 2;
    }
    if (pdfRequested(parser))
        return runPdf(parser, request.options.range, request.files);

    StandardOutput out;
    ReportWriter writer(request.options, [&out](const QByteArray &bytes) { out.write(bytes); });
    int status = 0;
    reportFiles(request.files, request.options, request.threads, [&](const FileReport &r) {
        for (const QString &w : r.warnings)
            fail(r.path + QStringLiteral(": warning: ") + w);
        if (!r.loaded) {
            fail(r.path + QStringLiteral(": ") + r.error);
            status = 1;
        }
        writer.add(r);
    });
    writer.finish();
    if (!out.close()) {
        fail(QStringLiteral("standard output could not be written: ") + qt_error_string(errno));
        return 1;
    }
    return status;
}
