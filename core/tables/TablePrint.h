#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kvl {

// One text of a printed page, its top left corner in twips from the top left
// corner of the printable page.
struct PrintText
{
    int x = 0;
    int y = 0;
    QString text;
    bool operator==(const PrintText &o) const { return x == o.x && y == o.y && text == o.text; }
};

struct PrintPage
{
    QList<PrintText> texts;
};

// Pages in printing order; each page is ended before the next begins.
using PrintDocument = QList<PrintPage>;

// Where a printout goes: a printer, or a recorder in tests.
class PageSink
{
public:
    virtual ~PageSink() = default;
    virtual void text(int x, int y, const QString &text) = 0;
    // Ends the page; false when the output failed and printing must stop.
    virtual bool endPage() = 0;
};

// Plays the pages into the sink; false when the sink failed.
bool replay(const PrintDocument &document, PageSink &sink);

// " Page   1": the page number as the printout writes it.
QString pageNumberText(int page);

// The list of one table window as printed: the window's serial and period
// lines, its list lines and whether the period holds any row.
struct PrintedList
{
    QString serialLine;
    QString periodLine;
    QStringList lines;
    bool hasRows = false;
};

// Events table: 69 lines a page; the first page's period line at X 2350 for
// a period of several days and X 3000 for a single day.
PrintDocument eventsTablePrint(const PrintedList &list, bool singleDay);

// Leq table of firmware 3.5 and 4.0: 69 lines a page.
PrintDocument leqTablePrint(const PrintedList &list);

// Leq10 list then Leq1 list, each its own run of pages numbered from 1,
// 64 lines a page.
PrintDocument leqV5TablePrint(const PrintedList &leq10, const PrintedList &leq1);

} // namespace kvl
