// Export of a full store to CSV, and kvl-report's --summary over 100 full
// firmware 5.X files on the machine's cores.

#include "export/Report.h"
#include "export/Statistics.h"
#include "files/DataFile.h"

#include "Generator.h"
#include "SampleFile.h"
#include "store/Store.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

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

// One full firmware 5.X file's --summary on one thread, bytes already read:
// loading, schedule and figures. The load alone for comparison.
void BM_LoadOneFile(benchmark::State &state)
{
    const QByteArray bytes = kvlsim::sampleDataFile(5, 11, FullWeeks);
    auto store = std::make_unique<kvl::Store>();
    for (auto _ : state)
        benchmark::DoNotOptimize(kvl::readDataFile(bytes, *store).result);
}
BENCHMARK(BM_LoadOneFile)->Unit(benchmark::kMillisecond);

void BM_SummaryOneFile(benchmark::State &state)
{
    const QByteArray bytes = kvlsim::sampleDataFile(5, 11, FullWeeks);
    kvl::ReportOptions options;
    options.kind = kvl::ReportKind::Summary;
    for (auto _ : state) {
        const kvl::FileReport r = kvl::reportBytes(QStringLiteral("full.kvl"), bytes, options);
        benchmark::DoNotOptimize(r.out.data());
    }
}
BENCHMARK(BM_SummaryOneFile)->Unit(benchmark::kMillisecond);

// 100 files written once, then reported on as kvl-report does.
void BM_SummaryHundredFiles(benchmark::State &state)
{
    QTemporaryDir dir;
    QList<kvl::ReportInput> paths;
    for (int i = 0; i < 100; ++i) {
        const QString path = dir.filePath(QStringLiteral("full_%1.kvl").arg(i));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(kvlsim::sampleDataFile(5, quint32(100 + i), FullWeeks)) <= 0) {
            state.SkipWithError("could not write the files");
            return;
        }
        paths << kvl::ReportInput::fromName(path);
    }
    kvl::ReportOptions options;
    options.kind = kvl::ReportKind::Summary;
    const int threads = int(state.range(0));
    for (auto _ : state) {
        qint64 bytes = 0;
        kvl::ReportWriter writer(options, [&bytes](const QByteArray &b) { bytes += b.size(); });
        kvl::reportFiles(paths, options, threads, [&writer](const kvl::FileReport &r) { writer.add(r); });
        writer.finish();
        benchmark::DoNotOptimize(bytes);
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
