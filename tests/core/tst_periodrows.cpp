// Every reader of Period_First and Period_Last reads the same rows: none when
// the period has no row (either end 0) or its ends make no run inside the
// table, and a run past the table's end stops there. Each reader given odd
// ends must give what it gives for the rows those ends stand for.

#include "TableStores.h"
#include "TestCore.h"

#include "tables/TableLines.h"

#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// "N", "N-2", "N+800" or a number, N being the table's last row.
int rowNumber(const QString &text, int rowCount)
{
    if (!text.startsWith(QLatin1Char('N')))
        return text.toInt();
    return rowCount + (text.size() > 1 ? text.mid(1).toInt() : 0);
}

PeriodRows expectedRows(const QString &text, int rowCount)
{
    if (text == QLatin1String("none"))
        return PeriodRows();
    const QStringList ends = text.split(QStringLiteral(" to "));
    return PeriodRows{rowNumber(ends[0], rowCount), rowNumber(ends[1], rowCount)};
}

// Every row of a table a valid record, `apart` seconds from the one before,
// with the values `values(row)` gives.
QStringList everyRow(int rowCount, const QDateTime &start, int apart,
                     const std::function<QString(int)> &values)
{
    QStringList records;
    for (int r = 1; r <= rowCount; ++r)
        records << start.addSecs(qint64(apart) * (r - 1)).toString(QStringLiteral("dd/MM/yy hh:mm ")) +
                       values(r);
    return records;
}

} // namespace

class PeriodRowsTest : public QObject
{
    Q_OBJECT

private slots:
    // Leq10 and Leq1 in turn ten minutes apart from 1 March 2008 at midday,
    // levels 70 to 119; door openings and closings an hour apart.
    void initTestCase()
    {
        const QDate first(2008, 3, 1);
        fillLeq(m_leq, everyRow(LeqTable::rowCount, QDateTime(first, QTime(12, 10)), 600, [](int r) {
                    return QStringLiteral("%1 %2").arg(70 + r % 50).arg(r % 2 ? KindLeq10 : KindLeq1);
                }));
        fillEvents(m_events, everyRow(EventTable::rowCount, QDateTime(first, QTime(0, 30)), 3600,
                                      [](int r) { return QStringLiteral("%1 0").arg(r % 2 ? 1 : 2); }));
    }

    void readers_data() { addDataRows(QStringLiteral("tables/cases.txt"), QStringLiteral("period ends")); }
    void readers()
    {
        QFETCH(QStringList, c);
        const int n = LeqTable::rowCount;
        const int first = rowNumber(c[1], n), last = rowNumber(c[2], n);
        const PeriodRows want = expectedRows(c[3], n);
        const PeriodRows got = rowsWithin(first, last, n);
        QCOMPARE(QStringLiteral("%1 %2").arg(got.first).arg(got.last),
                 QStringLiteral("%1 %2").arg(want.first).arg(want.last));
        QCOMPARE(got.count(), want.isEmpty() ? 0 : want.last - want.first + 1);

        // The same readers on the rows the ends stand for, or on none.
        const bool none = want.isEmpty();
        QCOMPARE(leqLines(m_leq, first, last, LeqSeries::Leq),
                 none ? QStringList() : leqLines(m_leq, want.first, want.last, LeqSeries::Leq));

        Store store;
        store.Device_Version = Version5X;
        store.Leq_Records = m_leq;
        store.Period_First = first;
        store.Period_Last = last;
        Separer_Leq1_Leq10(store);
        // Every row is Leq1 or Leq10, so the two split tables share the rows read.
        QCOMPARE(store.Leq1_Count - 1 + store.Leq10_Count - 1, want.count());

        // The events, N being their table's last row.
        const int en = EventTable::rowCount;
        const PeriodRows events = expectedRows(c[3], en);
        Store read;
        read.Event_Records = m_events;
        read.Period_First = rowNumber(c[1], en);
        read.Period_Last = rowNumber(c[2], en);
        Store meant = read;
        meant.Period_First = events.first;
        meant.Period_Last = events.last;
        QCOMPARE(eventTableLines(read), none ? QStringList() : eventTableLines(meant));
    }

private:
    LeqTable m_leq;
    EventTable m_events;
};

QTEST_GUILESS_MAIN(PeriodRowsTest)
#include "tst_periodrows.moc"
