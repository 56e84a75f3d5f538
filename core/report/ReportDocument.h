#pragma once

// A report as a display list: pages of texts, rules and chart canvases, in
// twips from the top left corner of the sheet. Core lays it out; a painter
// (PDF writer, tests' recorder) plays it.

#include "charts/Canvas.h"

#include <QList>
#include <QString>

namespace kvl {

enum class Paper { A4, Letter };

// Sheet size in twips, portrait.
int paperWidthTwips(Paper paper);
int paperHeightTwips(Paper paper);
// Letter where the locale measures in inches (United States), else A4.
Paper paperForLocale();

enum class Align { Left, Right, Centre };

struct ReportText
{
    // Top of the text; x is its left edge, right edge or centre by align.
    int x = 0, y = 0;
    QString text;
    int points = 9;
    bool bold = false;
    Align align = Align::Left;
};

struct ReportRule
{
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rgb colour;
};

// A chart canvas painted into a frame of the page.
struct ReportChart
{
    int x = 0, y = 0, width = 0, height = 0;
    Canvas canvas;
};

struct ReportPage
{
    QList<ReportText> texts;
    QList<ReportRule> rules;
    QList<ReportChart> charts;
};

struct ReportDocument
{
    Paper paper = Paper::A4;
    QString title; // document title in the file's properties
    QList<ReportPage> pages;
};

// The texts of every page, in drawing order (tests, and the text-only check
// of a document without a painter).
QStringList documentTexts(const ReportDocument &document);

} // namespace kvl
