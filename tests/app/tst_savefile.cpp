// Saving the store with Save As (refusals, names, dialog loop, failed writes,
// the progress window) and loading a data file (messages, captions, menu
// state). The progress steps and texts are pinned by core_filesave.

#include "SampleFile.h"
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
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const char *const saveMenus[] = {"mnuAbout", "mnuAnalyse", "mnuPort", "mnuSave_As", "mnuQuitter"};

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

} // namespace

class TestSaveFile : public WindowTest
{
    Q_OBJECT
    QStringList m_opened;

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
        registerViewStubs(&m_opened);
        openMain(false);
    }
    void init()
    {
        for (const char *name : saveMenus)
            m_main->menuEntry(QString::fromLatin1(name))->setEnabled(true);
        m_main->setWindowTitle(frmMain::DesignCaption);
    }

    void save_data() { addDataRows(QStringLiteral("rows/save_file.txt"), QStringLiteral("save")); }

    // Either the file replaces the old, larger one with the store's bytes and
    // the progress window plays; or nothing is written: the old file and its
    // folder stay as they were. The names proposed and the messages are in
    // windows/savefile.txt.
    void save()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt();
        const QStringList answers = items(c[3]);
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.kvl"));
        const QByteArray oldBytes(2'000'000, 'x');
        writeFile(old, oldBytes);
        Store &store = appStore();
        store = Store();
        store.Device_Version = qint16(version);
        fillLeq(store.Leq_Records, {"05/03/08 12:30 85 10", "20/03/08 12:30 85 10", "12/04/08 12:30 85 10"});
        store.Param_Block[block::SerialFirst] = 42;
        store.Transfer_Date = QStringLiteral("13/04/2008");
        store.Transfer_Time = QStringLiteral("10:11:12");
        store.Data_Loaded = c[2] != QLatin1String("nothing loaded");
        if (c[2] == QLatin1String("no Leq row"))
            store.Leq_Records.fill(255);
        else if (c[2] == QLatin1String("download"))
            QVERIFY(kvlsim::downloadInto(store = Store(), version, 11, 4));
        MessageRecorder recorder;
        ScriptedDialogs dialogs;
        for (const QString &a : answers)
            dialogs.saveAnswers << (a == QLatin1String("-") ? QString() : dir.filePath(a));
        {
            FaultyTarget faulty(dir.filePath(answers.value(0, QStringLiteral("old.kvl"))), writeFault(c[4]));
            m_main->mnuSave_As_Click();
        }

        QStringList seen;
        for (int i = 0; i < dialogs.saveRequests.size(); ++i)
            seen << dialogs.saveRequests[i] + " | " + dialogs.saveFilters.value(i);
        seen << shown(recorder);
        const QString today = QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy"));
        KVL_COMPARE_REF("windows/savefile.txt", QStringLiteral("save ") + QTest::currentDataTag(),
                        seen.replaceInStrings(today, QStringLiteral("<today>"))
                            .replaceInStrings(dir.path(), QStringLiteral("<dir>")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("old.kvl")});
        auto *wait = qobject_cast<frmWait_Save *>(findForm(QStringLiteral("frmWait_Save")));
        if (c[5] != QLatin1String("written")) {
            QVERIFY(contents(old) == oldBytes);
            QVERIFY(menusEnabled(true));
            QVERIFY(!wait);
            return;
        }
        QVERIFY(contents(old) == buildDataFile(store, version));
        QVERIFY(wait);
        QVERIFY(menusEnabled(false));
        // The main window will not close while the save window is open.
        QVERIFY(!m_main->close());
        KVL_COMPARE_REF("windows/savefile.txt", "saving", windowTexts(wait));

        // The progress plays, the completion report stays 1.5 s, then the
        // window closes and the menus come back.
        qint64 now = 1000;
        wait->setClock([&now] { return now; });
        for (int guard = 0; !wait->progress().completed() && guard < 1000; ++guard)
            wait->poll();
        QVERIFY(wait->progress().completed());
        KVL_COMPARE_REF("windows/savefile.txt", "saved", windowTexts(wait));
        now += 1499;
        wait->poll();
        QVERIFY(openFlags().Open_frmWait_Save);
        QVERIFY(menusEnabled(false));
        now += 1;
        wait->poll();
        QVERIFY(!openFlags().Open_frmWait_Save);
        QVERIFY(menusEnabled(true));
    }

    void load_data() { addDataRows(QStringLiteral("rows/save_file.txt"), QStringLiteral("load")); }

    // The caption, the messages and what is loaded of each row are in windows/savefile.txt.
    void load()
    {
        QFETCH(QStringList, c);
        const int port = c[3].toInt();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("load.kvl"));
        if (c[1] == QLatin1String("text")) {
            writeFile(file, "hello world");
        } else if (c[1] != QLatin1String("missing")) {
            Store s;
            s.Transfer_Date = QStringLiteral("01/02/2009");
            s.Transfer_Time = QStringLiteral("03:04:05");
            QByteArray bytes = buildDataFile(s, c[1].toInt());
            if (!c[2].isEmpty())
                bytes.truncate(c[2].toInt());
            writeFile(file, bytes);
        }
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
