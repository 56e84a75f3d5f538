#pragma once

// Every print path ends here, after its printer dialog: a printer that prints
// to a file gets its pages drawn in memory and written whole.

#include <functional>

class QPagedPaintDevice;
class QPrinter;

namespace kvl {

// Draws all the pages on the device; false when it could not.
using PagePainter = std::function<bool(QPagedPaintDevice &device)>;

// Prints with `paint` on the chosen printer. When the printer prints to a
// file, the pages go to a PDF in memory with the printer's page layout and
// resolution, then through the verified write: a failure is shown naming the
// file and the reason, and an old file of that name stays as it was.
// True when everything was printed or written.
bool printPages(QPrinter &printer, const PagePainter &paint);

} // namespace kvl
