#pragma once

// Printing a window "as an image" across the printable width: its labels
// are drawn as text, so they stay sharp in a PDF; other controls as pictures.

#include <QRectF>

class QPaintDevice;
class QWidget;

namespace kvl {

// Where a picture of that size goes on a printable area of that size: the
// whole width, proportions kept, smaller only when it would run off the page.
QRectF fitToPrintableWidth(const QSizeF &picture, const QSizeF &printable);

// Prints the window on one page of a printer (or across the whole of any
// other device). False when the device could not be started.
bool printWindowImage(QPaintDevice &device, QWidget *window);

// A printer document name without the trailing dots of a caption: print
// dialogs append ".pdf" to it.
QString printDocumentName(const QString &caption);

} // namespace kvl
