// The chart window's zoom state: zoom button cases, mouse selection, wheel and
// pan, list markers and hover tips; the cases are in tests/data/charts/chartstate.txt.

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

// A 1-day 5.X chart of 27 February 2008: three Leq10 records and one Leq1.
Store drawnStore()
{
    Store s;
    s.Device_Version = Version5X;
    fillLeq(s.Leq_Records,
            {"27/02/08 22:30 80 10", "27/02/08 22:40 92 10", "27/02/08 22:41 99 1", "27/02/08 23:50 85 10"});
    storeChartPeriod(s, ChartDate{27, 2, 2008}, 1);
    Periode_Graphique(s, LeqTable::rowCount);
    Separer_Leq1_Leq10(s);
    return s;
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
        // One unit and 5 dB, right to left: the narrowest selection taken.
        QVERIFY(drag(state, diagram, 14, -80, 13, -85).accepted);
        QCOMPARE(state.zoomRange().x1, 13.0);
        seen << describe(state.zoomButton(diagram, store));
        QVERIFY(!state.zoomSouris());
        seen << describe(state.zoomButton(diagram, store));
        QCOMPARE(seen, items(c[3]));
        QVERIFY(state.pane(diagram).isSmall());
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
        // An empty entry hides the marker.
        QCOMPARE(state.pane(diagram).markerHidden, click.redraw && !click.marker);
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
