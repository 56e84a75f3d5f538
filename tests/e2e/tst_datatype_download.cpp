// "New Data" in the data source window, through the real serial port to
// kvl-sim on a pseudo-terminal: the download fills the store and the
// requested view opens.

#include "Generator.h"
#include "TestSupport.h"
#include "files/frmData_Type.h"
#include "link/CommPort.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QProcess>
#include <QRadioButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

QStringList g_opened;

class ViewStub : public Form
{
public:
    ViewStub(const QString &name, bool *flag) : Form(name, flag, true, Form::Dialog) { g_opened << name; }
};

// kvl-sim on a pseudo-terminal for one test; prints its line's path first.
class Simulator
{
public:
    bool start(const QStringList &args)
    {
        m_process.setProgram(qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-sim"));
        m_process.setArguments(args);
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
        }
    }
    QString path() const { return m_path; }

private:
    QProcess m_process;
    QString m_path;
};

} // namespace

class TestDataTypeDownload : public QObject
{
    Q_OBJECT
private:
    frmMain *m_main = nullptr;

private slots:
    void initTestCase()
    {
        registerLinkForms();
        registerFilesForms();
        const std::pair<const char *, bool OpenFlags::*> views[] = {
            {"frmInGraphique", &OpenFlags::Open_frmInGraphique},
            {"frmInGraphique_v5", &OpenFlags::Open_frmInGraphique_v5},
            {"frmInTableau", &OpenFlags::Open_frmInTableau},
            {"frmParametres_v4", &OpenFlags::Open_frmParametres_v4},
        };
        for (const auto &v : views) {
            const QString name = QString::fromLatin1(v.first);
            bool *flag = &(openFlags().*(v.second));
            registerForm(name, [name, flag] { return new ViewStub(name, flag); });
        }
        m_main = new frmMain(false);
        m_main->show();
    }
    void cleanupTestCase() { delete m_main; }
    void cleanup()
    {
        Fermer_Fenetres();
        MSComm1().close();
        qunsetenv("KVL_SERIAL_PORTS");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void downloadOpensView_data();
    void downloadOpensView();
};

void TestDataTypeDownload::downloadOpensView_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("window");
    QTest::newRow("5.X Leq table") << 5 << QStringLiteral("Tableau Leq") << QStringLiteral("frmInTableau");
    QTest::newRow("3.5 parameters") << 3 << QStringLiteral("Tableau Paramètres")
                                    << QStringLiteral("frmParametres_v4");
}

void TestDataTypeDownload::downloadOpensView()
{
    QFETCH(int, version);
    QFETCH(QString, view);
    QFETCH(QString, window);

    Simulator sim;
    QVERIFY(sim.start({"--version", QString::number(version), "--seed", "8", "--weeks", "2", "--fast"}));
    qputenv("KVL_SERIAL_PORTS", sim.path().toLocal8Bit());

    g_opened.clear();
    Store &s = appStore();
    s = Store();
    s.Device_Version = qint16(version);
    s.Com_Port = 1;
    s.Requested_View = view;
    MessageRecorder messages;
    auto *w = qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    QVERIFY(w);
    w->findChild<QRadioButton *>(QStringLiteral("Option_New_Transfert"))->click();
    w->Cmd_Ok_Click();
    QTRY_VERIFY_WITH_TIMEOUT(!g_opened.isEmpty() || !messages.messages.isEmpty(), 30000);

    QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.messages.value(0).text));
    QCOMPARE(g_opened, QStringList{window});
    QVERIFY(s.Data_Loaded);
    QVERIFY(!openFlags().Open_frmData_Type);
    // The serial number is rebuilt from the downloaded parameters.
    const kvlsim::DeviceMemory mem = kvlsim::generateDevice(version, 8, 2);
    QString serial;
    for (int i = 2360; i <= 2367; ++i)
        serial += QString::number(mem.paramBlock[std::size_t(i)]);
    QCOMPARE(s.Serial_Number, serial);
}

QTEST_MAIN(TestDataTypeDownload)
#include "tst_datatype_download.moc"
