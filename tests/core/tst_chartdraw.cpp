#include "TableStores.h"
#include "charts/ChartDraw.h"
#include "charts/ChartPeriod.h"

#include <QtTest>

#include <cmath>

using namespace kvl;

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

// Texts at one height, joined by "|".
QString textsAt(const Canvas &c, double y, Layer layer = Layer::Drawing)
{
    QStringList out;
    for (const CanvasItem &i : c.items())
        if (i.kind == CanvasItem::Text && i.layer == layer && num(i.y1) == num(y))
            out << i.text;
    return out.join(QLatin1Char('|'));
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

} // namespace

class TestChartDraw : public QObject
{
    Q_OBJECT

private slots:
    void dayTable_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("dates");
        QTest::newRow("February 2007") << "28/2/2007" << 1 << "28/2/2007 1/3/2007";
        QTest::newRow("February 2008") << "28/2/2008" << 1 << "28/2/2008 29/2/2008";
        QTest::newRow("2100 is leap here") << "28/2/2100" << 1 << "28/2/2100 29/2/2100";
        QTest::newRow("New Year")
            << "27/12/2007" << 7
            << "27/12/2007 28/12/2007 29/12/2007 30/12/2007 31/12/2007 1/1/2008 2/1/2008 "
               "3/1/2008";
        QTest::newRow("May") << "30/4/2008" << 3 << "30/4/2008 1/5/2008 2/5/2008 3/5/2008";
    }
    void dayTable()
    {
        QFETCH(QString, start);
        QFETCH(int, days);
        QFETCH(QString, dates);
        const Store s = chartStore(start, days);
        QStringList got;
        for (int k = 1; k <= days + 1; ++k)
            got << s.Chart_Dates[k][1] + '/' + s.Chart_Dates[k][2] + '/' + s.Chart_Dates[k][3];
        QCOMPARE(got.join(' '), dates);
        QCOMPARE(s.End_Day + '/' + s.End_Month + '/' + s.End_Year, got.last());
        if (days < 7)
            QCOMPARE(s.Chart_Dates[days + 2][1], QStringLiteral("0")); // rows beyond untouched
    }

    void periodRows_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        // Chart 5/3/2007 12:00 to 6/3/2007 12:00.
        QTest::newRow("noon to noon") << QStringList{"05/03/07 11:59 80 10", "05/03/07 12:00 80 10",
                                                     "06/03/07 11:59 80 10", "06/03/07 12:00 80 10"}
                                      << 2 << 3;
        QTest::newRow("run reaches last row")
            << QStringList{"04/03/07 23:00 80 10", "05/03/07 13:00 80 10"} << 2 << 2;
    }
    void periodRows()
    {
        QFETCH(QStringList, records);
        QFETCH(int, first);
        QFETCH(int, last);
        Store s = chartStore("5/3/2007", 1);
        test::fillLeq(s.Leq_Records, records);
        Periode_Graphique(s, int(records.size()));
        QCOMPARE(s.Period_First, first);
        QCOMPARE(s.Period_Last, last);
    }

    void positions()
    {
        // The end of a 7-day chart: 7 days / 0.0006944 / 360 + 12, not 40; no position for 31 February.
        QCOMPARE(num(chartX(chartStore("27/12/2007", 7), 0, 12, 3, 1, 8)), QStringLiteral("40.002"));
        QVERIFY(std::isnan(chartX(chartStore("27/12/2007", 7), 0, 12, 31, 2, 8)));
    }

    // A scene of a chart from 5 March 2007: "what days [arguments]"; the
    // primitives it draws, compared whole, or in order among others after "...".
    void drawing_data()
    {
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("expected");
        const QString note = "T 12 -67 Leq1 Level recorded when treshold order is over !!!";
        QTest::newRow("10 min joined")
            << "Leq10 1" << QStringList{"05/03/07 12:40 80 10", "05/03/07 12:50 90 10"}
            << QStringList{"P 12.667 -80", "L 12.5 -80 12.667 -80", "P 12.833 -90", "L 12.667 -80 12.667 -90",
                           "L 12.667 -90 12.833 -90"};
        QTest::newRow("20 min apart")
            << "Leq10 1" << QStringList{"05/03/07 12:40 80 10", "05/03/07 13:00 90 10"}
            << QStringList{"P 12.667 -80", "L 12.5 -80 12.667 -80", "P 13 -90", "L 12.833 -90 13 -90"};
        QTest::newRow("Leq1 1 min") << "Leq1 1" << QStringList{"05/03/07 13:00 99 1", "05/03/07 13:01 98 1"}
                                    << QStringList{"L 11 -70 37 -70",     note,           "P 13 -99",
                                                   "L 12.983 -99 13 -99", "P 13.017 -98", "L 13 -99 13 -98",
                                                   "L 13 -98 13.017 -98"};
        // 12:08 and 12:10: the rounded day difference puts them a hair under 2 minutes apart.
        QTest::newRow("Leq1 2 min") << "Leq1 1" << QStringList{"05/03/07 12:08 99 1", "05/03/07 12:10 98 1"}
                                    << QStringList{"L 11 -70 37 -70", note,
                                                   "P 12.133 -99",    "L 12.117 -99 12.133 -99",
                                                   "P 12.167 -98",    "L 12.15 -98 12.167 -98"};
        QTest::newRow("105 dB") << "Leq 3" << QStringList{"05/03/07 15:00 105 0"}
                                << QStringList{"P 13 -105", "L 12.945 -105 13 -105"};
        QTest::newRow("Leq1 enlarged")
            << "Leq1 7 large" << QStringList{"05/03/07 13:00 99 1"}
            << QStringList{"...", "L 11 -70 41 -70",
                           "T 16 -67 @12 Leq1 recorded Level when treshold order is over !!!"};
        QTest::newRow("no Leq1 row") << "Leq1 7" << QStringList{"05/03/07 13:00 99 10"}
                                     << QStringList{"hide Leq1"};
        QTest::newRow("no period") << "Leq 7" << QStringList{"01/03/07 13:00 99 0"}
                                   << QStringList{"hide Leq10", "hide Leq1"};
        QTest::newRow("schedule") << "seuils 1" << QStringList{}
                                  << QStringList{"L 11 -105 22.001 -105", "L 22.001 -105 22.001 -95",
                                                 "L 22.001 -95 30.001 -95", "L 30.001 -95 30.001 -105",
                                                 "L 30.001 -105 37 -105"};
        QTest::newRow("axes") << "axes 1" << QStringList{}
                              << QStringList{"...",
                                             "L 10 -60 38 -60",
                                             "L 37.25 -61 38 -60",
                                             "T 16 -52.5 05 / 03 / 2007",
                                             "L 24 -49 24 -52.5",
                                             "T 28 -52.5 06 / 03 / 2007",
                                             "L 11 -125 10.5 -122.5"};
        // Arrow heads start back from the right edge, not from the tip.
        QTest::newRow("axes, 7 days") << "axes 7" << QStringList{} << QStringList{"...", "L 41 -62 42 -60"};
        QTest::newRow("enlarged axes, 7 days")
            << "zoomaxes 7" << QStringList{} << QStringList{"...", "L 41.45 -58 42 -60"};
        QTest::newRow("band") << "band 7" << QStringList{}
                              << QStringList{"...",
                                             "L 11 -70 41 -70",
                                             "T 20.5 -68 @11            Record Limit",
                                             "L 12 -65 13 -70",
                                             "L 19 -60 20 -65",
                                             "L 32 -70 34 -60"};
        QTest::newRow("no band for 3.5") << "band35 7" << QStringList{} << QStringList{};
        const QString d1 = "05 / 03 / 2007", d2 = "06 / 03 / 2007", d3 = "07 / 03 / 2007";
        QTest::newRow("dates, two days")
            << "dates 3 13 20" << QStringList{} << QStringList{"T 14.5 -63 " + d1, "T 18 -63 " + d2};
        QTest::newRow("dates inside day 1")
            << "dates 3 13 15" << QStringList{} << QStringList{"T 14.5 -63 " + d1};
        QTest::newRow("dates across midnight")
            << "dates 1 20 26" << QStringList{} << QStringList{"T 22 -63 " + d1, "T 25 -63 " + d2};
        // Not beyond the range, where halfway to the day's end (29) would be.
        QTest::newRow("dates inside day 3")
            << "dates 3 26 28" << QStringList{} << QStringList{"T 27.5 -63 " + d3};
        QTest::newRow("dates over three days")
            << "dates 3 14 26" << QStringList{}
            << QStringList{"T 15 -63 " + d1, "T 20 -63 " + d2, "T 25 -63 " + d3};
        // Hour labels nudged right, at the top and 2.5 % above the bottom; level labels at the right edge.
        QTest::newRow("grid") << "grid 3" << QStringList{}
                              << QStringList{"...", "T 12.132 -100 12h.", "T 12.132 -61 12h.",
                                             "T 22.85 -66 65 dB"};
        const QStringList leq1 = {"05/03/07 12:40 80 1", "05/03/07 13:00 90 1"};
        QTest::newRow("marker") << "marker 1 2" << leq1
                                << QStringList{"L 13 -95 13 -91", "L 12.95 -91 13 -90.1",
                                               "L 13.05 -91 13 -90.1"};
        QTest::newRow("marker, no record") << "marker 1 3" << leq1 << QStringList{};
    }
    void drawing()
    {
        QFETCH(QString, scene);
        QFETCH(QStringList, records);
        QFETCH(QStringList, expected);
        const QStringList a = scene.split(' ');
        const int days = a[1].toInt();
        Store s = chartStore("5/3/2007", days, a[0] == "Leq" || a[0] == "band35" ? Version35 : Version5X);
        test::fillLeq(s.Leq_Records, records);
        Periode_Graphique(s, 8192);
        Separer_Leq1_Leq10(s);
        s.Tab_Seuils = {{}, {0, 5, 3, 7, 22, 0, 105, 95}, {0, 6, 3, 7, 6, 0, 95, 105}};
        s.Seuils_Prets = true;
        Canvas c = a.value(2) == "large" ? Canvas(LargeWidthTwips, LargeHeightTwips) : Canvas();
        QStringList got;
        if (a[0].startsWith("Leq")) {
            const LeqKind kind = LeqKind(QStringList{"Leq", "Leq10", "Leq1"}.indexOf(a[0]));
            const SeriesOutcome out = Tracer_Serie(c, s, kind, days, colours::Red);
            QCOMPARE(c.fontSize(), 8);
            got << prims(c) << (out.hideZoomLeq10 ? "hide Leq10" : "")
                << (out.hideZoomLeq1 ? "hide Leq1" : "");
        } else if (a[0] == "seuils") {
            Tracer_Seuils(c, s, colours::Threshold);
        } else if (a[0] == "axes") {
            Tracer_Axes(c, s, colours::Black);
        } else if (a[0] == "zoomaxes") {
            Tracer_Axes_Zoom(c, s, Diagram::Leq10, colours::Black);
        } else if (a[0].startsWith("band")) {
            Tracer_Limite_Enregistrement(c, s, colours::Blue);
        } else if (a[0] == "dates") {
            c.setScale(a[2].toInt(), -100, a[3].toInt() - a[2].toInt(), 40);
            Tracer_Dates_Zoom(c, s, a[2].toInt(), a[3].toInt(), colours::Black);
        } else if (a[0] == "grid") {
            c.setScale(13, -100, 10, 40);
            Tracer_Grille(c, s, true);
            got << prims(c, Layer::Grid);
        } else if (a[0] == "marker") {
            Tracer_Repere(c, s, Diagram::Leq1, a[2].toInt(), colours::Blue);
            got << prims(c, Layer::Marker);
        }
        if (got.isEmpty())
            got = prims(c);
        got.removeAll(QString());
        if (expected.value(0) != "...")
            QCOMPARE(got, expected);
        for (qsizetype i = 1, at = 0; i < expected.size() && expected[0] == "..."; ++i) {
            at = got.indexOf(expected[i], at);
            QVERIFY2(at >= 0, qPrintable(expected[i]));
        }
    }

    void axes_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("mode"); // 0 axes, 1 enlarged axes, 2 zoom grid (labels at the top edge)
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("texts");
        QTest::newRow("1 day hours") << 1 << 0 << -57.0 << "12|14|16|18|20|22|00|02|04|06|08|10|12|Hrs";
        QTest::newRow("3 days hours") << 3 << 0 << -57.0 << "12|18|00|06|12|18|00|06|12|18|00|06|12|Hrs";
        QTest::newRow("7 days hours")
            << 7 << 1 << -57.0 << "12|00|12|00|12|00|12|00|12|00|12|00|12|00|12|Hours";
        QTest::newRow("7 days dates")
            << 7 << 0 << -52.5 << "27/12/07|28/12/07|29/12/07|30/12/07|31/12/07|01/01/08|02/01/08|03/01/08";
        QTest::newRow("zoom levels") << 1 << 1 << -66.25 << "65";
        QTest::newRow("3-day grid") << 3 << 2 << -100.0 << "12h.|15h.|18h.|21h.|00h.|03h.|06h.|09h.|12h.";
        QTest::newRow("7-day grid") << 7 << 2 << -100.0 << "12h.|18h.|00h.|06h.|12h.";
        QTest::newRow("zoom unit") << 3 << 1 << -128.0 << "Leq10 Level(dB)";
    }
    void axes()
    {
        QFETCH(int, days);
        QFETCH(int, mode);
        QFETCH(double, y);
        QFETCH(QString, texts);
        const Store s = chartStore("27/12/2007", days);
        Canvas c;
        if (mode == 2) {
            c.setScale(13, -100, 10, 40);
            Tracer_Grille(c, s, true);
            QVERIFY2(textsAt(c, y, Layer::Grid).startsWith(texts), qPrintable(textsAt(c, y, Layer::Grid)));
            return;
        }
        mode ? Tracer_Axes_Zoom(c, s, Diagram::Leq10, colours::Black) : Tracer_Axes(c, s, colours::Black);
        QCOMPARE(textsAt(c, y), texts);
        QCOMPARE(c.scale().top, mode && days != 7 ? -130.0 : -129.0);
    }
};

QTEST_GUILESS_MAIN(TestChartDraw)
#include "tst_chartdraw.moc"
