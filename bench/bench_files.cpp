// Save (file image build) and load (parse) of a full firmware 5.X store.

#include "files/DataFile.h"
#include "store/Store.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include <memory>

namespace {

std::unique_ptr<kvl::Store> fullStore()
{
    auto s = std::make_unique<kvl::Store>();
    QRandomGenerator rng(5);
    auto byte = [&rng] { return qint16(rng.bounded(256)); };
    for (int r = 1; r <= kvl::LeqTable::rowCount; ++r)
        for (int f = 1; f <= 8; ++f)
            s->Leq_Records(r, f) = byte();
    for (int r = 1; r <= kvl::EventTable::rowCount; ++r)
        for (int f = 1; f <= 8; ++f)
            s->Event_Records(r, f) = byte();
    for (int r = 1; r <= kvl::HistoryTable::rowCount; ++r)
        for (int f = 1; f <= 48; ++f)
            s->Param_History(r, f) = byte();
    for (int i = 0; i < kvl::ParamBlockTable::size; ++i)
        s->Param_Block[i] = byte();
    s->Transfer_Date = QStringLiteral("06/12/2026");
    s->Transfer_Time = QStringLiteral("14:05:09");
    return s;
}

void BM_BuildDataFileV5(benchmark::State &state)
{
    const auto s = fullStore();
    for (auto _ : state) {
        QByteArray file = kvl::buildDataFile(*s, 5);
        benchmark::DoNotOptimize(file.data());
    }
}
BENCHMARK(BM_BuildDataFileV5)->Unit(benchmark::kMillisecond);

void BM_ReadDataFileV5(benchmark::State &state)
{
    const QByteArray file = kvl::buildDataFile(*fullStore(), 5);
    auto s = std::make_unique<kvl::Store>();
    for (auto _ : state) {
        const kvl::LoadOutcome out = kvl::readDataFile(file, *s);
        if (out.result != kvl::LoadOutcome::Loaded)
            state.SkipWithError("file not loaded");
        benchmark::DoNotOptimize(s->Data_Loaded);
    }
}
BENCHMARK(BM_ReadDataFileV5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
