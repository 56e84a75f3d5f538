#include "charts/CanvasPainter.h"
#include "charts/ChartDraw.h"
#include "charts/ChartPeriod.h"
#include "files/DataFile.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace kvl;

namespace {

// Whether anything but white lies within a pixel of (x, y) in chart units.
bool inked(const QImage &image, const Scale &s, double x, double y)
{
    const int px = int((x - s.left) / s.width * image.width());
    const int py = int((y - s.top) / s.height * image.height());
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixel(px + dx, py + dy) != qRgb(255, 255, 255))
                return true;
    return false;
}

} // namespace

class TestChartPaint : public QObject
{
    Q_OBJECT

private slots:
    void samples_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *name : {"sample_v3.kvl", "sample_v4.kvl", "sample_v5.kvl", "sample_v70.kvl"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    // A 7-day diagram from the first record's day paints its axes and levels,
    // at the enlarged size and at twice that size alike.
    void samples()
    {
        QFETCH(QString, file);
        QFile f(qEnvironmentVariable("KVL_SAMPLES") + '/' + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        Store store;
        QCOMPARE(readDataFile(f.readAll(), store).result, LoadOutcome::Loaded);
        const qint16 *first = store.Leq_Records.row(1);
        storeChartPeriod(store, ChartDate{first[2], first[4], 2000 + first[5]}, 7);
        Periode_Graphique(store, store.leqRowsForVersion());
        QVERIFY(store.Period_First != 0);
        const bool v5 = store.isVersion5Family();
        if (v5)
            Separer_Leq1_Leq10(store);

        Canvas canvas(LargeWidthTwips, LargeHeightTwips);
        Tracer_Axes(canvas, store, colours::Black);
        Tracer_Limite_Enregistrement(canvas, store, colours::Blue);
        Tracer_Serie(canvas, store, v5 ? LeqKind::Leq10 : LeqKind::Leq, 7, colours::Red);
        const Scale s = canvas.scale();
        for (int factor : {1, 2}) {
            QImage image(1004 * factor, 553 * factor, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            paintCanvas(painter, canvas, image.rect());
            painter.end();
            for (double x : {12.5, 20.5, 30.5, 39.5})
                QVERIFY2(inked(image, s, x, -60), qPrintable(QStringLiteral("time axis at %1").arg(x)));
            for (double y : {-65.5, -90.5, -119.5})
                QVERIFY2(inked(image, s, 11, y), qPrintable(QStringLiteral("level axis at %1").arg(y)));
            bool red = false;
            for (int y = 0; y < image.height() && !red; ++y)
                for (int x = 0; x < image.width() && !red; ++x)
                    red = image.pixel(x, y) == qRgb(255, 0, 0);
            QVERIFY(red);
        }
    }
};

QTEST_MAIN(TestChartPaint)
#include "tst_chart_paint.moc"
