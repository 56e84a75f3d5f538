// Saving the store (refusals, names, dialog loop, failed writes, the progress
// window) and loading a data file (messages, captions, menu state).

#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "WriteFaults.h"
#include "files/DataFile.h"
#include "files/DataFiles.h"
#include "files/frmWait_Save.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const char *const saveMenus[] = {"mnuAbout", "mnuAnalyse", "mnuPort", "mnuSave_As", "mnuQuitter"};

// A store of a version holding Leq rows from 5 March 2008 to 12 April 2008.
void loadedStore(int version)
{
    Store &s = appStore();
    s = Store();
    s.Device_Version = qint16(version);
    fillLeq(s.Leq_Records, {"05/03/08 12:30 85 10", "20/03/08 12:30 85 10", "12/04/08 12:30 85 10"});
    s.Param_Block[block::SerialFirst] = 42;
    s.Transfer_Date = QStringLiteral("13/04/2008");
    s.Transfer_Time = QStringLiteral("10:11:12");
    s.Data_Loaded = true;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

frmWait_Save *waitWindow()
{
    return qobject_cast<frmWait_Save *>(findForm(QStringLiteral("frmWait_Save")));
}

} // namespace

class TestSaveFile : public WindowTest
{
    Q_OBJECT

    bool menusEnabled(bool enabled)
    {
        for (const char *name : saveMenus)
            if (m_main->menuEntry(QString::fromLatin1(name))->isEnabled() != enabled)
                return false;
        return true;
    }

private slots:
    void initTestCase()
    {
        registerFilesForms();
        openMain(false);
    }
    void init()
    {
        for (const char *name : saveMenus)
            m_main->menuEntry(QString::fromLatin1(name))->setEnabled(true);
        m_main->setWindowTitle(frmMain::DesignCaption);
    }

    void saveWithoutWriting_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("store");           // 0 nothing loaded, 1 no valid Leq row, 2 loaded
        QTest::addColumn<QStringList>("answers"); // names in a folder holding "old.kvl"; then cancel
        QTest::addColumn<QString>("fault");       // how writing the first name fails
        // The names proposed, each with its filter, then the messages of each row
        // are in tests/data/windows/savefile.txt.
        const QStringList old{QStringLiteral("old.kvl")};
        QTest::newRow("nothing loaded") << 5 << 0 << old << "none";
        QTest::newRow("no valid Leq row") << 5 << 1 << old << "none";
        QTest::newRow("cancel") << 5 << 2 << QStringList() << "none";
        QTest::newRow("empty name asks again") << 70 << 2 << QStringList{QString(), QString()} << "none";
        QTest::newRow("missing folder, backup name proposed")
            << 4 << 2 << QStringList{QStringLiteral("no such folder/data.kvl")} << "none";
        QTest::newRow("full disk keeps the old file") << 3 << 2 << old << "size limit";
        QTest::newRow("read-only folder keeps the old file") << 5 << 2 << old << "read-only folder";
        QTest::newRow("read-only file is kept") << 70 << 2 << old << "read-only file";
    }

    // Nothing is written: the old file and its folder stay as they were.
    void saveWithoutWriting()
    {
        QFETCH(int, version);
        QFETCH(int, store);
        QFETCH(QStringList, answers);
        QFETCH(QString, fault);

        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.kvl"));
        writeFile(old, "old contents");
        loadedStore(version);
        appStore().Data_Loaded = store > 0;
        if (store == 1)
            appStore().Leq_Records.fill(255);
        MessageRecorder recorder;
        ScriptedDialogs dialogs;
        for (const QString &a : answers)
            dialogs.saveAnswers << (a.isEmpty() ? a : dir.filePath(a));
        {
            FaultyTarget faulty(dir.filePath(answers.value(0, QStringLiteral("old.kvl"))), writeFault(fault));
            Sauvegarde_Fichier(version, leqRows(version));
        }

        QStringList seen;
        for (int i = 0; i < dialogs.saveRequests.size(); ++i)
            seen << dialogs.saveRequests[i] + " | " + dialogs.saveFilters.value(i);
        seen << shown(recorder);
        const QString today = QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy"));
        KVL_COMPARE_REF("windows/savefile.txt", QStringLiteral("save ") + QTest::currentDataTag(),
                        seen.replaceInStrings(today, QStringLiteral("<today>"))
                            .replaceInStrings(dir.path(), QStringLiteral("<dir>")));
        QCOMPARE(contents(old), QByteArray("old contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("old.kvl")});
        QVERIFY(menusEnabled(true));
        QVERIFY(!waitWindow());
    }

    void savesAndShowsProgress_data()
    {
        QTest::addColumn<int>("version");
        for (int v : {3, 4, 5, 70})
            QTest::addRow("v%d", v) << v;
    }

    // The file replaces a larger one; then the window plays the progress, holds
    // the completion report for 1.5 s and closes, and the menus come back.
    void savesAndShowsProgress()
    {
        QFETCH(int, version);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("old.kvl"));
        writeFile(file, QByteArray(2'000'000, 'x'));
        loadedStore(version);
        MessageRecorder recorder;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers << file;
        Sauvegarde_Fichier(version, leqRows(version));

        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(contents(file) == buildDataFile(appStore(), version));
        frmWait_Save *wait = waitWindow();
        QVERIFY(wait);
        QVERIFY(menusEnabled(false));
        // The main window will not close while the save window is open.
        QVERIFY(!m_main->close());
        KVL_COMPARE_REF("windows/savefile.txt", "saving", windowTexts(wait));

        qint64 now = 1000;
        wait->setClock([&now] { return now; });
        QPointer<frmWait_Save> alive(wait);
        for (int guard = 0; !wait->progress().completed() && guard < 1000; ++guard)
            wait->poll();
        QVERIFY(wait->progress().completed());
        auto *bar = wait->findChild<QProgressBar *>(QStringLiteral("ProgressBar_Save"));
        QCOMPARE(bar->value(), bar->maximum());
        KVL_COMPARE_REF("windows/savefile.txt", "saved", windowTexts(wait));

        now += 1499;
        wait->poll();
        QVERIFY(openFlags().Open_frmWait_Save);
        QVERIFY(menusEnabled(false));
        now += 1;
        wait->poll();
        QVERIFY(!openFlags().Open_frmWait_Save);
        QVERIFY(menusEnabled(true));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
    }

    // One step from a value; the percentage is cut, not rounded.
    void progressLabel_data()
    {
        addDataRows(QStringLiteral("files/saveprogress.txt"), QStringLiteral("labels"));
    }
    void progressLabel()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), before = c[2].toInt(), maximum = c[3].toInt();
        const QString text = c[4];
        auto *wait = new frmWait_Save(version);
        auto *bar = wait->findChild<QProgressBar *>(QStringLiteral("ProgressBar_Save"));
        QCOMPARE(bar->maximum(), maximum);
        wait->setProgressValue(before);
        wait->Progression_Sauvegarde();
        QCOMPARE(bar->value(), before + 1);
        QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("Label_Progression"))->text(), text);
        wait->close();
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no such file
        QTest::addColumn<int>("port");
        // The caption, the messages and what is loaded of each row are in tests/data/windows/savefile.txt.
        Store s;
        s.Transfer_Date = QStringLiteral("01/02/2009");
        s.Transfer_Time = QStringLiteral("03:04:05");
        QTest::newRow("missing file") << QByteArray() << 2;
        QTest::newRow("v3 COM 2") << buildDataFile(s, 3) << 2;
        QTest::newRow("v4 COM 16") << buildDataFile(s, 4) << 16;
        QTest::newRow("v5 no port") << buildDataFile(s, 5) << 0;
        QTest::newRow("truncated v70 COM 1") << buildDataFile(s, 70).left(100000) << 1;
        QTest::newRow("not a data file") << QByteArray("hello world") << 2;
    }

    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, port);

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("load.kvl"));
        if (!bytes.isNull())
            writeFile(file, bytes);
        appStore() = Store();
        appStore().Com_Port = qint16(port);
        appStore().Data_Loaded = true;
        MessageRecorder recorder;
        Lecture_Fichier(file);

        const auto yes = [](bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); };
        KVL_COMPARE_REF(
            "windows/savefile.txt", QStringLiteral("load ") + QTest::currentDataTag(),
            (QStringList{m_main->windowTitle(), shown(recorder).replace(file, QStringLiteral("<file>")),
                         "loaded: " + yes(appStore().Data_Loaded) + ", Save As: " +
                             yes(m_main->menuEntry(QStringLiteral("mnuSave_As"))->isEnabled())}));
        QCOMPARE(appStore().Com_Port, qint16(port));
    }
};

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
