#pragma once

// Where the chart window's controls go for the room it has. At its designed
// size (15300 x 9660 twips) every control stands where it was drawn; on a
// larger area the diagrams grow (their canvas is vector) and the lists take
// the rest; on a smaller one the diagrams shrink to the height and the lists'
// lines wrap so that each keeps its time and level in view. The enlarged
// diagram fills the area with its buttons inside it.

#include "charts/ChartDraw.h"
#include "charts/ChartState.h"

#include <QList>
#include <QRect>
#include <QRectF>
#include <QSize>

#include <array>
#include <optional>

namespace kvl {

// The window's designed area, in pixels.
QSize designedChartArea();

// Zoom and print buttons: their size and their distance from the top of
// the picture, in pixels.
int chartButtonSize();
int chartButtonTop();
// Left edges of a diagram's zoom and print buttons in a picture `width`
// pixels wide, from core's placement in chart units.
struct ButtonPixels
{
    int zoomLeft = 0, printLeft = 0;
};
ButtonPixels buttonPixels(int chartDays, bool enlarged, int width);

// The unavailable-analysis note on the Leq1 picture, in twips from its corner.
constexpr int UnavailableNoteLeftTwips = 500;
constexpr int UnavailableNoteTopTwips = 1500;

// What the layout needs to know of the texts, measured by the window in
// its own fonts (pixels).
struct ChartTextSizes
{
    int listLine = 0;   // the widest list line, with the list's margins and scroll bar
    int listRow = 0;    // one row of a list
    int levelLabel = 0; // the widest level, threshold or hour label
    int header = 0;     // the wider of the header and the date line
};

// The twelve level, threshold and hour labels, in the window's order: the
// first values of ChartControl.
using LevelLabel = ChartControl;
constexpr int LevelLabelCount = 12;
static_assert(int(ChartControl::HeureNuitJour) == LevelLabelCount - 1, "the level labels come first");

// The record and event lists, top to bottom.
enum class ChartList { Leq10, Leq1, Events };

struct ChartLayout
{
    QSize surface;    // what the controls are placed on (larger than the area only when it is too small)
    double scale = 1; // of the small diagrams against their designed size
    double enlargedScale = 1;
    QRect header, date, newGraph;
    std::array<QRect, 2> picture, caption; // small diagrams, by Diagram
    QRect enlargedPicture, enlargedCaption;
    std::array<QRect, 3> listTitle, list; // by ChartList
    std::array<QRect, LevelLabelCount> levelLabel;
    QRect thresholdNote;    // where the six threshold and hour labels stand
    bool wrapLines = false; // a list line takes two rows
};

ChartLayout chartLayout(QSize area, const ChartTextSizes &texts);

inline int index(Diagram d)
{
    return d == Diagram::Leq1 ? 1 : 0;
}
inline int index(ChartList l)
{
    return int(l);
}
inline int index(LevelLabel l)
{
    return int(l);
}

} // namespace kvl

namespace kvl {

// Where a text of a picture goes so that it shows whole: `text` moved inside
// `picture` when it sticks out; nothing when it lies wholly outside (it
// belongs to a part of the diagram not in view), when it is larger than the
// picture, or when it would lie under one of the buttons in `keepClear`.
std::optional<QRectF> placeLabel(const QRectF &text, const QRectF &picture, const QList<QRectF> &keepClear);

} // namespace kvl
