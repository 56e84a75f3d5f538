// Page layout of the table printouts, replayed into a recording printer and
// compared with tests/data/tables/print.txt ("x y text" per entry).

#include "TestCore.h"
#include "tables/TablePrint.h"

#include <QtTest>

using namespace kvl;

namespace {

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

class TablePrintTest : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<int>("table"); // 0 events, 1 events of one day, 2 Leq, 3 Leq10 and Leq1
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("lines1"); // Leq1 lines; for the others an empty line at this index
        QTest::newRow("events 69") << 0 << 69 << 0;
        QTest::newRow("events 70") << 0 << 70 << 0;
        QTest::newRow("events 139") << 0 << 139 << 0;
        QTest::newRow("events one day 70") << 1 << 70 << 0;
        QTest::newRow("events none") << 1 << 0 << 0;
        QTest::newRow("leq 70 with an empty line") << 2 << 69 << 10;
        QTest::newRow("leq none") << 2 << 0 << 0;
        QTest::newRow("leq10 64 then no leq1") << 3 << 64 << 0;
        QTest::newRow("leq10 130 then no leq1") << 3 << 130 << 0;
        QTest::newRow("no leq10 then leq1 65") << 3 << 0 << 65;
    }

    void layout()
    {
        QFETCH(int, table);
        QFETCH(int, lines);
        QFETCH(int, lines1);
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

QTEST_GUILESS_MAIN(TablePrintTest)
#include "tst_tableprint.moc"
