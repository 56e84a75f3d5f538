// The chart window's zoom: zoom buttons, mouse selection on an enlarged
// diagram, list markers, and the wheel, right-drag and hover extras. The
// decisions are ChartState's; this file applies them to the widgets.

#include "charts/PictureBox.h"
#include "charts/frmGraphique_Leq.h"
#include "store/Store.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace kvl {

namespace {

// Hover: how near the pointer must be to a step, in pixels.
constexpr double HoverPixels = 8;
// One wheel notch.
constexpr double WheelNotch = 120;
// A right press that moves less than this (pixels) opens the context menu
// instead of panning.
constexpr int PanThreshold = 3;

// A list marker outlives its window: a new window of the same chart, on the
// same data, shows it again. On any other chart the number would point at
// another record, so the new window starts without one.
struct KeptMarker
{
    QString chart;
    std::array<qint16, LeqTable::fieldCount> record{};
    qint32 number = 0;
};

KeptMarker &keptMarker(Diagram diagram)
{
    static KeptMarker kept[2];
    return kept[diagram == Diagram::Leq1 ? 1 : 0];
}

QString chartKey(const Store &s)
{
    return QStringList{s.Start_Day,
                       s.Start_Month,
                       s.Start_Year,
                       QString::number(s.Chart_Days),
                       QString::number(s.Device_Version),
                       QString::number(s.Period_First),
                       QString::number(s.Period_Last)}
        .join(QLatin1Char(' '));
}

// The marked row's fields, or nothing when the number is out of the table.
std::optional<std::array<qint16, LeqTable::fieldCount>> markedRecord(const Store &s, Diagram diagram,
                                                                     qint32 number)
{
    const LeqTable &table = *seriesRows(s, diagramSeries(s, diagram)).table;
    if (number < 1 || number > LeqTable::rowCount)
        return std::nullopt;
    std::array<qint16, LeqTable::fieldCount> fields{};
    std::copy(table.row(number), table.row(number) + LeqTable::fieldCount, fields.begin());
    return fields;
}

} // namespace

void frmGraphique_Leq::keepMarker(Diagram diagram)
{
    Store &s = appStore();
    const qint32 number = diagramMarker(s, diagram);
    const std::optional<std::array<qint16, LeqTable::fieldCount>> record = markedRecord(s, diagram, number);
    keptMarker(diagram) = record ? KeptMarker{chartKey(s), *record, number} : KeptMarker{};
}

void frmGraphique_Leq::restoreMarkers()
{
    Store &s = appStore();
    for (Diagram d : {Diagram::Leq10, Diagram::Leq1}) {
        const KeptMarker &kept = keptMarker(d);
        if (kept.number == 0 || diagramMarker(s, d) != 0 || kept.chart != chartKey(s) ||
            markedRecord(s, d, kept.number) != kept.record)
            continue;
        diagramMarker(s, d) = kept.number;
        redrawDiagram(d);
    }
}

void frmGraphique_Leq::setupZoom()
{
    restoreMarkers();
    connect(this, &frmGraphique_Leq::diagramMouseDown, this, &frmGraphique_Leq::zoomMouseDown);
    connect(this, &frmGraphique_Leq::diagramMouseMove, this, &frmGraphique_Leq::zoomMouseMove);
    connect(this, &frmGraphique_Leq::diagramMouseUp, this, &frmGraphique_Leq::zoomMouseUp);
    // The window filters its picture boxes' events itself: a separate filter
    // object lived on while the window's own members were already destroyed.
    for (Diagram d : {Diagram::Leq10, Diagram::Leq1})
        graphique(d)->installEventFilter(this);
}

QWidget *frmGraphique_Leq::control(ChartControl c, Diagram clicked) const
{
    const Diagram other = clicked == Diagram::Leq10 ? Diagram::Leq1 : Diagram::Leq10;
    switch (c) {
    case ChartControl::ThresholdsChanged:
        return m_seuilsVariables;
    case ChartControl::Leq10ListCaption:
        return m_label3;
    case ChartControl::Leq10List:
        return m_listLeq10;
    case ChartControl::Leq1ListCaption:
        return m_labelListLeq1;
    case ChartControl::Leq1List:
        return m_listLeq1;
    case ChartControl::EventListCaption:
        return m_label4;
    case ChartControl::EventList:
        return m_listDepassement;
    case ChartControl::NewChart:
        return m_newGraph;
    case ChartControl::OtherCaption:
        return caption(other);
    case ChartControl::OtherPicture:
        return graphique(other);
    default: // the level labels come first, in their order
        return m_levelLabels[int(c)];
    }
}

void frmGraphique_Leq::syncZoom(Diagram diagram)
{
    const ChartPane &pane = m_chart.pane(diagram);
    appStore().Zoom_Souris = m_chart.zoomSouris();
    printButton(diagram)->setVisible(pane.printVisible);
    zoomButton(diagram)->setToolTip(pane.toolTip);
}

void frmGraphique_Leq::zoomClicked(Diagram diagram)
{
    const ZoomButtonEffect e = m_chart.zoomButton(diagram, appStore());
    if (e.which == ZoomButtonEffect::Nothing)
        return;
    m_panning = false;
    PictureBox *box = graphique(diagram);
    box->canvas().clearLayer(Layer::RubberBand);
    // The canvas takes the state's size; the window's layout gives the
    // picture its room on the screen.
    box->setSizeTwips(e.picture.width, e.picture.height);
    for (ChartControl c : e.hide)
        control(c, diagram)->hide();
    for (ChartControl c : e.show)
        control(c, diagram)->show();
    if (!e.image.isEmpty()) {
        const QPixmap image = loadImage(e.image);
        if (!image.isNull())
            zoomButton(diagram)->setIcon(image);
    }
    syncZoom(diagram);
    layoutWindow();
    box->raise();
    redrawDiagram(diagram);
}

void frmGraphique_Leq::Cmd_Zoom_Leq10_Click()
{
    zoomClicked(Diagram::Leq10);
}

void frmGraphique_Leq::Cmd_Zoom_Leq1_Click()
{
    zoomClicked(Diagram::Leq1);
}

void frmGraphique_Leq::zoomMouseDown(Diagram diagram, Qt::MouseButton button, Qt::KeyboardModifiers,
                                     QPointF chart)
{
    PictureBox *box = graphique(diagram);
    m_chart.mouseDown(diagram, button == Qt::LeftButton, chart.x(), chart.y());
    if (!m_chart.selectionActive()) {
        box->canvas().clearLayer(Layer::RubberBand);
        box->update();
    }
    m_panning = button == Qt::RightButton && m_chart.isZoomed(diagram);
    if (m_panning) {
        m_panFrom = m_chart.zoomRange();
        m_panScale = box->canvas().scale();
        m_panPixel = box->toPixel(chart);
        m_panMoved = false;
    }
}

void frmGraphique_Leq::zoomMouseMove(Diagram diagram, Qt::MouseButtons buttons, Qt::KeyboardModifiers,
                                     QPointF chart)
{
    PictureBox *box = graphique(diagram);
    if (m_panning && (buttons & Qt::RightButton)) {
        const QPointF pixel = box->toPixel(chart);
        const QPointF moved = m_panPixel - pixel;
        if (!m_panMoved && std::abs(moved.x()) + std::abs(moved.y()) < PanThreshold)
            return;
        m_panMoved = true;
        const double dx = moved.x() * m_panScale.width / qMax(1, box->width());
        const double dy = moved.y() * m_panScale.height / qMax(1, box->height());
        if (m_chart.pan(diagram, appStore().Chart_Days, m_panFrom, dx, dy)) {
            syncZoom(diagram);
            redrawDiagram(diagram);
        }
        return;
    }
    const std::optional<RubberBand> band = m_chart.mouseMove(chart.x(), chart.y());
    if (!band)
        return;
    // Only the band's layer changes; the series stay as they are.
    Canvas &canvas = box->canvas();
    canvas.clearLayer(Layer::RubberBand);
    canvas.setLayer(Layer::RubberBand);
    for (const Segment &s : *band)
        canvas.line(s.x1, s.y1, s.x2, s.y2, colours::Black);
    canvas.setLayer(Layer::Drawing);
    canvas.setLayerVisible(Layer::RubberBand, true);
    box->update();
}

void frmGraphique_Leq::zoomMouseUp(Diagram diagram, Qt::MouseButton button, Qt::KeyboardModifiers,
                                   QPointF chart)
{
    PictureBox *box = graphique(diagram);
    if (button == Qt::RightButton && m_panning) {
        m_panning = false;
        if (!m_panMoved) {
            // A right click without a drag still opens the picture's menu.
            m_menuAllowed = true;
            const QPoint pos = box->toPixel(chart).toPoint();
            QContextMenuEvent menu(QContextMenuEvent::Mouse, pos, box->mapToGlobal(pos));
            QCoreApplication::sendEvent(box, &menu);
            m_menuAllowed = false;
        }
    }
    const MouseUpEffect e = m_chart.mouseUp(diagram, chart.x(), chart.y());
    box->canvas().clearLayer(Layer::RubberBand);
    if (e.setToolTip)
        zoomButton(diagram)->setToolTip(e.toolTip);
    if (e.accepted) {
        syncZoom(diagram);
        redrawDiagram(diagram);
    }
    box->update();
}

void frmGraphique_Leq::listClicked(Diagram diagram)
{
    QListWidget *list = diagram == Diagram::Leq1 ? m_listLeq1 : m_listLeq10;
    QStringList entries;
    entries.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    Store &s = appStore();
    const ChartState::ListClick c = m_chart.listClicked(diagram, s, entries, list->currentRow());
    if (c.marker) {
        diagramMarker(s, diagram) = *c.marker;
        keepMarker(diagram);
    }
    if (c.redraw)
        redrawDiagram(diagram);
}

void frmGraphique_Leq::List_Leq10_Click()
{
    listClicked(Diagram::Leq10);
}

void frmGraphique_Leq::List_Leq1_Click()
{
    listClicked(Diagram::Leq1);
}

bool frmGraphique_Leq::diagramEvent(QObject *watched, QEvent *event)
{
    const Diagram diagram = watched == m_graphiqueLeq1 ? Diagram::Leq1 : Diagram::Leq10;
    PictureBox *box = graphique(diagram);
    if (watched != box)
        return false;
    switch (event->type()) {
    case QEvent::Wheel: {
        // Small diagrams leave the wheel to the window's scroll bars.
        if (!m_chart.pane(diagram).isEnlarged())
            break;
        auto *wheel = static_cast<QWheelEvent *>(event);
        m_wheelRest += wheel->angleDelta().y();
        const int steps = int(m_wheelRest / WheelNotch);
        m_wheelRest -= steps * WheelNotch;
        const QPointF at = box->toChart(wheel->position());
        if (steps != 0 && m_chart.wheel(diagram, appStore().Chart_Days, at.x(), at.y(), steps)) {
            syncZoom(diagram);
            redrawDiagram(diagram);
        }
        return true;
    }
    case QEvent::ContextMenu:
        // On a zoomed diagram the right button pans; its menu opens on a
        // click without a drag (see the mouse release).
        if (m_chart.isZoomed(diagram) &&
            static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse && !m_menuAllowed)
            return true;
        break;
    case QEvent::ToolTip: {
        auto *help = static_cast<QHelpEvent *>(event);
        const Scale &scale = box->canvas().scale();
        const QPointF at = box->toChart(help->pos());
        const QString text =
            hoverText(appStore(), diagram, at.x(), at.y(), HoverPixels * scale.width / qMax(1, box->width()),
                      HoverPixels * std::abs(scale.height) / qMax(1, box->height()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, box);
        return true;
    }
    default:
        break;
    }
    return false;
}

} // namespace kvl
