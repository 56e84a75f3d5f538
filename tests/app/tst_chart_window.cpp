// The chart window, offscreen: its texts on the sample files and on small
// made-up stores, New Diagram, the window bookkeeping, layout and image export.

#include "Programs.h"
#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "WriteFaults.h"

#include "charts/ChartPeriod.h"
#include "charts/PictureBox.h"
#include "charts/frmGraphique_Leq.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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
        QVERIFY(loadSample(c[1], appStore()));
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

    // However the window goes, its picture boxes' events stop reaching it
    // before its own members are destroyed (a sanitized build aborts otherwise);
    // New Diagram opens the chart dialog of the data's firmware.
    void windowGoes_data() { rows(QStringLiteral("window goes")); }
    void windowGoes()
    {
        QFETCH(QStringList, c);
        const QString how = c[0], dialog = c.value(2);
        QStringList opened;
        registerViewStubs(&opened);
        fillBusyStore(appStore(), c[1].toInt());
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
        else if (!dialog.isEmpty())
            w->findChild<QPushButton *>(QStringLiteral("Cmd_New_Graph"))->click();
        else
            delete w.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QVERIFY(!box);
        QVERIFY(!openFlags().Open_frmGraphique_Leq);
        QCOMPARE(opened, dialog.isEmpty() ? QStringList() : QStringList{dialog});
        QVERIFY(dialog.isEmpty() || findForm(dialog));
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
            // Twice the screen's pixels, with the levels drawn in red.
            const QImage image(dir.filePath(written));
            QCOMPARE(image.size(), QSize(1002, 530));
            bool red = false;
            for (int y = 0; y < image.height() && !red; ++y)
                for (int x = 0; x < image.width() && !red; ++x)
                    red = qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 60;
            QVERIFY(red);
        }
        QCOMPARE(shown(messages), reason.isEmpty() ? QString()
                                                   : msg("It is impossible to write this file : " + path +
                                                             " (" + reason.replace("<path>", path) + ")",
                                                         "Save Image As...", MsgIcon::Critical));
    }
};

QTEST_MAIN(ChartWindowTest)
#include "tst_chart_window.moc"
