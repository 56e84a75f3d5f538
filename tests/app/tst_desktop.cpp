// What a new user meets first: windows that fit the smallest screen, keys,
// the icon, data files from the command line or a drop, printing across the
// page.

#include "Programs.h"
#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/PrintWindow.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QScreen>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Opens a window the way the program does; "frmAbout" comes from its menu entry.
QWidget *open(const QString &name)
{
    if (name != QLatin1String("frmAbout"))
        return openForm(name);
    frmMain::instance()->mnuAbout_Click();
    return frmMain::instance()->findChild<QWidget *>(name);
}

} // namespace

class TestDesktop : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerAllForms();
        MessageRecorder messages;
        openMain(false)->startUp();
        QVERIFY(messages.messages.isEmpty());
        // The main window fits the screen.
        QCOMPARE(available().size(), QSize(800, 600));
        settle();
        QVERIFY(m_main->isVisible());
        QVERIFY(available().contains(m_main->frameGeometry()));
        QVERIFY(!m_main->windowIcon().isNull());
    }
    void init()
    {
        appStore() = Store();
        appStore().Requested_View = viewOf(QStringLiteral("Tableau Leq"));
    }
    void cleanup()
    {
        if (QWidget *about = m_main->findChild<QWidget *>(QStringLiteral("frmAbout")))
            about->close();
        closeWindows();
    }

    void dialogsFitAndCentre_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"frmPort", "frmData_Type", "frmInTableau", "frmWait", "frmAbout"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void dialogsFitAndCentre()
    {
        QFETCH(QString, name);
        QWidget *w = open(name);
        QVERIFY(w);
        settle();
        const QRect frame = w->frameGeometry();
        QVERIFY(available().contains(frame));
        QVERIFY((frame.center() - available().center()).manhattanLength() <= 2);
    }

    void enterAndEscape_data()
    {
        test::addDataRows(QStringLiteral("rows/desktop.txt"), QStringLiteral("keys"));
    }
    void enterAndEscape()
    {
        QFETCH(QStringList, c);
        const QString dialog = c[1], target = c[2], key = c[3], next = c[4];
        QVERIFY(loadSample(QStringLiteral("sample_v5.kvl"), appStore()));
        QPointer<QWidget> w = openForm(dialog);
        QVERIFY(w);
        QWidget *child = w->findChild<QWidget *>(target);
        QVERIFY(child);
        QTest::keyClick(child, QKeySequence(key)[0].key());
        settle();
        QVERIFY(!w || !w->isVisible());
        if (!next.isEmpty())
            QCOMPARE(findForm(next) != nullptr, key != QLatin1String("Esc"));
    }

    void dataFileAtStartOrDropped_data()
    {
        test::addDataRows(QStringLiteral("rows/desktop.txt"), QStringLiteral("data file"));
    }
    void dataFileAtStartOrDropped()
    {
        QFETCH(QStringList, c);
        const bool dropped = c[1] == QLatin1String("true");
        const QString file = samplePath(c[2]);
        const bool loaded = c[3] == QLatin1String("true");
        MessageRecorder messages;
        if (dropped) {
            QVERIFY(dropFile(m_main, file));
        } else {
            m_main->setStartFile(file);
            m_main->startUp();
            m_main->setStartFile(QString());
            QVERIFY(findForm(QStringLiteral("frmPort")));
        }
        QCOMPARE(appStore().Data_Loaded, loaded);
        if (!loaded) {
            // The loader's own message, with what to check.
            const QStringList box{shown(messages), messages.messages[0].detail};
            KVL_COMPARE_REF("windows/shell.txt", "not a data file", box);
            return;
        }
        QVERIFY(messages.messages.isEmpty());
    }

    void printFillsTheWidth()
    {
        // Scaled to the page's width unless the height bounds it; nothing stays nothing.
        QCOMPARE(fitToPrintableWidth({800, 500}, {1000, 1400}), QRectF(0, 0, 1000, 625));
        QCOMPARE(fitToPrintableWidth({100, 50}, {1000, 1400}), QRectF(0, 0, 1000, 500));
        QCOMPARE(fitToPrintableWidth({500, 1000}, {1000, 1400}), QRectF(0, 0, 700, 1400));
        QCOMPARE(fitToPrintableWidth({0, 0}, {1000, 1400}), QRectF());
    }
};

int main(int argc, char *argv[])
{
    // The smallest screen the program supports (the offscreen default is larger).
    qputenv("QT_QPA_PLATFORM",
            "offscreen:configfile=" + qgetenv("KVL_TEST_DATA") + "/offscreen-800x600.json");
    QApplication app(argc, argv);
    TestDesktop test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_desktop.moc"
