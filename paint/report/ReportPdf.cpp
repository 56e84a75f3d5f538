#include "report/ReportPdf.h"

#include "charts/CanvasPainter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <map>

namespace kvl {

namespace {

// One device unit is one twip, as the document's coordinates.
constexpr int TwipsPerInch = 1440;
constexpr double RuleWidth = 10; // twips, half a point
constexpr const char *FontFamily = "Helvetica";

class PagePainter
{
public:
    explicit PagePainter(QPainter &painter) : m_painter(painter) {}

    void paint(const ReportPage &page)
    {
        for (const ReportChart &c : page.charts)
            paintCanvas(m_painter, c.canvas, QRectF(c.x, c.y, c.width, c.height));
        for (const ReportRule &r : page.rules) {
            QPen pen(QColor(r.colour.r, r.colour.g, r.colour.b));
            pen.setWidthF(RuleWidth);
            m_painter.setPen(pen);
            m_painter.drawLine(QLineF(r.x1, r.y1, r.x2, r.y2));
        }
        m_painter.setPen(Qt::black);
        for (const ReportText &t : page.texts)
            text(t);
    }

private:
    struct Font
    {
        QFont font;
        QFontMetricsF metrics{QFont()};
    };

    const Font &font(int points, bool bold)
    {
        const int key = points * 2 + (bold ? 1 : 0);
        auto it = m_fonts.find(key);
        if (it == m_fonts.end()) {
            QFont f{QString::fromLatin1(FontFamily)};
            f.setPointSize(points);
            f.setBold(bold);
            // No ligatures: the text of the PDF stays searchable as typed.
            f.setStyleStrategy(QFont::PreferNoShaping);
            it = m_fonts.emplace(key, Font{f, QFontMetricsF(f, m_painter.device())}).first;
        }
        return it->second;
    }

    void text(const ReportText &t)
    {
        if (t.text.isEmpty())
            return;
        const Font &f = font(t.points, t.bold);
        m_painter.setFont(f.font);
        double x = t.x;
        if (t.align != Align::Left) {
            const double width = f.metrics.horizontalAdvance(t.text);
            x -= t.align == Align::Right ? width : width / 2;
        }
        m_painter.drawText(QPointF(x, t.y + f.metrics.ascent()), t.text);
    }

    QPainter &m_painter;
    std::map<int, Font> m_fonts;
};

} // namespace

PdfOutcome renderReportPdf(const ReportDocument &document, QByteArray *pdf, const PageProgress &progress)
{
    QBuffer out(pdf);
    out.open(QIODevice::WriteOnly);
    QPdfWriter writer(&out);
    writer.setResolution(TwipsPerInch);
    writer.setPageSize(QPageSize(document.paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("ORLIN Analysis Software"));
    QPainter painter;
    if (!painter.begin(&writer))
        return PdfOutcome::Failed;
    painter.setRenderHint(QPainter::Antialiasing);
    PagePainter pages(painter);
    const int total = int(document.pages.size());
    for (int i = 0; i < total; ++i) {
        if (i > 0 && !writer.newPage())
            return PdfOutcome::Failed;
        pages.paint(document.pages[i]);
        if (progress && !progress(i + 1, total)) {
            painter.end();
            return PdfOutcome::Cancelled;
        }
    }
    return painter.end() ? PdfOutcome::Written : PdfOutcome::Failed;
}

} // namespace kvl
