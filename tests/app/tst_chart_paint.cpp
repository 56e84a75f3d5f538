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
bool inked(const QImage &image, const Scale &s, QPointF at)
{
    QImage spot = image.copy(int((at.x() - s.left) / s.width * image.width()) - 1,
                             int((at.y() - s.top) / s.height * image.height()) - 1, 3, 3);
    QImage white = spot;
    white.fill(Qt::white);
    return spot != white;
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
        Periode_Graphique(store, leqRows(store.Device_Version));
        QVERIFY(store.Period_First != 0);
        const bool v5 = store.isVersion5Family();
        Separer_Leq1_Leq10(store);

        Canvas canvas(LargeWidthTwips, LargeHeightTwips);
        Tracer_Axes(canvas, store, colours::Black);
        Tracer_Limite_Enregistrement(canvas, store, colours::Blue);
        Tracer_Serie(canvas, store, v5 ? LeqKind::Leq10 : LeqKind::Leq, 7, colours::Red);
        const Scale s = canvas.scale();
        const qint16 *row = (v5 ? store.Leq10_Records : store.Leq_Records).row(v5 ? 1 : store.Period_First);
        for (int factor : {1, 2}) {
            QImage image(1004 * factor, 553 * factor, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            paintCanvas(painter, canvas, image.rect());
            painter.end();
            // Time axis, level axis, the first level.
            for (QPointF at : {QPointF(12.5, -60), QPointF(20.5, -60), QPointF(30.5, -60), QPointF(39.5, -60),
                               QPointF(11, -65.5), QPointF(11, -90.5), QPointF(11, -119.5),
                               QPointF(recordX(chartOrigin(store), row), -leqLevel(row))})
                QVERIFY2(inked(image, s, at), qPrintable(QStringLiteral("%1 %2").arg(at.x()).arg(at.y())));
        }
    }
};

QTEST_MAIN(TestChartPaint)
#include "tst_chart_paint.moc"
