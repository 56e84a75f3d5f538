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

// One routine behind the nine: series and chart length (1, 3 or 7).
SeriesOutcome Tracer_Serie(Canvas &canvas, const Store &store, LeqKind series, int chartDays, Rgb colour);

SeriesOutcome Tracer_Leq_1J(Canvas &canvas, const Store &store, Rgb colour);
SeriesOutcome Tracer_Leq10_1J(Canvas &canvas, const Store &store, Rgb colour);
SeriesOutcome Tracer_Leq1_1J(Canvas &canvas, const Store &store, Rgb colour);
SeriesOutcome Tracer_Leq_3J(Canvas &canvas, const Store &store, Rgb colour);
SeriesOutcome Tracer_Leq10_3J(Canvas &canvas, const Store &store, Rgb colour);
SeriesOutcome Tracer_Leq1_3J(Canvas &canvas, const Store &store, Rgb colour);
SeriesOutcome Tracer_Leq_7J(Canvas &canvas, const Store &store, Rgb colour);
SeriesOutcome Tracer_Leq10_7J(Canvas &canvas, const Store &store, Rgb colour);
SeriesOutcome Tracer_Leq1_7J(Canvas &canvas, const Store &store, Rgb colour);

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
