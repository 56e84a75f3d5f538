// "Export CSV..." in the table windows and the diagram window: the file holds
// one row per line the list shows (export/lists.txt), the proposed name, and
// the failure paths.

#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "WriteFaults.h"

#include "charts/ChartPeriod.h"
#include "files/DataFile.h"
#include "shell/AppHooks.h"
#include "shell/CsvExport.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// The export of a list of the window, or (no list) of the window itself.
QAction *exportAction(QWidget *window, const QString &list)
{
    QWidget *w = window && !list.isEmpty() ? window->findChild<QListWidget *>(list) : window;
    return w ? w->findChild<QAction *>(QStringLiteral("Export_CSV")) : nullptr;
}

// A table window on the busy store, or (version 0) the diagram window of one
// day of the sample 5.X file.
QWidget *openWindow(int version, const QString &window, const QString &start, const QString &end)
{
    Store &store = appStore();
    store = Store();
    if (version == 0) {
        QFile f(qEnvironmentVariable("KVL_SAMPLES") + QStringLiteral("/sample_v5.kvl"));
        if (!f.open(QIODevice::ReadOnly) || readDataFile(f.readAll(), store).result != LoadOutcome::Loaded)
            return nullptr;
        storeChartPeriod(store, ChartDate{10, 9, 2026}, 1);
    } else {
        fillBusyStore(store, version);
        setPeriod(store, start, end);
    }
    return openForm(window);
}

} // namespace

class CsvExportTest : public WindowTest
{
    Q_OBJECT

private slots:
    void exportsWhatTheListShows_data() { addDataRows(QStringLiteral("export/csvexport.txt")); }
    void exportsWhatTheListShows()
    {
        QFETCH(QStringList, c);
        MessageRecorder messages; // the diagram's threshold analysis may speak
        QWidget *w =
            openWindow(c[1].toInt(), c[2], QStringLiteral("28/02/2008"), QStringLiteral("01/03/2008"));
        QAction *action = exportAction(w, c[3]);
        QVERIFY(action && action->isEnabled());
        QCOMPARE(action->text(), QStringLiteral("Export CSV..."));

        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers << dir.filePath(QStringLiteral("out.csv"));
        action->trigger();
        QCOMPARE(dialogs.saveRequests, QStringList{c[4]});
        QFile file(dir.filePath(QStringLiteral("out.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        KVL_COMPARE_REF("export/lists.txt", QTest::currentDataTag(),
                        QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n")));
    }

    // The period's figures in the tool tips of the lowest and highest levels.
    void diagramStatistics()
    {
        MessageRecorder messages;
        QWidget *w = openWindow(0, QStringLiteral("frmGraphique_Leq"), {}, {});
        QVERIFY(w);
        QStringList tips;
        for (const QString &name : {"Label_Maxi_Leq10", "Label_Mini_Leq1"})
            tips << name + QStringLiteral(": ") + w->findChild<QWidget *>(name)->toolTip();
        KVL_COMPARE_REF("export/lists.txt", "diagram statistics", tips);
    }

    // A cancel writes nothing and says nothing; a failed write names the file
    // and the reason, keeps the old file, and asks again.
    void cancelledOrFailed_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("answer"); // in a folder holding old.csv; "" cancels
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("reason"); // <path> stands for the chosen file
        QTest::newRow("cancelled") << "none"
                                   << "" << 100 << "";
        QTest::newRow("small file, full disk") << "size limit"
                                               << "old.csv" << 10'240 << "File too large";
        QTest::newRow("large file, full disk") << "size limit"
                                               << "old.csv" << 1'000'000 << "File too large";
        QTest::newRow("read-only folder") << "read-only folder"
                                          << "old.csv" << 100 << "Permission denied";
        QTest::newRow("read-only file") << "read-only file"
                                        << "old.csv" << 100 << "Existing file <path> is not writable";
        QTest::newRow("missing folder") << "none"
                                        << "no/such/folder.csv" << 100 << "No such file or directory";
    }

    void cancelledOrFailed()
    {
        QFETCH(QString, fault);
        QFETCH(QString, answer);
        QFETCH(int, size);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile old(dir.filePath(QStringLiteral("old.csv")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old contents") == 12);
        old.close();
        const QString path = dir.filePath(answer);
        ScriptedDialogs dialogs;
        if (!answer.isEmpty())
            dialogs.saveAnswers << path;
        MessageRecorder messages;
        bool written;
        {
            FaultyTarget faulty(path, writeFault(fault));
            written = exportCsv(nullptr, QStringLiteral("Leq10.csv"), QByteArray(size, 'x'));
        }
        QVERIFY(!written);
        if (answer.isEmpty()) {
            QCOMPARE(dialogs.saveRequests, QStringList{"Leq10.csv"});
            QVERIFY(messages.messages.isEmpty());
        } else {
            QCOMPARE(dialogs.saveRequests, (QStringList{"Leq10.csv", path}));
            QCOMPARE(shown(messages), msg(QStringLiteral("It is impossible to write this file : ") + path +
                                              QStringLiteral(" (") + reason.replace("<path>", path) + ")",
                                          QStringLiteral("Export CSV"), MsgIcon::Critical));
        }
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"old.csv"});
    }

    void nothingToExport()
    {
        QWidget *w = openWindow(4, QStringLiteral("frmTableau_Evenements"), QStringLiteral("01/01/2010"),
                                QStringLiteral("02/01/2010"));
        QAction *action = exportAction(w, QStringLiteral("List_Evenements"));
        QVERIFY(action && !action->isEnabled());
    }
};

QTEST_MAIN(CsvExportTest)
#include "tst_csvexport.moc"
