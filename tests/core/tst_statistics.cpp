// Period figures on small hand-built stores whose values are worked out below.

#include "TableStores.h"
#include "TestCore.h"

#include "export/Report.h"
#include "export/Schedule.h"
#include "export/Statistics.h"
#include "store/Layout.h"

#include <QtTest>

#include <numeric>

using namespace kvl;
using namespace kvl::test;

namespace {

// The device's current parameters: 80 dB by day, 70 by night from 22:00 to
// 06:00, door open or not.
void setHours(Store &store)
{
    store.Param_History.fill(255);
    setBlockLevels(store, QStringLiteral("80 80 70 70 22 6"));
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

    // Levels of 5 and 6 March 2024 against the file's own thresholds.
    void summary_data() { rows(QStringLiteral("summary")); }
    void summary()
    {
        QFETCH(QStringList, c);
        Store store;
        store.Device_Version = qint16(c[1].toInt());
        setHours(store);
        for (const QStringList &r :
             dataRows(QStringLiteral("export/statistics.txt"), QStringLiteral("records")))
            if (r[0] == c[2]) {
                fillLeq(store.Leq_Records, items(r[1]));
                fillEvents(store.Event_Records, items(r[2]));
            }
        const QStringList history = items(c[3]);
        if (history.value(0).startsWith(QStringLiteral("block ")))
            setBlockLevels(store, history[0].mid(6));
        else
            fillHistory(store.Param_History, history);
        const QDate day = QDate::fromString(c.value(5), Qt::ISODate);
        const DateRange range = day.isValid() ? DateRange{day, day} : DateRange();
        const FileThresholds thresholds(store);
        const Summary s = summarise(
            store, storeIntervals(store, DateRange()), storeEvents(store, range),
            [&](Minute m) { return thresholds.at(m); }, range);
        QCOMPARE(scheduleNotes(s, thresholds).join('|'), c[4]);
        QStringList rows;
        for (const QStringList &r : summaryRows(QStringLiteral("h.kvl"), s))
            rows << r.join(QLatin1Char(','));
        KVL_COMPARE_REF("export/summary.txt", QTest::currentDataTag(), rows);
    }
};

QTEST_GUILESS_MAIN(StatisticsTest)
#include "tst_statistics.moc"
