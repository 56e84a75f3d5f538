// The chart window, offscreen: its texts on the sample files and on small
// made-up stores, New Diagram, the window bookkeeping, layout and image export.

#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "WriteFaults.h"

#include "charts/ChartPeriod.h"
#include "charts/PictureBox.h"
#include "charts/frmGraphique_Leq.h"
#include "files/DataFile.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// The chart dialog's work before it opens the window: the period, and for
// firmware 3.5/4.0 the thresholds and hours it proposes from the device.
frmGraphique_Leq *openChart(const QDate &start, int days)
{
    Store &s = appStore();
    storeChartPeriod(s, ChartDate{start.day(), start.month(), start.year()}, days);
    s.Seuil_Jour = qint16(blockLevel(s.Param_Block, block::LeqDay));
    s.Seuil_Nuit = qint16(blockLevel(s.Param_Block, block::LeqNight));
    s.Heure_Jour_Nuit = s.Param_Block[block::HourDayNight];
    s.Heure_Nuit_Jour = s.Param_Block[block::HourNightDay];
    return qobject_cast<frmGraphique_Leq *>(openForm(QStringLiteral("frmGraphique_Leq")));
}

// Items of a canvas drawn in a colour.
int drawn(const PictureBox *box, Rgb colour)
{
    const QList<CanvasItem> &items = box->canvas().items();
    return int(std::count_if(items.begin(), items.end(),
                             [colour](const CanvasItem &i) { return i.colour == colour; }));
}

// Whether a pixel within one of `at` (chart units) passes `test`.
template <typename Test> bool inked(const QImage &image, const Scale &s, QPointF at, Test test)
{
    const int x = int((at.x() - s.left) / s.width * image.width());
    const int y = int((at.y() - s.top) / s.height * image.height());
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (test(image.pixelColor(x + dx, y + dy)))
                return true;
    return false;
}

// What the window shows, as name=text lines: title, every label in creation
// order (or "hidden"), each list's size, font, first and last line, the
// buttons shown, what the diagrams hold, and the message boxes of the load.
QStringList windowTexts(frmGraphique_Leq *w, const MessageRecorder &messages)
{
    QStringList out{QStringLiteral("=") + w->windowTitle()};
    for (const QLabel *label : w->findChildren<QLabel *>(QRegularExpression(QStringLiteral("^Label"))))
        out << label->objectName() + (label->isHidden() ? QStringLiteral(" hidden") : '=' + label->text());
    for (const QString &name : {"List_Leq10", "List_Leq1", "List_Depassement"}) {
        const QListWidget *list = w->findChild<QListWidget *>(name);
        out << QStringLiteral("%1.lines=%2%3 font %4%5")
                   .arg(name)
                   .arg(list->count())
                   .arg(list->isEnabled() ? "" : " disabled")
                   .arg(list->font().pointSize())
                   .arg(list->font().bold() ? " bold" : "");
        if (list->count() > 0)
            out << name + ".first=" + list->item(0)->text()
                << name + ".last=" + list->item(list->count() - 1)->text();
    }
    QStringList buttons;
    for (const QAbstractButton *b :
         w->findChildren<QAbstractButton *>(QRegularExpression(QStringLiteral("^Cmd_"))))
        if (!b->isHidden())
            buttons << b->objectName();
    out << QStringLiteral("buttons=") + buttons.join(QLatin1Char(' '));
    for (Diagram d : {Diagram::Leq10, Diagram::Leq1}) {
        const PictureBox *box = w->graphique(d);
        out << box->objectName() + QStringLiteral(".drawn=black %1 blue %2 green %3 red %4")
                                       .arg(drawn(box, colours::Black))
                                       .arg(drawn(box, colours::Blue))
                                       .arg(drawn(box, colours::Threshold))
                                       .arg(drawn(box, colours::Red));
    }
    for (const RecordedMessage &m : messages.messages)
        out << QStringLiteral("message=") + msg(m.text, m.caption, m.icon);
    return out;
}

void rows(const QString &section)
{
    addDataRows(QStringLiteral("charts/samples.txt"), section);
}

} // namespace

class ChartWindowTest : public WindowTest
{
    Q_OBJECT

private slots:
    // The window on each sample.
    void samples_data() { rows(QString()); }
    void samples()
    {
        QFETCH(QStringList, c);
        QFile f(qEnvironmentVariable("KVL_SAMPLES") + QLatin1Char('/') + c[1]);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(int(readDataFile(f.readAll(), appStore()).result), int(LoadOutcome::Loaded));
        appStore().Data_Loaded = true;
        MessageRecorder messages;
        frmGraphique_Leq *w = openChart(QDate::fromString(c[2], Qt::ISODate), c[3].toInt());
        QVERIFY(w);
        QVERIFY(openFlags().Open_frmGraphique_Leq);
        KVL_COMPARE_REF(QStringLiteral("charts/windows.txt"), QTest::currentDataTag(),
                        windowTexts(w, messages));
    }

    // Small made-up stores.
    void examples_data() { rows(QStringLiteral("examples")); }
    void examples()
    {
        QFETCH(QStringList, c);
        Store &store = appStore();
        fillBusyStore(store, c[1].toInt());
        fillLeq(store.Leq_Records, items(c[2]));
        fillEvents(store.Event_Records, items(c.value(3)));
        fillHistory(store.Param_History, items(c.value(4)));
        setBlockLevels(store, QStringLiteral("100 110 90 95 23 7"));
        store.Param_Block[block::FirmwareMajor] = 140;
        store.Param_Block[block::FirmwareMinor] = 76;
        MessageRecorder messages;
        frmGraphique_Leq *w = openChart(QDate(2007, 3, 5), 1);
        QVERIFY(w);
        KVL_COMPARE_REF(QStringLiteral("charts/windows.txt"), QTest::currentDataTag(),
                        windowTexts(w, messages));
    }

    void newDiagramOpensTheDialogOfTheFirmware_data() { rows(QStringLiteral("new diagram")); }
    void newDiagramOpensTheDialogOfTheFirmware()
    {
        QFETCH(QStringList, c);
        const QString dialog = c[2];
        QStringList opened;
        registerViewStubs(&opened);
        fillBusyStore(appStore(), c[1].toInt());
        MessageRecorder messages;
        frmGraphique_Leq *w = openChart(QDate(2008, 2, 28), 3);
        QVERIFY(w);
        w->findChild<QPushButton *>(QStringLiteral("Cmd_New_Graph"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!findForm(QStringLiteral("frmGraphique_Leq")));
        QVERIFY(!openFlags().Open_frmGraphique_Leq);
        QCOMPARE(opened, QStringList{dialog});
        QVERIFY(findForm(dialog));
    }

    // However the window goes, its picture boxes' events stop reaching it
    // before its own members are destroyed (a sanitized build aborts otherwise).
    void windowGoes_data() { rows(QStringLiteral("window goes")); }
    void windowGoes()
    {
        QFETCH(QStringList, c);
        const QString how = c[0];
        fillBusyStore(appStore(), 5);
        MessageRecorder messages;
        QPointer<frmGraphique_Leq> w = openChart(QDate(2008, 2, 28), 1);
        QVERIFY(w);
        const QPointer<PictureBox> box = w->graphique(Diagram::Leq10);
        if (how.endsWith(QLatin1String("enlarged"))) {
            w->zoomButton(Diagram::Leq10)->click();
            QVERIFY(w->chartState().pane(Diagram::Leq10).isEnlarged());
        }
        const QPoint at(100, 100);
        QHelpEvent hover(QEvent::ToolTip, at, box->mapToGlobal(at));
        QCoreApplication::sendEvent(box, &hover);
        if (how == QLatin1String("closed"))
            w->close();
        else if (how == QLatin1String("all windows closed"))
            Fermer_Fenetres();
        else
            delete w.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QVERIFY(!box);
        QVERIFY(!openFlags().Open_frmGraphique_Leq);
    }

    void saveImage_data() { rows(QStringLiteral("save image")); }

    // The picture replaces the file chosen, or the old file stays and a
    // message says why before the dialog asks again.
    void saveImage()
    {
        QFETCH(QStringList, c);
        const QString answer = c[1], written = c[2], fault = c[4];
        const QByteArray start = QByteArray::fromPercentEncoding(c[3].toLatin1());
        QString reason = c.value(5);
        fillBusyStore(appStore(), 5);
        MessageRecorder messages;
        frmGraphique_Leq *w = openChart(QDate(2008, 2, 28), 1);
        QVERIFY(w);
        messages.clear();
        QTemporaryDir dir;
        const QStringList old{"old.pdf", "old.png", "old.svg"};
        for (const QString &name : old) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("old") == 3);
        }
        ScriptedDialogs dialogs;
        const QString path = dir.filePath(answer);
        if (!answer.isEmpty())
            dialogs.saveAnswers << path;
        {
            FaultyTarget faulty(path, writeFault(fault));
            w->graphique(Diagram::Leq1)->saveImageAs();
        }
        const QStringList proposed{"Graphique_Leq1.png"};
        QCOMPARE(dialogs.saveRequests, reason.isEmpty() ? proposed : proposed + QStringList{path});
        QCOMPARE(dialogs.saveFilters.value(0),
                 "PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf");
        QStringList files = old;
        if (!files.contains(written) && !written.isEmpty())
            files = QStringList{written} + old;
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
        for (const QString &name : old) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll() == "old", name != written);
        }
        if (!written.isEmpty()) {
            QFile f(dir.filePath(written));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(f.readAll().startsWith(start));
        }
        if (written.endsWith(QLatin1String(".png"))) {
            // Twice the screen's pixels, with the axes and the first level where the diagram has them.
            const QImage image(dir.filePath(written));
            QCOMPARE(image.size(), QSize(1002, 530));
            const Canvas &canvas = w->graphique(Diagram::Leq1)->canvas();
            const auto red = std::find_if(canvas.items().begin(), canvas.items().end(),
                                          [](const CanvasItem &i) { return i.colour == colours::Red; });
            QVERIFY(red != canvas.items().end());
            QVERIFY(inked(image, canvas.scale(), QPointF(red->x1, red->y1),
                          [](QColor c) { return c.red() > 200 && c.green() < 60; }));
            for (QPointF at :
                 {QPointF(12.5, -60), QPointF(30.5, -60), QPointF(11, -65.5), QPointF(11, -119.5)})
                QVERIFY2(inked(image, canvas.scale(), at, [](QColor c) { return c != Qt::white; }),
                         qPrintable(QStringLiteral("%1 %2").arg(at.x()).arg(at.y())));
        }
        QCOMPARE(shown(messages), reason.isEmpty() ? QString()
                                                   : msg("It is impossible to write this file : " + path +
                                                             " (" + reason.replace("<path>", path) + ")",
                                                         "Save Image As...", MsgIcon::Critical));
    }
};

QTEST_MAIN(ChartWindowTest)
#include "tst_chart_window.moc"
