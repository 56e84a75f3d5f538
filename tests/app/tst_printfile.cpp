// Printing to a PDF file from every print window: the file chosen in the
// printer dialog is written whole or not at all, and a failure says why.

#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "WriteFaults.h"

#include "charts/ChartPeriod.h"
#include "charts/frmGraphique_Leq.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

QByteArray run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) ? p.readAllStandardOutput() : QByteArray();
}

// What a reader sees of a PDF: its document lines and its text in drawing order.
QByteArray pdfSummary(const QString &path)
{
    QByteArray out;
    for (const QByteArray &line : run(QStringLiteral("pdfinfo"), {path}).split('\n'))
        for (const char *key : {"Title:", "Creator:", "Pages:", "Page size:"})
            if (line.startsWith(key))
                out += line.simplified() + '\n';
    return out + run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
}

// Opens a print window of a busy 5.X store and clicks its print button;
// `messages` holds what the print showed.
void printFrom(const QString &window, MessageRecorder &messages)
{
    Store &s = appStore();
    s = Store();
    fillBusyStore(s, Version5X);
    QWidget *form = nullptr;
    if (window == QLatin1String("chart")) {
        storeChartPeriod(s, ChartDate{28, 2, 2008}, 1);
        auto *chart = qobject_cast<frmGraphique_Leq *>(openForm(QStringLiteral("frmGraphique_Leq")));
        QVERIFY(chart);
        chart->zoomButton(Diagram::Leq10)->click();
        messages.clear();
        chart->printButton(Diagram::Leq10)->click();
        form = chart;
    } else {
        setPeriod(s, QStringLiteral("27/02/2008"), QStringLiteral("02/03/2008"));
        form = openForm(window);
        QVERIFY(form);
        messages.clear();
        form->findChild<QAbstractButton *>(QStringLiteral("Cmd_Print"))->click();
    }
    // The window is back as it was.
    QVERIFY(form->isEnabled());
    QVERIFY(frmMain::instance()->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
}

} // namespace

class PrintFileTest : public WindowTest
{
    Q_OBJECT

private slots:
    void printToFile_data() { addDataRows(QStringLiteral("rows/print_file.txt")); }

    // The printed file replaces the one chosen, with the page size chosen; or
    // the old file stays, nothing else is left, and a message names the file.
    void printToFile()
    {
        QFETCH(QStringList, c);
        const QString window = c[1], fault = c[2], target = c[3];
        QString outcome = c[4];
        const bool printed = outcome == QLatin1String("printed");
        if (printed && QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("pdfinfo is not installed");
        QTemporaryDir dir;
        QFile old(dir.filePath(QStringLiteral("old.pdf")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const QString path = dir.filePath(target);
        ScriptedDialogs dialogs;
        dialogs.printerAnswers = {true};
        dialogs.printerPdfPath = path;
        dialogs.printerChoices = [](QPrinter &printer) { printer.setPageSize(QPageSize(QPageSize::A3)); };
        MessageRecorder messages;
        {
            FaultyTarget faulty(path, writeFault(fault));
            printFrom(window, messages);
        }
        QCOMPARE(dialogs.printerRequests, 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"old.pdf"});
        QVERIFY(old.open(QIODevice::ReadOnly));
        if (printed) {
            QVERIFY(messages.messages.isEmpty());
            QVERIFY(old.read(5) == "%PDF-");
            KVL_COMPARE_FILE(QStringLiteral("print/") + window + QStringLiteral(".txt"), pdfSummary(path));
        } else {
            QCOMPARE(old.readAll(), QByteArray("old"));
            QCOMPARE(shown(messages), msg(QStringLiteral("It is impossible to write this file : ") + path +
                                              QStringLiteral(" (") + outcome.replace("<path>", path) + ")",
                                          QStringLiteral("Print"), MsgIcon::Critical));
        }
    }
};

QTEST_MAIN(PrintFileTest)
#include "tst_printfile.moc"
