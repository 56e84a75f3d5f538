// Printing an enlarged diagram: the chart window rearranged for a landscape
// page (diagram on top, its caption, the header and the date line below, all
// on white) and painted onto the printer. The widgets and the diagram's
// display list are painted, not grabbed, so a PDF or PostScript printer gets
// lines and text and the page stays sharp at any size.

#include "charts/CanvasPainter.h"
#include "charts/ChartLayout.h"
#include "charts/PictureBox.h"
#include "charts/frmGraphique_Leq.h"
#include "shell/PrintOutput.h"
#include "shell/Seams.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QToolButton>

namespace kvl {

namespace {

// Positions on the page, in twips from the window area's top-left corner.
constexpr int PrintDiagramTop = 30;
constexpr int PrintCaptionTop = 8430;
constexpr int PrintHeaderTop = 8880;
constexpr int PrintDateTop = 9240;

void setBackground(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

// Rearranges the window for the page and puts everything back when it goes
// out of scope, whatever happened in between.
class PrintLayout
{
public:
    PrintLayout(QWidget *surface, PictureBox *box, QLabel *caption, QLabel *header, QLabel *date,
                QWidget *zoom, QWidget *print)
        : m_box(box), m_boxGeometry(box->geometry())
    {
        // The page shows the designed window, whatever the screen's layout.
        const ChartLayout designed = chartLayout(designedChartArea(), ChartTextSizes());
        box->setPixelGeometry(designed.enlargedPicture);
        for (QWidget *w :
             {static_cast<QWidget *>(caption), static_cast<QWidget *>(header), static_cast<QWidget *>(date)})
            m_geometries.append({w, w->geometry()});
        caption->setGeometry(designed.enlargedCaption);
        header->setGeometry(designed.header);
        date->setGeometry(designed.date);
        keep(box, PrintDiagramTop);
        keep(caption, PrintCaptionTop);
        keep(header, PrintHeaderTop);
        keep(date, PrintDateTop);
        for (QWidget *w : {zoom, print}) {
            m_visible.append({w, w->isVisible()});
            w->hide();
        }
        for (QWidget *w : {surface, static_cast<QWidget *>(header), static_cast<QWidget *>(date),
                           static_cast<QWidget *>(caption)}) {
            m_palettes.append({w, w->palette()});
            setBackground(w, Qt::white);
        }
    }
    ~PrintLayout()
    {
        for (const auto &[w, top] : m_tops)
            w->move(w->x(), top);
        for (const auto &[w, geometry] : m_geometries)
            w->setGeometry(geometry);
        m_box->setPixelGeometry(m_boxGeometry);
        for (const auto &[w, visible] : m_visible)
            w->setVisible(visible);
        for (const auto &[w, palette] : m_palettes)
            w->setPalette(palette);
    }

private:
    void keep(QWidget *w, int topTwips)
    {
        m_tops.append({w, w->y()});
        w->move(w->x(), twips(topTwips));
    }

    PictureBox *m_box;
    QRect m_boxGeometry;
    QList<std::pair<QWidget *, QRect>> m_geometries;
    QList<std::pair<QWidget *, int>> m_tops;
    QList<std::pair<QWidget *, bool>> m_visible;
    QList<std::pair<QWidget *, QPalette>> m_palettes;
};

// Disables the main window (or, without one, the chart window) while printing.
class Busy
{
public:
    explicit Busy(QWidget *fallback)
        : m_window(frmMain::instance() ? static_cast<QWidget *>(frmMain::instance()) : fallback),
          m_wasEnabled(m_window->isEnabled())
    {
        m_window->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~Busy()
    {
        QApplication::restoreOverrideCursor();
        m_window->setEnabled(m_wasEnabled);
    }

private:
    QWidget *m_window;
    bool m_wasEnabled;
};

} // namespace

bool frmGraphique_Leq::printDiagram(Diagram diagram)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    // The wide enlarged diagram suits a landscape page.
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!dialogs().choosePrinter(this, printer))
        return false;
    return printPages(printer, [this, diagram](QPagedPaintDevice &device) {
        Busy busy(this);
        PrintLayout layout(m_surface, graphique(diagram), caption(diagram), m_entete, m_date,
                           zoomButton(diagram), printButton(diagram));
        return paintWindow(device);
    });
}

bool frmGraphique_Leq::paintWindow(QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The window area as it is on the screen, scaled to the printable width
    // (and never beyond the page's height). Qt renders widgets onto a
    // printer as one bitmap, so the diagrams and labels are painted here.
    // The designed area: the page does not follow the screen's layout.
    const QSizeF area = designedChartArea();
    const qreal scale = qMin(device.width() / area.width(), device.height() / area.height());
    auto onPage = [scale](const QRect &r) {
        return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
    };
    painter.fillRect(QRectF(QPointF(0, 0), area * scale),
                     m_surface->palette().color(QPalette::Active, QPalette::Window));
    // Children in stacking order, bottom first, in their active colours (the
    // window is disabled while it prints).
    for (QObject *child : m_surface->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isHidden())
            continue;
        const QRectF r = onPage(w->geometry());
        if (auto *box = qobject_cast<PictureBox *>(w)) {
            painter.fillRect(r, Qt::white);
            paintCanvas(painter, box->canvas(), r);
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->autoFillBackground())
                painter.fillRect(r, label->palette().color(QPalette::Active, QPalette::Window));
            QFont font = label->font();
            font.setPixelSize(qMax(1, qRound(QFontInfo(label->font()).pixelSize() * scale)));
            painter.setFont(font);
            painter.setPen(label->palette().color(QPalette::Active, QPalette::WindowText));
            const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
            painter.drawText(onPage(label->contentsRect().translated(label->pos())), flags, label->text());
        } else {
            // Anything else as it looks on the screen.
            const QPixmap image = w->grab();
            painter.drawPixmap(r, image, QRectF(image.rect()));
        }
    }
    return painter.end();
}

void frmGraphique_Leq::Cmd_Print_Leq10_Click()
{
    printDiagram(Diagram::Leq10);
}

void frmGraphique_Leq::Cmd_Print_Leq1_Click()
{
    printDiagram(Diagram::Leq1);
}

} // namespace kvl
