// Downloads from kvl-sim through the real serial port, offscreen: every
// version fills the store with what the simulated device held; faults, a
// hang-up and a cancel end the download cleanly; "New Data" in the data
// source window gives the failure's details.

#include "Simulator.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "files/frmData_Type.h"
#include "link/CommPort.h"
#include "link/PortChoice.h"
#include "link/TransferDriver.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QRadioButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

class tst_Download : public WindowTest
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerLinkForms();
        registerFilesForms();
        registerViewStubs(&m_opened);
    }
    void init() { openMain(); }
    void cleanup()
    {
        WindowTest::cleanup();
        MSComm1().close();
    }

    void downloads_data() { addDataRows(QStringLiteral("link/rows.txt"), QStringLiteral("downloads")); }
    void downloads()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), cancelAfterMs = c[3].toInt(), code = c[4].toInt();
        Simulator sim;
        QVERIFY(sim.start(version, c[2].split(' ')));
        Store &s = appStore();
        s.Leq_Records(1, 1) = 77;
        if (!c.value(6).isEmpty()) {
            // The data loaded stays of its version until the download, which is of the version chosen.
            s.Device_Version = qint16(c[6].toInt());
            s.Data_Loaded = true;
            choosePortVersion(s, version);
            QCOMPARE(s.Device_Version, qint16(c[6].toInt()));
        }
        if (cancelAfterMs)
            QTimer::singleShot(cancelAfterMs, [] { closeForm(QStringLiteral("frmWait")); });
        download(25000);
        QVERIFY(!MSComm1().isOpen());
        QCOMPARE(s.Cancel_Flag, code >= 0);
        QCOMPARE(s.Data_Loaded, code < 0);
        QCOMPARE(saveAsEnabled(), code < 0);
        if (code < 0) {
            QCOMPARE(storeMismatch(s, sim.memory()), QString());
            QCOMPARE(s.Device_Version, qint16(version));
            return;
        }
        QCOMPARE(s.Transfer_Error, qint16(code));
        // Nothing of the failed download reached the records.
        QCOMPARE(s.Leq_Records(1, 1), qint16(77));
        // A user cancel has no details; those of a failure start with the port.
        QStringList lines = lastTransferErrorDetail().split(QLatin1Char('\n'));
        QCOMPARE(lines.takeFirst(), code == 0 ? QString()
                                              : QStringLiteral("COM 1 is %1, at %2 baud (%2,N,8,1).")
                                                    .arg(portDeviceName(1))
                                                    .arg(version == 3 ? 19200 : 56000));
        for (const QString &line : c[5].split(';', Qt::SkipEmptyParts))
            QVERIFY2(lines.contains(line), qPrintable(lines.join(QLatin1Char('|'))));
    }

    // "New Data" with no answer: the message carries the details.
    void dataTypeNoAnswer()
    {
        Simulator sim;
        QVERIFY(sim.start(5, {"--weeks", "1", "--fast", "--no-answer"}));
        m_opened.clear();
        appStore().Requested_View = RequestedView::LeqTable;
        MessageRecorder messages;
        auto *w = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
        QVERIFY(w);
        w->findChild<QRadioButton *>(QStringLiteral("Option_New_Transfert"))->click();
        w->Cmd_Ok_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!m_opened.isEmpty() || !messages.messages.isEmpty(), 30000);
        QVERIFY(m_opened.isEmpty());
        QVERIFY(!lastTransferErrorDetail().isEmpty());
        QCOMPARE(messages.messages[0].detail, lastTransferErrorDetail());
    }

private:
    // Starts the download and waits for its end.
    void download(int timeoutMs)
    {
        m_done = false;
        startTransfer([this] { m_done = true; });
        QTRY_VERIFY_WITH_TIMEOUT(m_done, timeoutMs);
    }
    bool saveAsEnabled() const { return m_main->menuEntry(QStringLiteral("mnuSave_As"))->isEnabled(); }
    bool m_done = false;
    QStringList m_opened;
};

QTEST_MAIN(tst_Download)
#include "tst_download.moc"
