#include "tables/TablePrinter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace kvl {

namespace {

// Plays the page layout on a painter: twips from the top left corner of the
// printable page, each text hanging from its position.
class PainterSink : public PageSink
{
public:
    PainterSink(QPagedPaintDevice &device, QPainter &painter) : m_device(device), m_painter(painter)
    {
        QFont font(QStringLiteral("Helvetica"));
        font.setPointSize(8);
        m_painter.setFont(font);
        m_ascent = QFontMetricsF(font, &device).ascent();
    }

    void text(int x, int y, const QString &text) override
    {
        if (!startPageIfNeeded() || text.isEmpty())
            return;
        const double px = x * m_device.logicalDpiX() / 1440.0;
        const double py = y * m_device.logicalDpiY() / 1440.0;
        m_painter.drawText(QPointF(px, py + m_ascent), text);
    }

    bool endPage() override
    {
        if (!m_painter.isActive())
            return false;
        m_pending = true;
        return true;
    }

    bool failed() const { return m_failed; }

private:
    bool startPageIfNeeded()
    {
        if (m_pending) {
            m_pending = false;
            if (!m_device.newPage())
                m_failed = true;
        }
        return !m_failed && m_painter.isActive();
    }

    QPagedPaintDevice &m_device;
    QPainter &m_painter;
    double m_ascent = 0;
    bool m_pending = false;
    bool m_failed = false;
};

} // namespace

bool paintTablePages(QPagedPaintDevice &device, const PrintDocument &document)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PainterSink sink(device, painter);
    const bool ok = replay(document, sink) && !sink.failed();
    return painter.end() && ok;
}

} // namespace kvl
