// Period figures on small hand-built stores whose values are worked out below.

#include "TableStores.h"
#include "TestSupport.h"

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
        QTest::newRow("10: L90 is rank 9") << 10 << 90 << 2;
        QTest::newRow("11: L10 is rank ceil(1.1) = 2") << 11 << 10 << 10;
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

    // Seven 10-minute levels on 5 and 6 March 2024 against the day and night
    // thresholds, or the file's own schedule; export/summary.txt works out the figures.
    void summary_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("fileSchedule");
        QTest::addColumn<QString>("warning");
        QTest::newRow("4.0") << 4 << false << QString();
        QTest::newRow("4.0, file schedule") << 4 << true << QString();
        QTest::newRow("5.X") << 5 << false << QString();
        // The door state at the start of the first chart period is unknown.
        QTest::newRow("5.X, file schedule")
            << 5 << true << "threshold schedule: No threshold Limit, fault data open!!!";
    }
    void summary()
    {
        QFETCH(int, version);
        QFETCH(bool, fileSchedule);
        QFETCH(QString, warning);
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
        QCOMPARE(notes.join('|'), warning);
        const Summary s = summarise(store, intervals, storeEvents(store, all), &timeline, all);
        QStringList rows;
        for (const QStringList &r : summaryRows(QStringLiteral("h.kvl"), s))
            rows << r.join(QLatin1Char(','));
        KVL_COMPARE_REF("export/summary.txt", QString(QTest::currentDataTag()).section(',', 0, 0), rows);
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

    // A range keeps the levels whose last minute lies in it, and counts only
    // its own minutes: the 00:05 level of the 5th from midnight, the 00:00
    // level of the 6th as the 5th's, the 00:10 one not at all.
    void rangeCutsByLastMinute()
    {
        Store store;
        store.Device_Version = Version40;
        setHours(store);
        fillLeq(store.Leq_Records,
                {"05/03/24 00:05 90", "05/03/24 23:50 90", "06/03/24 00:00 90", "06/03/24 00:10 90"});
        const DateRange fifth{QDate(2024, 3, 5), QDate(2024, 3, 5)};
        const QList<LeqInterval> rows = storeIntervals(store, fifth);
        QCOMPARE(rows.size(), 3);
        ThresholdTimeline timeline = dayNightTimeline();
        timeline.add(minuteOf(QDate(2024, 3, 4), 22, 0), minuteOf(QDate(2024, 3, 5), 0, 0), 70);
        QCOMPARE(summarise(store, rows, {}, &timeline, fifth).whole.minutesAbove, 25);
        QCOMPARE(summarise(store, rows, {}, nullptr, fifth).whole.minutesAbove, -1);
    }
};

QTEST_GUILESS_MAIN(StatisticsTest)
#include "tst_statistics.moc"
