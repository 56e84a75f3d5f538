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
        test::addDataRows(QStringLiteral("tables/cases.txt"), QStringLiteral("print layouts"));
    }

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

QTEST_GUILESS_MAIN(TablePrintTest)
#include "tst_tableprint.moc"
