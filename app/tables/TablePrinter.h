#pragma once

#include "tables/TablePrint.h"

class QPagedPaintDevice;

namespace kvl {

// Prints the pages on an already chosen paint device (a printer or a PDF
// writer); false when it cannot be painted on.
bool paintTablePages(QPagedPaintDevice &device, const PrintDocument &document);

} // namespace kvl
