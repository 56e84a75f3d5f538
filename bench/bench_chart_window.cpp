// The chart window on a 7-day period of the firmware 5.X sample: opening it
// (load handler, the three lists, both diagrams and the first paint of the
// window) and repainting its two picture boxes.

#include "charts/ChartPeriod.h"
#include "charts/PictureBox.h"
#include "charts/frmGraphique_Leq.h"
#include "files/DataFile.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/Seams.h"
#include "store/Store.h"

#include <QApplication>
#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>

using namespace kvl;

namespace {

// The sample with a 7-day chart from its busiest stretch.
void loadSample()
{
    Store &s = appStore();
    QFile f(QStringLiteral(KVL_SAMPLES_DIR "/sample_v5.kvl"));
    if (!f.open(QIODevice::ReadOnly) || readDataFile(f.readAll(), s).result != LoadOutcome::Loaded)
        qFatal("sample_v5.kvl not loaded");
    s.Data_Loaded = true;
    storeChartPeriod(s, ChartDate{21, 9, 2026}, 7);
}

frmGraphique_Leq *openWindow()
{
    auto *w = qobject_cast<frmGraphique_Leq *>(openForm(QStringLiteral("frmGraphique_Leq")));
    if (!w)
        qFatal("chart window not opened");
    return w;
}

// Closes the window and lets the event loop settle, as the user's next
// action would, so that posted events do not pile up across iterations.
void closeWindow()
{
    Fermer_Fenetres();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void BM_OpenChartWindow(benchmark::State &state)
{
    loadSample();
    QImage screen(1024, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        frmGraphique_Leq *w = openWindow();
        w->resize(screen.size());
        w->render(&screen);
        state.PauseTiming();
        closeWindow();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenChartWindow)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_RepaintPictureBoxes(benchmark::State &state)
{
    loadSample();
    frmGraphique_Leq *w = openWindow();
    PictureBox *boxes[] = {w->graphique(Diagram::Leq10), w->graphique(Diagram::Leq1)};
    QImage image(boxes[0]->size(), QImage::Format_RGB32);
    for (auto _ : state)
        for (PictureBox *box : boxes)
            box->render(&image);
    closeWindow();
}
BENCHMARK(BM_RepaintPictureBoxes)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

// A full redraw of both diagrams from the store, then their paint.
void BM_RedrawAndRepaint(benchmark::State &state)
{
    loadSample();
    frmGraphique_Leq *w = openWindow();
    PictureBox *boxes[] = {w->graphique(Diagram::Leq10), w->graphique(Diagram::Leq1)};
    QImage image(boxes[0]->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        w->redrawDiagram(Diagram::Leq10);
        w->redrawDiagram(Diagram::Leq1);
        for (PictureBox *box : boxes)
            box->render(&image);
    }
    closeWindow();
}
BENCHMARK(BM_RedrawAndRepaint)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerAllForms();
    // The analysis may have something to say; nobody is there to answer.
    setMessageHandler([](const QString &, const QString &, MsgIcon, const QString &) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
