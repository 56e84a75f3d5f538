// Downloads from kvl-sim through the real serial port, offscreen: every
// version fills the store with what the simulated device held; faults, a
// hang-up, a cancel and a second request end the download cleanly; "New
// Data" in the data source window opens the requested view or says why not.

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
#include <QLabel>
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

    void downloads_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("cancelAfterMs");
        QTest::addColumn<int>("code");           // -1: completes
        QTest::addColumn<QStringList>("detail"); // lines of the failure's details after the port's
        for (const QStringList &r : dataRows(QStringLiteral("link/rows.txt"), QStringLiteral("downloads")))
            QTest::newRow(qPrintable(r[0])) << r[1].toInt() << r[2].split(' ') << r[3].toInt() << r[4].toInt()
                                            << r[5].split(';', Qt::SkipEmptyParts);
    }
    void downloads()
    {
        QFETCH(int, version);
        QFETCH(QStringList, args);
        QFETCH(int, cancelAfterMs);
        QFETCH(int, code);
        QFETCH(QStringList, detail);
        Simulator sim;
        QVERIFY(sim.start(version, args));
        Store &s = appStore();
        s.Leq_Records(1, 1) = 77;
        if (cancelAfterMs)
            QTimer::singleShot(cancelAfterMs, [] { closeForm(QStringLiteral("frmWait")); });
        download(25000);
        QVERIFY(!MSComm1().isOpen());
        QCOMPARE(s.Cancel_Flag, code >= 0);
        QCOMPARE(s.Data_Loaded, code < 0);
        QCOMPARE(saveAsEnabled(), code < 0);
        if (code < 0) {
            QCOMPARE(storeMismatch(s, sim.memory()), QString());
            // The progress window stays, showing its completed state.
            QWidget *wait = findForm(QStringLiteral("frmWait"));
            QVERIFY(wait);
            QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("Label_Pourcentage"))->text(),
                     QStringLiteral("Data filing Realized at 100 %."));
            QCOMPARE(s.Transfer_Date.size(), version >= 5 ? 10 : 0);
            QCOMPARE(s.Default_Leq_Day.isEmpty(), version >= 5);
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
        for (const QString &line : detail)
            QVERIFY2(lines.contains(line), qPrintable(lines.join(QLatin1Char('|'))));
    }

    void cancelThenRetry()
    {
        // The device goes on sending after a cancel. A retry at once waits for
        // the line to fall quiet; a retry after the device finished starts at
        // once. Each ends with what the device holds.
        Simulator sim;
        QVERIFY(sim.start(5, {"--seed", "12", "--weeks", "2", "--baud", "300000"}));
        const Store &s = appStore();
        // The image takes about 4.5 s at this speed.
        const int imageMs = 133632 * 10 / 300;
        for (const int pauseMs : {0, imageMs + 1000}) {
            QTimer::singleShot(1500, [] { closeForm(QStringLiteral("frmWait")); });
            download(10000);
            QVERIFY(s.Cancel_Flag && !s.Data_Loaded);
            QCOMPARE(s.Transfer_Error, qint16(0));
            QTest::qWait(pauseMs);
            download(30000);
            QVERIFY2(s.Data_Loaded && !s.Cancel_Flag, qPrintable(lastTransferErrorDetail()));
            QCOMPARE(storeMismatch(s, sim.memory()), QString());
            closeForm(QStringLiteral("frmWait"));
        }
    }

    void secondStartEndsTheFirst()
    {
        Simulator sim;
        QVERIFY(sim.start(5, {"--weeks", "1", "--fast"}));
        const Store &s = appStore();
        int firstEnded = 0;
        bool firstWasCancel = false;
        startTransfer([&] {
            ++firstEnded;
            firstWasCancel = s.Cancel_Flag && s.Transfer_Error == 0;
        });
        download(15000);
        QCOMPARE(firstEnded, 1);
        QVERIFY(firstWasCancel);
        QVERIFY(s.Data_Loaded);
        QVERIFY(!s.Cancel_Flag);
    }

    void dataTypeOpensView_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("window"); // empty: the device does not answer
        QTest::newRow("5.X Leq table")
            << 5 << QStringLiteral("Tableau Leq") << QStringLiteral("frmInTableau");
        QTest::newRow("3.5 parameters")
            << 3 << QStringLiteral("Tableau Paramètres") << QStringLiteral("frmParametres_v4");
        QTest::newRow("5.X no answer") << 5 << QStringLiteral("Tableau Leq") << QString();
    }
    void dataTypeOpensView()
    {
        QFETCH(int, version);
        QFETCH(QString, view);
        QFETCH(QString, window);
        Simulator sim;
        QStringList args{"--seed", "8", "--weeks", "2", "--fast"};
        if (window.isEmpty())
            args << "--no-answer";
        QVERIFY(sim.start(version, args));
        m_opened.clear();
        Store &s = appStore();
        s.Requested_View = viewOf(view);
        MessageRecorder messages;
        auto *w = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
        QVERIFY(w);
        w->findChild<QRadioButton *>(QStringLiteral("Option_New_Transfert"))->click();
        w->Cmd_Ok_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!m_opened.isEmpty() || !messages.messages.isEmpty(), 30000);
        QVERIFY(!openFlags().Open_frmData_Type);
        if (window.isEmpty()) {
            QVERIFY(m_opened.isEmpty());
            QCOMPARE(shown(messages), msg(QStringLiteral("Error 01 - See analysis software."),
                                          QStringLiteral("Transmit error (Error 01)"), MsgIcon::Critical));
            // What the user reads behind the message.
            QVERIFY(!lastTransferErrorDetail().isEmpty());
            QCOMPARE(messages.messages[0].detail, lastTransferErrorDetail());
            return;
        }
        QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.messages.value(0).text));
        QCOMPARE(m_opened, QStringList{window});
        QVERIFY(s.Data_Loaded);
        // The serial number is rebuilt from the downloaded parameters.
        const kvlsim::DeviceMemory mem = sim.memory();
        QString serial;
        for (int i = block::SerialFirst; i <= block::SerialLast; ++i)
            serial += QString::number(mem.paramBlock[std::size_t(i)]);
        QCOMPARE(s.Serial_Number, serial);
    }

    // 5.X data loaded, a 4.0 device chosen: the download is of 4.0, and the
    // store then holds 4.0 data.
    void downloadsTheVersionChosen()
    {
        Simulator sim;
        QVERIFY(sim.start(4, {"--seed", "8", "--weeks", "2", "--fast"}));
        Store &s = appStore();
        s.Device_Version = Version5X;
        s.Data_Loaded = true;
        choosePortVersion(s, Version40);
        QCOMPARE(s.Device_Version, qint16(Version5X));
        download(30000);
        QVERIFY2(s.Data_Loaded, qPrintable(lastTransferErrorDetail()));
        QCOMPARE(s.Device_Version, qint16(Version40));
        QCOMPARE(storeMismatch(s, sim.memory()), QString());
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
