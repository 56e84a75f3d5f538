#pragma once

// Plays a chart canvas into a QPainter: the picture box on screen, a printer,
// a PDF or an image all get the same picture, vector where the device is.

#include "charts/Canvas.h"

#include <QList>
#include <QRectF>

class QPainter;

namespace kvl {

// Paints the visible layers of the canvas into target (device coordinates of
// the painter), each item in its own coordinate system mapped onto target.
// Font sizes and line widths are those of the picture box at 96 dots per
// inch, scaled by target's width against the canvas's width, so the picture
// looks the same at any size. Nothing is painted outside target, and every
// text shows whole or not at all.
struct CanvasPaint
{
    // Text size against the picture box's own (0: grows with target, as
    // on paper; the screen keeps its text size on a larger picture).
    double textScale = 0;
    // Areas of target where no text may go (buttons over the picture).
    QList<QRectF> keepClear;
};
void paintCanvas(QPainter &painter, const Canvas &canvas, const QRectF &target,
                 const CanvasPaint &options = CanvasPaint());

} // namespace kvl
