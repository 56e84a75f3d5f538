// From a (simulated) download to a saved file and back: the data source
// window, Save As with its progress window, and "Saved Data" on the file.
// Also loads every sample file the way a user would.

#include "SampleFile.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "files/DataFile.h"
#include "files/frmData_Type.h"
#include "files/frmWait_Save.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QDir>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

class tst_FilesFlow : public WindowTest
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_opened;

    frmData_Type *openDataType(const QString &view)
    {
        m_opened.clear();
        appStore().Requested_View = viewOf(view);
        return qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
    }
    // "Saved Data" on `file` for `view`, from a fresh start.
    void loadFile(const QString &file, const QString &view, const QString &window)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        appStore() = Store();
        MessageRecorder messages;
        ScriptedDialogs dialogs;
        dialogs.openAnswers << file;
        frmData_Type *w = openDataType(view);
        QVERIFY(w->findChild<QRadioButton *>(QStringLiteral("Option_New_Save"))->isChecked());
        w->Cmd_Search_Click();
        w->Cmd_Ok_Click();
        QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.messages.value(0).text));
        QCOMPARE(m_opened, QStringList{window});
        QVERIFY(appStore().Data_Loaded);
    }

private slots:
    void initTestCase()
    {
        registerFilesForms();
        registerViewStubs(&m_opened);
        openMain(false);
        QVERIFY(m_dir.isValid());
    }
    void cleanupTestCase()
    {
        setTransferStarter({});
        WindowTest::cleanupTestCase();
    }

    void downloadSaveReload_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("chartWindow");
        QTest::newRow("3") << 3 << QStringLiteral("frmInGraphique");
        QTest::newRow("4") << 4 << QStringLiteral("frmInGraphique");
        QTest::newRow("5") << 5 << QStringLiteral("frmInGraphique_v5");
        QTest::newRow("70") << 70 << QStringLiteral("frmInGraphique_v5");
    }

    void downloadSaveReload()
    {
        QFETCH(int, version);
        QFETCH(QString, chartWindow);

        // A download of the simulated device, as the transfer leaves the store.
        appStore().Com_Port = 1;
        appStore().Device_Version = qint16(version);
        setTransferStarter([version](std::function<void()> done) {
            Store &s = appStore();
            QVERIFY(kvlsim::downloadInto(s, version, 11, 4));
            s.Cancel_Flag = false;
            frmMain::instance()->menuEntry(QStringLiteral("mnuSave_As"))->setEnabled(true);
            done();
        });
        frmData_Type *w = openDataType(QStringLiteral("Graphique Leq"));
        w->findChild<QRadioButton *>(QStringLiteral("Option_New_Transfert"))->click();
        w->Cmd_Ok_Click();
        setTransferStarter({});
        QCOMPARE(m_opened, QStringList{chartWindow});
        QVERIFY(appStore().Data_Loaded);
        const auto downloaded = std::make_unique<Store>(appStore());

        // Save As.
        ScriptedDialogs dialogs;
        const QString file = m_dir.filePath(QStringLiteral("flow_%1.kvl").arg(version));
        dialogs.saveAnswers << file;
        m_main->mnuSave_As_Click();
        QCOMPARE(dialogs.saveRequests.size(), 1);
        QVERIFY(
            dialogs.saveRequests[0].startsWith(version == 70 ? "KVL 36 Data from " : "KVL 24-2 Data from "));
        auto *wait = qobject_cast<frmWait_Save *>(findForm(QStringLiteral("frmWait_Save")));
        QVERIFY(wait);
        qint64 now = 0;
        wait->setClock([&now] { return now; });
        for (int i = 0; i < 1000 && openFlags().Open_frmWait_Save; ++i) {
            wait->poll();
            now += 100;
        }
        QVERIFY(!openFlags().Open_frmWait_Save);
        QVERIFY(m_main->menuEntry(QStringLiteral("mnuQuitter"))->isEnabled());

        loadFile(file, QStringLiteral("Tableau Leq"), QStringLiteral("frmInTableau"));
        if (QTest::currentTestFailed())
            return;
        const Store &s = appStore();
        QCOMPARE(s.Device_Version, qint16(version));
        QCOMPARE(m_main->windowTitle(), loadCaption(version, 0));
        QVERIFY(s.Leq_Records == downloaded->Leq_Records);
        QVERIFY(s.Event_Records == downloaded->Event_Records);
        QVERIFY(s.Param_Block == downloaded->Param_Block);
        QVERIFY(s.Param_History == downloaded->Param_History);
        if (version >= 5) {
            QCOMPARE(s.Transfer_Date, downloaded->Transfer_Date);
            QCOMPARE(s.Transfer_Time, downloaded->Transfer_Time.left(5));
        }
        // Loaded data cannot be saved again.
        QVERIFY(!m_main->menuEntry(QStringLiteral("mnuSave_As"))->isEnabled());
    }

    void samplesLoad_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("version");
        const QDir samples(qEnvironmentVariable("KVL_SAMPLES"));
        for (int v : {3, 4, 5, 70})
            QTest::addRow("v%d", v) << samples.filePath(QStringLiteral("sample_v%1.kvl").arg(v)) << v;
    }

    void samplesLoad()
    {
        QFETCH(QString, file);
        QFETCH(int, version);
        loadFile(file, QStringLiteral("Tableau Evénements"), QStringLiteral("frmInTableau"));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(appStore().Device_Version, qint16(version));

        // The file is what our writer makes of the store it gives; the loaded
        // time has no seconds, so the date line of 5.X and KVL 36 files differs.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll(), rebuilt = buildDataFile(appStore(), version);
        const int cut = version >= 5 ? int(bytes.lastIndexOf("\r\n", bytes.size() - 3)) : int(bytes.size());
        QVERIFY(rebuilt.left(cut) == bytes.left(cut));
        QVERIFY(version >= 5 || rebuilt == bytes);
    }
};

QTEST_MAIN(tst_FilesFlow)
#include "tst_files_flow.moc"
