#pragma once

// Writes a report document as a vector PDF: texts with embedded fonts,
// rules, and the chart canvases as lines. Needs a QGuiApplication (the
// offscreen platform will do), not a display.

#include "report/ReportDocument.h"

#include <functional>

class QByteArray;

namespace kvl {

// Called after each page with the pages done and the total; false stops
// the writing (cancel).
using PageProgress = std::function<bool(int done, int total)>;

enum class PdfOutcome { Written, Cancelled, Failed };

// Paints the document into `pdf`, the file's bytes; the caller writes them
// to disk whole.
PdfOutcome renderReportPdf(const ReportDocument &document, QByteArray *pdf,
                           const PageProgress &progress = {});

} // namespace kvl
