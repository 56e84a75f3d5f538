// The chart window in the main window of a screen of a given size (KVL_SCREEN,
// "800x600" unless set; CTest runs it at 800x600, 1024x768 and 1920x1080):
// every list line's time and level in view without scrolling sideways, every
// control on the screen, no label over another, small and enlarged.

#include "Programs.h"
#include "TestSupport.h"
#include "WindowTest.h"

#include "charts/ChartPeriod.h"
#include "charts/PictureBox.h"
#include "charts/frmGraphique_Leq.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

using namespace kvl;

namespace {

QSize screenSize()
{
    const QString size = qEnvironmentVariable("KVL_SCREEN", QStringLiteral("800x600"));
    return QSize(size.section(QLatin1Char('x'), 0, 0).toInt(), size.section(QLatin1Char('x'), 1).toInt());
}

void settle()
{
    for (int i = 0; i < 4; ++i)
        QApplication::processEvents();
}

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QRect onScreen(const QWidget *w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The screen part of the window's scroll area that shows the controls.
QRect visibleArea(frmGraphique_Leq *w)
{
    return onScreen(w->findChild<QScrollArea *>()->viewport());
}

// The line as the list shows it, and whether it fits its row.
bool lineFits(const QListWidget *list, int row)
{
    const QString text = list->item(row)->text().simplified();
    const QRect rect = list->visualItemRect(list->item(row));
    const QFontMetrics metrics(list->font());
    const QRect needed = metrics.boundingRect(QRect(0, 0, rect.width() - 8, 10000), Qt::TextWordWrap, text);
    return rect.right() <= list->viewport()->width() && needed.width() <= rect.width() - 8 &&
           needed.height() <= rect.height();
}

} // namespace

class TestChartLayout : public test::WindowTest
{
    Q_OBJECT
private:
    frmGraphique_Leq *openChart(const QString &file, const QDate &start, int days)
    {
        if (!test::loadSample(file, appStore()))
            return nullptr;
        appStore().Data_Loaded = true;
        storeChartPeriod(appStore(), ChartDate{start.day(), start.month(), start.year()}, days);
        auto *w = qobject_cast<frmGraphique_Leq *>(openForm(QStringLiteral("frmGraphique_Leq")));
        settle();
        return w;
    }

    // Everything shown lies in view and on the screen; no label covers another.
    void checkInView(frmGraphique_Leq *w)
    {
        const QRect view = visibleArea(w);
        QVERIFY(available().contains(view));
        auto *scroll = w->findChild<QScrollArea *>();
        QVERIFY2(!scroll->horizontalScrollBar()->isVisible(), "the window scrolls sideways");
        QList<QWidget *> shown;
        for (QWidget *c : w->surface()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (c->isVisibleTo(w))
                shown << c;
        for (QWidget *c : shown) {
            QVERIFY2(view.contains(onScreen(c)), qPrintable(c->objectName()));
            for (QWidget *other : shown)
                if (other != c)
                    QVERIFY2(!c->geometry().intersects(other->geometry()),
                             qPrintable(c->objectName() + QStringLiteral(" over ") + other->objectName()));
            if (auto *label = qobject_cast<QLabel *>(c); label && !label->wordWrap())
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                             label->contentsRect().width(),
                         qPrintable(label->objectName() + QStringLiteral(" is cut")));
        }
    }

private slots:
    void initTestCase()
    {
        registerAllForms();
        test::MessageRecorder messages;
        openMain(false)->startUp();
        Fermer_Fenetres();
        // On a large screen the user gives the program the whole screen.
        if (screenSize().width() > 1024) {
            m_main->showMaximized();
            // Without a window manager (Xvfb) the window is given the screen.
            if (m_main->frameGeometry().width() < available().width() * 9 / 10)
                m_main->setGeometry(available());
        }
        settle();
        QVERIFY(available().contains(m_main->frameGeometry()));
    }

    void smallAndEnlarged_data()
    {
        test::addDataRows(QStringLiteral("charts/layout.txt"), QStringLiteral("window"));
    }
    void smallAndEnlarged()
    {
        QFETCH(QStringList, c);
        test::MessageRecorder messages;
        frmGraphique_Leq *w = openChart(c[1], QDate::fromString(c[2], Qt::ISODate), c[3].toInt());
        QVERIFY(w);
        checkInView(w);
        for (const char *name : {"List_Leq10", "List_Leq1", "List_Depassement"}) {
            const auto *list = w->findChild<QListWidget *>(QString::fromLatin1(name));
            if (!list->isEnabled())
                continue;
            QVERIFY2(!list->horizontalScrollBar()->isVisible(), name);
            for (int row = 0; row < list->count(); ++row)
                QVERIFY2(lineFits(list, row), qPrintable(QStringLiteral("%1 %2").arg(name).arg(row)));
        }
        // Larger than designed, the text keeps its size.
        QVERIFY(w->graphique(Diagram::Leq10)->textScale() <= 1);

        for (Diagram d : {Diagram::Leq10, Diagram::Leq1}) {
            if (!w->zoomButton(d)->isVisibleTo(w))
                continue;
            w->zoomButton(d)->click();
            settle();
            checkInView(w);
            w->zoomButton(d)->click();
            settle();
            checkInView(w);
        }
    }
};

int main(int argc, char *argv[])
{
    // The screen of the size asked for (the offscreen default is 800 x 800).
    const QSize size = screenSize();
    QTemporaryDir dir;
    if (qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen"))) {
        const QString config = dir.filePath(QStringLiteral("screen.json"));
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(QStringLiteral("{\"windowFrameMargins\": true, \"screens\": [{\"name\": \"OffscreenScreen\", "
                               "\"x\": 0, \"y\": 0, \"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                               "\"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                    .arg(size.width())
                    .arg(size.height())
                    .toUtf8());
        f.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    }
    QApplication app(argc, argv);
    TestChartLayout test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_chart_layout.moc"
