// Every reader of Period_First and Period_Last reads the same rows: none when
// the period has no row (either end 0) or its ends make no run inside the
// table, and a run past the table's end stops there. Each reader given odd
// ends must give what it gives for the rows those ends stand for.

#include "TableStores.h"
#include "TestCore.h"

#include "charts/ChartDraw.h"
#include "charts/ChartPeriod.h"
#include "charts/ChartTexts.h"
#include "export/Export.h"
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

QString text(const LevelRange &r)
{
    return QStringLiteral("%1..%2").arg(r.lowest).arg(r.highest);
}

QStringList text(const QList<LeqInterval> &list)
{
    QStringList out;
    for (const LeqInterval &i : list)
        out << QStringLiteral("%1 %2 %3").arg(i.start).arg(i.end).arg(i.level);
    return out;
}

QStringList text(const QList<EventEntry> &list)
{
    QStringList out;
    for (const EventEntry &e : list)
        out << QStringLiteral("%1 %2 %3").arg(e.time).arg(e.codeA).arg(e.label);
    return out;
}

// What a Leq diagram of a week shows for the store's period.
QStringList drawnSeries(Store &store, LeqSeries kind)
{
    Canvas canvas;
    const SeriesOutcome out = Tracer_Serie(canvas, store, kind, 7, colours::Red);
    QStringList items;
    for (const CanvasItem &i : canvas.items())
        items << QStringLiteral("%1 %2 %3 %4").arg(i.x1).arg(i.y1).arg(i.x2).arg(i.y2);
    items << QStringLiteral("hide %1 %2").arg(out.hideZoomLeq10).arg(out.hideZoomLeq1);
    return items;
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
        QCOMPARE(text(levelRange(m_leq, first, last)),
                 none ? text(LevelRange()) : text(levelRange(m_leq, want.first, want.last)));
        QCOMPARE(leqLines(m_leq, first, last, LeqSeries::Leq),
                 none ? QStringList() : leqLines(m_leq, want.first, want.last, LeqSeries::Leq));
        QCOMPARE(text(leqIntervals(m_leq, first, last, LeqSeries::Leq)),
                 none ? QStringList() : text(leqIntervals(m_leq, want.first, want.last, LeqSeries::Leq)));

        Store store;
        store.Device_Version = Version5X;
        store.Leq_Records = m_leq;
        storeChartPeriod(store, ChartDate{1, 3, 2008}, 7);
        store.Period_First = first;
        store.Period_Last = last;
        const QStringList lines = Lignes_Tableau_Leq(store);
        const QStringList intervals = text(listIntervals(store, LeqSeries::Leq));
        Separer_Leq1_Leq10(store);
        // Every row is Leq1 or Leq10, so the two split tables share the rows read.
        QCOMPARE(store.Leq1_Count - 1 + store.Leq10_Count - 1, want.count());
        const QStringList leq10 = drawnSeries(store, LeqSeries::Leq10);
        const QStringList leq = drawnSeries(store, LeqSeries::Leq);

        Store right = store;
        right.Period_First = want.first;
        right.Period_Last = want.last;
        QCOMPARE(lines, Lignes_Tableau_Leq(right));
        QCOMPARE(intervals, text(listIntervals(right, LeqSeries::Leq)));
        Separer_Leq1_Leq10(right);
        QCOMPARE(leq10, drawnSeries(right, LeqSeries::Leq10));
        QCOMPARE(leq, drawnSeries(right, LeqSeries::Leq));

        // The events, N being their table's last row.
        const int en = EventTable::rowCount;
        const PeriodRows events = expectedRows(c[3], en);
        Store read;
        read.Event_Records = m_events;
        read.Period_First = rowNumber(c[1], en);
        read.Period_Last = rowNumber(c[2], en);
        QCOMPARE(
            text(eventEntries(m_events, read.Period_First, read.Period_Last, Version5X, EventList::Table)),
            none ? QStringList()
                 : text(eventEntries(m_events, events.first, events.last, Version5X, EventList::Table)));
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
