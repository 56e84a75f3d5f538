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

// Every row a valid record, ten minutes apart from 1 March 2008 at midday,
// Leq10 and Leq1 in turn, levels 70 to 119.
void fillAllLeq(LeqTable &table)
{
    const QDateTime start(QDate(2008, 3, 1), QTime(12, 10));
    for (int r = 1; r <= LeqTable::rowCount; ++r) {
        const QDateTime t = start.addSecs(600LL * (r - 1));
        qint16 *row = table.row(r);
        row[field::Minute - 1] = qint16(t.time().minute());
        row[field::Hour - 1] = qint16(t.time().hour());
        row[field::Day - 1] = qint16(t.date().day());
        row[field::Kind - 1] = qint16(r % 2 ? KindLeq10 : KindLeq1);
        row[field::Month - 1] = qint16(t.date().month());
        row[field::Year - 1] = qint16(t.date().year() - 2000);
        const int level = 70 + r % 50;
        row[field::LevelUnits - 1] = qint16(level % 100);
        row[field::LevelHundreds - 1] = qint16(level / 100);
    }
}

// Every row a door opening or closing, an hour apart.
void fillAllEvents(EventTable &table)
{
    const QDateTime start(QDate(2008, 3, 1), QTime(0, 30));
    for (int r = 1; r <= EventTable::rowCount; ++r) {
        const QDateTime t = start.addSecs(3600LL * (r - 1));
        qint16 *row = table.row(r);
        row[field::Minute - 1] = qint16(t.time().minute());
        row[field::Hour - 1] = qint16(t.time().hour());
        row[field::Day - 1] = qint16(t.date().day());
        row[field::Kind - 1] = 0;
        row[field::Month - 1] = qint16(t.date().month());
        row[field::Year - 1] = qint16(t.date().year() - 2000);
        row[field::CodeA - 1] = qint16(r % 2 ? 1 : 2);
        row[field::CodeB - 1] = 0;
    }
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
    void initTestCase()
    {
        fillAllLeq(m_leq);
        fillAllEvents(m_events);
    }

    void leqReaders_data() { addDataRows(QStringLiteral("tables/cases.txt"), QStringLiteral("period ends")); }
    void leqReaders()
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
    }

    void eventReaders_data()
    {
        addDataRows(QStringLiteral("tables/cases.txt"), QStringLiteral("period ends"));
    }
    void eventReaders()
    {
        QFETCH(QStringList, c);
        const int n = EventTable::rowCount;
        const int first = rowNumber(c[1], n), last = rowNumber(c[2], n);
        const PeriodRows want = expectedRows(c[3], n);
        const bool none = want.isEmpty();
        QCOMPARE(text(eventEntries(m_events, first, last, Version5X, EventList::Table)),
                 none ? QStringList()
                      : text(eventEntries(m_events, want.first, want.last, Version5X, EventList::Table)));

        Store store;
        store.Event_Records = m_events;
        store.Period_First = first;
        store.Period_Last = last;
        Store right = store;
        right.Period_First = want.first;
        right.Period_Last = want.last;
        QCOMPARE(eventTableLines(store), none ? QStringList() : eventTableLines(right));
    }

private:
    LeqTable m_leq;
    EventTable m_events;
};

QTEST_GUILESS_MAIN(PeriodRowsTest)
#include "tst_periodrows.moc"
