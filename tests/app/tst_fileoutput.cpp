// Files written from the windows: "Export CSV..." of the table and diagram
// lists (one row per line the list shows, export/lists.txt, and the name
// proposed) and printing to a PDF file from every print window. A file is
// written whole or not at all, and a failure says why.

#include "Programs.h"
#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "WriteFaults.h"

#include "charts/ChartPeriod.h"
#include "charts/frmGraphique_Leq.h"
#include "shell/AppHooks.h"
#include "shell/CsvExport.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPrinter>
#include <QToolButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// A window on the busy store of `version`, or (0) on the sample 5.X file,
// over `period`: a day of the diagram, or "start end" of the tables.
QWidget *openWindow(int version, const QString &window, const QString &period)
{
    Store &store = appStore();
    store = Store();
    if (version == 0) {
        if (!loadSample(QStringLiteral("sample_v5.kvl"), store))
            return nullptr;
    } else {
        fillBusyStore(store, version);
    }
    const QStringList days = period.split(QLatin1Char(' '));
    const QDate day = QDate::fromString(days[0], QStringLiteral("dd/MM/yyyy"));
    if (days.size() == 1)
        storeChartPeriod(store, ChartDate{day.day(), day.month(), day.year()}, 1);
    else
        setPeriod(store, days[0], days.value(1));
    return openForm(window);
}

// What a reader sees of a PDF: its document lines and its text in drawing order.
QByteArray pdfSummary(const QString &path)
{
    QByteArray out;
    for (const QByteArray &line : runProgram(QStringLiteral("pdfinfo"), {path}).out.split('\n'))
        for (const char *key : {"Title:", "Creator:", "Pages:", "Page size:"})
            if (line.startsWith(key))
                out += line.simplified() + '\n';
    return out +
           runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")}).out;
}

// Opens a print window of a busy 5.X store (chart: the enlarged Leq10
// diagram) and clicks its print button; `messages` holds what the print showed.
void printFrom(const QString &window, MessageRecorder &messages)
{
    const bool chart = window == QLatin1String("chart");
    QWidget *form =
        chart ? openWindow(Version5X, QStringLiteral("frmGraphique_Leq"), QStringLiteral("28/02/2008"))
              : openWindow(Version5X, window, QStringLiteral("27/02/2008 02/03/2008"));
    QVERIFY(form);
    auto *diagram = qobject_cast<frmGraphique_Leq *>(form);
    if (chart)
        diagram->zoomButton(Diagram::Leq10)->click();
    messages.clear();
    (chart ? diagram->printButton(Diagram::Leq10)
           : form->findChild<QAbstractButton *>(QStringLiteral("Cmd_Print")))
        ->click();
    // The window is back as it was.
    QVERIFY(form->isEnabled());
    QVERIFY(frmMain::instance()->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
}

} // namespace

class FileOutputTest : public WindowTest
{
    Q_OBJECT

private slots:
    void exportsWhatTheListShows_data() { addDataRows(QStringLiteral("export/csvexport.txt")); }
    void exportsWhatTheListShows()
    {
        QFETCH(QStringList, c);
        MessageRecorder messages; // the diagram's threshold analysis may speak
        // The list's entry, or (no list) the window's.
        QWidget *w = openWindow(c[1].toInt(), c[2], c[4]);
        QVERIFY(w);
        QWidget *owner = c[3].isEmpty() ? w : w->findChild<QListWidget *>(c[3]);
        QAction *action = owner ? owner->findChild<QAction *>(QStringLiteral("Export_CSV")) : nullptr;
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("Export CSV..."));
        QCOMPARE(action->isEnabled(), !c[5].isEmpty());
        if (c[5].isEmpty())
            return;

        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers << dir.filePath(QStringLiteral("out.csv"));
        action->trigger();
        QCOMPARE(dialogs.saveRequests, QStringList{c[5]});
        QFile file(dir.filePath(QStringLiteral("out.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        KVL_COMPARE_REF("export/lists.txt", QTest::currentDataTag(),
                        QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n")));
    }

    // The period's figures in the tool tips of the lowest and highest levels.
    void diagramStatistics()
    {
        MessageRecorder messages;
        QWidget *w = openWindow(0, QStringLiteral("frmGraphique_Leq"), QStringLiteral("10/09/2026"));
        QVERIFY(w);
        QStringList tips;
        for (const QString &name : {"Label_Maxi_Leq10", "Label_Mini_Leq1"})
            tips << name + QStringLiteral(": ") + w->findChild<QWidget *>(name)->toolTip();
        KVL_COMPARE_REF("export/lists.txt", "diagram statistics", tips);
    }

    void writeFromWindow_data() { addDataRows(QStringLiteral("rows/file_output.txt")); }

    // The file chosen replaces the old one (printed: with the page size
    // chosen), or the old file stays, nothing else is left, and a message
    // names the file and the reason; a failed export asks again, a cancel
    // says nothing.
    void writeFromWindow()
    {
        QFETCH(QStringList, c);
        const QStringList source = c[1].split(QLatin1Char(' '));
        const bool csv = source[0] == QLatin1String("csv");
        const QString target = c[3], outcome = c[4];
        if (outcome == QLatin1String("printed") &&
            QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("pdfinfo is not installed");
        QTemporaryDir dir;
        const QString oldName = csv ? QStringLiteral("old.csv") : QStringLiteral("old.pdf");
        QFile old(dir.filePath(oldName));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const QString path = dir.filePath(target);
        ScriptedDialogs dialogs;
        if (!target.isEmpty())
            dialogs.saveAnswers << path;
        dialogs.printerAnswers = {true};
        dialogs.printerPdfPath = path;
        dialogs.printerChoices = [](QPrinter &printer) { printer.setPageSize(QPageSize(QPageSize::A3)); };
        MessageRecorder messages;
        {
            FaultyTarget faulty(path, writeFault(c[2]));
            if (csv)
                QVERIFY(!exportCsv(nullptr, QStringLiteral("Leq10.csv"), QByteArray(source[1].toInt(), 'x')));
            else
                printFrom(source[0], messages);
        }
        if (csv)
            QCOMPARE(dialogs.saveRequests,
                     (target.isEmpty() ? QStringList{"Leq10.csv"} : QStringList{"Leq10.csv", path}));
        else
            QCOMPARE(dialogs.printerRequests, 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{oldName});
        QVERIFY(old.open(QIODevice::ReadOnly));
        if (outcome == QLatin1String("printed")) {
            QVERIFY(messages.messages.isEmpty());
            QVERIFY(old.read(5) == "%PDF-");
            KVL_COMPARE_FILE(QStringLiteral("print/") + source[0] + QStringLiteral(".txt"), pdfSummary(path));
            return;
        }
        QCOMPARE(old.readAll(), QByteArray("old"));
        const QString reason = QString(outcome).replace(QStringLiteral("<path>"), path);
        QCOMPARE(shown(messages),
                 outcome == QLatin1String("cancelled")
                     ? QString()
                     : msg(QStringLiteral("It is impossible to write this file : ") + path +
                               QStringLiteral(" (") + reason + ")",
                           csv ? QStringLiteral("Export CSV") : QStringLiteral("Print"), MsgIcon::Critical));
    }
};

QTEST_MAIN(FileOutputTest)
#include "tst_fileoutput.moc"
