#include "charts/CanvasPainter.h"

#include "charts/ChartLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QVarLengthArray>

#include <map>

namespace kvl {

namespace {

// The picture box's own resolution: twips per pixel and pixels per inch.
constexpr double TwipsPerPixel = 15;
constexpr double PictureDpi = 96;
constexpr double PointsPerInch = 72;
constexpr const char *FontFamily = "Helvetica";

// Lines and points of one pen and one coordinate system go to the painter
// together: a diagram holds thousands of them.
class PainterSink : public CanvasSink
{
public:
    PainterSink(QPainter &painter, const QRectF &target, double pixelScale, const CanvasPaint &options)
        : m_painter(painter), m_target(target), m_pixelScale(pixelScale),
          m_textScale(options.textScale > 0 ? options.textScale : pixelScale), m_keepClear(options.keepClear)
    {
        const QPaintDevice *device = painter.device();
        m_deviceDpi = device ? device->logicalDpiY() : PictureDpi;
    }

    ~PainterSink() override { flush(); }

    void item(const CanvasItem &item) override
    {
        if (item.scale.width == 0 || item.scale.height == 0)
            return;
        if (item.kind == CanvasItem::Text) {
            flush();
            text(item);
            return;
        }
        if (!sameBatch(item))
            flush();
        m_batch = item;
        m_batchOpen = true;
        if (item.kind == CanvasItem::Line)
            m_lines.append(QLineF(map(item.scale, item.x1, item.y1), map(item.scale, item.x2, item.y2)));
        else
            m_points.append(map(item.scale, item.x1, item.y1));
    }

    void flush()
    {
        if (!m_batchOpen)
            return;
        QPen pen(QColor(m_batch.colour.r, m_batch.colour.g, m_batch.colour.b));
        pen.setWidthF(std::max(1, m_batch.lineWidth) * m_pixelScale);
        m_painter.setPen(pen);
        if (!m_lines.isEmpty())
            m_painter.drawLines(m_lines.constData(), int(m_lines.size()));
        if (!m_points.isEmpty())
            m_painter.drawPoints(m_points.constData(), int(m_points.size()));
        m_lines.clear();
        m_points.clear();
        m_batchOpen = false;
    }

private:
    bool sameBatch(const CanvasItem &item) const
    {
        // Lines and points of one pen share a batch: a series alternates them.
        return m_batchOpen && item.colour == m_batch.colour && item.lineWidth == m_batch.lineWidth &&
               item.scale == m_batch.scale;
    }

    QPointF map(const Scale &s, double x, double y) const
    {
        return QPointF(m_target.left() + (x - s.left) / s.width * m_target.width(),
                       m_target.top() + (y - s.top) / s.height * m_target.height());
    }

    struct FontEntry
    {
        QFont font;
        double ascent = 0;
        double height = 0;
        QFontMetricsF metrics{QFont()};
    };

    const FontEntry &font(int points, bool bold)
    {
        const int key = points * 2 + (bold ? 1 : 0);
        auto it = m_fonts.find(key);
        if (it == m_fonts.end()) {
            FontEntry entry;
            entry.font = QFont(QString::fromLatin1(FontFamily));
            // Points at 96 dpi, grown with the target, in the device's own points.
            const double pixels = points * PictureDpi / PointsPerInch * m_textScale;
            entry.font.setPointSizeF(std::max(0.5, pixels * PointsPerInch / m_deviceDpi));
            entry.font.setBold(bold);
            entry.metrics = QFontMetricsF(entry.font, m_painter.device());
            entry.ascent = entry.metrics.ascent();
            entry.height = entry.metrics.height();
            it = m_fonts.emplace(key, entry).first;
        }
        return it->second;
    }

    void text(const CanvasItem &item)
    {
        if (item.text.isEmpty())
            return;
        const FontEntry &f = font(item.fontSize, item.bold);
        m_painter.setFont(f.font);
        m_painter.setPen(QColor(item.colour.r, item.colour.g, item.colour.b));
        const QPointF topLeft = map(item.scale, item.x1, item.y1);
        const QRectF box(topLeft, QSizeF(f.metrics.horizontalAdvance(item.text), f.height));
        const std::optional<QRectF> placed = placeLabel(box, m_target, m_keepClear);
        if (!placed)
            return;
        m_painter.drawText(QPointF(placed->left(), placed->top() + f.ascent), item.text);
    }

    QPainter &m_painter;
    QRectF m_target;
    double m_pixelScale;
    double m_textScale;
    QList<QRectF> m_keepClear;
    double m_deviceDpi;
    CanvasItem m_batch;
    bool m_batchOpen = false;
    QVarLengthArray<QLineF, 512> m_lines;
    QVarLengthArray<QPointF, 512> m_points;
    std::map<int, FontEntry> m_fonts;
};

} // namespace

void paintCanvas(QPainter &painter, const Canvas &canvas, const QRectF &target, const CanvasPaint &options)
{
    if (target.isEmpty() || canvas.widthTwips() <= 0)
        return;
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    const double pixelScale = target.width() / (canvas.widthTwips() / TwipsPerPixel);
    {
        PainterSink sink(painter, target, pixelScale, options);
        replay(canvas, sink);
    }
    painter.restore();
}

} // namespace kvl
