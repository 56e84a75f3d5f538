#pragma once

// Plays a chart canvas into a QPainter: the picture box on screen, a printer,
// a PDF or an image all get the same picture, vector where the device is.

#include "charts/Canvas.h"

#include <QRectF>

class QPainter;

namespace kvl {

// Paints the visible layers of the canvas into target (device coordinates of
// the painter), each item in its own coordinate system mapped onto target.
// Font sizes and line widths are those of the picture box at 96 dots per
// inch, scaled by target's width against the canvas's width, so the picture
// looks the same at any size. Nothing is painted outside target.
void paintCanvas(QPainter &painter, const Canvas &canvas, const QRectF &target);

} // namespace kvl
