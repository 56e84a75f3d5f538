#include "charts/PictureBox.h"

#include "charts/CanvasPainter.h"
#include "files/FileNames.h"
#include "shell/Forms.h"
#include "shell/Seams.h"

#include <QBuffer>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

namespace kvl {

namespace {

// Pixels per pixel of the screen picture in a PNG: twice as sharp as the
// screen, still small.
constexpr int PngScale = 2;
// Twips per point: a PDF page is the picture at its size on the screen.
constexpr double TwipsPerPoint = 20.0;
// PDF resolution, high enough that hairlines and text land where the
// vector picture puts them.
constexpr int PdfDpi = 1200;

const QString imageFilter =
    QStringLiteral("PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf");

} // namespace

PictureBox::PictureBox(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setSizeTwips(m_canvas.widthTwips(), m_canvas.heightTwips());
}

void PictureBox::setSizeTwips(int widthTwips, int heightTwips)
{
    m_canvas.setSizeTwips(widthTwips, heightTwips);
    setFixedSize(twips(widthTwips), twips(heightTwips));
    update();
}

void PictureBox::moveTwips(int leftTwips, int topTwips)
{
    move(twips(leftTwips), twips(topTwips));
}

void PictureBox::setPixelGeometry(const QRect &geometry)
{
    setFixedSize(geometry.size());
    move(geometry.topLeft());
    update();
}

double PictureBox::textScale() const
{
    // Smaller than designed, the text shrinks with the picture so that the
    // labels keep their room; larger, it keeps its size.
    return std::min(1.0, double(width()) / qMax(1, twips(m_canvas.widthTwips())));
}

QPointF PictureBox::toChart(const QPointF &pixel) const
{
    const Scale &s = m_canvas.scale();
    return QPointF(s.left + pixel.x() * s.width / qMax(1, width()),
                   s.top + pixel.y() * s.height / qMax(1, height()));
}

QPointF PictureBox::toPixel(const QPointF &chart) const
{
    const Scale &s = m_canvas.scale();
    return QPointF((chart.x() - s.left) * width() / s.width, (chart.y() - s.top) * height() / s.height);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    CanvasPaint options;
    options.textScale = textScale();
    // No label under the zoom and print buttons.
    for (const QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            options.keepClear << QRectF(child->geometry());
    paintCanvas(painter, m_canvas, QRectF(rect()), options);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button(), event->modifiers(), toChart(event->position()));
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event->buttons(), event->modifiers(), toChart(event->position()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(event->button(), event->modifiers(), toChart(event->position()));
}

void PictureBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Save Image As..."), this, &PictureBox::saveImageAs);
    menu.exec(event->globalPos());
}

QByteArray PictureBox::imageBytes(const QString &format) const
{
    // Drawn in memory, so the file is written whole or not at all.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QSize size(twips(m_canvas.widthTwips()), twips(m_canvas.heightTwips()));
    if (format == QStringLiteral("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(objectName());
        QPainter painter;
        if (!painter.begin(&svg))
            return QByteArray();
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        paintCanvas(painter, m_canvas, QRectF(QPoint(0, 0), size));
        return painter.end() ? buffer.data() : QByteArray();
    }
    if (format == QStringLiteral("pdf")) {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(PdfDpi);
        pdf.setPageSize(
            QPageSize(QSizeF(m_canvas.widthTwips() / TwipsPerPoint, m_canvas.heightTwips() / TwipsPerPoint),
                      QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(objectName());
        QPainter painter;
        if (!painter.begin(&pdf))
            return QByteArray();
        const QRectF page(0, 0, pdf.width(), pdf.height());
        painter.fillRect(page, Qt::white);
        paintCanvas(painter, m_canvas, page);
        return painter.end() ? buffer.data() : QByteArray();
    }
    QImage image(size * PngScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(PngScale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paintCanvas(painter, m_canvas, QRectF(QPoint(0, 0), size));
    }
    return image.save(&buffer, "PNG") ? buffer.data() : QByteArray();
}

FileWrite PictureBox::saveImage(const QString &path) const
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray bytes = imageBytes(
        suffix == QStringLiteral("svg") || suffix == QStringLiteral("pdf") ? suffix : QStringLiteral("png"));
    if (bytes.isEmpty())
        return FileWrite{FileWrite::Result::NotWritten, QStringLiteral("the picture could not be drawn")};
    return writeFileAtomically(path, bytes);
}

void PictureBox::saveImageAs()
{
    QString proposed = objectName() + QStringLiteral(".png");
    for (;;) {
        const std::optional<QString> chosen = dialogs().saveFile(window(), proposed, imageFilter, 1);
        if (!chosen || chosen->isEmpty())
            return;
        // PNG unless the name says SVG or PDF; never a second extension.
        const QString path = withFilterExtension(*chosen, imageFilter, 1);
        const FileWrite written = saveImage(path);
        if (written.ok())
            return;
        // Nothing was replaced; the user may choose another place.
        showMessage(writeFailureText(path, written), QStringLiteral("Save Image As..."), MsgIcon::Critical);
        proposed = path;
    }
}

} // namespace kvl
