// A 7-day diagram of the firmware 5.X sample: building its two canvases
// (axes, recording-limit band, threshold staircase, level staircases) and
// painting them into the enlarged picture box's 1004 x 553 pixels.

#include "charts/CanvasPainter.h"
#include "charts/ChartDraw.h"
#include "charts/ChartPeriod.h"
#include "files/DataFile.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace kvl;

namespace {

// The sample's first week, with a switch to night at 22:00 and back to day
// at 06:00 every day: 14 rows.
Store &sampleStore()
{
    static Store store = [] {
        Store s;
        QFile f(QStringLiteral(KVL_SAMPLES_DIR "/sample_v5.kvl"));
        if (!f.open(QIODevice::ReadOnly) || readDataFile(f.readAll(), s).result != LoadOutcome::Loaded)
            qFatal("sample_v5.kvl not loaded");
        const qint16 *first = s.Leq_Records.row(1);
        const ChartDate start{first[2], first[4], 2000 + first[5]};
        storeChartPeriod(s, start, 7);
        Periode_Graphique(s, leqRows(s.Device_Version));
        Separer_Leq1_Leq10(s);
        s.Tab_Seuils.assign(1, {});
        const QList<ChartDate> days = chartDayTable(start, 7);
        for (int k = 0; k < 7; ++k) {
            const ChartDate &d = days[k], &n = days[k + 1];
            s.Tab_Seuils.push_back(
                {0, qint16(d.day), qint16(d.month), qint16(d.year - 2000), 22, 0, 102, 95});
            s.Tab_Seuils.push_back({0, qint16(n.day), qint16(n.month), qint16(n.year - 2000), 6, 0, 95, 102});
        }
        s.Seuils_Prets = true;
        return s;
    }();
    return store;
}

void build(const Store &s, Canvas &leq10, Canvas &leq1)
{
    leq10.clear();
    Tracer_Axes_Zoom(leq10, s, Diagram::Leq10, colours::Black);
    Tracer_Limite_Enregistrement(leq10, s, colours::Blue);
    Tracer_Seuils(leq10, s, colours::Threshold);
    Tracer_Serie(leq10, s, LeqSeries::Leq10, 7, colours::Red);
    leq1.clear();
    Tracer_Axes_Zoom(leq1, s, Diagram::Leq1, colours::Black);
    Tracer_Seuils(leq1, s, colours::Threshold);
    Tracer_Serie(leq1, s, LeqSeries::Leq1, 7, colours::Red);
}

void paint(const Canvas &canvas, QImage &image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    paintCanvas(painter, canvas, image.rect());
}

void BM_BuildCanvases(benchmark::State &state)
{
    const Store &s = sampleStore();
    Canvas leq10(LargeWidthTwips, LargeHeightTwips), leq1(LargeWidthTwips, LargeHeightTwips);
    for (auto _ : state) {
        build(s, leq10, leq1);
        benchmark::DoNotOptimize(leq10.items().size());
    }
    state.counters["items"] = double(leq10.items().size() + leq1.items().size());
}
BENCHMARK(BM_BuildCanvases)->Unit(benchmark::kMillisecond);

void BM_PaintCanvases(benchmark::State &state)
{
    const Store &s = sampleStore();
    Canvas leq10(LargeWidthTwips, LargeHeightTwips), leq1(LargeWidthTwips, LargeHeightTwips);
    build(s, leq10, leq1);
    QImage image(1004, 553, QImage::Format_RGB32);
    for (auto _ : state) {
        paint(leq10, image);
        paint(leq1, image);
    }
}
BENCHMARK(BM_PaintCanvases)->Unit(benchmark::kMillisecond);

// The figure that counts: both together, as a diagram is rebuilt.
void BM_BuildAndPaint(benchmark::State &state)
{
    const Store &s = sampleStore();
    Canvas leq10(LargeWidthTwips, LargeHeightTwips), leq1(LargeWidthTwips, LargeHeightTwips);
    QImage image(1004, 553, QImage::Format_RGB32);
    for (auto _ : state) {
        build(s, leq10, leq1);
        paint(leq10, image);
        paint(leq1, image);
    }
}
BENCHMARK(BM_BuildAndPaint)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    // Fonts need a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
