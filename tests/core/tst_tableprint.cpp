// Page layout of the table printouts, replayed into a recording printer.

#include "tables/TablePrint.h"

#include <QtTest>

using namespace kvl;

namespace {

// Records what a printer is asked to do, one list of texts per page.
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
};

// The pages a printer receives for a document.
QList<QList<PrintText>> printed(const PrintDocument &doc)
{
    RecordingPrinter printer;
    if (!replay(doc, printer))
        return {};
    printer.pages.removeLast(); // opened by the last endPage
    return printer.pages;
}

PrintedList list(const QString &period, int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return PrintedList{QStringLiteral("Serial"), period, lines, count > 0};
}

PrintText number(int page, int y = 15500)
{
    return PrintText{5000, y, QStringLiteral(" Page   %1").arg(page)};
}

} // namespace

class TablePrintTest : public QObject
{
    Q_OBJECT

private slots:
    void pageBreaks_data()
    {
        QTest::addColumn<int>("table"); // 0 events, 1 Leq, 2 Leq10 of the 5.X window
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("lastPageLines");
        QTest::newRow("events 69") << 0 << 69 << 1 << 69;
        QTest::newRow("events 70") << 0 << 70 << 2 << 1;
        QTest::newRow("events 139") << 0 << 139 << 3 << 1;
        QTest::newRow("leq 70") << 1 << 70 << 2 << 1;
        QTest::newRow("leq10 64") << 2 << 64 << 1 << 64;
        QTest::newRow("leq10 65") << 2 << 65 << 2 << 1;
    }

    void pageBreaks()
    {
        QFETCH(int, table);
        QFETCH(int, lines);
        QFETCH(int, pages);
        QFETCH(int, lastPageLines);
        const PrintedList body = list(QStringLiteral("P"), lines);
        const auto doc =
            printed(table == 0   ? eventsTablePrint(body, false)
                    : table == 1 ? leqTablePrint(body)
                                 : leqV5TablePrint(body, list(QStringLiteral("P1"), 0)).mid(0, pages));
        QCOMPARE(doc.size(), pages);

        const int perPage = table == 2 ? 64 : 69;
        int lineNumber = 0;
        for (int p = 0; p < pages; ++p) {
            // Serial and period first, the page number last.
            const QList<PrintText> texts = doc[p].mid(2, doc[p].size() - 3);
            QCOMPARE(texts.size(), p + 1 == pages ? lastPageLines : perPage);
            for (int n = 1; n <= texts.size(); ++n)
                QCOMPARE(texts[n - 1],
                         (PrintText{2350, 1000 + 200 * n, QStringLiteral("line %1").arg(++lineNumber)}));
            QCOMPARE(doc[p].last(), number(p + 1, table == 2 && p + 1 < pages ? 16000 : 15500));
        }
        QCOMPARE(lineNumber, lines);
    }

    void eventsHeaderPositions_data()
    {
        QTest::addColumn<bool>("singleDay");
        QTest::addColumn<int>("firstPeriodX");
        QTest::newRow("several days") << false << 2350;
        QTest::newRow("single day") << true << 3000;
    }

    void eventsHeaderPositions()
    {
        QFETCH(bool, singleDay);
        QFETCH(int, firstPeriodX);
        const auto doc = printed(eventsTablePrint(list(QStringLiteral("Period"), 70), singleDay));
        QCOMPARE(doc.size(), 2);
        QCOMPARE(doc[0][0], (PrintText{3300, 200, QStringLiteral("Serial")}));
        QCOMPARE(doc[0][1], (PrintText{firstPeriodX, 400, QStringLiteral("Period")}));
        QCOMPARE(doc[1], (QList<PrintText>{{3900, 200, QStringLiteral("Serial")},
                                           {3000, 400, QStringLiteral("Period")},
                                           {2350, 1200, QStringLiteral("line 70")},
                                           number(2)}));

        // The Leq table keeps its header where it was.
        const auto leq = printed(leqTablePrint(list(QStringLiteral("Period"), 70)));
        QCOMPARE(leq[1][0], (PrintText{3300, 200, QStringLiteral("Serial")}));
        QCOMPARE(leq[1][1], (PrintText{2350, 400, QStringLiteral("Period")}));
    }

    void emptyPeriodMessages_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<QString>("message");
        QTest::newRow("events") << 0 << "There is no event in the memory for this period !";
        QTest::newRow("leq") << 1 << "No Leq value for this period !!!";
    }

    void emptyPeriodMessages()
    {
        QFETCH(int, table);
        QFETCH(QString, message);
        const PrintedList empty = list(QStringLiteral("P"), 0);
        const auto doc = printed(table == 0 ? eventsTablePrint(empty, true) : leqTablePrint(empty));
        QCOMPARE(doc.size(), 1);
        QCOMPARE(doc[0].size(), 4);
        QCOMPARE(doc[0][2], (PrintText{3000, 1000, message}));
        QCOMPARE(doc[0][3], number(1));
    }

    void leqV5Runs()
    {
        // 130 Leq10 lines (three pages) then no Leq1 line: the Leq1 run restarts at page 1.
        auto doc = printed(
            leqV5TablePrint(list(QStringLiteral("Leq10 head"), 130), list(QStringLiteral("Leq1 head"), 0)));
        QCOMPARE(doc.size(), 4);
        QCOMPARE(doc[1].last(), number(2, 16000));
        QCOMPARE(doc[2].last(), number(3));
        QCOMPARE(doc[2].size(), 2 + 2 + 1);
        QCOMPARE(doc[3], (QList<PrintText>{{3300, 200, QStringLiteral("Serial")},
                                           {2350, 400, QStringLiteral("Leq1 head")},
                                           {3000, 1000, QStringLiteral("No Leq1 value for this period  !!!")},
                                           number(1)}));

        // Leq1 pages break at 64 lines with their numbers at the usual place.
        doc = printed(
            leqV5TablePrint(list(QStringLiteral("Leq10 head"), 0), list(QStringLiteral("Leq1 head"), 65)));
        QCOMPARE(doc.size(), 3);
        QCOMPARE(doc[0][2], (PrintText{3000, 1000, QStringLiteral("No Leq10 value for this period !!!")}));
        QCOMPARE(doc[1].last(), number(1));
        QCOMPARE(doc[2].mid(2), (QList<PrintText>{{2350, 1200, QStringLiteral("line 65")}, number(2)}));
    }

    void emptyLinesCount()
    {
        PrintedList body = list(QStringLiteral("P"), 68);
        body.lines.insert(10, QString());
        body.lines.insert(20, QString());
        const auto doc = printed(leqTablePrint(body));
        QCOMPARE(doc.size(), 2);
        QCOMPARE(doc[0][2 + 10], (PrintText{2350, 1000 + 200 * 11, QString()}));
        QCOMPARE(doc[1][2], (PrintText{2350, 1200, QStringLiteral("line 68")}));
    }

    void failingPrinterStops()
    {
        RecordingPrinter failing;
        failing.failAtPage = 2;
        QVERIFY(!replay(eventsTablePrint(list(QStringLiteral("P"), 200), false), failing));
        QCOMPARE(failing.pages.size(), 2); // nothing after the failed page
    }
};

QTEST_GUILESS_MAIN(TablePrintTest)
#include "tst_tableprint.moc"
