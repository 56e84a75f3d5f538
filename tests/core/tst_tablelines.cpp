// Event labels, period scans, table lines and the page layout
// of the table printouts, replayed into a recording printer.

#include "TableStores.h"
#include "TestCore.h"

#include "tables/EventCodes.h"
#include "tables/Period.h"
#include "tables/RecordedSpan.h"
#include "tables/TableLines.h"
#include "tables/TablePrint.h"

#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

void addCases(const QString &section)
{
    addDataRows(QStringLiteral("tables/cases.txt"), section);
}

// Records what a printer is asked to do, one list of texts per page.
class RecordingPrinter : public PageSink
{
public:
    QStringList lines{QStringLiteral("page 1")};
    int pages = 1;
    int failAtPage = 0; // ending this page (1-based) fails

    void text(int x, int y, const QString &text) override
    {
        lines << QStringLiteral("%1 %2 %3").arg(x).arg(y).arg(text);
    }
    bool endPage() override
    {
        if (failAtPage == pages)
            return false;
        lines << QStringLiteral("page %1").arg(++pages);
        return true;
    }
};

PrintedList list(const QString &period, int count, int emptyAt = 0)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    if (emptyAt)
        lines.insert(emptyAt, QString());
    return PrintedList{QStringLiteral("Serial"), period, lines, count > 0};
}

} // namespace

class TableLinesTest : public QObject
{
    Q_OBJECT

private slots:
    void eventLabels()
    {
        // Each single code bit of either byte, for each version, in the table and in the chart.
        QStringList lines;
        for (int code = 0; code < 16; ++code) {
            const int a = code < 8 ? 1 << code : 0, b = code < 8 ? 0 : 1 << (code - 8);
            QVERIFY(isEvent(a, b));
            for (int version : {3, 4, 5, 70})
                lines << QStringLiteral("%1%2 v%3 |%4|%5|")
                             .arg(QLatin1Char(a ? 'A' : 'B'))
                             .arg(a + b)
                             .arg(version)
                             .arg(eventLabel(a, b, version, EventList::Table),
                                  eventLabel(a, b, version, EventList::Chart));
        }
        KVL_COMPARE_REF("tables/lines.txt", "event labels", lines);
        QVERIFY(!isEvent(0, 0));
        QVERIFY(!isEvent(1, 1));
        QCOMPARE(eventLabel(0, 96, 5, EventList::Table), QStringLiteral("XXX"));
        QCOMPARE(eventLabel(3, 0, 70, EventList::Chart), QStringLiteral("XXX"));
    }

    void leqLines_data() { addCases(QStringLiteral("leq")); }

    void leqLines()
    {
        QFETCH(QStringList, c);
        const int kind = QStringList{"Leq", "Leq10", "Leq1"}.indexOf(c.value(4));
        QVERIFY(kind >= 0);
        LeqTable table;
        fillLeq(table, items(c.value(1)));
        KVL_COMPARE_REF("tables/lines.txt", QStringLiteral("leq ") + c[0],
                        kvl::leqLines(table, c.value(2).toInt(), c.value(3).toInt(), LeqSeries(kind)));
    }

    void periodScan_data() { addCases(QStringLiteral("period scan")); }

    void periodScan()
    {
        QFETCH(QStringList, c);
        const int leqRows = c.value(1).toInt(), fillTo = c.value(2).toInt();
        const QStringList week{"01/03/08 10:00 1 0", "02/03/08 23:59 0 1", "03/03/08 00:00 1 0",
                               "03/03/08 12:00 0 2", "04/03/08 08:00 4 0"};
        Store store;
        auto repeatLast = [&](auto &table) {
            fillRows(table, week, leqRows > 0);
            for (int r = int(week.size()) + 1; r <= fillTo; ++r)
                std::copy(table.row(int(week.size())), table.row(int(week.size())) + 8, table.row(r));
        };
        setPeriod(store, c.value(3), c.value(4));
        store.Period_First = store.Period_Last = 77;
        if (leqRows) {
            repeatLast(store.Leq_Records);
            qint32 count = leqRows;
            Periode_Leq(store, count);
        } else {
            repeatLast(store.Event_Records);
            Periode_Evenements(store);
        }
        QCOMPARE(store.Period_First, c.value(5).toInt());
        QCOMPARE(store.Period_Last, c.value(6).toInt());
    }

    void eventLines_data() { addCases(QStringLiteral("events")); }

    void eventLines()
    {
        QFETCH(QStringList, c);
        Store store;
        store.Device_Version = qint16(c.value(1).toInt());
        fillEvents(store.Event_Records, items(c.value(2)));
        setPeriod(store, "01/01/2008", "31/12/2008");
        Periode_Evenements(store);
        KVL_COMPARE_REF("tables/lines.txt", QStringLiteral("events ") + c[0], eventTableLines(store));
    }

    void recordedData_data() { addCases(QStringLiteral("recorded data")); }
    void recordedData()
    {
        QFETCH(QStringList, c);
        Store store;
        fillLeq(store.Leq_Records, items(c[1]));
        fillEvents(store.Event_Records, items(c[2]));
        int column = 3;
        for (RecordedData which : {RecordedData::Leq, RecordedData::Events, RecordedData::All})
            QCOMPARE(recordedDataText(store, which), QStringLiteral("Recorded data: ") + c[column++]);
    }

    // The lines of each row are in tests/data/tables/<row name>.txt.
    void referenceTables_data() { addCases(QStringLiteral("reference tables")); }
    void referenceTables()
    {
        QFETCH(QStringList, c);
        Store store;
        fillBusyStore(store, c[1].toInt());
        setPeriod(store, "28/02/2008", "02/03/2008");
        QStringList lines;
        if (c[0].startsWith(QLatin1String("events"))) {
            Periode_Evenements(store);
            lines = eventTableLines(store);
        } else {
            qint32 count = leqRows(store.Device_Version);
            Periode_Leq(store, count);
            if (store.Device_Version >= 5) {
                Separer_Leq1_Leq10(store);
                lines = Lignes_Tableau_Leq10(store) << QStringLiteral("----") << Lignes_Tableau_Leq1(store);
            } else {
                lines = Lignes_Tableau_Leq(store);
            }
        }
        KVL_COMPARE_FILE("tables/" + c[0] + ".txt", lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    }

    void layout_data() { addCases(QStringLiteral("print layouts")); }

    void layout()
    {
        QFETCH(QStringList, c);
        const int table = c[1].toInt(), lines = c[2].toInt(), lines1 = c[3].toInt();
        const PrintedList body = list(QStringLiteral("Period"), lines, table < 3 ? lines1 : 0);
        RecordingPrinter printer;
        QVERIFY(replay(table < 2    ? eventsTablePrint(body, table == 1)
                       : table == 2 ? leqTablePrint(body)
                                    : leqV5TablePrint(body, list(QStringLiteral("Leq1 head"), lines1)),
                       printer));
        printer.lines.removeLast(); // opened by the last endPage
        KVL_COMPARE_REF("tables/print.txt", QTest::currentDataTag(), printer.lines);
    }

    void failingPrinterStops()
    {
        RecordingPrinter failing;
        failing.failAtPage = 2;
        QVERIFY(!replay(eventsTablePrint(list(QStringLiteral("P"), 200), false), failing));
        QCOMPARE(failing.pages, 2); // nothing after the failed page
        QCOMPARE(failing.lines.last(), QStringLiteral("5000 15500  Page   2"));
    }
};

QTEST_GUILESS_MAIN(TableLinesTest)
#include "tst_tablelines.moc"
