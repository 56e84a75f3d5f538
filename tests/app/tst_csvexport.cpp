// "Export CSV..." in the table windows and the diagram window: the file holds
// one row per line the list shows, with the same times and levels or labels.

#include "../core/TableStores.h"
#include "TestSupport.h"

#include "charts/ChartPeriod.h"
#include "files/DataFile.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

QAction *exportAction(QWidget *window, const QString &list)
{
    QWidget *w = window ? window->findChild<QListWidget *>(list) : nullptr;
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

// "hh:mm level-or-label" of each line a list shows, and of each CSV row.
QStringList listKeys(const QListWidget *list, bool events, bool chart)
{
    static const QRegularExpression leq(QStringLiteral("to  (\\d\\d) h\\. (\\d\\d) .*= *(\\d+) dB\\.$"));
    const QRegularExpression event((chart ? QStringLiteral("at") : QStringLiteral("to")) +
                                   QStringLiteral("   (\\d\\d) h\\. (\\d\\d)   :   (.*)\\.$"));
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
    QStringList keys;
    // events: time, code_a, code_b, label; levels: series, start, end, level
    for (const QString &row :
         QString::fromUtf8(csv).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1)) {
        const QStringList f = row.split(QLatin1Char(','));
        keys << (events ? f[0] : f[2]).mid(11, 5) + QLatin1Char(' ') + f[3];
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
        (new frmMain(false))->show();
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
        const QString period = QStringLiteral(" 2008-02-28 to 2008-03-01.csv");
        QTest::newRow("events") << 4 << "frmTableau_Evenements"
                                << "List_Evenements"
                                << "Events" + period;
        QTest::newRow("Leq") << 4 << "frmTableau_Leq"
                             << "List_Leq"
                             << "Leq" + period;
        QTest::newRow("Leq10") << 5 << "frmTableau_Leq_V5"
                               << "List_Leq10"
                               << "Leq10" + period;
        QTest::newRow("Leq1") << 5 << "frmTableau_Leq_V5"
                              << "List_Leq1"
                              << "Leq1" + period;
        const QString day = QStringLiteral(" 2026-09-10 to 2026-09-11.csv");
        QTest::newRow("diagram Leq10") << 0 << "frmGraphique_Leq"
                                       << "List_Leq10"
                                       << "Leq10" + day;
        QTest::newRow("diagram Leq1") << 0 << "frmGraphique_Leq"
                                      << "List_Leq1"
                                      << "Leq1" + day;
        QTest::newRow("diagram events") << 0 << "frmGraphique_Leq"
                                        << "List_Depassement"
                                        << "Events" + day;
    }
    void exportsWhatTheListShows()
    {
        QFETCH(int, version);
        QFETCH(QString, window);
        QFETCH(QString, list);
        QFETCH(QString, name);
        MessageRecorder messages; // the diagram's threshold analysis may speak
        QWidget *w = openWindow(version, window, QStringLiteral("28/02/2008"), QStringLiteral("01/03/2008"));
        QAction *action = exportAction(w, list);
        QVERIFY(action && action->isEnabled());
        QCOMPARE(action->text(), QStringLiteral("Export CSV..."));

        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers << dir.filePath(QStringLiteral("out.csv"));
        action->trigger();
        QCOMPARE(dialogs.saveRequests, QStringList{name});
        QFile file(dir.filePath(QStringLiteral("out.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const bool events =
            list.contains(QStringLiteral("Evenements")) || list == QLatin1String("List_Depassement");
        const QStringList keys = listKeys(w->findChild<QListWidget *>(list), events, version == 0);
        QVERIFY(keys.size() > 1);
        QCOMPARE(csvKeys(file.readAll(), events), keys);
    }

    // The period's figures in the tool tips of the lowest and highest levels.
    void diagramStatistics()
    {
        MessageRecorder messages;
        QWidget *w = openWindow(0, QStringLiteral("frmGraphique_Leq"), {}, {});
        QVERIFY(w);
        const QString tip = w->findChild<QWidget *>(QStringLiteral("Label_Maxi_Leq10"))->toolTip();
        QVERIFY2(tip.startsWith(QStringLiteral("Leq10 levels of the period: ")), qPrintable(tip));
        QVERIFY(tip.contains(QStringLiteral("Minutes above the threshold in force: ")));
        QVERIFY(w->findChild<QWidget *>(QStringLiteral("Label_Mini_Leq1"))
                    ->toolTip()
                    .startsWith(QStringLiteral("Leq1 levels of the period: ")));
    }

    // The parameter sheet: one row per dated record of its selector, then
    // the current parameters.
    void parameterSheet()
    {
        QWidget *w = openWindow(0, QStringLiteral("frmParametres_v4"), {}, {});
        QAction *action = w ? w->findChild<QAction *>(QStringLiteral("Export_CSV")) : nullptr;
        QVERIFY(action && action->isEnabled());
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers << dir.filePath(QStringLiteral("p.csv"));
        action->trigger();
        QCOMPARE(dialogs.saveRequests, QStringList{QStringLiteral("Parameters 2429630005434.csv")});
        QFile file(dir.filePath(QStringLiteral("p.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList rows =
            QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QVERIFY(rows[0].startsWith(QStringLiteral("record,time,analysis,")));
        const int history = int(rows.filter(QRegularExpression(QStringLiteral("^history,"))).size());
        QCOMPARE(history, w->findChild<QComboBox *>(QStringLiteral("Combo_Jour"))->count());
        QVERIFY(rows.last().startsWith(QStringLiteral("current,2026-10-18T09:41:00,")));
    }

    void cancelledOrFailed()
    {
        QWidget *w = openWindow(5, QStringLiteral("frmTableau_Leq_V5"), QStringLiteral("28/02/2008"),
                                QStringLiteral("28/02/2008"));
        QAction *action = exportAction(w, QStringLiteral("List_Leq10"));
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
        QWidget *w = openWindow(4, QStringLiteral("frmTableau_Evenements"), QStringLiteral("01/01/2010"),
                                QStringLiteral("02/01/2010"));
        QAction *action = exportAction(w, QStringLiteral("List_Evenements"));
        QVERIFY(action && !action->isEnabled());
    }
};

QTEST_MAIN(CsvExportTest)
#include "tst_csvexport.moc"
