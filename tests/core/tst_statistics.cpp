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

void rows(const QString &section)
{
    addDataRows(QStringLiteral("export/statistics.txt"), section);
}

} // namespace

class StatisticsTest : public QObject
{
    Q_OBJECT

private slots:
    // Nearest rank, highest first: L_p is the level at rank ceil(p / 100 x n).
    void percentiles_data() { rows(QStringLiteral("percentiles")); }
    void percentiles()
    {
        QFETCH(QStringList, c);
        std::vector<int> levels(static_cast<std::size_t>(c[1].toInt()));
        std::iota(levels.rbegin(), levels.rend(), 1);
        QCOMPARE(kvl::exceededLevel(levels, c[2].toInt()), c[3].toInt());
    }

    // Levels of 5 and 6 March 2024 against the day and night thresholds, or
    // the file's own schedule.
    void summary_data() { rows(QStringLiteral("summary")); }
    void summary()
    {
        QFETCH(QStringList, c);
        Store store;
        store.Device_Version = qint16(c[1].toInt());
        setHours(store);
        for (const QStringList &r :
             dataRows(QStringLiteral("export/statistics.txt"), QStringLiteral("records")))
            if (r[0] == c[1]) {
                fillLeq(store.Leq_Records, items(r[1]));
                fillEvents(store.Event_Records, items(r[2]));
            }
        const DateRange all;
        const QList<LeqInterval> intervals = storeIntervals(store, all);
        ThresholdTimeline timeline = dayNightTimeline();
        QStringList notes;
        if (c[2] == "1") {
            timeline = ThresholdTimeline();
            QVERIFY(kvl::fileSchedule(store, intervals, &timeline, &notes));
        }
        QCOMPARE(notes.join('|'), c[3]);
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
