#include "PdfMode.h"

#include "files/FileWrite.h"
#include "report/ComplianceReport.h"
#include "report/ReportPdf.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace kvl {

namespace {

int fail(const QString &text, int status)
{
    std::fprintf(stderr, "kvl-report: %s\n", qPrintable(text));
    return status;
}

// The time printed on the pages: SOURCE_DATE_EPOCH when set, so that a
// report can be made again byte for byte, else now.
QDateTime generationTime()
{
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    return ok ? QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC) : QDateTime::currentDateTime();
}

// Qt's complaint about a missing XDG_RUNTIME_DIR means nothing to a report
// written from a shell or a cron job: keep standard error for our messages.
QtMessageHandler previousHandler = nullptr;

void quietRuntimeDir(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

std::unique_ptr<QCoreApplication> makeReportApplication(int &argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            previousHandler = qInstallMessageHandler(quietRuntimeDir);
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    return std::make_unique<QCoreApplication>(argc, argv);
}

void addPdfOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {"pdf",
         "Write the report of the period (--from and --to, at most 62 days) of one file as a PDF: device, "
         "thresholds, figures per day, Leq diagrams, runs above the threshold, events.",
         "OUT.pdf"},
        {"paper", "Sheet of the PDF: a4 or letter (default: by the locale).", "a4|letter"},
    });
}

bool pdfRequested(const QCommandLineParser &parser)
{
    return parser.isSet(QStringLiteral("pdf"));
}

int runPdf(const QCommandLineParser &parser, const DateRange &range, const QList<ReportInput> &files)
{
    if (!range.from.isValid() || !range.to.isValid())
        return fail(QStringLiteral("--pdf needs --from and --to"), 2);
    ReportRequest request;
    switch (reportPeriod(ReportSpan::FromTo, range.from, range.to, &request.period)) {
    case PeriodCheck::Ok:
        break;
    case PeriodCheck::NoDate:
    case PeriodCheck::EndBeforeStart:
        return fail(QStringLiteral("--to is before --from"), 2);
    case PeriodCheck::TooLong:
        return fail(QStringLiteral("a report covers at most %1 days").arg(MaxReportDays), 2);
    }
    if (files.size() != 1)
        return fail(QStringLiteral("--pdf reports on exactly one file"), 2);
    request.paper = paperForLocale();
    if (parser.isSet(QStringLiteral("paper"))) {
        const QString paper = parser.value(QStringLiteral("paper"));
        if (paper == QLatin1String("letter"))
            request.paper = Paper::Letter;
        else if (paper == QLatin1String("a4"))
            request.paper = Paper::A4;
        else
            return fail(QStringLiteral("unknown paper \"%1\": a4 or letter").arg(paper), 2);
    }

    const ReportInput &input = files.first();
    auto store = std::make_unique<Store>();
    const QString error = loadReportInput(input, *store);
    if (!error.isEmpty())
        return fail(input.name + QStringLiteral(": ") + error, 1);

    request.source = ReportSource{SourceKind::DataFile, QFileInfo(input.name).fileName()};
    request.generated = generationTime();
    request.version = programVersion();
    const ReportDocument document = buildComplianceReport(*store, request);

    const QString out = parser.value(QStringLiteral("pdf"));
    QByteArray pdf;
    if (renderReportPdf(document, &pdf) != PdfOutcome::Written)
        return fail(out + QStringLiteral(": the report could not be drawn"), 1);
    const FileWrite written = writeFileAtomically(out, pdf);
    if (!written.ok())
        return fail(writeFailureText(out, written), 1);
    return 0;
}

} // namespace kvl
