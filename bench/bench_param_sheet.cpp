// The parameter sheet's period selector over a full parameter history of 682
// records, and the texts of one selected period.

#include "params/ParamSheet.h"
#include "store/Store.h"

#include <QDate>

#include <benchmark/benchmark.h>

#include <memory>

using namespace kvl;

namespace {

std::unique_ptr<Store> fullHistory(int version)
{
    auto store = std::make_unique<Store>();
    store->Device_Version = qint16(version);
    store->Transfer_Date = QStringLiteral("06/12/2026");
    store->Transfer_Time = QStringLiteral("14:05:33");
    store->Param_Block[2370] = 7;
    QDate day(2020, 1, 1);
    for (int r = 1; r <= HistoryTable::rowCount; ++r, day = day.addDays(2)) {
        HistoryTable &t = store->Param_History;
        t(r, 1) = qint16(r % 60);
        t(r, 2) = qint16(r % 24);
        t(r, 3) = qint16(day.day());
        t(r, 5) = qint16(day.month());
        t(r, 6) = qint16(day.year() - 2000);
        t(r, 30) = qint16(r % 100);
    }
    return store;
}

void BM_PeriodList(benchmark::State &state)
{
    const auto store = fullHistory(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(buildPeriodList(*store));
}
BENCHMARK(BM_PeriodList)->Arg(5)->Arg(70);

void BM_PeriodSheet(benchmark::State &state)
{
    const auto store = fullHistory(70);
    const PeriodList list = buildPeriodList(*store);
    int index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(periodSheet(*store, list, index));
        benchmark::DoNotOptimize(periodDateCaption(list, index));
        index = (index + 1) % int(list.entries.size());
    }
}
BENCHMARK(BM_PeriodSheet);

} // namespace

BENCHMARK_MAIN();
