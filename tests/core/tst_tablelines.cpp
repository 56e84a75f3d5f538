// Event labels, firmware text, period scans and table lines.

#include "TableStores.h"
#include "TestSupport.h"

#include "tables/EventCodes.h"
#include "tables/Firmware.h"
#include "tables/Period.h"
#include "tables/RecordedSpan.h"
#include "tables/TableLines.h"

#include <QtTest>

using namespace kvl;
using namespace kvl::test;

class TableLinesTest : public QObject
{
    Q_OBJECT

private slots:
    void firmwareText()
    {
        // Each code is an ASCII digit with its bits reversed; "5.X" for any other byte.
        QStringList lines;
        for (auto [major, minor] :
             {std::pair{12, 12}, {140, 204}, {156, 156}, {5, 12}, {'5', '2'}, {140, 13}, {255, 255}})
            lines << QStringLiteral("%1 %2: %3").arg(major).arg(minor).arg(kvl::firmwareText(major, minor));
        KVL_COMPARE_REF("tables/lines.txt", "firmware", lines);
    }

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

    void leqLines_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("kind");
        // The lines of each row are in tests/data/tables/lines.txt.
        const int leq = int(LeqKind::Leq), leq10 = int(LeqKind::Leq10), leq1 = int(LeqKind::Leq1);
        using L = QStringList;
        QTest::newRow("29 February 2008") << L{"01/03/08 00:05 85"} << 1 << 1 << leq;
        QTest::newRow("28 February 2009") << L{"01/03/09 00:05 85"} << 1 << 1 << leq;
        QTest::newRow("year end") << L{"01/01/09 00:03 105"} << 1 << 1 << leq10;
        QTest::newRow("30-day month end") << L{"01/05/08 00:09 70"} << 1 << 1 << leq;
        QTest::newRow("hour borrow, level 1,07") << L{"15/03/08 14:05 107"} << 1 << 1 << leq;
        QTest::newRow("adjacent 10 minutes") << L{"15/03/08 14:10 80", "15/03/08 14:20 81"} << 1 << 2 << leq;
        QTest::newRow("gap of 11 minutes") << L{"15/03/08 14:10 80", "15/03/08 14:21 81"} << 1 << 2 << leq10;
        QTest::newRow("adjacent across midnight")
            << L{"01/03/08 23:55 90", "02/03/08 00:05 91"} << 1 << 2 << leq;
        QTest::newRow("previous row outside the period still adjacent")
            << L{"01/03/08 23:55 90", "02/03/08 00:05 91"} << 2 << 2 << leq;
        QTest::newRow("gapped across midnight, no empty line")
            << L{"01/03/08 22:00 90", "02/03/08 00:05 91"} << 1 << 2 << leq;
        QTest::newRow("empty line between days")
            << L{"03/03/08 21:00 75", "04/03/08 09:00 76"} << 1 << 2 << leq;
        QTest::newRow("Leq1 one minute, never borrows")
            << L{"01/01/09 00:00 101", "01/01/09 00:01 100"} << 1 << 2 << leq1;
        QTest::newRow("no rows") << L{"05/03/08 09:15 88"} << 0 << 0 << leq;
    }

    void leqLines()
    {
        QFETCH(QStringList, records);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, kind);
        LeqTable table;
        fillLeq(table, records);
        KVL_COMPARE_REF("tables/lines.txt", QStringLiteral("leq ") + QTest::currentDataTag(),
                        kvl::leqLines(table, first, last, LeqKind(kind)));
    }

    void periodScan_data()
    {
        QTest::addColumn<int>("leqRows"); // 0: the events table; else the Leq row count scanned
        QTest::addColumn<int>("fillTo");  // rows up to fillTo repeat the last record
        QTest::addColumn<QStringList>("period");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");

        using L = QStringList;
        QTest::newRow("one day") << 0 << 0 << L{"03/03/2008", "03/03/2008"} << 3 << 4;
        QTest::newRow("hours do not matter") << 0 << 0 << L{"02/03/2008", "02/03/2008"} << 2 << 2;
        QTest::newRow("to the last used row") << 0 << 0 << L{"04/03/2008", "31/12/2099"} << 5 << 5;
        QTest::newRow("before every row") << 0 << 0 << L{"01/01/2008", "29/02/2008"} << 0 << 0;
        QTest::newRow("after every row") << 0 << 0 << L{"05/03/2008", "05/03/2008"} << 0 << 0;
        QTest::newRow("start after end") << 0 << 0 << L{"04/03/2008", "01/03/2008"} << 0 << 0;
        QTest::newRow("no stored period") << 0 << 0 << L{"//", "//"} << 0 << 0;
        QTest::newRow("events run to row 4096") << 0 << 4096 << L{"04/03/2008", "31/12/2008"} << 5 << 4096;
        QTest::newRow("Leq 3.5 ends at row 4096")
            << 4096 << 8192 << L{"04/03/2008", "04/03/2008"} << 5 << 4096;
        QTest::newRow("Leq 8192 rows") << 8192 << 8192 << L{"01/01/2008", "31/12/2008"} << 1 << 8192;
        QTest::newRow("Leq no rows") << 8192 << 8192 << L{"05/03/2008", "05/03/2008"} << 0 << 0;
    }

    void periodScan()
    {
        QFETCH(int, leqRows);
        QFETCH(int, fillTo);
        QFETCH(QStringList, period);
        QFETCH(int, first);
        QFETCH(int, last);
        const QStringList week{"01/03/08 10:00 1 0", "02/03/08 23:59 0 1", "03/03/08 00:00 1 0",
                               "03/03/08 12:00 0 2", "04/03/08 08:00 4 0"};
        Store store;
        auto repeatLast = [&](auto &table) {
            fillRows(table, week, leqRows > 0);
            for (int r = int(week.size()) + 1; r <= fillTo; ++r)
                std::copy(table.row(int(week.size())), table.row(int(week.size())) + 8, table.row(r));
        };
        setPeriod(store, period[0], period[1]);
        store.Period_First = store.Period_Last = 77;
        if (leqRows) {
            repeatLast(store.Leq_Records);
            qint32 count = leqRows;
            Periode_Leq(store, count);
        } else {
            repeatLast(store.Event_Records);
            Periode_Evenements(store);
        }
        QCOMPARE(store.Period_First, first);
        QCOMPARE(store.Period_Last, last);
    }

    void eventLines_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("version");
        // The lines of each row are in tests/data/tables/lines.txt.
        QTest::newRow("KVL Open v4 keeps its blank") << QStringList{"03/03/08 09:05 1 0"} << 4;
        QTest::newRow("empty line between days, none before the first")
            << QStringList{"03/03/08 22:00 0 32", "03/03/08 23:59 4 0", "04/03/08 00:00 0 64"} << 70;
        QTest::newRow("skipped row still counts as the row before")
            << QStringList{"03/03/08 22:00 2 0", "04/03/08 01:00 1 1", "04/03/08 02:00 0 8"} << 3;
        QTest::newRow("skipped row of the same day before the new day")
            << QStringList{"03/03/08 22:00 2 0", "03/03/08 23:00 0 0", "04/03/08 02:00 0 8"} << 3;
        QTest::newRow("two bits set") << QStringList{"31/12/08 23:59 0 48"} << 5;
    }

    void eventLines()
    {
        QFETCH(QStringList, records);
        QFETCH(int, version);
        Store store;
        store.Device_Version = qint16(version);
        fillEvents(store.Event_Records, records);
        setPeriod(store, "01/01/2008", "31/12/2008");
        Periode_Evenements(store);
        const QStringList lines = eventTableLines(store);
        KVL_COMPARE_REF("tables/lines.txt", QStringLiteral("events ") + QTest::currentDataTag(), lines);

        // The chart window's list: same rows, "   at   " and its own labels.
        const ListText chart = Lignes_Evenements(store);
        QVERIFY(!chart.message);
        QCOMPARE(chart.lines.size(), lines.size());
        for (const QString &line : chart.lines)
            QVERIFY(line.isEmpty() || line.contains(QStringLiteral("   at   ")));
    }

    void recordedData()
    {
        Store store;
        QCOMPARE(recordedDataText(store), QStringLiteral("Recorded data: none"));
        fillEvents(store.Event_Records, {"29/02/08 12:00 1 0"});
        QCOMPARE(recordedDataText(store), QStringLiteral("Recorded data: 29/02/2008 to 29/02/2008"));
        // Ring order, not date order; invalid stamps and empty values do not count.
        fillLeq(store.Leq_Records, {"13/10/26 23:50 80 10", "01/09/26 18:00 75 10", "31/12/26 60:00 90 10"});
        fillEvents(store.Event_Records, {"02/09/26 00:01 3 0", "14/10/26 01:00 255 0", "31/08/99 12:00 1 0"});
        QCOMPARE(recordedDataText(store), QStringLiteral("Recorded data: 01/09/2026 to 13/10/2026"));
    }

    void referenceTables_data()
    {
        QTest::addColumn<int>("version");
        // The lines of each row are in tests/data/tables/<row name>.txt.
        QTest::newRow("events_v4") << 4;
        QTest::newRow("events_v70") << 70;
        QTest::newRow("leq_v4") << 4;
        QTest::newRow("leq_v5") << 5; // the Leq10 lines, "----", the Leq1 lines
    }

    void referenceTables()
    {
        QFETCH(int, version);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        Store store;
        fillBusyStore(store, version);
        setPeriod(store, "28/02/2008", "02/03/2008");
        QStringList lines;
        if (name.startsWith(QLatin1String("events"))) {
            Periode_Evenements(store);
            lines = eventTableLines(store);
        } else {
            qint32 count = leqRows(store.Device_Version);
            Periode_Leq(store, count);
            if (version >= 5) {
                Separer_Leq1_Leq10(store);
                lines = Lignes_Tableau_Leq10(store) << QStringLiteral("----") << Lignes_Tableau_Leq1(store);
            } else {
                lines = Lignes_Tableau_Leq(store);
            }
        }
        KVL_COMPARE_FILE("tables/" + name + ".txt", lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
};

QTEST_GUILESS_MAIN(TableLinesTest)
#include "tst_tablelines.moc"
