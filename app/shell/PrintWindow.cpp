#include "shell/PrintWindow.h"

#include <QFontInfo>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QWidget>

namespace kvl {

QRectF fitToPrintableWidth(const QSizeF &picture, const QSizeF &printable)
{
    if (picture.isEmpty() || printable.isEmpty())
        return QRectF();
    const qreal scale = qMin(printable.width() / picture.width(), printable.height() / picture.height());
    return QRectF(0, 0, picture.width() * scale, picture.height() * scale);
}

namespace {

// Draws a window's children in its coordinates: a label as text (it stays
// text in a PDF), a plain container by its children, anything else as its
// own picture. QWidget::render() would make one bitmap of the whole window
// on a printer.
void drawChildren(QPainter &painter, QWidget *window, QWidget *parent)
{
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || !child->isVisible() || child->isWindow())
            continue;
        const QRect rect(child->mapTo(window, QPoint(0, 0)), child->size());
        if (auto *label = qobject_cast<QLabel *>(child); label && label->pixmap().isNull()) {
            if (label->autoFillBackground())
                painter.fillRect(rect, label->palette().color(label->backgroundRole()));
            QFont font = label->font();
            // Pixels of the window, not points of the printer.
            font.setPixelSize(QFontInfo(label->font()).pixelSize());
            painter.setFont(font);
            painter.setPen(label->palette().color(label->foregroundRole()));
            const int margin = label->margin() + qMax(0, label->indent());
            const QRect text =
                label->contentsRect().translated(rect.topLeft()).adjusted(margin, margin, -margin, -margin);
            painter.drawText(text, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
                             label->text());
        } else if (child->metaObject() == &QWidget::staticMetaObject) {
            if (child->autoFillBackground())
                painter.fillRect(rect, child->palette().color(child->backgroundRole()));
            drawChildren(painter, window, child);
        } else {
            painter.drawPixmap(rect, child->grab());
        }
    }
}

} // namespace

bool printWindowImage(QPaintDevice &device, QWidget *window)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    auto *paged = dynamic_cast<QPagedPaintDevice *>(&device);
    const QRectF page = paged ? QRectF(paged->pageLayout().paintRectPixels(device.logicalDpiX()))
                              : QRectF(0, 0, device.width(), device.height());
    const QRectF target = fitToPrintableWidth(QSizeF(window->size()), page.size());
    if (!target.isEmpty()) {
        painter.scale(target.width() / window->width(), target.height() / window->height());
        painter.fillRect(window->rect(), window->palette().color(window->backgroundRole()));
        drawChildren(painter, window, window);
    }
    return painter.end();
}

QString printDocumentName(const QString &caption)
{
    QString name = caption.trimmed();
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name.trimmed();
}

} // namespace kvl
