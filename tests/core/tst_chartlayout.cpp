// The chart window's layout numbers: the designed placement at the designed
// size, how the diagrams grow and shrink, and where a text of a picture may go.

#include "TestCore.h"
#include "charts/ChartLayout.h"

#include <QtTest>

using namespace kvl;

namespace {

QRectF rectF(const QString &text)
{
    const QStringList v = text.split(QLatin1Char(','));
    return QRectF(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble());
}

// Texts as wide as this program's fonts make them.
ChartTextSizes texts(const QString &text)
{
    const QList<int> v = test::numbers(text);
    return ChartTextSizes{v[0], v[1], v[2], v[3]};
}

// The places the rows name: the diagrams, their lists, one level label, and the
// controls the room moves.
QMap<QString, QRect> parts(const ChartLayout &l)
{
    return {{"date", l.date},
            {"new", l.newGraph},
            {"leq10", l.picture[0]},
            {"leq1", l.picture[1]},
            {"caption1", l.caption[1]},
            {"list0", l.list[0]},
            {"label6", l.levelLabel[6]},
            {"enlarged", l.enlargedPicture},
            {"surface", QRect(QPoint(0, 0), l.surface)}};
}

} // namespace

class TestChartLayout : public QObject
{
    Q_OBJECT
private slots:
    void placement_data()
    {
        test::addDataRows(QStringLiteral("charts/layout.txt"), QStringLiteral("layout"));
    }
    void placement()
    {
        QFETCH(QStringList, c);
        const QStringList size = c[1].split(QLatin1Char('x'));
        const ChartLayout l = chartLayout(QSize(size[0].toInt(), size[1].toInt()), texts(c[2]));
        QCOMPARE(l.wrapLines, c[3] == QLatin1String("wrap"));
        const QMap<QString, QRect> places = parts(l);
        for (const QString &expected : test::items(c[4])) {
            const QString name = expected.section(QLatin1Char(' '), 0, 0);
            QVERIFY2(places.contains(name), qPrintable(name));
            QCOMPARE(places[name], rectF(expected.section(QLatin1Char(' '), 1)).toRect());
        }
    }

    void labels_data() { test::addDataRows(QStringLiteral("charts/layout.txt"), QStringLiteral("labels")); }
    void labels()
    {
        QFETCH(QStringList, c);
        QList<QRectF> clear;
        for (const QString &r : test::items(c[3]))
            clear << rectF(r);
        const std::optional<QRectF> placed = placeLabel(rectF(c[1]), rectF(c[2]), clear);
        QCOMPARE(placed ? QStringLiteral("%1,%2").arg(placed->x()).arg(placed->y())
                        : QStringLiteral("left out"),
                 c[4]);
    }
};

QTEST_GUILESS_MAIN(TestChartLayout)
#include "tst_chartlayout.moc"
