// The sound level report of the firmware 5.X sample: laid out and written as
// a PDF into memory, for a week and for a month.

#include "files/DataFile.h"
#include "report/ComplianceReport.h"
#include "report/ReportPdf.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>

#include <memory>

namespace {

std::unique_ptr<kvl::Store> sample()
{
    auto store = std::make_unique<kvl::Store>();
    QFile file(QStringLiteral(KVL_SAMPLES_DIR "/sample_v5.kvl"));
    if (!file.open(QIODevice::ReadOnly) ||
        kvl::readDataFile(file.readAll(), *store).result != kvl::LoadOutcome::Loaded)
        return nullptr;
    return store;
}

void BM_Report(benchmark::State &state)
{
    const auto loaded = sample();
    if (!loaded) {
        state.SkipWithError("sample_v5.kvl not readable");
        return;
    }
    kvl::ReportRequest request;
    request.period = kvl::DateRange{QDate(2026, 9, 14), QDate(2026, 9, 14).addDays(state.range(0) - 1)};
    request.source = kvl::ReportSource{kvl::SourceKind::DataFile, QStringLiteral("sample_v5.kvl")};
    request.generated = QDateTime(QDate(2026, 12, 7), QTime(8, 0));
    request.version = kvl::programVersion();
    qint64 bytes = 0, pages = 0;
    for (auto _ : state) {
        // The program reports on a copy of its store, so does the benchmark.
        auto work = std::make_unique<kvl::Store>(*loaded);
        const kvl::ReportDocument doc = kvl::buildComplianceReport(*work, request);
        QByteArray pdf;
        kvl::renderReportPdf(doc, &pdf);
        bytes = pdf.size();
        pages = doc.pages.size();
    }
    state.counters["pages"] = double(pages);
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_Report)
    ->Arg(7)
    ->Arg(31)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
