#include "report/frmInRapport.h"

#include "archive/AppArchive.h"

#include "files/FileWrite.h"
#include "report/ComplianceReport.h"
#include "report/ReportPdf.h"
#include "shell/DateEdit.h"
#include "shell/Seams.h"
#include "store/Names.h"
#include "store/Store.h"
#include "tables/RecordedSpan.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <memory>

namespace kvl {

namespace {

// The progress window shows only when writing takes longer than this.
constexpr int ProgressDelayMs = 400;

QRadioButton *makeOption(const QString &name, const QString &text)
{
    auto *option = new QRadioButton(text);
    option->setObjectName(name);
    return option;
}

ReportSource sourceOf(const Store &store)
{
    if (store.Data_File_Path.isEmpty())
        return ReportSource{SourceKind::Download, QString()};
    return ReportSource{SourceKind::DataFile, QFileInfo(store.Data_File_Path).fileName()};
}

} // namespace

frmInRapport::frmInRapport() : Form(QStringLiteral("frmInRapport"), &openFlags().Open_frmInRapport, true)
{
    setWindowTitle(QStringLiteral("Report"));
    const Store &store = appStore();
    auto *layout = new QVBoxLayout(this);
    addDialogTitle(layout, QStringLiteral("Select the period of the report"));

    auto *frame = new QGroupBox(QStringLiteral("Period :"));
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(frame);
    m_day = makeOption(QStringLiteral("Option_Jour"), QStringLiteral("One day"));
    m_week = makeOption(QStringLiteral("Option_Semaine"), QStringLiteral("One week"));
    m_month = makeOption(QStringLiteral("Option_Mois"), QStringLiteral("One month"));
    m_fromTo = makeOption(QStringLiteral("Option_Periode"),
                          QStringLiteral("From / to (at most %1 days)").arg(MaxReportDays));
    grid->addWidget(m_day, 0, 0);
    grid->addWidget(m_week, 0, 1);
    grid->addWidget(m_month, 1, 0);
    grid->addWidget(m_fromTo, 1, 1);
    m_start = periodPicker(QStringLiteral("DTP_Jour_Start"));
    m_end = periodPicker(QStringLiteral("DTP_Jour_End"));
    auto *startLabel = new QLabel(QStringLiteral("Start Date :"));
    startLabel->setObjectName(QStringLiteral("Label_Date_Start"));
    auto *endLabel = new QLabel(QStringLiteral("End Date :"));
    endLabel->setObjectName(QStringLiteral("Label_Date_End"));
    grid->addWidget(startLabel, 2, 0);
    grid->addWidget(m_start, 2, 1);
    grid->addWidget(endLabel, 3, 0);
    grid->addWidget(m_end, 3, 1);
    layout->addWidget(frame);
    auto *recorded = new QLabel(recordedDataTextForDialogs(store));
    recorded->setObjectName(QStringLiteral("Label_Recorded_Data"));
    recorded->setAlignment(Qt::AlignCenter);
    layout->addWidget(recorded);

    const OkCancel buttons = addOkCancelRow(layout);
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Cmd_Ok_Click(); });
    connect(buttons.cancel, &QPushButton::clicked, this, &frmInRapport::Cmd_Annuler_Click);

    // The last recorded week, so that a first report finds data.
    const RecordedSpan span = recordedSpanForDialogs(store);
    const QDate last = span.isEmpty() ? QDate::currentDate() : span.last;
    const QDate start = span.isEmpty() ? last : std::max(span.first, last.addDays(-6));
    m_start->setDate(start);
    m_end->setDate(last);
    m_week->setChecked(true);
    for (QRadioButton *option : {m_day, m_week, m_month, m_fromTo})
        connect(option, &QRadioButton::toggled, this, &frmInRapport::spanChanged);
    spanChanged();
}

void frmInRapport::spanChanged()
{
    m_end->setEnabled(m_fromTo->isChecked());
}

bool frmInRapport::Cmd_Ok_Click()
{
    const ReportSpan span = m_day->isChecked()     ? ReportSpan::Day
                            : m_week->isChecked()  ? ReportSpan::Week
                            : m_month->isChecked() ? ReportSpan::Month
                                                   : ReportSpan::FromTo;
    DateRange period;
    switch (reportPeriod(span, m_start->date(), m_end->date(), &period)) {
    case PeriodCheck::Ok:
        break;
    case PeriodCheck::NoDate:
    case PeriodCheck::EndBeforeStart:
        showMessage(QStringLiteral("The end date is before the start date."), QStringLiteral("Report"),
                    MsgIcon::Exclamation);
        return false;
    case PeriodCheck::TooLong:
        showMessage(QStringLiteral("A report covers at most %1 days.").arg(MaxReportDays),
                    QStringLiteral("Report"), MsgIcon::Exclamation);
        return false;
    }
    // From the archive: the period, and the day after for the levels that
    // end at its last midnight.
    if (!loadArchivePeriod(appStore(), period.from, period.to.addDays(1)))
        return false;
    if (!writeReport(this, appStore(), period))
        return false;
    close();
    return true;
}

void frmInRapport::Cmd_Annuler_Click()
{
    close();
}

bool writeReport(QWidget *parent, const Store &store, const DateRange &period)
{
    // The charts work in a store of their own: the windows' periods stay.
    auto work = std::make_unique<Store>(store);
    Lire_Numero_Serie(*work);
    std::optional<QString> path =
        dialogs().saveFile(parent, reportFileName(*work, period), QStringLiteral("PDF (*.pdf)|*.pdf"), 1);
    if (!path || path->isEmpty())
        return false;

    ReportRequest request;
    request.period = period;
    request.source = sourceOf(store);
    request.generated = QDateTime::currentDateTime();
    request.version = programVersion();
    request.paper = paperForLocale();
    const ReportDocument document = buildComplianceReport(*work, request);

    QProgressDialog progress(QStringLiteral("Writing the report..."), QStringLiteral("Cancel"), 0,
                             int(document.pages.size()), parent);
    progress.setObjectName(QStringLiteral("frmWait_Report"));
    progress.setWindowTitle(QStringLiteral("Report"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(ProgressDelayMs);
    QByteArray pdf;
    const PdfOutcome outcome = renderReportPdf(document, &pdf, [&progress](int done, int) {
        progress.setValue(done);
        return !progress.wasCanceled();
    });
    progress.reset();
    if (outcome == PdfOutcome::Cancelled)
        return false;
    if (outcome == PdfOutcome::Failed) {
        showMessage(QStringLiteral("The report could not be drawn."), QStringLiteral("Report"),
                    MsgIcon::Critical);
        return false;
    }
    for (;;) {
        const FileWrite written = writeFileAtomically(*path, pdf);
        if (written.ok())
            return true;
        // Nothing was replaced; the user may choose another place.
        showMessage(writeFailureText(*path, written), QStringLiteral("Report"), MsgIcon::Critical);
        path = dialogs().saveFile(parent, *path, QStringLiteral("PDF (*.pdf)|*.pdf"), 1);
        if (!path || path->isEmpty())
            return false;
    }
}

} // namespace kvl
