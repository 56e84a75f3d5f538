// The chart window's layout numbers: the designed placement at the designed
// size, how the diagrams grow and shrink, buttons inside their picture, and
// where a text of a picture may go.

#include "TestCore.h"
#include "charts/ChartLayout.h"

#include <QtTest>

using namespace kvl;

namespace {

QRect rect(const QString &text)
{
    const QStringList v = text.split(QLatin1Char(','));
    return QRect(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt());
}

QRectF rectF(const QString &text)
{
    const QStringList v = text.split(QLatin1Char(','));
    return QRectF(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble());
}

// Texts as wide as this program's fonts make them.
ChartTextSizes texts(const QString &text)
{
    const QStringList v = text.split(QLatin1Char(','));
    ChartTextSizes t;
    t.listLine = v[0].toInt();
    t.listRow = v[1].toInt();
    t.levelLabel = v[2].toInt();
    t.header = v[3].toInt();
    return t;
}

QRect part(const ChartLayout &l, const QString &name)
{
    if (name == QLatin1String("header"))
        return l.header;
    if (name == QLatin1String("date"))
        return l.date;
    if (name == QLatin1String("new"))
        return l.newGraph;
    if (name == QLatin1String("leq10"))
        return l.picture[0];
    if (name == QLatin1String("leq1"))
        return l.picture[1];
    if (name == QLatin1String("caption10"))
        return l.caption[0];
    if (name == QLatin1String("caption1"))
        return l.caption[1];
    if (name == QLatin1String("enlarged"))
        return l.enlargedPicture;
    if (name == QLatin1String("enlargedCaption"))
        return l.enlargedCaption;
    if (name.startsWith(QLatin1String("list")))
        return l.list[std::size_t(name.mid(4).toInt())];
    if (name.startsWith(QLatin1String("title")))
        return l.listTitle[std::size_t(name.mid(5).toInt())];
    if (name.startsWith(QLatin1String("label")))
        return l.levelLabel[std::size_t(name.mid(5).toInt())];
    if (name == QLatin1String("note"))
        return l.thresholdNote;
    if (name == QLatin1String("surface"))
        return QRect(QPoint(0, 0), l.surface);
    return QRect();
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
        for (const QString &expected : test::items(c[4])) {
            const QString name = expected.section(QLatin1Char(' '), 0, 0);
            QCOMPARE(part(l, name), rect(expected.section(QLatin1Char(' '), 1)));
        }
    }

    void buttons_data() { test::addDataRows(QStringLiteral("charts/layout.txt"), QStringLiteral("buttons")); }
    void buttons()
    {
        QFETCH(QStringList, c);
        const ButtonPixels b = buttonPixels(c[1].toInt(), c[2] == QLatin1String("1"), c[3].toInt());
        QCOMPARE(QStringLiteral("%1 %2").arg(b.zoomLeft).arg(b.printLeft), c[4]);
        QVERIFY(b.zoomLeft + chartButtonSize() <= c[3].toInt());
        QVERIFY(b.printLeft + chartButtonSize() <= b.zoomLeft);
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
