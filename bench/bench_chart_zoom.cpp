// One accepted mouse zoom on an enlarged 7-day firmware 5.X diagram: the
// selection, the rebuild of the canvas for the new range and its repaint at
// the enlarged picture's size.

#include "charts/CanvasPainter.h"
#include "charts/ChartPeriod.h"
#include "charts/ChartState.h"
#include "store/Layout.h"
#include "tables/TableLines.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace kvl;

namespace {

// A loud week from 27 February 2008 noon: a Leq10 record every 10 minutes,
// Leq1 records every minute from 22:00 to 01:00 each night, a threshold
// switch at 22:00 and 07:00.
Store &weekStore()
{
    static Store store = [] {
        Store s;
        s.Device_Version = Version5X;
        s.Leq_Records.fill(255);
        int r = 1;
        auto put = [&](int minutes, int kind, int level) {
            const QDateTime t = QDateTime(QDate(2008, 2, 27), QTime(12, 0)).addSecs(minutes * 60);
            qint16 *row = s.Leq_Records.row(r++);
            row[field::Minute - 1] = qint16(t.time().minute());
            row[field::Hour - 1] = qint16(t.time().hour());
            row[field::Day - 1] = qint16(t.date().day());
            row[field::Kind - 1] = qint16(kind);
            row[field::Month - 1] = qint16(t.date().month());
            row[field::Year - 1] = qint16(t.date().year() - 2000);
            row[field::LevelUnits - 1] = qint16(level % 100);
            row[field::LevelHundreds - 1] = qint16(level / 100);
        };
        for (int m = 1; m < 7 * 1440; ++m) {
            if (m % 10 == 0)
                put(m, KindLeq10, 75 + (m * 7) % 30);
            const int hour = (m / 60 + 12) % 24;
            if (hour >= 22 || hour < 1)
                put(m, KindLeq1, 96 + (m * 3) % 12);
        }
        storeChartPeriod(s, ChartDate{27, 2, 2008}, 7);
        Periode_Graphique(s, LeqTable::rowCount);
        Separer_Leq1_Leq10(s);
        s.Tab_Seuils.assign(1, {});
        for (int d = 0; d < 7; ++d) {
            const QDate day = QDate(2008, 2, 27).addDays(d);
            const QDate next = day.addDays(1);
            s.Tab_Seuils.push_back({0, qint16(day.day()), qint16(day.month()), 8, 22, 0, 105, 95});
            s.Tab_Seuils.push_back({0, qint16(next.day()), qint16(next.month()), 8, 7, 0, 95, 105});
        }
        s.Seuils_Prets = true;
        s.Repere_Leq10 = 500;
        s.Repere_Leq1 = 100;
        return s;
    }();
    return store;
}

void zoomOnce(benchmark::State &state, Diagram diagram)
{
    const Store &store = weekStore();
    ChartState enlarged;
    enlarged.zoomButton(diagram, store);
    Canvas canvas;
    QImage image(LargeWidthTwips / 15, LargeHeightTwips / 15, QImage::Format_RGB32);
    for (auto _ : state) {
        ChartState chart = enlarged;
        // Two days and 40 dB from the middle of the week.
        chart.mouseDown(diagram, true, 20.3, -70.2);
        chart.mouseMove(28.4, -110.6);
        const MouseUpEffect e = chart.mouseUp(diagram, 28.4, -110.6);
        benchmark::DoNotOptimize(e.accepted);
        redrawDiagram(canvas, store, diagram, chart);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintCanvas(painter, canvas, QRectF(image.rect()));
    }
    state.counters["items"] = double(canvas.items().size());
}

void BM_MouseZoomLeq10Week(benchmark::State &state)
{
    zoomOnce(state, Diagram::Leq10);
}

void BM_MouseZoomLeq1Week(benchmark::State &state)
{
    zoomOnce(state, Diagram::Leq1);
}

BENCHMARK(BM_MouseZoomLeq10Week)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_MouseZoomLeq1Week)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    // Text needs fonts, fonts need a GUI application; no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
