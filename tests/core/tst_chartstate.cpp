// The chart window's zoom state: zoom button cases, mouse selection,
// wheel and pan, list markers, and the picture a state is rebuilt into.

#include "../core/TableStores.h"
#include "charts/ChartPeriod.h"
#include "charts/ChartState.h"

#include <QTest>

using namespace kvl;

Q_DECLARE_METATYPE(kvl::Diagram)

namespace {

QString describe(const ZoomButtonEffect &e)
{
    static const char *cases[] = {"nothing", "enlarge", "leave", "shrink"};
    QString s = QString::fromLatin1(cases[e.which]);
    if (e.which == ZoomButtonEffect::Nothing)
        return s;
    s += QStringLiteral(" %1,%2,%3,%4")
             .arg(e.picture.left)
             .arg(e.picture.top)
             .arg(e.picture.width)
             .arg(e.picture.height);
    if (e.moveCaption)
        s += QStringLiteral(" caption %1,%2").arg(e.captionTop).arg(e.captionWidth);
    s += e.printVisible ? QStringLiteral(" print") : QStringLiteral(" noprint");
    if (!e.image.isEmpty())
        s += QStringLiteral(" [") + e.image + QLatin1Char(']');
    s += QStringLiteral(" \"") + e.toolTip + QLatin1Char('"');
    s += QStringLiteral(" buttons %1/%2 %3/%4")
             .arg(e.buttons.zoomLeft)
             .arg(e.buttons.printLeft)
             .arg(e.buttons.zoomLeftTwips)
             .arg(e.buttons.printLeftTwips);
    return s;
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
    s.Leq1_Count = 5;
    s.Leq10_Count = 5;
    s.Seuils_Prets = true;
    s.Parametres_Constants = true;
    return s;
}

// A 1-day 5.X chart of 27 February 2008 with three Leq10 records, a switch
// to the night threshold at 22:00 and record 2 marked.
Store drawnStore()
{
    Store s;
    s.Device_Version = Version5X;
    test::fillLeq(s.Leq_Records, {"27/02/08 22:30 80 10", "27/02/08 22:40 92 10", "27/02/08 22:41 99 1",
                                  "27/02/08 23:50 85 10"});
    storeChartPeriod(s, ChartDate{27, 2, 2008}, 1);
    Periode_Graphique(s, LeqTable::rowCount);
    Separer_Leq1_Leq10(s);
    s.Tab_Seuils.assign(1, {});
    s.Tab_Seuils.push_back({0, 27, 2, 8, 22, 0, 105, 95});
    s.Seuils_Prets = true;
    s.Repere_Leq10 = 2;
    return s;
}

// The order in which a canvas draws its kinds of item, runs of one kind
// counted once.
QStringList drawingOrder(const Canvas &canvas)
{
    QStringList order;
    for (const CanvasItem &i : canvas.items()) {
        QString kind;
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
            kind =
                QStringLiteral("thresholds %1 width %2")
                    .arg(i.colour == colours::Threshold ? QStringLiteral("green") : QStringLiteral("light"))
                    .arg(i.lineWidth);
        else
            kind = QStringLiteral("other");
        if (order.isEmpty() || order.last() != kind)
            order << kind;
    }
    return order;
}

} // namespace

class TestChartState : public QObject
{
    Q_OBJECT
private slots:
    void zoomButtonCycle_data();
    void zoomButtonCycle();
    void shrinkShowsWhatLoadShowed_data();
    void shrinkShowsWhatLoadShowed();
    void toolTipAfterRelease();
    void wheelAndPan();
    void listClick_data();
    void listClick();
    void redrawOrder_data();
    void redrawOrder();
    void hover_data();
    void hover();
};

void TestChartState::zoomButtonCycle_data()
{
    QTest::addColumn<Diagram>("diagram");
    QTest::addColumn<int>("days");
    QTest::addColumn<QStringList>("effects");
    // Enlarge, leave a mouse zoom, shrink, each as described above.
    QTest::newRow("Leq1, 1 day")
        << Diagram::Leq1 << 1
        << QStringList{"enlarge 30,840,15060,8300 caption 9240,15195 print [No Zoom Leq 1.bmp] "
                       "\"Zoom - .\" buttons 37.75/36.4425 14433/13776",
                       "leave 30,840,15060,8300 print \"Zoom -.\" buttons 37.75/36.4425 14433/13776",
                       "shrink 30,5220,7515,3975 caption 9240,7485 noprint [Zoom Leq 1.bmp] "
                       "\"Zoom + .\" buttons 36.4/33.8 6864/6212"};
    QTest::newRow("Leq10, 7 days")
        << Diagram::Leq10 << 7
        << QStringList{
               "enlarge 30,840,15060,8300 caption 9240,15195 print [No Zoom Leq 10.bmp] \"Zoom - .\" "
               "buttons 41.55/40.1 14418/13775",
               "leave 30,840,15060,8300 print \"Zoom - .\" buttons 41.55/40.1 14418/13775",
               "shrink 30,840,7515,3975 caption 4890,7485 noprint [Zoom Leq 10.bmp] \"Zoom + .\" buttons "
               "40.1/37.15 6874/6222"};
}

void TestChartState::zoomButtonCycle()
{
    QFETCH(Diagram, diagram);
    QFETCH(int, days);
    QFETCH(QStringList, effects);
    const Store store = v5Store(days);
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
    QCOMPARE(seen, effects);
    QVERIFY(state.pane(diagram).isSmall());
    // Any other size: the button does nothing.
    state.pane(diagram).widthTwips = 7000;
    QCOMPARE(describe(state.zoomButton(diagram, store)), QStringLiteral("nothing"));
}

void TestChartState::shrinkShowsWhatLoadShowed_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<Diagram>("diagram");
    QTest::addColumn<int>("leq1Count");
    QTest::addColumn<int>("leq10Count");
    QTest::addColumn<bool>("schedule"); // both flags of the threshold analysis
    QTest::addColumn<QStringList>("stayHidden");
    const QStringList thresholds{"Label_Heure_Jour_Nuit", "Label_Heure_Nuit_Jour",
                                 "Label_Niveau_Leq_Jour", "Label_Niveau_Leq_Jour_Fenetre",
                                 "Label_Niveau_Leq_Nuit", "Label_Niveau_Leq_Nuit_Fenetre"};
    QTest::newRow("5.X, all data") << 5 << Diagram::Leq1 << 5 << 5 << true << QStringList();
    QTest::newRow("5.X, no schedule") << 5 << Diagram::Leq10 << 5 << 5 << false << thresholds;
    QTest::newRow("KVL 36, no Leq1 rows")
        << 70 << Diagram::Leq10 << 1 << 2 << true << QStringList{"Label_Maxi_Leq1", "Label_Mini_Leq1"};
    QTest::newRow("5.X, no Leq10 rows")
        << 5 << Diagram::Leq1 << 3 << 1 << true << QStringList{"Label_Maxi_Leq10", "Label_Mini_Leq10"};
    QTest::newRow("4.0") << 4 << Diagram::Leq10 << 1 << 1 << false
                         << QStringList{"Label_Maxi_Leq1", "Label_Mini_Leq1", "Label_Niveau_Leq_Jour_Fenetre",
                                        "Label_Niveau_Leq_Nuit_Fenetre"};
}

void TestChartState::shrinkShowsWhatLoadShowed()
{
    QFETCH(int, version);
    QFETCH(Diagram, diagram);
    QFETCH(int, leq1Count);
    QFETCH(int, leq10Count);
    QFETCH(bool, schedule);
    QFETCH(QStringList, stayHidden);
    Store store = v5Store(3);
    store.Device_Version = qint16(version);
    store.Leq1_Count = leq1Count;
    store.Leq10_Count = leq10Count;
    store.Seuils_Prets = schedule;
    store.Parametres_Constants = schedule;
    ChartState state;
    const ZoomButtonEffect enlarge = state.zoomButton(diagram, store);
    const ZoomButtonEffect shrink = state.zoomButton(diagram, store);
    QStringList hidden = shrink.hide;
    hidden.sort();
    QCOMPARE(hidden, stayHidden);
    // Everything the enlarged diagram covered is accounted for.
    QStringList all = shrink.hide + shrink.show;
    QStringList covered = enlarge.hide;
    all.sort();
    covered.sort();
    QCOMPARE(all, covered);
}

void TestChartState::toolTipAfterRelease()
{
    const Store store = v5Store(1);
    ChartState state;
    // A release on a small diagram leaves its "Zoom + ." alone; on an enlarged
    // one, accepted or not, the button reads "Zoom - .".
    QVERIFY(!drag(state, Diagram::Leq1, 12, -70, 20, -100).setToolTip);
    QCOMPARE(state.pane(Diagram::Leq1).toolTip, QStringLiteral("Zoom + ."));
    state.zoomButton(Diagram::Leq1, store);
    QVERIFY(drag(state, Diagram::Leq1, 12, -70, 20, -100).accepted);
    state.zoomButton(Diagram::Leq1, store);
    QCOMPARE(drag(state, Diagram::Leq1, 12, -70, 12.5, -100).toolTip, QStringLiteral("Zoom - ."));
}

void TestChartState::wheelAndPan()
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

void TestChartState::listClick_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<Diagram>("diagram");
    QTest::addColumn<int>("count"); // Leq1_Count or Leq10_Count
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("marker"); // -1: unchanged
    QTest::addColumn<bool>("redraw");
    const QStringList list{"a", "", "b", "c", "", "d"};
    QTest::newRow("first") << 5 << Diagram::Leq10 << 7 << list << 0 << 1 << true;
    QTest::newRow("last") << 70 << Diagram::Leq1 << 7 << list << 5 << 4 << true;
    QTest::newRow("empty entry") << 5 << Diagram::Leq1 << 7 << list << 4 << -1 << true;
    QTest::newRow("4.0 counts from the period") << 4 << Diagram::Leq10 << 1 << list << 3 << 102 << true;
    QTest::newRow("no Leq1 rows") << 5 << Diagram::Leq1 << 1 << list << 0 << -1 << false;
    QTest::newRow("no Leq1 on 4.0") << 4 << Diagram::Leq1 << 7 << list << 0 << -1 << false;
    QTest::newRow("no row") << 5 << Diagram::Leq1 << 7 << list << 6 << -1 << false;
}

void TestChartState::listClick()
{
    QFETCH(int, version);
    QFETCH(Diagram, diagram);
    QFETCH(int, count);
    QFETCH(QStringList, entries);
    QFETCH(int, row);
    QFETCH(int, marker);
    QFETCH(bool, redraw);
    Store store = v5Store(1);
    store.Device_Version = qint16(version);
    store.Period_First = 100;
    store.Leq1_Count = store.Leq10_Count = count;
    ChartState state;
    const ChartState::ListClick c = state.listClicked(diagram, store, entries, row);
    QCOMPARE(c.redraw, redraw);
    QCOMPARE(c.marker.value_or(-1), marker);
    // An empty entry hides the marker until the next full redraw.
    const bool emptyEntry = redraw && !c.marker;
    QCOMPARE(state.pane(diagram).markerHidden, emptyEntry);
    if (emptyEntry) {
        state.zoomButton(diagram, store);
        QVERIFY(!state.pane(diagram).markerHidden);
    }
}

void TestChartState::redrawOrder_data()
{
    QTest::addColumn<int>("clicks");     // zoom button clicks
    QTest::addColumn<bool>("zoomed");    // then a mouse zoom
    QTest::addColumn<int>("emptyEntry"); // then a click on an empty list entry
    QTest::addColumn<QStringList>("order");
    QTest::newRow("small") << 0 << false << 0
                           << QStringList{"black", "blue", "thresholds green width 1", "red", "marker"};
    QTest::newRow("enlarged") << 1 << false << 0
                              << QStringList{"black", "blue", "thresholds green width 1", "red", "marker"};
    QTest::newRow("mouse zoom") << 1 << true << 0 << QStringList{"grid", "blue",   "thresholds light width 2",
                                                                 "red",  "marker", "black"};
    QTest::newRow("empty entry clicked")
        << 0 << false << 1 << QStringList{"black", "blue", "thresholds green width 1", "red"};
}

void TestChartState::redrawOrder()
{
    QFETCH(int, clicks);
    QFETCH(bool, zoomed);
    QFETCH(int, emptyEntry);
    QFETCH(QStringList, order);
    const Store store = drawnStore();
    ChartState state;
    for (int i = 0; i < clicks; ++i)
        state.zoomButton(Diagram::Leq10, store);
    if (zoomed)
        QVERIFY(drag(state, Diagram::Leq10, 20.2, -75, 24.3, -100).accepted);
    if (emptyEntry)
        QVERIFY(state.listClicked(Diagram::Leq10, store, {"a", "", "b"}, 1).redraw);
    Canvas canvas;
    redrawDiagram(canvas, store, Diagram::Leq10, state);
    QCOMPARE(drawingOrder(canvas), order);
    QCOMPARE(canvas.scale(), state.scale(Diagram::Leq10, store.Chart_Days));
    QCOMPARE(canvas.widthTwips(), state.pane(Diagram::Leq10).widthTwips);
}

void TestChartState::hover_data()
{
    QTest::addColumn<Diagram>("diagram");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("text");
    // 22:30 is x = 22.5 on a 1-day chart; a Leq10 step covers the 10 minutes before its stamp.
    QTest::newRow("on a step") << Diagram::Leq10 << 22.45 << -80.3 << "27 / 02 / 2008  22:30  80 dB";
    QTest::newRow("at a join the level decides")
        << Diagram::Leq10 << 22.5 << -91.2 << "27 / 02 / 2008  22:40  92 dB";
    QTest::newRow("too far above") << Diagram::Leq10 << 22.45 << -84.0 << "";
    QTest::newRow("in a gap") << Diagram::Leq10 << 23.2 << -80.0 << "";
    QTest::newRow("Leq1") << Diagram::Leq1 << 22.68 << -99.0 << "27 / 02 / 2008  22:41  99 dB";
}

void TestChartState::hover()
{
    QFETCH(Diagram, diagram);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, text);
    QCOMPARE(hoverText(drawnStore(), diagram, x, y, 0.02, 1.5), text);
}

QTEST_GUILESS_MAIN(TestChartState)
#include "tst_chartstate.moc"
