#pragma once

// Drawing routines of the Leq diagrams: axes, recording-limit band, level
// staircases, threshold staircase, and the zoom furniture (grid overlay,
// date labels, list marker). Each draws into a canvas and reads the store.

#include "charts/Canvas.h"
#include "store/Store.h"
#include "tables/TableLines.h"

namespace kvl {

// The two picture boxes of the chart window.
enum class Diagram { Leq10, Leq1 };

// The series a diagram draws: Leq1 in the lower one; in the upper one Leq10
// (5.X, "KVL 36") or Leq (3.5, 4.0).
LeqSeries diagramSeries(const Store &store, Diagram diagram);

// The rows of its table a series draws: Leq_Records over the period, or the
// period's Leq10 or Leq1 copies; empty (last < first) when there are none.
struct SeriesRows
{
    const LeqTable *table = nullptr;
    int first = 1, last = 0;
    bool isEmpty() const { return last < first; }
};
SeriesRows seriesRows(const Store &store, LeqSeries series);

// The list marker of a diagram (Repere_Leq1 or Repere_Leq10), 0 for none.
template <typename S> auto &diagramMarker(S &store, Diagram diagram)
{
    return diagram == Diagram::Leq1 ? store.Repere_Leq1 : store.Repere_Leq10;
}

// Picture box sizes in twips.
constexpr int SmallWidthTwips = 7515;
constexpr int SmallHeightTwips = 3975;
constexpr int LargeWidthTwips = 15060;
constexpr int LargeHeightTwips = 8300;

// The coordinate system the axes set for a chart length, small or enlarged.
Scale axesScale(int chartDays, bool enlarged);

void Tracer_Axes(Canvas &canvas, const Store &store, Rgb colour);
void Tracer_Axes_Zoom(Canvas &canvas, const Store &store, Diagram diagram, Rgb colour);
void Tracer_Limite_Enregistrement(Canvas &canvas, const Store &store, Rgb colour);

// What a series routine decided about the zoom buttons; core touches no
// button, the window applies it.
struct SeriesOutcome
{
    bool hideZoomLeq10 = false;
    bool hideZoomLeq1 = false;
};

// The level staircase of a series over a chart of 1, 3 or 7 days.
SeriesOutcome Tracer_Serie(Canvas &canvas, const Store &store, LeqSeries series, int chartDays, Rgb colour);

// The threshold staircase of Tab_Seuils (rows from 1); nothing unless
// Seuils_Prets. The threshold after the last row runs to the chart's end.
void Tracer_Seuils(Canvas &canvas, const Store &store, Rgb colour);

// Grid overlay of a mouse zoom, on the Grid layer, in the canvas's current
// coordinates: hour and level lines with their labels in black. The layer is
// rebuilt on every call, so `visible` false just removes the grid.
void Tracer_Grille(Canvas &canvas, const Store &store, bool visible);

// Date labels of the chart days that the whole units first..last touch,
// in the canvas's current coordinates.
void Tracer_Dates_Zoom(Canvas &canvas, const Store &store, int first, int last, Rgb colour);
// "05 / 03 / 2007": the date label of chart day k (1..8).
QString Texte_Date_Jour(const Store &store, int k);

// Marker arrow above record `record` (from 1) of the diagram's record table,
// on the Marker layer (added, not replacing: clear the layer to remove a
// marker). Nothing for a record the diagram does not show. A zoomed range
// shrinks the arrow's measures by its share of the whole diagram, so the
// arrow keeps its size on the screen.
void Tracer_Repere(Canvas &canvas, const Store &store, Diagram diagram, int record, Rgb colour,
                   double shrinkX = 1, double shrinkY = 1);

} // namespace kvl
