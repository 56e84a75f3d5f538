#include "tables/TablePrint.h"

#include "store/Messages.h"

namespace kvl {

namespace {

struct RunLayout
{
    int serialFirstX;
    int serialNextX;
    int periodFirstX;
    int periodNextX;
    int linesPerPage;
    int fullPageNumberY; // page number of a page followed by another
    QString message;
};

constexpr int headerSerialY = 200;
constexpr int headerPeriodY = 400;
constexpr int lineX = 2350;
constexpr int pageNumberX = 5000;
constexpr int lastPageNumberY = 15500;

int lineY(int n)
{
    return 1000 + 200 * n;
}

void addHeader(PrintPage &page, const RunLayout &layout, const PrintedList &list, bool first)
{
    page.texts << PrintText{first ? layout.serialFirstX : layout.serialNextX, headerSerialY, list.serialLine};
    page.texts << PrintText{first ? layout.periodFirstX : layout.periodNextX, headerPeriodY, list.periodLine};
}

void appendRun(PrintDocument &document, const RunLayout &layout, const PrintedList &list)
{
    PrintPage page;
    int pageNumber = 1;
    int lineNumber = 1;
    addHeader(page, layout, list, true);
    if (!list.hasRows) {
        page.texts << PrintText{3000, 1000, layout.message};
    } else {
        for (const QString &line : list.lines) {
            // A new page only when a line is left for it, so a full last
            // page is not followed by an empty one.
            if (lineNumber > layout.linesPerPage) {
                page.texts << PrintText{pageNumberX, layout.fullPageNumberY, pageNumberText(pageNumber)};
                document << page;
                page = PrintPage();
                ++pageNumber;
                lineNumber = 1;
                addHeader(page, layout, list, false);
            }
            page.texts << PrintText{lineX, lineY(lineNumber), line};
            ++lineNumber;
        }
    }
    page.texts << PrintText{pageNumberX, lastPageNumberY, pageNumberText(pageNumber)};
    document << page;
}

} // namespace

bool replay(const PrintDocument &document, PageSink &sink)
{
    for (const PrintPage &page : document) {
        for (const PrintText &t : page.texts)
            sink.text(t.x, t.y, t.text);
        if (!sink.endPage())
            return false;
    }
    return true;
}

QString pageNumberText(int page)
{
    return QStringLiteral(" Page  ") + QLatin1Char(' ') + QString::number(page);
}

PrintDocument eventsTablePrint(const PrintedList &list, bool singleDay)
{
    const RunLayout layout{3300,
                           3900,
                           singleDay ? 3000 : 2350,
                           3000,
                           69,
                           lastPageNumberY,
                           QStringLiteral("There is no event in the memory for this period !")};
    PrintDocument document;
    appendRun(document, layout, list);
    return document;
}

PrintDocument leqTablePrint(const PrintedList &list)
{
    const RunLayout layout{3300, 3300, 2350, 2350, 69, lastPageNumberY, messageText(Message::EmptyLeqTable)};
    PrintDocument document;
    appendRun(document, layout, list);
    return document;
}

PrintDocument leqV5TablePrint(const PrintedList &leq10, const PrintedList &leq1)
{
    const RunLayout layout10{3300, 3300, 2350, 2350, 64, 16000, messageText(Message::NoLeq10Value)};
    const RunLayout layout1{3300, 3300, 2350, 2350, 64, lastPageNumberY, messageText(Message::PrintedNoLeq1)};
    PrintDocument document;
    appendRun(document, layout10, leq10);
    appendRun(document, layout1, leq1);
    return document;
}

} // namespace kvl
