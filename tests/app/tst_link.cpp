// The port selection and the progress window, offscreen, on the fake line.

#include "FakeDevice.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "link/CommPort.h"
#include "link/frmPort.h"
#include "link/frmWait.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace kvl;
using kvl::test::addDataRows;
using kvl::test::FakeDevice;
using kvl::test::WindowTest;

namespace {

template <typename T> T *child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QLatin1String(name));
}

} // namespace

class tst_Link : public WindowTest
{
    Q_OBJECT
    FakeDevice m_line;
    frmPort *openPort() { return qobject_cast<frmPort *>(openForm(QStringLiteral("frmPort"))); }

private slots:
    void initTestCase()
    {
        registerLinkForms();
        setMSComm1(&m_line);
    }
    void init()
    {
        WindowTest::init();
        m_line = FakeDevice();
        openMain();
    }

    void portSelectionLoad_data()
    {
        addDataRows(QStringLiteral("link/rows.txt"), QStringLiteral("port selection"));
    }
    void portSelectionLoad()
    {
        QFETCH(QStringList, c);
        const QList<int> available = kvl::test::numbers(c[1]);
        const int comPortBefore = c[2].toInt(), comPortAfter = c[3].toInt();
        const bool okEnabled = c[4] == QLatin1String("1");
        // An empty set would mean "all" to the fake line; port 99 never exists.
        m_line.availablePorts =
            available.isEmpty() ? QSet<int>{99} : QSet<int>(available.begin(), available.end());
        appStore().Com_Port = qint16(comPortBefore);
        frmPort *form = openPort();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("Communication Port Selection"));
        QCOMPARE(appStore().Com_Port, qint16(comPortAfter));
        QCOMPARE(child<QPushButton>(form, "Cmd_Ok")->isEnabled(), okEnabled);
        for (int n = 1; n <= 16; ++n) {
            QRadioButton *b = form->Option_COM(n);
            QCOMPARE(b->text(), QStringLiteral("COM %1").arg(n));
            QCOMPARE(b->isEnabled(), available.contains(n));
            QCOMPARE(b->isChecked(), n == comPortAfter);
        }
        // Every probed port was closed again.
        QVERIFY(!m_line.isOpen());
        QCOMPARE(m_line.calls.count(QStringLiteral("open")), 16);
    }

    void captions_data() { addDataRows(QStringLiteral("link/rows.txt"), QStringLiteral("captions")); }
    void captions()
    {
        QFETCH(QStringList, c);
        const QString versionButton = c[1];
        const int port = c[2].toInt(), version = c[3].toInt();
        m_line.availablePorts = {1, 2, 3, 12};
        m_main->menuEntry(QStringLiteral("mnuAnalyse"))->setEnabled(false);
        frmPort *form = openPort();
        QVERIFY(child<QRadioButton>(form, "Option_Version5")->isChecked());
        QTest::mouseClick(form->findChild<QRadioButton *>(versionButton), Qt::LeftButton);
        QTest::mouseClick(form->Option_COM(port), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(form, "Cmd_Ok"), Qt::LeftButton);
        KVL_COMPARE_REF("windows/link.txt", QStringLiteral("caption ") + QTest::currentDataTag(),
                        QStringList{m_main->windowTitle()});
        QCOMPARE(appStore().Com_Port, qint16(port));
        QCOMPARE(appStore().Device_Version, qint16(version));
        QCOMPARE(m_line.port(), port);
        QVERIFY(m_main->menuEntry(QStringLiteral("mnuAnalyse"))->isEnabled());
        QVERIFY(!openFlags().Open_frmPort);

        // Opened again, it shows the version chosen and the port kept.
        form = openPort();
        QVERIFY(form->Option_COM(port)->isChecked());
        QVERIFY(form->findChild<QRadioButton *>(versionButton)->isChecked());
    }

    void noPortChosen()
    {
        m_line.availablePorts = {4, 6};
        frmPort *form = openPort();
        form->Cmd_Ok_Click();
        QStringList captions{m_main->windowTitle()};
        QVERIFY(openFlags().Open_frmPort);
        QTest::mouseClick(child<QPushButton>(form, "Cmd_Annuler"), Qt::LeftButton);
        QVERIFY(!openFlags().Open_frmPort);
        captions << m_main->windowTitle();
        KVL_COMPARE_REF("windows/link.txt", "no port: Ok, then Cancel", captions);
        QCOMPARE(appStore().Com_Port, qint16(0));
    }

    void waitWindowLoad()
    {
        // Firmware 4.0: 37 steps of transmission, 151 of filing.
        appStore().Device_Version = 4;
        auto *wait = qobject_cast<frmWait *>(openForm(QStringLiteral("frmWait")));
        QVERIFY(wait);
        QVERIFY(openFlags().Open_frmWait);
        KVL_COMPARE_REF("windows/link.txt", "progress window at start", test::windowTexts(wait));

        // A whole download's steps fill every bar.
        for (int i = 0; i < 36; ++i)
            wait->Avancer_Progression();
        wait->setTransmissionNearlyFull();
        // The step that ends the transmission fills two of filing.
        wait->Avancer_Progression();
        KVL_COMPARE_REF("windows/link.txt", "progress window while filing", test::windowTexts(wait));
        for (int i = 0; i < 151; ++i)
            wait->Avancer_Progression();
        KVL_COMPARE_REF("windows/link.txt", "progress window at the end", test::windowTexts(wait));
    }

    void waitWindowCloseCancels_data()
    {
        addDataRows(QStringLiteral("link/rows.txt"), QStringLiteral("wait window closed"));
    }
    void waitWindowCloseCancels()
    {
        QFETCH(QStringList, c);
        QWidget *wait = openForm(QStringLiteral("frmWait"));
        m_line.setPort(1);
        QVERIFY(m_line.open());
        Store &s = appStore();
        s.Transfer_Error = -1;
        s.Cancel_Flag = false;
        if (c[1] == QLatin1String("button"))
            QTest::mouseClick(child<QPushButton>(wait, "Cmd_Annuler"), Qt::LeftButton);
        else
            wait->close();
        QVERIFY(s.Cancel_Flag);
        QCOMPARE(s.Transfer_Error, qint16(0));
        QVERIFY(!m_line.isOpen());
        QVERIFY(!openFlags().Open_frmWait);
    }
};

QTEST_MAIN(tst_Link)
#include "tst_link.moc"
