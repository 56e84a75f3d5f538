#include "charts/ChartPeriod.h"
#include "charts/ChartState.h"
#include "store/Layout.h"

#include <cmath>

namespace kvl {

namespace {

// Threshold staircase of a zoomed diagram: pen width in pixels.
constexpr int ZoomThresholdWidth = 2;

void resetPen(Canvas &canvas)
{
    canvas.setColour(colours::Black);
    canvas.setLineWidth(1);
    canvas.setFontSize(8);
    canvas.setBold(false);
    canvas.setLayer(Layer::Drawing);
    for (Layer layer : {Layer::Drawing, Layer::Grid, Layer::RubberBand, Layer::Marker})
        canvas.setLayerVisible(layer, true);
}

double xOf(const ChartOrigin &origin, const LeqTable &table, int row)
{
    return recordX(origin, table.row(row));
}

} // namespace

SeriesOutcome redrawDiagram(Canvas &canvas, const Store &store, Diagram diagram, const ChartState &state)
{
    const ChartPane &pane = state.pane(diagram);
    canvas.clear();
    canvas.setSizeTwips(pane.widthTwips, pane.heightTwips);
    resetPen(canvas);
    const bool zoomed = state.isZoomed(diagram);
    const ZoomRange &range = state.zoomRange();
    if (zoomed) {
        canvas.setScale(range.x1, -range.y2, range.x2 - range.x1, range.y2 - range.y1);
        Tracer_Grille(canvas, store, true);
        canvas.setLayer(Layer::Drawing);
    } else if (pane.isEnlarged()) {
        Tracer_Axes_Zoom(canvas, store, diagram, colours::Black);
    } else {
        Tracer_Axes(canvas, store, colours::Black);
    }
    if (diagram == Diagram::Leq10)
        Tracer_Limite_Enregistrement(canvas, store, colours::Blue);
    if (zoomed) {
        canvas.setLineWidth(ZoomThresholdWidth);
        Tracer_Seuils(canvas, store, colours::ThresholdZoom);
        canvas.setLineWidth(1);
    } else {
        Tracer_Seuils(canvas, store, colours::Threshold);
    }
    const SeriesOutcome outcome =
        Tracer_Serie(canvas, store, diagramSeries(store, diagram), store.Chart_Days, colours::Red);
    const qint32 marker = diagramMarker(store, diagram);
    if (marker != 0 && !pane.markerHidden) {
        const Scale full = enlargedScale(store.Chart_Days);
        const double shrinkX = zoomed ? std::min(1.0, (range.x2 - range.x1) / full.width) : 1;
        const double shrinkY = zoomed ? std::min(1.0, (range.y2 - range.y1) / full.height) : 1;
        Tracer_Repere(canvas, store, diagram, marker, colours::Blue, shrinkX, shrinkY);
        canvas.setLayer(Layer::Drawing);
    }
    if (zoomed)
        Tracer_Dates_Zoom(canvas, store, int(std::floor(range.x1)), int(std::floor(range.x2)),
                          colours::Black);
    return outcome;
}

QString hoverText(const Store &store, Diagram diagram, double x, double y, double toleranceX,
                  double toleranceDb)
{
    const LeqSeries series = diagramSeries(store, diagram);
    const SeriesRows rows = seriesRows(store, series);
    const int unit = minutesPerUnit(store.Chart_Days);
    if (rows.isEmpty() || unit == 0)
        return QString();
    const double step = double(seriesMinutes(series)) / unit;
    const ChartOrigin origin = chartOrigin(store);
    // Rows are in time order: find the first step that ends at or after x.
    int lo = rows.first, hi = rows.last + 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (xOf(origin, *rows.table, mid) < x - toleranceX)
            lo = mid + 1;
        else
            hi = mid;
    }
    // The nearest step wins, level and time weighed by their tolerances.
    int best = 0;
    double bestScore = 2;
    for (int i = lo; i <= rows.last; ++i) {
        const double end = xOf(origin, *rows.table, i);
        if (end - step > x + toleranceX)
            break;
        const double beside = x < end - step ? end - step - x : (x > end ? x - end : 0);
        const double off = std::abs(-leqLevel(rows.table->row(i)) - y);
        if (beside > toleranceX || off > toleranceDb)
            continue;
        const double score = off / toleranceDb + beside / toleranceX;
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    if (best == 0)
        return QString();
    const LeqTable &t = *rows.table;
    const Stamp end = leqStamp(t, best);
    const Stamp start = leqIntervalStart(t, best, series);
    auto time = [](const Stamp &s) {
        return twoDigitText(s.hour) + QStringLiteral(":") + twoDigitText(s.minute);
    };
    // The interval as the lists give it, dated by its start.
    return twoDigitText(start.day) + QStringLiteral(" / ") + twoDigitText(start.month) +
           QStringLiteral(" / ") + QString::number(start.year) + QStringLiteral(" from ") + time(start) +
           QStringLiteral(" to ") + time(end) + QStringLiteral("  ") +
           QString::number(leqLevel(t.row(best))) + QStringLiteral(" dB");
}

} // namespace kvl
