// The chart window's zoom, offscreen: zoom buttons, mouse selection, wheel
// and right-drag on the enlarged picture box, list markers, printing.

#include "TableStores.h"
#include "TestSupport.h"

#include "charts/ChartLayout.h"
#include "charts/ChartPeriod.h"
#include "charts/PictureBox.h"
#include "charts/frmGraphique_Leq.h"
#include "shell/Forms.h"
#include "store/Store.h"

#include <QListWidget>
#include <QToolButton>
#include <QtTest>

using namespace kvl;

namespace {

int layerCount(const Canvas &canvas, Layer layer)
{
    return int(std::count_if(canvas.items().begin(), canvas.items().end(),
                             [layer](const CanvasItem &i) { return i.layer == layer; }));
}

QString scaleText(const Scale &s)
{
    return QStringLiteral("%1 %2 %3 %4").arg(s.left).arg(s.top).arg(s.width).arg(s.height);
}

// Positions, visibility and background of the controls printing moves.
QStringList snapshot(QWidget *window)
{
    QStringList out;
    for (const char *name : {"Surface", "Graphique_Leq10", "Label_Leq10", "Label_Entete", "Label_Date",
                             "Cmd_Zoom_Leq10", "Cmd_Print_Leq10"}) {
        const QWidget *w = window->findChild<QWidget *>(QString::fromLatin1(name));
        QString line;
        QDebug(&line) << name << w->geometry() << w->isVisibleTo(window)
                      << w->palette().color(QPalette::Window);
        out << line;
    }
    return out;
}

// The text of a PDF file.
QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
    return p.waitForFinished(20000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

void rows(const QString &section)
{
    test::addDataRows(QStringLiteral("charts/mouse.txt"), section);
}

} // namespace

class TestChartZoom : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        if (m_window)
            m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void mouseSelection_data() { rows(QString()); }
    void mouseSelection()
    {
        QFETCH(QStringList, c);
        const QPoint from(c[1].section(',', 0, 0).toInt(), c[1].section(',', 1).toInt());
        const QPoint to(c[2].section(',', 0, 0).toInt(), c[2].section(',', 1).toInt());
        const QString scale = c[3];
        open(1);
        // A small diagram ignores the mouse.
        drag(m_window->graphique(Diagram::Leq10), QPoint(33, 0), QPoint(400, 200));
        QCOMPARE(scaleText(m_window->graphique(Diagram::Leq10)->canvas().scale()),
                 QStringLiteral("9 -129 30 81"));
        QCOMPARE(m_window->zoomButton(Diagram::Leq10)->toolTip(), QStringLiteral("Zoom + ."));
        PictureBox *box = enlarge(Diagram::Leq10);
        QCOMPARE(scaleText(box->canvas().scale()), QStringLiteral("9 -130 30 80"));
        drag(box, QPoint(33, 0), QPoint(873, 546));
        QCOMPARE(scaleText(box->canvas().scale()), QStringLiteral("10 -130 25.1 79"));
        QVERIFY(appStore().Zoom_Souris);

        // While dragging, only the rubber band changes.
        QTest::mousePress(box, Qt::LeftButton, {}, from);
        if (to != from) {
            QTest::mouseMove(box, to);
            QCOMPARE(layerCount(box->canvas(), Layer::RubberBand), 4);
        }
        QTest::mouseRelease(box, Qt::LeftButton, {}, to);
        QCOMPARE(layerCount(box->canvas(), Layer::RubberBand), 0);
        QCOMPARE(scaleText(box->canvas().scale()), scale);
        // Accepted or not, a release on the enlarged diagram leaves "Zoom - .".
        QCOMPARE(m_window->zoomButton(Diagram::Leq10)->toolTip(), QStringLiteral("Zoom - ."));
    }

    void zoomOutSequence_data() { rows(QStringLiteral("zoom out")); }
    void zoomOutSequence()
    {
        QFETCH(QStringList, c);
        const Diagram diagram = Diagram(c[1].toInt());
        const QString leftZoomTip = c[2];
        open(3);
        PictureBox *box = m_window->graphique(diagram);
        const QRect small = box->geometry();
        enlarge(diagram);
        const QString enlargedScale = scaleText(box->canvas().scale());
        QVERIFY(!m_window->findChild<QWidget *>(QStringLiteral("List_Leq10"))->isVisibleTo(m_window));
        QCOMPARE(m_window->zoomButton(diagram)->toolTip(), QStringLiteral("Zoom - ."));
        dragChart(box, QPointF(13.3, -80.2), QPointF(20.6, -100.3));
        QCOMPARE(scaleText(box->canvas().scale()), QStringLiteral("13.3 -100.3 7.3 20.1"));
        // The right button drags the range: 40 pixels of 1004 to the left show it later.
        drag(box, QPoint(500, 300), QPoint(460, 300), Qt::RightButton);
        QCOMPARE(box->canvas().scale().left, 13.3 + 7.3 * 40 / 1004);
        // The wheel zooms out around the pointer.
        QWheelEvent out(QPointF(502, 276), box->mapToGlobal(QPointF(502, 276)), QPoint(), QPoint(0, -120),
                        Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(box, &out);
        QCOMPARE(box->canvas().scale().width, 7.3 * 1.25);
        QVERIFY(appStore().Zoom_Souris);
        // First click: the whole enlarged diagram again.
        m_window->zoomButton(diagram)->click();
        QCOMPARE(scaleText(box->canvas().scale()), enlargedScale);
        QVERIFY(!appStore().Zoom_Souris);
        QCOMPARE(m_window->zoomButton(diagram)->toolTip(), leftZoomTip);
        QVERIFY(m_window->printButton(diagram)->isVisibleTo(m_window));
        // Second click: small, with the lists back.
        m_window->zoomButton(diagram)->click();
        QCOMPARE(box->geometry(), small);
        QCOMPARE(m_window->zoomButton(diagram)->toolTip(), QStringLiteral("Zoom + ."));
        QVERIFY(!m_window->printButton(diagram)->isVisibleTo(m_window));
        for (const char *name : {"List_Leq10", "List_Leq1", "List_Depassement", "Graphique_Leq10",
                                 "Graphique_Leq1", "Cmd_New_Graph", "Label_Mini_Leq1"})
            QVERIFY2(m_window->findChild<QWidget *>(QString::fromLatin1(name))->isVisibleTo(m_window), name);
    }

    // A click on a list line marks its record on the diagram (which line
    // marks which record: the chart state's test).
    void listMarker()
    {
        open(1);
        auto *list = m_window->findChild<QListWidget *>(QStringLiteral("List_Leq1"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QVERIFY(appStore().Repere_Leq1 > 0);
        QVERIFY(layerCount(m_window->graphique(Diagram::Leq1)->canvas(), Layer::Marker) > 0);
    }

    void print_data() { rows(QStringLiteral("print")); }
    void print()
    {
        QFETCH(QStringList, c);
        const bool accept = c[1] == "1";
        const QString pdf = c[2];
        QTemporaryDir dir;
        test::ScriptedDialogs dialogs;
        dialogs.printerAnswers = {accept};
        dialogs.printerPdfPath = pdf.isEmpty() ? dir.filePath(QStringLiteral("chart.pdf")) : pdf;
        open(7);
        PictureBox *box = enlarge(Diagram::Leq10);
        dragChart(box, QPointF(14.2, -70), QPointF(26.8, -110));
        const QStringList before = snapshot(m_window);
        const bool printed = accept && pdf.isEmpty();
        QCOMPARE(m_window->printDiagram(Diagram::Leq10), printed);
        QCOMPARE(dialogs.printerRequests, 1);
        QCOMPARE(snapshot(m_window), before);
        QVERIFY(m_window->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        // The page, its header and its date line are pinned by the print-to-file
        // test; here, that the zoomed range is printed, with its own hour labels.
        QCOMPARE(pdfText(dialogs.printerPdfPath).contains(QStringLiteral("18h.")), printed);
    }

private:
    // A 5.X store with a week of busy evenings, charted from 27 February 2008.
    void open(int days)
    {
        test::fillBusyStore(appStore(), Version5X);
        storeChartPeriod(appStore(), ChartDate{27, 2, 2008}, days);
        m_window = new frmGraphique_Leq;
        // At its designed size, where every control stands as drawn.
        m_window->resize(designedChartArea());
        m_window->show();
    }

    PictureBox *enlarge(Diagram diagram)
    {
        m_window->zoomButton(diagram)->click();
        return m_window->graphique(diagram);
    }

    void drag(PictureBox *box, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(box, button, {}, from);
        if (to != from)
            QTest::mouseMove(box, to);
        QTest::mouseRelease(box, button, {}, to);
    }

    void dragChart(PictureBox *box, QPointF from, QPointF to)
    {
        drag(box, box->toPixel(from).toPoint(), box->toPixel(to).toPoint());
    }

    test::MessageRecorder m_messages;
    QPointer<frmGraphique_Leq> m_window;
};

QTEST_MAIN(TestChartZoom)
#include "tst_chartzoom.moc"
