// The chart window's zoom state: zoom button cases, mouse selection, wheel and
// pan, list markers, and the picture a state is rebuilt into; the cases are in
// tests/data/charts/chartstate.txt.

#include "../core/TableStores.h"
#include "charts/ChartPeriod.h"
#include "charts/ChartState.h"

#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

QString describe(const ZoomButtonEffect &e)
{
    static const char *cases[] = {"nothing", "enlarge", "leave", "shrink"};
    QString out = QString::fromLatin1(cases[e.which]);
    if (e.which == ZoomButtonEffect::Nothing)
        return out;
    const TwipsRect &p = e.picture;
    out += QStringLiteral(" %1,%2,%3,%4").arg(p.left).arg(p.top).arg(p.width).arg(p.height);
    if (e.moveCaption)
        out += QStringLiteral(" caption %1,%2").arg(e.captionTop).arg(e.captionWidth);
    out += QLatin1String(e.printVisible ? " print" : " noprint");
    if (!e.image.isEmpty())
        out += QStringLiteral(" [") + e.image + QLatin1Char(']');
    return out + QStringLiteral(" \"%1\"").arg(e.toolTip);
}

// Drags on an enlarged diagram from (x1, y1) to (x2, y2) and releases there.
MouseUpEffect drag(ChartState &state, Diagram d, double x1, double y1, double x2, double y2)
{
    state.mouseDown(d, true, x1, y1);
    state.mouseMove(x2, y2);
    return state.mouseUp(d, x2, y2);
}

Store v5Store(int days)
{
    Store s;
    s.Device_Version = Version5X;
    s.Chart_Days = qint16(days);
    s.Period_First = 1;
    s.Period_Last = 10;
    s.Leq1_Count = s.Leq10_Count = 5;
    s.Seuils_Prets = s.Parametres_Constants = true;
    return s;
}

// A 1-day 5.X chart of 27 February 2008 with three Leq10 records, a switch
// to the night threshold at 22:00 and record 2 marked.
Store drawnStore()
{
    Store s;
    s.Device_Version = Version5X;
    fillLeq(s.Leq_Records,
            {"27/02/08 22:30 80 10", "27/02/08 22:40 92 10", "27/02/08 22:41 99 1", "27/02/08 23:50 85 10"});
    storeChartPeriod(s, ChartDate{27, 2, 2008}, 1);
    Periode_Graphique(s, LeqTable::rowCount);
    Separer_Leq1_Leq10(s);
    s.Tab_Seuils.assign(1, {});
    s.Tab_Seuils.push_back({0, 27, 2, 8, 22, 0, 105, 95});
    s.Seuils_Prets = true;
    s.Repere_Leq10 = 2;
    return s;
}

// The order in which a canvas draws its kinds of item, runs of one kind counted once.
QStringList drawingOrder(const Canvas &canvas)
{
    QStringList order;
    for (const CanvasItem &i : canvas.items()) {
        QString kind = QStringLiteral("other");
        if (i.layer == Layer::Grid)
            kind = QStringLiteral("grid");
        else if (i.layer == Layer::Marker)
            kind = i.colour == colours::Blue ? QStringLiteral("marker") : QStringLiteral("marker?");
        else if (i.colour == colours::Black)
            kind = QStringLiteral("black");
        else if (i.colour == colours::Blue)
            kind = QStringLiteral("blue");
        else if (i.colour == colours::Red)
            kind = QStringLiteral("red");
        else if (i.colour == colours::Threshold || i.colour == colours::ThresholdZoom)
            kind = QStringLiteral("thresholds %1 width %2")
                       .arg(i.colour == colours::Threshold ? "green" : "light")
                       .arg(i.lineWidth);
        if (order.isEmpty() || order.last() != kind)
            order << kind;
    }
    return order;
}

void rows(const QString &section)
{
    addDataRows(QStringLiteral("charts/chartstate.txt"), section);
}

} // namespace

class TestChartState : public QObject
{
    Q_OBJECT
private slots:
    void zoomButtonCycle_data() { rows(QStringLiteral("zoom button")); }
    void zoomButtonCycle()
    {
        QFETCH(QStringList, c);
        const Diagram diagram = Diagram(c[1].toInt());
        const Store store = v5Store(c[2].toInt());
        ChartState state;
        QStringList seen;
        seen << describe(state.zoomButton(diagram, store));
        QVERIFY(state.pane(diagram).isEnlarged());
        QVERIFY(drag(state, diagram, 13, -80, 15, -90).accepted);
        QVERIFY(state.isZoomed(diagram));
        QVERIFY(state.pane(diagram).printVisible);
        seen << describe(state.zoomButton(diagram, store));
        QVERIFY(!state.zoomSouris());
        seen << describe(state.zoomButton(diagram, store));
        QCOMPARE(seen, items(c[3]));
        QVERIFY(state.pane(diagram).isSmall());
        // Any other size: the button does nothing.
        state.pane(diagram).widthTwips = 7000;
        QCOMPARE(describe(state.zoomButton(diagram, store)), QStringLiteral("nothing"));
    }

    void markerKeepsItsSizeWhenZoomed()
    {
        // The arrow's measures as shares of the picture, whole diagram and a
        // range one unit wide and 10 dB high: the same on the screen.
        const Store store = drawnStore();
        ChartState state;
        state.zoomButton(Diagram::Leq10, store);
        auto shares = [&] {
            Canvas canvas;
            redrawDiagram(canvas, store, Diagram::Leq10, state);
            double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
            for (const CanvasItem &i : canvas.items())
                if (i.layer == Layer::Marker) {
                    left = std::min({left, i.x1, i.x2});
                    right = std::max({right, i.x1, i.x2});
                    top = std::min({top, i.y1, i.y2});
                    bottom = std::max({bottom, i.y1, i.y2});
                }
            const Scale s = canvas.scale();
            return QPointF((right - left) / s.width, (bottom - top) / s.height);
        };
        const QPointF whole = shares();
        QVERIFY(whole.x() > 0);
        QVERIFY(drag(state, Diagram::Leq10, 22, -85, 23, -95).accepted);
        const QPointF zoomed = shares();
        QVERIFY(qAbs(zoomed.x() - whole.x()) < 1e-9);
        QVERIFY(qAbs(zoomed.y() - whole.y()) < 1e-9);
    }

    void shrinkShowsWhatLoadShowed_data() { rows(QStringLiteral("shrink")); }
    void shrinkShowsWhatLoadShowed()
    {
        QFETCH(QStringList, c);
        const Diagram diagram = Diagram(c[2].toInt());
        Store store = v5Store(3);
        store.Device_Version = qint16(c[1].toInt());
        store.Leq1_Count = c[3].toInt();
        store.Leq10_Count = c[4].toInt();
        store.Seuils_Prets = c[5] != "0";
        store.Parametres_Constants = c[5] == "1";
        ChartState state;
        const ZoomButtonEffect enlarge = state.zoomButton(diagram, store);
        const ZoomButtonEffect shrink = state.zoomButton(diagram, store);
        // The controls that stay hidden, by their names in the enum.
        static const char *names[] = {
            "MiniLeq10",     "MaxiLeq10",     "MiniLeq1",         "MaxiLeq1",          "Analyse",
            "Source",        "NiveauJour",    "NiveauNuit",       "NiveauJourFenetre", "NiveauNuitFenetre",
            "HeureJourNuit", "HeureNuitJour", "ThresholdsChanged"};
        QStringList hidden;
        for (ChartControl h : shrink.hide)
            hidden << (int(h) < int(std::size(names)) ? names[int(h)] : "other");
        hidden.sort();
        QCOMPARE(hidden, items(c[6]));
        // Everything the enlarged diagram covered is accounted for, once.
        QList<ChartControl> all = shrink.hide + shrink.show;
        QList<ChartControl> covered = enlarge.hide;
        std::sort(all.begin(), all.end());
        std::sort(covered.begin(), covered.end());
        QCOMPARE(all, covered);
        QCOMPARE(covered.size(), int(ChartControl::OtherPicture) + 1);
    }

    void wheelAndPan()
    {
        const Store store = v5Store(1);
        ChartState state;
        QVERIFY(!state.wheel(Diagram::Leq10, 1, 24, -90, 1)); // small: nothing
        state.zoomButton(Diagram::Leq10, store);
        // Zoom in around (24, 90 dB): the point keeps its place in the picture.
        QVERIFY(state.wheel(Diagram::Leq10, 1, 24, -90, 2));
        const ZoomRange in = state.zoomRange();
        QCOMPARE(in.x2 - in.x1, 30 / 1.5625);
        QCOMPARE((24 - in.x1) / (in.x2 - in.x1), 0.5);
        QCOMPARE((90 - in.y1) / (in.y2 - in.y1), 0.5);
        QVERIFY(state.isZoomed(Diagram::Leq10));
        QVERIFY(state.pane(Diagram::Leq10).printVisible);
        // Panning stops at the diagram's edge.
        QVERIFY(state.pan(Diagram::Leq10, 1, in, -100, 0));
        QCOMPARE(state.zoomRange().x1, 9.0);
        QCOMPARE(state.zoomRange().y1, in.y1);
        QVERIFY(!state.pan(Diagram::Leq10, 1, state.zoomRange(), -1, 0));
        // Nothing moves under a drag in progress.
        state.mouseDown(Diagram::Leq10, true, 12, -80);
        QVERIFY(!state.wheel(Diagram::Leq10, 1, 24, -90, 1));
        state.mouseUp(Diagram::Leq10, 12, -80);
        // Never narrower than one unit and 5 dB.
        QVERIFY(state.wheel(Diagram::Leq10, 1, 20, -90, 40));
        QCOMPARE(state.zoomRange().x2 - state.zoomRange().x1, 1.0);
        QCOMPARE(state.zoomRange().y2 - state.zoomRange().y1, 5.0);
        // Out past the whole diagram: back to it, as with the zoom button.
        QVERIFY(state.wheel(Diagram::Leq10, 1, 20, -90, -40));
        QVERIFY(!state.zoomSouris());
        QVERIFY(state.pane(Diagram::Leq10).printVisible);
        QCOMPARE(state.scale(Diagram::Leq10, 1), enlargedScale(1));
        QVERIFY(!state.wheel(Diagram::Leq10, 1, 20, -90, -1));
    }

    void listClick_data() { rows(QStringLiteral("list click")); }
    void listClick()
    {
        QFETCH(QStringList, c);
        const Diagram diagram = Diagram(c[2].toInt());
        Store store = v5Store(1);
        store.Device_Version = qint16(c[1].toInt());
        store.Period_First = 100;
        store.Period_Last = 110;
        store.Leq1_Count = store.Leq10_Count = c[3].toInt();
        ChartState state;
        const ChartState::ListClick click =
            state.listClicked(diagram, store, {"a", "", "b", "c", "", "d"}, c[4].toInt());
        QCOMPARE(click.redraw, c[6] == "1");
        QCOMPARE(click.marker.value_or(-1), c[5].toInt());
        // An empty entry hides the marker until the next full redraw.
        const bool emptyEntry = click.redraw && !click.marker;
        QCOMPARE(state.pane(diagram).markerHidden, emptyEntry);
        if (emptyEntry) {
            state.zoomButton(diagram, store);
            QVERIFY(!state.pane(diagram).markerHidden);
        }
    }

    void redrawOrder_data() { rows(QStringLiteral("redraw order")); }
    void redrawOrder()
    {
        QFETCH(QStringList, c);
        const Store store = drawnStore();
        ChartState state;
        for (int i = 0; i < c[1].toInt(); ++i)
            state.zoomButton(Diagram::Leq10, store);
        if (c[2] == "1")
            QVERIFY(drag(state, Diagram::Leq10, 20.2, -75, 24.3, -100).accepted);
        if (c[3] == "1")
            QVERIFY(state.listClicked(Diagram::Leq10, store, {"a", "", "b"}, 1).redraw);
        Canvas canvas;
        redrawDiagram(canvas, store, Diagram::Leq10, state);
        QCOMPARE(drawingOrder(canvas), items(c[4]));
        QCOMPARE(canvas.scale(), state.scale(Diagram::Leq10, store.Chart_Days));
        QCOMPARE(canvas.widthTwips(), state.pane(Diagram::Leq10).widthTwips);
    }

    void hover_data() { rows(QStringLiteral("hover")); }
    void hover()
    {
        QFETCH(QStringList, c);
        QCOMPARE(hoverText(drawnStore(), Diagram(c[1].toInt()), c[2].toDouble(), c[3].toDouble(), 0.02, 1.5),
                 c[4]);
    }
};

QTEST_GUILESS_MAIN(TestChartState)
#include "tst_chartstate.moc"
