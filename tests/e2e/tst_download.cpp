// Downloads from kvl-sim on a pseudo-terminal through the real serial port,
// offscreen: every version fills the store with what the simulated device
// held; a hang-up or a cancel ends the download cleanly.

#include "Generator.h"
#include "TestSupport.h"
#include "link/CommPort.h"
#include "link/TransferDriver.h"
#include "link/frmWait.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QtTest>

using namespace kvl;

namespace {

constexpr int Weeks = 3;

// kvl-sim started on a pseudo-terminal for one test.
class Simulator
{
public:
    bool start(const QStringList &args)
    {
        const QString bin = qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-sim");
        m_process.setProgram(bin);
        m_process.setArguments(args + QStringList{"--exit-with-parent"});
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return false;
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(5000))
                return false;
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return m_path.startsWith(QLatin1Char('/'));
    }
    ~Simulator()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000))
                m_process.kill();
            m_process.waitForFinished(1000);
        }
    }
    QString path() const { return m_path; }

private:
    QProcess m_process;
    QString m_path;
};

} // namespace

class tst_Download : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void completeDownload_data();
    void completeDownload();
    void faults_data();
    void faults();
    void hangUpDuringReception();
    void cancelDuringReception();
    void secondStartEndsTheFirst();

private:
    // Starts the download and waits for its end.
    void download(int timeoutMs);
    frmMain *m_main = nullptr;
    bool m_done = false;
};

void tst_Download::initTestCase()
{
    registerLinkForms();
    QVERIFY2(QFile::exists(qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-sim")),
             "kvl-sim not found in KVL_BIN_DIR");
}

void tst_Download::init()
{
    appStore() = Store();
    m_main = new frmMain(false);
    m_main->show();
    m_done = false;
}

void tst_Download::cleanup()
{
    Fermer_Fenetres();
    MSComm1().close();
    delete m_main;
    m_main = nullptr;
    qunsetenv("KVL_SERIAL_PORTS");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void tst_Download::download(int timeoutMs)
{
    m_done = false;
    startTransfer([this] { m_done = true; });
    QTRY_VERIFY_WITH_TIMEOUT(m_done, timeoutMs);
}

void tst_Download::completeDownload_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("3.5") << 3 << 31u;
    QTest::newRow("4.0") << 4 << 32u;
    QTest::newRow("5.X") << 5 << 33u;
    QTest::newRow("KVL 36") << 70 << 34u;
}

void tst_Download::completeDownload()
{
    QFETCH(int, version);
    QFETCH(quint32, seed);
    Simulator sim;
    QVERIFY(sim.start({"--version", QString::number(version), "--seed", QString::number(seed), "--weeks",
                       QString::number(Weeks), "--fast"}));
    qputenv("KVL_SERIAL_PORTS", sim.path().toLocal8Bit());
    Store &s = appStore();
    s.Device_Version = qint16(version);
    s.Com_Port = 1;
    download(20000);
    QVERIFY(m_done);

    QVERIFY(!s.Cancel_Flag);
    QVERIFY(s.Data_Loaded);
    QVERIFY(m_main->menuEntry(QStringLiteral("mnuSave_As"))->isEnabled());
    QVERIFY(!MSComm1().isOpen());

    const kvlsim::DeviceMemory mem = kvlsim::generateDevice(version, seed, Weeks);
    const int leqRows = version == 3 ? 4096 : 8192;
    QCOMPARE(s.Leq_Count, leqRows);
    for (std::size_t i = 0; i < mem.leq.size(); ++i)
        for (int f = 1; f <= 8; ++f)
            QCOMPARE(s.Leq_Records(int(i) + 1, f), mem.leq[i][std::size_t(f - 1)]);
    for (int r = int(mem.leq.size()) + 1; r <= leqRows; ++r)
        QCOMPARE(s.Leq_Records(r, 6), qint16(255));
    for (std::size_t i = 0; i < mem.events.size(); ++i)
        for (int f = 1; f <= 8; ++f)
            QCOMPARE(s.Event_Records(int(i) + 1, f), mem.events[i][std::size_t(f - 1)]);
    QCOMPARE(s.Event_Records(int(mem.events.size()) + 1, 7), qint16(255));
    for (std::size_t i = 0; i < mem.history.size(); ++i)
        for (int f = 1; f <= 48; ++f)
            QCOMPARE(s.Param_History(int(i) + 1, f), mem.history[i][std::size_t(f - 1)]);
    for (int i = 0; i < 2560; ++i)
        QCOMPARE(s.Param_Block[i], mem.paramBlock[std::size_t(i)]);
    for (std::size_t i = 0; i < mem.paramRaw.size(); ++i)
        QCOMPARE(s.Param_Raw[int(i)], mem.paramRaw[i]);

    // The progress window stays, showing its completed state.
    auto *wait = qobject_cast<frmWait *>(findForm(QStringLiteral("frmWait")));
    QVERIFY(wait);
    QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("Label_Pourcentage"))->text(),
             QStringLiteral("Data filing Realized at 100 %."));
    if (version >= 5) {
        QCOMPARE(s.Transfer_Date.size(), 10);
        QCOMPARE(s.Transfer_Time.size(), 8);
    } else {
        QVERIFY(!s.Default_Leq_Day.isEmpty());
    }
}

void tst_Download::faults_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("3.5 513-byte parameter answer") << 3 << QStringList{"--param-size", "513"} << 1;
    QTest::newRow("4.0 no answer") << 4 << QStringList{"--no-answer"} << 3;
    QTest::newRow("5.X extra bytes") << 5 << QStringList{"--extra", "100"} << 4;
    // 0: completes, after two unanswered attempts.
    QTest::newRow("4.0 answer on the third attempt") << 4 << QStringList{"--answer-on", "3"} << 0;
}

void tst_Download::faults()
{
    QFETCH(int, version);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    Simulator sim;
    QVERIFY(sim.start(QStringList{"--version", QString::number(version), "--weeks", "1", "--fast"} + args));
    qputenv("KVL_SERIAL_PORTS", sim.path().toLocal8Bit());
    Store &s = appStore();
    s.Device_Version = qint16(version);
    s.Com_Port = 1;
    download(15000);
    QVERIFY(m_done);
    QVERIFY(!MSComm1().isOpen());
    if (code == 0) {
        QVERIFY(!s.Cancel_Flag);
        QVERIFY(s.Data_Loaded);
        return;
    }
    QVERIFY(s.Cancel_Flag);
    QCOMPARE(s.Transfer_Error, qint16(code));
    QVERIFY(!s.Data_Loaded);
}

void tst_Download::hangUpDuringReception()
{
    Simulator sim;
    // Paced fast enough to keep the test short, slow enough that the hang-up
    // comes once reception has started.
    QVERIFY(sim.start({"--version", "5", "--weeks", "1", "--baud", "600000", "--hangup-after", "100000"}));
    qputenv("KVL_SERIAL_PORTS", sim.path().toLocal8Bit());
    Store &s = appStore();
    s.Device_Version = 5;
    s.Com_Port = 1;
    s.Leq_Records(1, 1) = 77;
    download(15000);
    QVERIFY(m_done);
    QVERIFY(s.Cancel_Flag);
    QCOMPARE(s.Transfer_Error, qint16(4));
    QVERIFY(!s.Data_Loaded);
    QVERIFY(!MSComm1().isOpen());
    QCOMPARE(s.Leq_Records(1, 1), qint16(77));
    QVERIFY(!m_main->menuEntry(QStringLiteral("mnuSave_As"))->isEnabled());
}

void tst_Download::cancelDuringReception()
{
    Simulator sim;
    QVERIFY(sim.start({"--version", "4", "--weeks", "1"}));
    qputenv("KVL_SERIAL_PORTS", sim.path().toLocal8Bit());
    Store &s = appStore();
    s.Device_Version = 4;
    s.Com_Port = 1;
    m_done = false;
    startTransfer([this] { m_done = true; });
    // About a second in, the answer is coming in at 56000 baud.
    QTimer::singleShot(1200, [] { closeForm(QStringLiteral("frmWait")); });
    QTRY_VERIFY_WITH_TIMEOUT(m_done, 10000);
    QVERIFY(s.Cancel_Flag);
    QCOMPARE(s.Transfer_Error, qint16(0));
    QVERIFY(!s.Data_Loaded);
    QVERIFY(!MSComm1().isOpen());
}

void tst_Download::secondStartEndsTheFirst()
{
    Simulator sim;
    QVERIFY(sim.start({"--version", "5", "--weeks", "1", "--fast"}));
    qputenv("KVL_SERIAL_PORTS", sim.path().toLocal8Bit());
    Store &s = appStore();
    s.Device_Version = 5;
    s.Com_Port = 1;
    int firstEnded = 0;
    bool firstWasCancel = false;
    startTransfer([&] {
        ++firstEnded;
        firstWasCancel = s.Cancel_Flag && s.Transfer_Error == 0;
    });
    download(15000);
    QVERIFY(m_done);
    QCOMPARE(firstEnded, 1);
    QVERIFY(firstWasCancel);
    QVERIFY(s.Data_Loaded);
    QVERIFY(!s.Cancel_Flag);
}

QTEST_MAIN(tst_Download)
#include "tst_download.moc"
