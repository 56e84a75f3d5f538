// The chart routines' display lists; the cases are in tests/data/charts/drawing.txt.

#include "TableStores.h"
#include "charts/ChartDraw.h"
#include "charts/ChartPeriod.h"

#include <QtTest>

#include <cmath>

using namespace kvl;
using namespace kvl::test;

namespace {

QString num(double v)
{
    return QString::number(std::round(v * 1000) / 1000);
}

// Items of a layer, "L x1 y1 x2 y2", "P x y" or "T x y [@size ]text", to 3 decimals.
QStringList prims(const Canvas &c, Layer layer = Layer::Drawing)
{
    QStringList out;
    for (const CanvasItem &i : c.items()) {
        if (i.layer != layer)
            continue;
        if (i.kind == CanvasItem::Line)
            out << QStringLiteral("L %1 %2 %3 %4").arg(num(i.x1), num(i.y1), num(i.x2), num(i.y2));
        else if (i.kind == CanvasItem::Point)
            out << QStringLiteral("P %1 %2").arg(num(i.x1), num(i.y1));
        else
            out << QStringLiteral("T %1 %2 %3%4")
                       .arg(num(i.x1), num(i.y1),
                            i.fontSize == 8 ? "" : QStringLiteral("@%1 ").arg(i.fontSize), i.text);
    }
    return out;
}

// A chart of `days` days from "dd/mm/yyyy".
Store chartStore(const QString &start, int days, int version = Version5X)
{
    Store s;
    s.Device_Version = qint16(version);
    const QStringList d = start.split(QLatin1Char('/'));
    storeChartPeriod(s, ChartDate{d[0].toInt(), d[1].toInt(), d[2].toInt()}, days);
    return s;
}

void rows(const QString &section)
{
    addDataRows(QStringLiteral("charts/drawing.txt"), section);
}

} // namespace

class TestChartDraw : public QObject
{
    Q_OBJECT

private slots:
    void dayTable_data() { rows(QStringLiteral("days")); }
    void dayTable()
    {
        QFETCH(QStringList, c);
        const int days = c[2].toInt();
        const Store s = chartStore(c[1], days);
        QStringList got;
        for (int k = 1; k <= days + 1; ++k)
            got << s.Chart_Dates[k][1] + '/' + s.Chart_Dates[k][2] + '/' + s.Chart_Dates[k][3];
        QCOMPARE(got.join(' '), c[3]);
        QCOMPARE(s.End_Day + '/' + s.End_Month + '/' + s.End_Year, got.last());
    }

    void periodRows_data() { rows(QStringLiteral("period")); }
    void periodRows()
    {
        QFETCH(QStringList, c);
        Store s = chartStore("5/3/2007", 1);
        fillLeq(s.Leq_Records, items(c[1]));
        Periode_Graphique(s, int(items(c[1]).size()));
        QCOMPARE(QStringLiteral("%1 %2").arg(s.Period_First).arg(s.Period_Last), c[2]);
    }

    void drawing_data() { rows(QStringLiteral("drawing")); }
    void drawing()
    {
        QFETCH(QStringList, c);
        const QStringList a = c[1].split(' '), expected = items(c.value(3));
        const int days = a[1].toInt();
        Store s = chartStore("5/3/2007", days, a[0] == "Leq" || a[0] == "band35" ? Version35 : Version5X);
        fillLeq(s.Leq_Records, items(c[2]));
        Periode_Graphique(s, 8192);
        Separer_Leq1_Leq10(s);
        s.Tab_Seuils = {{}, {0, 5, 3, 7, 22, 0, 105, 95}, {0, 6, 3, 7, 6, 0, 95, 105}};
        s.Seuils_Prets = true;
        Canvas cv = a.value(2) == "large" ? Canvas(LargeWidthTwips, LargeHeightTwips) : Canvas();
        QStringList got;
        if (a[0].startsWith("Leq")) {
            const LeqSeries kind = LeqSeries(QStringList{"Leq", "Leq10", "Leq1"}.indexOf(a[0]));
            const SeriesOutcome out = Tracer_Serie(cv, s, kind, days, colours::Red);
            QCOMPARE(cv.fontSize(), 8);
            got << prims(cv) << (out.hideZoomLeq10 ? "hide Leq10" : "")
                << (out.hideZoomLeq1 ? "hide Leq1" : "");
        } else if (a[0] == "seuils") {
            Tracer_Seuils(cv, s, colours::Threshold);
        } else if (a[0] == "axes") {
            Tracer_Axes(cv, s, colours::Black);
        } else if (a[0] == "zoomaxes") {
            Tracer_Axes_Zoom(cv, s, Diagram::Leq10, colours::Black);
        } else if (a[0].startsWith("band")) {
            Tracer_Limite_Enregistrement(cv, s, colours::Blue);
        } else if (a[0] == "dates") {
            cv.setScale(a[2].toInt(), -100, a[3].toInt() - a[2].toInt(), 40);
            Tracer_Dates_Zoom(cv, s, a[2].toInt(), a[3].toInt(), colours::Black);
        } else if (a[0] == "grid") {
            cv.setScale(13, -100, 10, 40);
            Tracer_Grille(cv, s, true);
            got << prims(cv, Layer::Grid);
        } else if (a[0] == "marker") {
            Tracer_Repere(cv, s, Diagram::Leq1, a[2].toInt(), colours::Blue);
            got << prims(cv, Layer::Marker);
        }
        if (got.isEmpty())
            got = prims(cv);
        got.removeAll(QString());
        if (expected.value(0) != "...")
            QCOMPARE(got, expected);
        for (qsizetype i = 1, at = 0; i < expected.size() && expected[0] == "..."; ++i) {
            at = got.indexOf(expected[i], at);
            QVERIFY2(at >= 0, qPrintable(expected[i]));
        }
    }
};

QTEST_GUILESS_MAIN(TestChartDraw)
#include "tst_chartdraw.moc"
