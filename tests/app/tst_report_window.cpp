// "Report..." in the Analysis menu: the data source dialog, then the report
// dialog's period choices, the proposed file name and the failure paths.

#include "TestSupport.h"
#include "WindowTest.h"

#include "files/DataFile.h"
#include "files/frmData_Type.h"
#include "report/frmInRapport.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QDateEdit>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

bool loadSample(Store &store)
{
    QFile f(qEnvironmentVariable("KVL_SAMPLES") + QStringLiteral("/sample_v5.kvl"));
    return f.open(QIODevice::ReadOnly) && readDataFile(f.readAll(), store).result == LoadOutcome::Loaded;
}

} // namespace

class ReportWindowTest : public WindowTest
{
    Q_OBJECT

private slots:

    // After the data source, a report asks for its period.
    void dataSourceOpensTheDialog()
    {
        QCOMPARE(firstWindowOfView(RequestedView::Report, Version5X), QStringLiteral("frmInRapport"));
    }

    void dialog_data() { addDataRows(QStringLiteral("report/cases.txt"), QStringLiteral("window")); }
    void dialog()
    {
        QFETCH(QStringList, c);
        QTemporaryDir dir;
        Store &store = appStore();
        store = Store();
        QVERIFY(loadSample(store));
        store.Data_File_Path = QStringLiteral("/data/sample_v5.kvl");
        ScriptedDialogs dialogs;
        const QString file = dir.filePath(QStringLiteral("r.pdf"));
        if (c[4] == "FILE")
            dialogs.saveAnswers << file;
        else if (c[4] == "NODIR")
            dialogs.saveAnswers << dir.filePath(QStringLiteral("no/r.pdf"));
        MessageRecorder messages;

        QPointer<QWidget> form = openForm(QStringLiteral("frmInRapport"));
        QVERIFY(form);
        form->findChild<QRadioButton *>(c[1])->setChecked(true);
        auto *end = form->findChild<QDateEdit *>(QStringLiteral("DTP_Jour_End"));
        QCOMPARE(end->isEnabled(), c[1] == "Option_Periode");
        form->findChild<QDateEdit *>(QStringLiteral("DTP_Jour_Start"))
            ->setDate(QDate::fromString(c[2], Qt::ISODate));
        if (!c[3].isEmpty())
            end->setDate(QDate::fromString(c[3], Qt::ISODate));
        const bool done = static_cast<frmInRapport *>(form.data())->Cmd_Ok_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QCOMPARE(shown(messages), QString(c[5]).replace(QStringLiteral("DIR"), dir.path()));
        QCOMPARE(dialogs.saveRequests, items(QString(c[6]).replace(QStringLiteral("DIR"), dir.path())));
        QCOMPARE(done, c[7] == "0");
        QCOMPARE(!form.isNull() && form->isVisible(), c[7] == "1");
        // A PDF when written, nothing left behind otherwise.
        QFile pdf(file);
        QCOMPARE(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-", c[4] == "FILE");
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(),
                 c[4] == "FILE" ? 1 : 0);
    }
};

QTEST_MAIN(ReportWindowTest)
#include "tst_report_window.moc"
