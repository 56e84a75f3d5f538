#pragma once

// The zoom state of the chart window as a value: which diagram is small or
// enlarged, the mouse-selected range, the rubber band of a drag and the
// hidden list marker. Every user action is a transition on this value that
// returns what the window has to change; the window only applies it and
// rebuilds the canvas with redrawDiagram().

#include "charts/Canvas.h"
#include "charts/ChartDraw.h"
#include "store/Store.h"

#include <QStringList>

#include <array>
#include <optional>

namespace kvl {

// A control's place in the window, in twips.
struct TwipsRect
{
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect &o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

// Where the picture box of a diagram goes, small or enlarged, and its caption.
TwipsRect pictureGeometry(Diagram diagram, bool enlarged);
TwipsRect captionGeometry(Diagram diagram, bool enlarged);

// A level range chosen on an enlarged diagram: x in chart units, y1 < y2 in dB.
struct ZoomRange
{
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// The coordinate system of a zoomed picture: the range, level y2 on top.
Scale zoomScale(const ZoomRange &range);
// The coordinate system of the enlarged diagram before any mouse zoom.
Scale enlargedScale(int chartDays);

struct Segment
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Segment &o) const { return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2; }
};
// Top, bottom, right and left lines of a rubber band.
using RubberBand = std::array<Segment, 4>;

// Left edges of the zoom and print buttons inside their diagram.
struct ButtonPlacement
{
    double zoomLeft = 0, printLeft = 0;        // chart units
    int zoomLeftTwips = 0, printLeftTwips = 0; // from the picture's left edge
};
ButtonPlacement buttonPlacement(int chartDays, bool enlarged);

// The window's controls that an enlarged diagram covers: the twelve level,
// threshold and hour labels first (the layout's LevelLabel), then the rest;
// "other" is the diagram not clicked.
enum class ChartControl {
    MiniLeq10,
    MaxiLeq10,
    MiniLeq1,
    MaxiLeq1,
    Analyse,
    Source,
    NiveauJour,
    NiveauNuit,
    NiveauJourFenetre,
    NiveauNuitFenetre,
    HeureJourNuit,
    HeureNuitJour,
    ThresholdsChanged,
    Leq10ListCaption,
    Leq10List,
    Leq1ListCaption,
    Leq1List,
    EventListCaption,
    EventList,
    NewChart,
    OtherCaption,
    OtherPicture
};

// What a zoom button click asks of the window.
struct ZoomButtonEffect
{
    enum Case { Nothing, Enlarge, LeaveMouseZoom, Shrink };
    Case which = Nothing;
    TwipsRect picture;
    bool moveCaption = false; // caption label to captionTop / captionWidth
    int captionTop = 0, captionWidth = 0;
    QList<ChartControl> hide, show;
    bool printVisible = false;
    QString image; // file in the Images folder; empty keeps the image
    QString toolTip;
    ButtonPlacement buttons;
};

// What a mouse release asks of the window.
struct MouseUpEffect
{
    bool accepted = false; // a new range: redraw
    bool setToolTip = false;
    QString toolTip;
};

struct ChartPane
{
    int widthTwips = SmallWidthTwips;
    int heightTwips = SmallHeightTwips;
    bool printVisible = false;
    QString toolTip;
    QString image;
    // An empty list entry was clicked: the marker stays out of view until
    // the next full redraw.
    bool markerHidden = false;

    bool isSmall() const { return widthTwips == SmallWidthTwips && heightTwips == SmallHeightTwips; }
    bool isEnlarged() const { return widthTwips == LargeWidthTwips && heightTwips == LargeHeightTwips; }
};

// Texts of the zoom buttons.
QString zoomImage(Diagram diagram, bool enlarged);
QString toolTipSmall();    // "Zoom + ."
QString toolTipEnlarged(); // "Zoom - ."
QString toolTipAfterMouseZoom(Diagram diagram);

class ChartState
{
public:
    ChartState();

    ChartPane &pane(Diagram diagram) { return diagram == Diagram::Leq1 ? m_leq1 : m_leq10; }
    const ChartPane &pane(Diagram diagram) const { return diagram == Diagram::Leq1 ? m_leq1 : m_leq10; }

    // Zoom_Souris: an enlarged diagram shows a mouse-selected range (one
    // flag for both diagrams).
    bool zoomSouris() const { return m_zoomSouris; }
    const ZoomRange &zoomRange() const { return m_zoom; }
    bool selectionActive() const { return m_selectionActive; }

    // Whether the diagram is drawn at a mouse-selected range.
    bool isZoomed(Diagram diagram) const { return m_zoomSouris && pane(diagram).isEnlarged(); }
    // The coordinate system the diagram is drawn in.
    Scale scale(Diagram diagram, int chartDays) const;

    ZoomButtonEffect zoomButton(Diagram diagram, const Store &store);

    // Mouse events in the diagram's current units (y is minus the level).
    void mouseDown(Diagram diagram, bool leftButton, double x, double y);
    // The rubber band to show, or nothing while no drag is active.
    std::optional<RubberBand> mouseMove(double x, double y);
    MouseUpEffect mouseUp(Diagram diagram, double x, double y);

    // Mouse wheel on the enlarged diagram: `steps` notches in (positive) or
    // out around (x, y); false when nothing changed.
    bool wheel(Diagram diagram, int chartDays, double x, double y, int steps);
    // Shows `from` moved by (dx, dy) chart units (a drag with the right
    // button); false when nothing changed or the diagram is not zoomed.
    bool pan(Diagram diagram, int chartDays, const ZoomRange &from, double dx, double dy);

    // An entry of the diagram's record list was clicked: entries are the
    // list's texts. Returns the new marked record number when it changes,
    // and whether the diagram must be redrawn.
    struct ListClick
    {
        bool redraw = false;
        std::optional<qint32> marker;
    };
    ListClick listClicked(Diagram diagram, const Store &store, const QStringList &entries, int row);

private:
    void resetSelection();
    bool setRange(Diagram diagram, int chartDays, ZoomRange range);

    ChartPane m_leq10, m_leq1;
    bool m_zoomSouris = false;
    ZoomRange m_zoom;
    bool m_selectionActive = false;
    double m_selX1 = 0, m_selY1 = 0, m_selX2 = 0, m_selY2 = 0;
};

// Rebuilds a diagram's canvas for the state: the full redraw, or the zoomed
// picture (grid, band, thresholds, series, marker, date labels). Returns
// what the series routine decided about the zoom buttons.
SeriesOutcome redrawDiagram(Canvas &canvas, const Store &store, Diagram diagram, const ChartState &state);

// The record under (x, y) on a diagram, as a tool tip text: its time stamp
// and level; empty when no step of the series lies within the tolerances.
QString hoverText(const Store &store, Diagram diagram, double x, double y, double toleranceX,
                  double toleranceDb);

} // namespace kvl
