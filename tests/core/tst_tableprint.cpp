// Page layout of the table printouts, replayed into a recording printer.

#include "tables/TablePrint.h"

#include <QtTest>

using namespace kvl;

namespace {

// Records what a printer would be asked to do, one list of texts per page.
class RecordingPrinter : public PageSink
{
public:
    QList<QList<PrintText>> pages{{}};
    int failAtPage = 0; // ending this page (1-based) fails

    void text(int x, int y, const QString &text) override { pages.last() << PrintText{x, y, text}; }
    bool endPage() override
    {
        if (failAtPage == pages.size())
            return false;
        pages << QList<PrintText>();
        return true;
    }
    int endedPages() const { return pages.size() - 1; }
};

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines;
}

PrintedList list(const QString &serial, const QString &period, int lines)
{
    return PrintedList{serial, period, numberedLines(lines), lines > 0};
}

// The texts of a page other than its two header lines and its page number.
QList<PrintText> bodyOf(const QList<PrintText> &page)
{
    return page.mid(2, page.size() - 3);
}

} // namespace

class TablePrintTest : public QObject
{
    Q_OBJECT

private slots:
    void pageBreaks_data();
    void pageBreaks();
    void eventsHeaderPositions_data();
    void eventsHeaderPositions();
    void emptyPeriodMessages_data();
    void emptyPeriodMessages();
    void leqV5Runs();
    void emptyLinesCount();
    void failingPrinterStops();
};

void TablePrintTest::pageBreaks_data()
{
    QTest::addColumn<int>("table"); // 0 events, 1 Leq, 2 Leq10 of the 5.X window
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("lastPageLines");
    QTest::newRow("events 1") << 0 << 1 << 1 << 1;
    QTest::newRow("events 69") << 0 << 69 << 1 << 69;
    QTest::newRow("events 70") << 0 << 70 << 2 << 1;
    QTest::newRow("events 138") << 0 << 138 << 2 << 69;
    QTest::newRow("events 139") << 0 << 139 << 3 << 1;
    QTest::newRow("leq 69") << 1 << 69 << 1 << 69;
    QTest::newRow("leq 70") << 1 << 70 << 2 << 1;
    QTest::newRow("leq10 64") << 2 << 64 << 1 << 64;
    QTest::newRow("leq10 65") << 2 << 65 << 2 << 1;
}

void TablePrintTest::pageBreaks()
{
    QFETCH(int, table);
    QFETCH(int, lines);
    QFETCH(int, pages);
    QFETCH(int, lastPageLines);
    const PrintedList printed = list(QStringLiteral("S"), QStringLiteral("P"), lines);
    PrintDocument doc;
    if (table == 0)
        doc = eventsTablePrint(printed, false);
    else if (table == 1)
        doc = leqTablePrint(printed);
    else
        doc = leqV5TablePrint(printed, list(QStringLiteral("S"), QStringLiteral("P1"), 0)).mid(0, pages);
    QCOMPARE(doc.size(), pages);

    const int perPage = table == 2 ? 64 : 69;
    int lineNumber = 0;
    for (int p = 0; p < pages; ++p) {
        const QList<PrintText> body = bodyOf(doc[p].texts);
        QCOMPARE(body.size(), p + 1 == pages ? lastPageLines : perPage);
        for (int n = 1; n <= body.size(); ++n)
            QCOMPARE(body[n - 1],
                     (PrintText{2350, 1000 + 200 * n, QStringLiteral("line %1").arg(++lineNumber)}));
        const PrintText number = doc[p].texts.last();
        const bool fullLeq10 = table == 2 && p + 1 < pages;
        QCOMPARE(number,
                 (PrintText{5000, fullLeq10 ? 16000 : 15500, QStringLiteral(" Page   %1").arg(p + 1)}));
    }
    QCOMPARE(lineNumber, lines);
}

void TablePrintTest::eventsHeaderPositions_data()
{
    QTest::addColumn<bool>("singleDay");
    QTest::addColumn<int>("firstPeriodX");
    QTest::newRow("several days") << false << 2350;
    QTest::newRow("single day") << true << 3000;
}

void TablePrintTest::eventsHeaderPositions()
{
    QFETCH(bool, singleDay);
    QFETCH(int, firstPeriodX);
    const PrintDocument doc =
        eventsTablePrint(list(QStringLiteral("Serial"), QStringLiteral("Period"), 70), singleDay);
    QCOMPARE(doc.size(), 2);
    QCOMPARE(doc[0].texts[0], (PrintText{3300, 200, QStringLiteral("Serial")}));
    QCOMPARE(doc[0].texts[1], (PrintText{firstPeriodX, 400, QStringLiteral("Period")}));
    QCOMPARE(doc[1].texts[0], (PrintText{3900, 200, QStringLiteral("Serial")}));
    QCOMPARE(doc[1].texts[1], (PrintText{3000, 400, QStringLiteral("Period")}));
    QCOMPARE(doc[1].texts[2], (PrintText{2350, 1200, QStringLiteral("line 70")}));
    QCOMPARE(doc[1].texts[3], (PrintText{5000, 15500, QStringLiteral(" Page   2")}));

    // The Leq table keeps its header where it was.
    const PrintDocument leq = leqTablePrint(list(QStringLiteral("Serial"), QStringLiteral("Period"), 70));
    QCOMPARE(leq[1].texts[0], (PrintText{3300, 200, QStringLiteral("Serial")}));
    QCOMPARE(leq[1].texts[1], (PrintText{2350, 400, QStringLiteral("Period")}));
}

void TablePrintTest::emptyPeriodMessages_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("message");
    QTest::newRow("events") << 0 << "There is no event in the memory for this period !";
    QTest::newRow("leq") << 1 << "No Leq value for this period !!!";
}

void TablePrintTest::emptyPeriodMessages()
{
    QFETCH(int, table);
    QFETCH(QString, message);
    const PrintedList empty = list(QStringLiteral("S"), QStringLiteral("P"), 0);
    const PrintDocument doc = table == 0 ? eventsTablePrint(empty, true) : leqTablePrint(empty);
    QCOMPARE(doc.size(), 1);
    QCOMPARE(doc[0].texts.size(), 4);
    QCOMPARE(doc[0].texts[2], (PrintText{3000, 1000, message}));
    QCOMPARE(doc[0].texts[3], (PrintText{5000, 15500, QStringLiteral(" Page   1")}));
}

void TablePrintTest::leqV5Runs()
{
    // 130 Leq10 lines (three pages) then no Leq1 line: the Leq1 run restarts at page 1.
    const PrintDocument doc = leqV5TablePrint(list(QStringLiteral("S"), QStringLiteral("Leq10 head"), 130),
                                              list(QStringLiteral("S"), QStringLiteral("Leq1 head"), 0));
    QCOMPARE(doc.size(), 4);
    QCOMPARE(doc[0].texts.last(), (PrintText{5000, 16000, QStringLiteral(" Page   1")}));
    QCOMPARE(doc[1].texts.last(), (PrintText{5000, 16000, QStringLiteral(" Page   2")}));
    QCOMPARE(doc[2].texts.last(), (PrintText{5000, 15500, QStringLiteral(" Page   3")}));
    QCOMPARE(bodyOf(doc[2].texts).size(), 2);
    QCOMPARE(doc[3].texts[1], (PrintText{2350, 400, QStringLiteral("Leq1 head")}));
    QCOMPARE(doc[3].texts[2], (PrintText{3000, 1000, QStringLiteral("No Leq1 value for this period  !!!")}));
    QCOMPARE(doc[3].texts[3], (PrintText{5000, 15500, QStringLiteral(" Page   1")}));

    // Leq1 pages break at 64 lines with their numbers at the usual place.
    const PrintDocument both = leqV5TablePrint(list(QStringLiteral("S"), QStringLiteral("Leq10 head"), 0),
                                               list(QStringLiteral("S"), QStringLiteral("Leq1 head"), 65));
    QCOMPARE(both.size(), 3);
    QCOMPARE(both[0].texts[2], (PrintText{3000, 1000, QStringLiteral("No Leq10 value for this period !!!")}));
    QCOMPARE(both[1].texts.last(), (PrintText{5000, 15500, QStringLiteral(" Page   1")}));
    QCOMPARE(both[2].texts.last(), (PrintText{5000, 15500, QStringLiteral(" Page   2")}));
    QCOMPARE(both[2].texts[2], (PrintText{2350, 1200, QStringLiteral("line 65")}));
}

void TablePrintTest::emptyLinesCount()
{
    PrintedList printed{QStringLiteral("S"), QStringLiteral("P"), numberedLines(68), true};
    printed.lines.insert(10, QString());
    printed.lines.insert(20, QString());
    const PrintDocument doc = leqTablePrint(printed);
    QCOMPARE(doc.size(), 2);
    QCOMPARE(doc[0].texts[2 + 10], (PrintText{2350, 1000 + 200 * 11, QString()}));
    QCOMPARE(bodyOf(doc[1].texts), (QList<PrintText>{{2350, 1200, QStringLiteral("line 68")}}));
}

void TablePrintTest::failingPrinterStops()
{
    const PrintDocument doc = eventsTablePrint(list(QStringLiteral("S"), QStringLiteral("P"), 200), false);
    RecordingPrinter ok;
    QVERIFY(replay(doc, ok));
    QCOMPARE(ok.endedPages(), 3);
    QCOMPARE(ok.pages[1], doc[1].texts);

    RecordingPrinter failing;
    failing.failAtPage = 2;
    QVERIFY(!replay(doc, failing));
    QCOMPARE(failing.pages.size(), 2); // nothing after the failed page
}

QTEST_GUILESS_MAIN(TablePrintTest)
#include "tst_tableprint.moc"
