// "Export CSV..." in the table windows: the file holds one row per line the
// list shows, with the same times and levels or labels.

#include "../core/TableStores.h"
#include "TestSupport.h"

#include "charts/ChartPeriod.h"
#include "files/DataFile.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

QAction *exportAction(QWidget *list)
{
    return list ? list->findChild<QAction *>(QStringLiteral("Export_CSV")) : nullptr;
}

QWidget *openTable(int version, const QString &window, const QString &start, const QString &end)
{
    Store &store = appStore();
    store = Store();
    fillBusyStore(store, version);
    setPeriod(store, start, end);
    return openForm(window);
}

// "hh:mm level-or-label" of each line a list shows, and of each CSV row.
QStringList listKeys(const QListWidget *list, bool events, const QString &word = QStringLiteral("to"))
{
    static const QRegularExpression leq(QStringLiteral("to  (\\d\\d) h\\. (\\d\\d) .*= *(\\d+) dB\\.$"));
    const QRegularExpression event(word + QStringLiteral("   (\\d\\d) h\\. (\\d\\d)   :   (.*)\\.$"));
    QStringList keys;
    for (int i = 0; i < list->count(); ++i) {
        const QRegularExpressionMatch m = (events ? event : leq).match(list->item(i)->text());
        if (m.hasMatch())
            keys << m.captured(1) + QLatin1Char(':') + m.captured(2) + QLatin1Char(' ') +
                        m.captured(3).trimmed();
    }
    return keys;
}

QStringList csvKeys(const QByteArray &csv, bool events)
{
    QStringList rows = QString::fromUtf8(csv).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QStringList keys;
    for (const QString &row : rows.mid(1)) {
        const QStringList f = row.split(QLatin1Char(','));
        // events: time, code_a, code_b, label; levels: series, start, end, level
        const QString time = (events ? f[0] : f[2]).mid(11, 5);
        keys << time + QLatin1Char(' ') + f[3];
    }
    return keys;
}

} // namespace

class CsvExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerAllForms();
        auto *main = new frmMain(false);
        main->show();
    }
    void cleanup()
    {
        Fermer_Fenetres();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void exportsWhatTheListShows_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("name");
        QTest::newRow("events") << 4 << "frmTableau_Evenements"
                                << "List_Evenements"
                                << "Events 2008-02-28 to 2008-03-01.csv";
        QTest::newRow("Leq") << 4 << "frmTableau_Leq"
                             << "List_Leq"
                             << "Leq 2008-02-28 to 2008-03-01.csv";
        QTest::newRow("Leq10") << 5 << "frmTableau_Leq_V5"
                               << "List_Leq10"
                               << "Leq10 2008-02-28 to 2008-03-01.csv";
        QTest::newRow("Leq1") << 5 << "frmTableau_Leq_V5"
                              << "List_Leq1"
                              << "Leq1 2008-02-28 to 2008-03-01.csv";
    }
    void exportsWhatTheListShows()
    {
        QFETCH(int, version);
        QFETCH(QString, window);
        QFETCH(QString, list);
        QFETCH(QString, name);
        QWidget *w = openTable(version, window, QStringLiteral("28/02/2008"), QStringLiteral("01/03/2008"));
        auto *shown = w ? w->findChild<QListWidget *>(list) : nullptr;
        QAction *action = exportAction(shown);
        QVERIFY(action && action->isEnabled());
        QCOMPARE(action->text(), QStringLiteral("Export CSV..."));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        ScriptedDialogs dialogs;
        dialogs.saveAnswers << path;
        action->trigger();
        QCOMPARE(dialogs.saveRequests, QStringList{name});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const bool events = list == QLatin1String("List_Evenements");
        const QStringList keys = listKeys(shown, events);
        QVERIFY(keys.size() > 3);
        QCOMPARE(csvKeys(file.readAll(), events), keys);
    }

    // The diagram window's three lists of the sample 5.X file for one day,
    // and the period's figures in the tool tips of the lowest and highest levels.
    void chartWindow_data()
    {
        QTest::addColumn<QString>("list");
        QTest::newRow("Leq10") << "List_Leq10";
        QTest::newRow("Leq1") << "List_Leq1";
        QTest::newRow("events") << "List_Depassement";
    }
    void chartWindow()
    {
        QFETCH(QString, list);
        QFile f(qEnvironmentVariable("KVL_SAMPLES") + QStringLiteral("/sample_v5.kvl"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        Store &store = appStore();
        store = Store();
        QCOMPARE(int(readDataFile(f.readAll(), store).result), int(LoadOutcome::Loaded));
        storeChartPeriod(store, ChartDate{10, 9, 2026}, 1);
        MessageRecorder messages;
        QWidget *w = openForm(QStringLiteral("frmGraphique_Leq"));
        QVERIFY(w);
        auto *shown = w->findChild<QListWidget *>(list);
        QAction *action = exportAction(shown);
        QVERIFY(action && action->isEnabled());
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers << dir.filePath(QStringLiteral("chart.csv"));
        action->trigger();
        QFile file(dir.filePath(QStringLiteral("chart.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const bool events = list == QLatin1String("List_Depassement");
        const QStringList keys = listKeys(shown, events, QStringLiteral("at"));
        QVERIFY(!keys.isEmpty());
        QCOMPARE(csvKeys(file.readAll(), events), keys);

        const QString tip = w->findChild<QWidget *>(QStringLiteral("Label_Maxi_Leq10"))->toolTip();
        QVERIFY2(tip.startsWith(QStringLiteral("Leq10 levels of the period: ")), qPrintable(tip));
        QVERIFY(tip.contains(QStringLiteral("Minutes above the threshold in force: ")));
        QVERIFY(w->findChild<QWidget *>(QStringLiteral("Label_Mini_Leq1"))
                    ->toolTip()
                    .startsWith(QStringLiteral("Leq1 levels of the period: ")));
    }

    void cancelledOrFailed()
    {
        QWidget *w = openTable(5, QStringLiteral("frmTableau_Leq_V5"), QStringLiteral("28/02/2008"),
                               QStringLiteral("28/02/2008"));
        QAction *action =
            exportAction(w ? w->findChild<QListWidget *>(QStringLiteral("List_Leq10")) : nullptr);
        QVERIFY(action);
        ScriptedDialogs dialogs;
        MessageRecorder messages;
        QTemporaryDir dir;
        const QString failing = dir.filePath(QStringLiteral("no/such/folder.csv"));
        dialogs.saveAnswers << std::nullopt << failing;
        action->trigger(); // cancelled: nothing
        QVERIFY(messages.messages.isEmpty());
        action->trigger();
        QCOMPARE(shown(messages), msg(QStringLiteral("It is impossible to write this file : ") + failing,
                                      QStringLiteral("Export CSV"), MsgIcon::Critical));
        QVERIFY(!QFile::exists(failing));
    }

    void nothingToExport()
    {
        QWidget *w = openTable(4, QStringLiteral("frmTableau_Evenements"), QStringLiteral("01/01/2010"),
                               QStringLiteral("02/01/2010"));
        QAction *action =
            exportAction(w ? w->findChild<QListWidget *>(QStringLiteral("List_Evenements")) : nullptr);
        QVERIFY(action);
        QVERIFY(!action->isEnabled());
    }
};

QTEST_MAIN(CsvExportTest)
#include "tst_csvexport.moc"
