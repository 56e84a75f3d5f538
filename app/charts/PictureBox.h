#pragma once

// A picture box of the chart window: paints its chart canvas at the box's
// size in twips, straight from the display list (no bitmap cache, so it
// stays crisp on high-density screens), and reports the mouse in the chart
// coordinates of the canvas's current scale. Its context menu saves the
// picture as PNG, SVG or PDF.

#include "charts/Canvas.h"
#include "files/FileWrite.h"

#include <QPointF>
#include <QWidget>

namespace kvl {

class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(const QString &name, QWidget *parent = nullptr);

    Canvas &canvas() { return m_canvas; }
    const Canvas &canvas() const { return m_canvas; }

    // Gives the box (and its canvas) a size in twips; the widget follows at
    // 15 twips to a pixel.
    void setSizeTwips(int widthTwips, int heightTwips);
    int widthTwips() const { return m_canvas.widthTwips(); }
    int heightTwips() const { return m_canvas.heightTwips(); }
    // Moves the box to a position in twips inside its parent.
    void moveTwips(int leftTwips, int topTwips);
    // Shows the picture at another size in pixels (the window's layout);
    // the canvas keeps its size in twips, its drawing is scaled, its text
    // keeps its size on a larger picture.
    void setPixelGeometry(const QRect &geometry);
    // Text size on the screen against the designed picture.
    double textScale() const;

    // A widget position in chart coordinates of the current scale, and back.
    QPointF toChart(const QPointF &pixel) const;
    QPointF toPixel(const QPointF &chart) const;

    // The picture as a PNG, SVG or PDF file ("png", "svg", "pdf"); empty when
    // it cannot be drawn.
    QByteArray imageBytes(const QString &format) const;
    // Writes the picture to a file; the format follows the extension
    // (.png, .svg, .pdf; anything else is written as PNG).
    FileWrite saveImage(const QString &path) const;

    // Save Image As...: asks for a file through the dialogs seam and writes
    // it; a failed write is reported and the dialog asked again.
    void saveImageAs();

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF chart);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF chart);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF chart);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    Canvas m_canvas;
};

} // namespace kvl
