#pragma once

// The chart canvas: a display list in the vocabulary of a picture box with a
// user coordinate system. Every chart routine draws into a canvas and nothing
// else; the window paints it (PictureBox), printing and image export replay
// the same list into a painter, and tests read the primitives.

#include <QList>
#include <QString>

namespace kvl {

struct Rgb
{
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb &o) const { return !(*this == o); }
};

namespace colours {
constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};
constexpr Rgb Red{255, 0, 0};
constexpr Rgb Blue{0, 0, 255};
constexpr Rgb Threshold{0, 146, 64};     // threshold staircase, normal drawing
constexpr Rgb ThresholdZoom{0, 255, 0};  // threshold staircase on a mouse zoom
} // namespace colours

// Items of one layer can be shown, hidden or removed without touching the
// others: the rubber band, the grid overlay and the list marker live on top
// of the drawing.
enum class Layer { Drawing, Grid, RubberBand, Marker };

// The user coordinate system: x grows to the right, y downwards.
struct Scale
{
    double left = 0, top = 0, width = 1, height = 1;
    bool operator==(const Scale &o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

struct CanvasItem
{
    enum Kind { Line, Point, Text };
    Kind kind = Line;
    Layer layer = Layer::Drawing;
    // Line: from (x1, y1) to (x2, y2). Point: (x1, y1). Text: top-left corner at (x1, y1).
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QString text;
    Rgb colour;
    int lineWidth = 1;
    int fontSize = 8; // points
    bool bold = false;
    // The coordinate system in force when the item was drawn.
    Scale scale;
};

class Canvas
{
public:
    // Size of the picture box in twips (15 to a pixel at 96 dots per inch).
    explicit Canvas(int widthTwips = 7515, int heightTwips = 3975);

    int widthTwips() const { return m_widthTwips; }
    int heightTwips() const { return m_heightTwips; }
    void setSizeTwips(int widthTwips, int heightTwips);

    // Scale left, top, width, height; later items are drawn in it.
    void setScale(double left, double top, double width, double height);
    const Scale &scale() const { return m_scale; }

    // Removes every item of every layer (the picture box's Cls). The
    // coordinate system and the pen stay.
    void clear();
    // Removes the items of one layer only.
    void clearLayer(Layer layer);
    void setLayerVisible(Layer layer, bool visible);
    bool layerVisible(Layer layer) const;

    // The pen of later items.
    void setColour(Rgb colour) { m_colour = colour; }
    Rgb colour() const { return m_colour; }
    void setLineWidth(int width) { m_lineWidth = width; }
    int lineWidth() const { return m_lineWidth; }
    void setFontSize(int points) { m_fontSize = points; }
    int fontSize() const { return m_fontSize; }
    void setBold(bool bold) { m_bold = bold; }
    bool bold() const { return m_bold; }
    // The layer that later items go to (Drawing unless set).
    void setLayer(Layer layer) { m_layer = layer; }
    Layer layer() const { return m_layer; }

    void line(double x1, double y1, double x2, double y2);
    void line(double x1, double y1, double x2, double y2, Rgb colour);
    // A point, which also becomes the current position.
    void point(double x, double y);
    // The current position (CurrentX, CurrentY) where text is printed.
    void moveTo(double x, double y);
    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }
    // Text with its top-left corner at the current position.
    void text(const QString &text);
    void text(double x, double y, const QString &text);

    const QList<CanvasItem> &items() const { return m_items; }

private:
    void add(CanvasItem item);

    int m_widthTwips;
    int m_heightTwips;
    Scale m_scale;
    Rgb m_colour;
    int m_lineWidth = 1;
    int m_fontSize = 8;
    bool m_bold = false;
    Layer m_layer = Layer::Drawing;
    double m_currentX = 0, m_currentY = 0;
    QList<CanvasItem> m_items;
    bool m_hidden[4] = {false, false, false, false};
};

// Where a canvas is played: a painter on screen, printer or image, or a
// recorder in tests. Hidden layers are not played.
class CanvasSink
{
public:
    virtual ~CanvasSink() = default;
    virtual void item(const CanvasItem &item) = 0;
};

void replay(const Canvas &canvas, CanvasSink &sink);

} // namespace kvl
