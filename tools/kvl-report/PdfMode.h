#pragma once

// kvl-report --pdf: the compliance report of one data file as a PDF file.

#include "export/Report.h"

#include <memory>

class QCoreApplication;
class QCommandLineParser;

namespace kvl {

// A QGuiApplication on the offscreen platform when --pdf is asked for (the
// PDF writer needs fonts, not a display), else a QCoreApplication.
std::unique_ptr<QCoreApplication> makeReportApplication(int &argc, char **argv);

void addPdfOptions(QCommandLineParser &parser);
bool pdfRequested(const QCommandLineParser &parser);

// Writes the report; the exit status: 0 written, 1 unreadable input or
// unwritable output, 2 bad options.
int runPdf(const QCommandLineParser &parser, const DateRange &range, const QList<ReportInput> &files);

} // namespace kvl
