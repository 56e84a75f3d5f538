// Building the tables over a full store: every Leq and event row in the period.

#include "store/Store.h"
#include "tables/Period.h"
#include "tables/TableLines.h"
#include "tables/TablePrint.h"

#include <benchmark/benchmark.h>

using namespace kvl;

namespace {

// Every row filled, one record every 10 minutes (Leq) or 15 minutes (events)
// from 1 January 2008, alternating Leq10 and Leq1 kinds.
Store &fullStore()
{
    static Store store = [] {
        Store s;
        for (int r = 1; r <= LeqTable::rowCount; ++r) {
            const int minutes = (r - 1) * 10;
            qint16 *row = s.Leq_Records.row(r);
            row[0] = qint16(minutes % 60);
            row[1] = qint16(minutes / 60 % 24);
            row[2] = qint16(minutes / 1440 % 28 + 1);
            row[3] = qint16(r % 2 ? 10 : 1);
            row[4] = qint16(minutes / (1440 * 28) + 1);
            row[5] = 8;
            row[6] = qint16(70 + r % 30);
            row[7] = qint16(r % 3 == 0 ? 1 : 0);
        }
        for (int r = 1; r <= EventTable::rowCount; ++r) {
            const int minutes = (r - 1) * 15;
            qint16 *row = s.Event_Records.row(r);
            row[0] = qint16(minutes % 60);
            row[1] = qint16(minutes / 60 % 24);
            row[2] = qint16(minutes / 1440 % 28 + 1);
            row[4] = qint16(minutes / (1440 * 28) + 1);
            row[5] = 8;
            row[6] = qint16(r % 2 ? 1 << (r % 8) : 0);
            row[7] = qint16(r % 2 ? 0 : 1 << (r % 8));
        }
        s.Start_Day = QStringLiteral("01");
        s.Start_Month = QStringLiteral("01");
        s.Start_Year = QStringLiteral("2008");
        s.End_Day = QStringLiteral("31");
        s.End_Month = QStringLiteral("12");
        s.End_Year = QStringLiteral("2008");
        return s;
    }();
    return store;
}

void BM_EventsTable(benchmark::State &state)
{
    Store &store = fullStore();
    store.Device_Version = Version5X;
    for (auto _ : state) {
        Periode_Evenements(store);
        const QStringList lines = eventTableLines(store);
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_EventsTable)->Unit(benchmark::kMillisecond);

void BM_LeqTable(benchmark::State &state)
{
    Store &store = fullStore();
    for (auto _ : state) {
        qint32 count = 8192;
        Periode_Leq(store, count);
        const QStringList lines = Lignes_Tableau_Leq(store);
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_LeqTable)->Unit(benchmark::kMillisecond);

void BM_Leq1Leq10TablesAndPrintout(benchmark::State &state)
{
    Store &store = fullStore();
    for (auto _ : state) {
        qint32 count = 8192;
        Periode_Leq(store, count);
        Separer_Leq1_Leq10(store);
        const QStringList lines10 = Lignes_Tableau_Leq10(store);
        const QStringList lines1 = Lignes_Tableau_Leq1(store);
        const PrintDocument doc = leqV5TablePrint(PrintedList{QString(), QString(), lines10, true},
                                                  PrintedList{QString(), QString(), lines1, true});
        benchmark::DoNotOptimize(doc.size());
    }
}
BENCHMARK(BM_Leq1Leq10TablesAndPrintout)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
