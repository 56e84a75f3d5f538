// Export of a full store to CSV, and kvl-report's --summary over 100 full
// firmware 5.X files on the machine's cores.

#include "export/Report.h"
#include "export/Statistics.h"

#include "Generator.h"
#include "SampleFile.h"
#include "store/Store.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <thread>

namespace {

// Enough weeks for the ring memory to be full.
constexpr int FullWeeks = 60;

std::unique_ptr<kvl::Store> fullStore()
{
    auto s = std::make_unique<kvl::Store>();
    kvlsim::downloadInto(*s, 5, 11, FullWeeks);
    return s;
}

void BM_LeqCsvFullStore(benchmark::State &state)
{
    const auto s = fullStore();
    qint64 rows = 0;
    for (auto _ : state) {
        const QList<kvl::LeqInterval> intervals = kvl::storeIntervals(*s, kvl::DateRange());
        const QByteArray csv = kvl::leqCsv(intervals);
        rows = intervals.size();
        benchmark::DoNotOptimize(csv.data());
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_LeqCsvFullStore)->Unit(benchmark::kMillisecond);

void BM_EventCsvFullStore(benchmark::State &state)
{
    const auto s = fullStore();
    for (auto _ : state) {
        const QByteArray csv = kvl::eventCsv(kvl::storeEvents(*s, kvl::DateRange()));
        benchmark::DoNotOptimize(csv.data());
    }
}
BENCHMARK(BM_EventCsvFullStore)->Unit(benchmark::kMillisecond);

// 100 files written once, then reported on as kvl-report does.
void BM_SummaryHundredFiles(benchmark::State &state)
{
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 100; ++i) {
        const QString path = dir.filePath(QStringLiteral("full_%1.kvl").arg(i));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(kvlsim::sampleDataFile(5, quint32(100 + i), FullWeeks)) <= 0) {
            state.SkipWithError("could not write the files");
            return;
        }
        paths << path;
    }
    kvl::ReportOptions options;
    options.kind = kvl::ReportKind::Summary;
    const int threads = int(state.range(0));
    for (auto _ : state) {
        const QList<kvl::FileReport> reports = kvl::reportFiles(paths, options, threads);
        const QByteArray out = kvl::assembleReport(reports, options);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SummaryHundredFiles)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

BENCHMARK_MAIN();
