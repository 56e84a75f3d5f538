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

// Items of a layer, "L x1 y1 x2 y2", "P x y" or "T x y text", to 3 decimals;
// only those of one colour when given.
QStringList prims(const Canvas &c, Layer layer = Layer::Drawing, const Rgb *colour = nullptr)
{
    QStringList out;
    for (const CanvasItem &i : c.items()) {
        if (i.layer != layer || (colour && i.colour != *colour))
            continue;
        if (i.kind == CanvasItem::Line)
            out << QStringLiteral("L %1 %2 %3 %4").arg(num(i.x1), num(i.y1), num(i.x2), num(i.y2));
        else if (i.kind == CanvasItem::Point)
            out << QStringLiteral("P %1 %2").arg(num(i.x1), num(i.y1));
        else
            out << QStringLiteral("T %1 %2 %3").arg(num(i.x1), num(i.y1), i.text);
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
        QCOMPARE(s.Chart_Days_Text, QString::number(days));
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
            << QStringList{"04/03/07 23:00 80 10", "05/03/07 13:00 80 10"} << 2 << 8192;
        QTest::newRow("none") << QStringList{"06/03/07 12:00 80 10"} << 0 << 0;
    }
    void periodRows()
    {
        QFETCH(QStringList, records);
        QFETCH(int, first);
        QFETCH(int, last);
        Store s = chartStore("5/3/2007", 1);
        test::fillLeq(s.Leq_Records, records);
        if (last == 8192) // the rest of the table inside the period too
            for (int i = records.size() + 1; i <= 8192; ++i)
                std::copy_n(s.Leq_Records.row(2), 8, s.Leq_Records.row(i));
        Periode_Graphique(s, 8192);
        QCOMPARE(s.Period_First, first);
        QCOMPARE(s.Period_Last, last);
    }

    void positions()
    {
        const Store s = chartStore("27/12/2007", 7);
        // The end of a 7-day chart: 7 days / 0.0006944 / 360 + 12, not 40.
        QCOMPARE(num(chartX(s, 0, 12, 3, 1, 8)), QStringLiteral("40.002"));
        QVERIFY(std::isnan(chartX(s, 0, 12, 31, 2, 8)));
        QVERIFY(std::isnan(chartX(s, 0, 24, 3, 1, 8)));
    }

    void series_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("days");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("expected");
        const int leq10 = int(LeqKind::Leq10), leq1 = int(LeqKind::Leq1), leq = int(LeqKind::Leq);
        QTest::newRow("10 min joined")
            << leq10 << 1 << QStringList{"05/03/07 12:40 80 10", "05/03/07 12:50 90 10"}
            << QStringList{"P 12.667 -80", "L 12.5 -80 12.667 -80", "P 12.833 -90", "L 12.667 -80 12.667 -90",
                           "L 12.667 -90 12.833 -90"};
        QTest::newRow("20 min apart")
            << leq10 << 1 << QStringList{"05/03/07 12:40 80 10", "05/03/07 13:00 90 10"}
            << QStringList{"P 12.667 -80", "L 12.5 -80 12.667 -80", "P 13 -90", "L 12.833 -90 13 -90"};
        QTest::newRow("Leq1 1 min") << leq1 << 1 << QStringList{"05/03/07 13:00 99 1", "05/03/07 13:01 98 1"}
                                    << QStringList{"P 13 -99", "L 12.983 -99 13 -99", "P 13.017 -98",
                                                   "L 13 -99 13 -98", "L 13 -98 13.017 -98"};
        QTest::newRow("Leq1 2 min") << leq1 << 1 << QStringList{"05/03/07 13:00 99 1", "05/03/07 13:02 98 1"}
                                    << QStringList{"P 13 -99", "L 12.983 -99 13 -99", "P 13.033 -98",
                                                   "L 13.017 -98 13.033 -98"};
        QTest::newRow("105 dB, 3 days") << leq << 3 << QStringList{"05/03/07 15:00 105 0"}
                                        << QStringList{"P 13 -105", "L 12.945 -105 13 -105"};
    }
    void series()
    {
        QFETCH(int, kind);
        QFETCH(int, days);
        QFETCH(QStringList, records);
        QFETCH(QStringList, expected);
        Store s = chartStore("5/3/2007", days, kind == int(LeqKind::Leq) ? Version40 : Version5X);
        test::fillLeq(s.Leq_Records, records);
        Periode_Graphique(s, 8192);
        Separer_Leq1_Leq10(s);
        Canvas c;
        const SeriesOutcome out = Tracer_Serie(c, s, LeqKind(kind), days, colours::Red);
        QCOMPARE(prims(c, Layer::Drawing, &colours::Red), expected);
        QVERIFY(!out.hideZoomLeq1 && !out.hideZoomLeq10);
    }

    void leq1NoteAndEmptySeries()
    {
        Store s = chartStore("5/3/2007", 7);
        test::fillLeq(s.Leq_Records, {"05/03/07 13:00 99 1"});
        Periode_Graphique(s, 8192);
        Separer_Leq1_Leq10(s);
        Canvas big(LargeWidthTwips, LargeHeightTwips);
        Tracer_Leq1_7J(big, s, colours::Red);
        QCOMPARE(
            prims(big, Layer::Drawing, &colours::Blue).mid(0, 2),
            (QStringList{"L 11 -70 41 -70", "T 16 -67 Leq1 recorded Level when treshold order is over !!!"}));
        QCOMPARE(big.items()[1].fontSize, 12);
        QCOMPARE(big.fontSize(), 8);

        // No Leq1 row: axes only, no 70 dB line, and no Leq1 zoom.
        test::fillLeq(s.Leq_Records, {"05/03/07 13:00 99 10"});
        Periode_Graphique(s, 8192);
        Separer_Leq1_Leq10(s);
        Canvas c;
        Tracer_Axes(c, s, colours::Black);
        const qsizetype axes = c.items().size();
        const SeriesOutcome out = Tracer_Leq1_7J(c, s, colours::Red);
        QCOMPARE(c.items().size(), axes);
        QVERIFY(out.hideZoomLeq1 && !out.hideZoomLeq10);
        s.Period_First = s.Period_Last = 0;
        const SeriesOutcome none = Tracer_Leq_7J(c, s, colours::Red);
        QVERIFY(none.hideZoomLeq1 && none.hideZoomLeq10);
    }

    void schedule()
    {
        Store s = chartStore("5/3/2007", 1);
        s.Tab_Seuils = {{}, {0, 5, 3, 7, 22, 0, 105, 95}, {0, 6, 3, 7, 6, 0, 95, 105}};
        Canvas c;
        Tracer_Seuils(c, s, colours::Threshold);
        QVERIFY(c.items().isEmpty()); // not ready
        s.Seuils_Prets = true;
        Tracer_Seuils(c, s, colours::Threshold);
        QCOMPARE(prims(c),
                 (QStringList{"L 11 -105 22.001 -105", "L 22.001 -105 22.001 -95", "L 22.001 -95 30.001 -95",
                              "L 30.001 -95 30.001 -105", "L 30.001 -105 37 -105"}));
    }

    void axes_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("zoom");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("texts");
        QTest::newRow("1 day hours") << 1 << false << -57.0 << "12|14|16|18|20|22|00|02|04|06|08|10|12|Hrs";
        QTest::newRow("3 days hours") << 3 << false << -57.0 << "12|18|00|06|12|18|00|06|12|18|00|06|12|Hrs";
        QTest::newRow("7 days hours")
            << 7 << true << -57.0 << "12|00|12|00|12|00|12|00|12|00|12|00|12|00|12|Hours";
        QTest::newRow("1 day dates") << 1 << false << -52.5 << "05 / 03 / 2007|06 / 03 / 2007";
        QTest::newRow("7 days dates")
            << 7 << false << -52.5
            << "05/03/07|06/03/07|07/03/07|08/03/07|09/03/07|10/03/07|11/03/07|12/03/07";
        QTest::newRow("levels") << 1 << false << -67.0 << "65";
        QTest::newRow("zoom levels") << 1 << true << -66.25 << "65";
        QTest::newRow("zoom unit") << 3 << true << -128.0 << "Leq10 Level(dB)";
    }
    void axes()
    {
        QFETCH(int, days);
        QFETCH(bool, zoom);
        QFETCH(double, y);
        QFETCH(QString, texts);
        const Store s = chartStore("5/3/2007", days);
        Canvas c;
        zoom ? Tracer_Axes_Zoom(c, s, Diagram::Leq10, colours::Black) : Tracer_Axes(c, s, colours::Black);
        QCOMPARE(textsAt(c, y), texts);
        QCOMPARE(c.scale().top, zoom && days != 7 ? -130.0 : -129.0);
    }

    void axesPlacesAndBand()
    {
        Store s = chartStore("27/12/2007", 1);
        Canvas c;
        Tracer_Axes(c, s, colours::Black);
        const QStringList p = prims(c);
        // Dates each side of the midnight separator; arrow heads.
        QVERIFY(p.indexOf("T 16 -52.5 27 / 12 / 2007") < p.indexOf("L 24 -49 24 -52.5"));
        QVERIFY(p.indexOf("L 24 -49 24 -52.5") < p.indexOf("T 28 -52.5 28 / 12 / 2007"));
        QVERIFY(p.contains("L 36.25 -61 38 -60") && p.contains("L 11 -125 10.5 -122.5"));
        s = chartStore("27/12/2007", 7);
        Canvas w;
        Tracer_Axes(w, s, colours::Black);
        QCOMPARE(textsAt(w, -52.5).split('|').mid(5), (QStringList{"01/01/08", "02/01/08", "03/01/08"}));

        Canvas band;
        Tracer_Limite_Enregistrement(band, s, colours::Blue);
        const QStringList b = prims(band);
        QVERIFY(b.contains("L 12 -65 13 -70") && b.contains("L 19 -60 20 -65") &&
                b.contains("L 32 -70 34 -60"));
        QVERIFY(b.contains("T 20.5 -68 " + QString(11, ' ') + "Record Limit") &&
                b.contains("L 11 -70 41 -70"));
        QCOMPARE(band.items()[1].fontSize, 11);
        s.Device_Version = Version35;
        Canvas none;
        Tracer_Limite_Enregistrement(none, s, colours::Blue);
        QVERIFY(none.items().isEmpty());
    }

    void grid_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("hours");
        QTest::newRow("3 days") << 3 << "12h.|15h.|18h.|21h.|00h.|03h.|06h.|09h.|12h.";
        QTest::newRow("7 days") << 7 << "12h.|18h.|00h.|06h.|12h.";
    }
    void grid()
    {
        QFETCH(int, days);
        QFETCH(QString, hours);
        const Store s = chartStore("5/3/2007", days);
        Canvas c;
        c.setScale(13, -100, 10, 40);
        Tracer_Grille(c, s, true);
        QCOMPARE(textsAt(c, -100, Layer::Grid).left(hours.size()), hours); // top edge
        QCOMPARE(textsAt(c, -61, Layer::Grid).left(hours.size()), hours);  // 2.5 % above the bottom
        QVERIFY(prims(c, Layer::Grid).contains("T 22.85 -66 65 dB"));      // right edge, 2.5 % above its line
        QVERIFY(prims(c, Layer::Grid).contains("T 12.132 -100 12h."));
        Tracer_Grille(c, s, false);
        QVERIFY(c.items().isEmpty());
    }

    void zoomDates_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QStringList>("expected");
        const QString d1 = "05 / 03 / 2007", d2 = "06 / 03 / 2007", d3 = "07 / 03 / 2007";
        QTest::newRow("two days") << 3 << 13 << 20 << QStringList{"T 14.5 -63 " + d1, "T 18 -63 " + d2};
        QTest::newRow("inside day 1") << 3 << 13 << 15 << QStringList{"T 14.5 -63 " + d1};
        QTest::newRow("across midnight") << 1 << 20 << 26 << QStringList{"T 22 -63 " + d1, "T 25 -63 " + d2};
        QTest::newRow("inside day 3 stays inside") << 3 << 26 << 28 << QStringList{"T 27.5 -63 " + d3};
        QTest::newRow("three days") << 3 << 14 << 26
                                    << QStringList{"T 15 -63 " + d1, "T 20 -63 " + d2, "T 25 -63 " + d3};
    }
    void zoomDates()
    {
        QFETCH(int, days);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QStringList, expected);
        const Store s = chartStore("5/3/2007", days);
        Canvas c;
        c.setScale(a, -100, b - a, 40);
        Tracer_Dates_Zoom(c, s, a, b, colours::Black);
        QCOMPARE(prims(c), expected);
    }

    void marker()
    {
        Store s = chartStore("5/3/2007", 1);
        test::fillLeq(s.Leq_Records, {"05/03/07 12:40 80 1", "05/03/07 13:00 90 1"});
        Periode_Graphique(s, 8192);
        Separer_Leq1_Leq10(s);
        Canvas c;
        Tracer_Repere(c, s, Diagram::Leq1, 3, colours::Blue); // no such record
        Tracer_Repere(c, s, Diagram::Leq1, 2, colours::Blue);
        QCOMPARE(prims(c, Layer::Marker),
                 (QStringList{"L 13 -95 13 -91", "L 12.95 -91 13 -90.1", "L 13.05 -91 13 -90.1"}));
    }
};

QTEST_GUILESS_MAIN(TestChartDraw)
#include "tst_chartdraw.moc"
