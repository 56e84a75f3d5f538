// Period figures on small hand-built stores whose values are worked out below.

#include "TableStores.h"

#include "export/Report.h"
#include "export/Schedule.h"
#include "export/Statistics.h"
#include "store/Layout.h"

#include <QtTest>

#include <numeric>

using namespace kvl;
using namespace kvl::test;

namespace {

// Day threshold 80 dB from 06:00, night threshold 70 dB from 22:00.
ThresholdTimeline dayNightTimeline()
{
    ThresholdTimeline t;
    const QDate d(2024, 3, 5);
    t.add(minuteOf(d, 0, 0), minuteOf(d, 6, 0), 70);
    t.add(minuteOf(d, 6, 0), minuteOf(d, 22, 0), 80);
    t.add(minuteOf(d, 22, 0), minuteOf(d.addDays(1), 6, 0), 70);
    t.add(minuteOf(d.addDays(1), 6, 0), minuteOf(d.addDays(1), 22, 0), 80);
    return t;
}

// The device's current parameters: the same thresholds, door open or not.
void setHours(Store &store)
{
    store.Param_History.fill(255);
    store.Param_Block[block::HourDayNight] = 22;
    store.Param_Block[block::HourNightDay] = 6;
    for (int e : {block::LeqDay, block::LeqDayOpen})
        store.Param_Block[e + 1] = 80;
    for (int e : {block::LeqNight, block::LeqNightOpen})
        store.Param_Block[e + 1] = 70;
}

} // namespace

class StatisticsTest : public QObject
{
    Q_OBJECT

private slots:
    // Nearest rank, highest first: L_p is the level at rank ceil(p / 100 x n).
    void percentiles_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("expected");
        // Levels n, n-1, ..., 1: rank k holds the level n + 1 - k.
        QTest::newRow("one level") << 1 << 90 << 1;
        QTest::newRow("10: L10 is rank 1") << 10 << 10 << 10;
        QTest::newRow("10: L50 is rank 5") << 10 << 50 << 6;
        QTest::newRow("10: L90 is rank 9") << 10 << 90 << 2;
        QTest::newRow("11: L10 is rank ceil(1.1) = 2") << 11 << 10 << 10;
        QTest::newRow("11: L90 is rank ceil(9.9) = 10") << 11 << 90 << 2;
        QTest::newRow("20: L50 is rank 10") << 20 << 50 << 11;
        QTest::newRow("3: L10 is rank ceil(0.3) = 1") << 3 << 10 << 3;
    }
    void percentiles()
    {
        QFETCH(int, n);
        QFETCH(int, percent);
        QFETCH(int, expected);
        std::vector<int> levels(static_cast<std::size_t>(n));
        std::iota(levels.rbegin(), levels.rend(), 1);
        QCOMPARE(kvl::exceededLevel(levels, percent), expected);
    }

    // Seven 10-minute levels on 5 and 6 March 2024 (a level belongs to the
    // day and part of the last minute it measured):
    //   stamp         interval             level  part         thr  minutes above
    //   05/03 21:40   21:30-21:40          78     day 5/3      80   0
    //   05/03 21:50   21:40-21:50          84     day 5/3      80   10
    //   05/03 22:00   21:50-22:00          86     day 5/3      80   10
    //   05/03 22:10   22:00-22:10          74     night        70   10
    //   05/03 22:25   22:15-22:25 (gap)    70     night        70   0 (not above)
    //   06/03 00:00   05/03 23:50-00:00    90     night, 5/3   70   10
    //   06/03 06:05   05:55-06:05          75     day 6/3      70 then 80: 5 (05:55-05:59)
    // Whole file: energies 10^(L/10) sum to 1 779 133 189 over 7 levels:
    // LAeq 10 log10(254 161 884) = 84.05. Highest first 90 86 84 78 75 74 70:
    // L10 rank ceil(0.7) = 1: 90; L50 rank ceil(3.5) = 4: 78; L90 rank
    // ceil(6.3) = 7: 70. Minutes 45. 5 March: six levels, 84.64, L10 90, L50
    // rank 3: 84, L90 rank 6: 70, minutes 40 (the 05:55 minutes are the 6th's).
    // Day part 5/3: 86 84 78, 83.76, ranks 1, 2, 3; night: 90 74 70, 85.38.
    // On 5.X the 10-minute levels are Leq10 and the minutes are counted on the
    // Leq1 levels: 21:44 85 > 80, 22:04 71 > 70, 22:05 69 not: 2 minutes.
    // The file's own schedule gives the same thresholds: on 4.0 from the
    // current parameters; on 5.X the door state at the start of the first
    // chart period is unknown, so the current parameters too, with a warning.
    void summary_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("fileSchedule");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QStringList>("expected");
        const QString head =
            QStringLiteral("h.kvl,file,2024-03-05T21:30:00,2024-03-06T06:05:00,,7,84.1,90,78,70,90,");
        const QString day5 =
            QStringLiteral("h.kvl,day,2024-03-05T00:00:00,2024-03-06T00:00:00,,6,84.6,90,84,70,90,");
        const QString day6 =
            QStringLiteral("h.kvl,day,2024-03-06T00:00:00,2024-03-07T00:00:00,,1,75.0,75,75,75,75,");
        const QString part5 =
            QStringLiteral("h.kvl,part,2024-03-05T06:00:00,2024-03-05T22:00:00,day,3,83.8,86,84,78,86,");
        const QString night =
            QStringLiteral("h.kvl,part,2024-03-05T22:00:00,2024-03-06T06:00:00,night,3,85.4,90,74,70,90,");
        const QString part6 =
            QStringLiteral("h.kvl,part,2024-03-06T06:00:00,2024-03-06T22:00:00,day,1,75.0,75,75,75,75,");
        const QStringList v4{head + "45,0,Calibration Executed=1; Power Supply Cut=1",
                             day5 + "40,0,Power Supply Cut=1",
                             day6 + "5,0,Calibration Executed=1",
                             part5 + "20,0,Power Supply Cut=1",
                             night + "25,0,Calibration Executed=1",
                             part6 + "0,0,"};
        const QStringList v5{head + "2,1,Calibration Executed=1; Door Closed=1; Door Open=1",
                             day5 + "2,1,Door Closed=1; Door Open=1",
                             day6 + "0,0,Calibration Executed=1",
                             part5 + "1,1,Door Closed=1; Door Open=1",
                             night + "1,0,Calibration Executed=1",
                             part6 + "0,0,"};
        const QStringList unknownDoor{
            QStringLiteral("threshold schedule: No threshold Limit, fault data open!!!")};
        QTest::newRow("4.0") << 4 << false << QStringList() << v4;
        QTest::newRow("4.0, file schedule") << 4 << true << QStringList() << v4;
        QTest::newRow("5.X") << 5 << false << QStringList() << v5;
        QTest::newRow("5.X, file schedule") << 5 << true << unknownDoor << v5;
    }
    void summary()
    {
        QFETCH(int, version);
        QFETCH(bool, fileSchedule);
        QFETCH(QStringList, warnings);
        QFETCH(QStringList, expected);
        Store store;
        store.Device_Version = qint16(version);
        setHours(store);
        if (version == 4) {
            fillLeq(store.Leq_Records,
                    {"05/03/24 21:40 78", "05/03/24 21:50 84", "05/03/24 22:00 86", "05/03/24 22:10 74",
                     "05/03/24 22:25 70", "06/03/24 00:00 90", "06/03/24 06:05 75"});
            fillEvents(store.Event_Records, {"05/03/24 21:45 4 0", "06/03/24 01:00 0 8"});
        } else {
            fillLeq(store.Leq_Records, {"05/03/24 21:40 78 10", "05/03/24 21:45 85 1", "05/03/24 21:50 84 10",
                                        "05/03/24 22:00 86 10", "05/03/24 22:05 71 1", "05/03/24 22:06 69 1",
                                        "05/03/24 22:10 74 10", "05/03/24 22:25 70 10",
                                        "06/03/24 00:00 90 10", "06/03/24 06:05 75 10"});
            fillEvents(store.Event_Records,
                       {"05/03/24 21:41 0 32", "05/03/24 21:50 0 64", "06/03/24 01:00 0 8"});
        }
        const DateRange all;
        const QList<LeqInterval> intervals = storeIntervals(store, all);
        ThresholdTimeline timeline = dayNightTimeline();
        QStringList notes;
        if (fileSchedule) {
            timeline = ThresholdTimeline();
            QVERIFY(kvl::fileSchedule(store, intervals, &timeline, &notes));
        }
        QCOMPARE(notes, warnings);
        const Summary s = summarise(store, intervals, storeEvents(store, all), &timeline, all);
        QStringList rows;
        for (const QStringList &r : summaryRows(QStringLiteral("h.kvl"), s))
            rows << r.join(QLatin1Char(','));
        QCOMPARE(rows, expected);
    }

    // The file's schedule starts at the midday before its first level, so a
    // morning level has its night threshold.
    void scheduleCoversTheFirstMinute()
    {
        Store store;
        store.Device_Version = Version40;
        setHours(store);
        fillLeq(store.Leq_Records, {"05/03/24 06:05 75"});
        ThresholdTimeline timeline;
        QVERIFY(fileSchedule(store, storeIntervals(store, DateRange()), &timeline, nullptr));
        QCOMPARE(timeline.at(minuteOf(QDate(2024, 3, 5), 5, 55)), 70);
        QCOMPARE(timeline.at(minuteOf(QDate(2024, 3, 5), 6, 0)), 80);
    }

    // A range keeps the levels whose last minute lies in it: the 00:00 level
    // of 6 March is the 5th's, and minutes on the 6th are not counted.
    void rangeCutsByLastMinute()
    {
        Store store;
        store.Device_Version = Version40;
        setHours(store);
        fillLeq(store.Leq_Records, {"05/03/24 23:50 90", "06/03/24 00:00 90", "06/03/24 00:10 90"});
        const DateRange fifth{QDate(2024, 3, 5), QDate(2024, 3, 5)};
        const QList<LeqInterval> rows = storeIntervals(store, fifth);
        QCOMPARE(rows.size(), 2);
        const ThresholdTimeline timeline = dayNightTimeline();
        QCOMPARE(summarise(store, rows, {}, &timeline, fifth).whole.minutesAbove, 20);
        QCOMPARE(summarise(store, rows, {}, nullptr, fifth).whole.minutesAbove, -1);
    }
};

QTEST_GUILESS_MAIN(StatisticsTest)
#include "tst_statistics.moc"
