// Saving the store (refusals, names, dialog loop, the progress window) and
// loading a data file (messages, captions, menu state).

#include "TestSupport.h"
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

void setStamp(Store &s, int row, int day, int month, int year)
{
    const qint16 r[8] = {30, 12, qint16(day), 10, qint16(month), qint16(year), 85, 0};
    std::copy(r, r + 8, s.Leq_Records.row(row));
}

// A loaded version 5 store from 5 March 2008 to 12 April 2008.
void loadedStore(int version)
{
    Store &s = appStore();
    s = Store();
    s.Device_Version = qint16(version);
    s.Leq_Records.fill(255);
    setStamp(s, 1, 5, 3, 8);
    setStamp(s, 2, 20, 3, 8);
    setStamp(s, 3, 12, 4, 8);
    s.Param_Block[2360] = 42;
    s.Transfer_Date = QStringLiteral("13/04/2008");
    s.Transfer_Time = QStringLiteral("10:11:12");
    s.Data_Loaded = true;
}

frmWait_Save *waitWindow()
{
    return qobject_cast<frmWait_Save *>(findForm(QStringLiteral("frmWait_Save")));
}

QString labelText(QWidget *w, const char *name)
{
    auto *label = w->findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

} // namespace

class TestSaveFile : public QObject
{
    Q_OBJECT
private:
    frmMain *m_main = nullptr;
    QTemporaryDir m_dir;

    bool menusEnabled(bool enabled)
    {
        for (const char *name : saveMenus)
            if (m_main->menuEntry(QString::fromLatin1(name))->isEnabled() != enabled)
                return false;
        return true;
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        registerFilesForms();
        m_main = new frmMain(false);
        QVERIFY(m_dir.isValid());
    }
    void cleanupTestCase() { delete m_main; }
    void init()
    {
        for (const char *name : saveMenus)
            m_main->menuEntry(QString::fromLatin1(name))->setEnabled(true);
        m_main->setWindowTitle(frmMain::DesignCaption);
    }
    void cleanup()
    {
        Fermer_Fenetres();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void refusals_data();
    void refusals();
    void cancelWritesNothing();
    void emptyNameAsksAgain();
    void savesAndShowsProgress_data();
    void savesAndShowsProgress();
    void halfwayLabel();
    void failedWriteProposesBackupName();
    void replacesAnExistingFile();

    void loadOpenFailure();
    void loadMessages_data();
    void loadMessages();
};

void TestSaveFile::refusals_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("anyValidRow");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");

    QTest::newRow("nothing loaded") << false << true
                                    << QStringLiteral("Can you load the data to access this function !!!")
                                    << QStringLiteral("It is impossible to save data !!!")
                                    << int(MsgIcon::None);
    QTest::newRow("no valid Leq row")
        << true << false << QStringLiteral("It is impossible to save Data, No Leq Data in the memory !!!")
        << QStringLiteral("No Data in the memory!!!") << int(MsgIcon::Critical);
}

void TestSaveFile::refusals()
{
    QFETCH(bool, loaded);
    QFETCH(bool, anyValidRow);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(int, icon);

    loadedStore(5);
    appStore().Data_Loaded = loaded;
    if (!anyValidRow)
        appStore().Leq_Records.fill(255);
    MessageRecorder messages;
    ScriptedDialogs dialogs;
    dialogs.saveAnswers << path(QStringLiteral("refused.kvl"));
    Sauvegarde_Fichier(5, 8192);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, text);
    QCOMPARE(messages.messages[0].caption, caption);
    QCOMPARE(int(messages.messages[0].icon), icon);
    QVERIFY(dialogs.saveRequests.isEmpty());
    QVERIFY(!QFile::exists(path(QStringLiteral("refused.kvl"))));
    QVERIFY(menusEnabled(true));
    QVERIFY(!waitWindow());
}

void TestSaveFile::cancelWritesNothing()
{
    loadedStore(5);
    MessageRecorder messages;
    ScriptedDialogs dialogs; // no answer: cancel
    Sauvegarde_Fichier(5, 8192);
    QCOMPARE(dialogs.saveRequests,
             QStringList{QStringLiteral("KVL 24-2 Data from 05   March    2008 to 12   April   2008")});
    QCOMPARE(dialogs.saveFilters, QStringList{QStringLiteral("KVL 24-2 (*.kvl)|*.kvl")});
    QVERIFY(messages.messages.isEmpty());
    QVERIFY(menusEnabled(true));
    QVERIFY(!waitWindow());
}

void TestSaveFile::emptyNameAsksAgain()
{
    loadedStore(70);
    MessageRecorder messages;
    ScriptedDialogs dialogs;
    dialogs.saveAnswers << QString() << QString(); // then cancel
    Sauvegarde_Fichier(70, 8192);
    QCOMPARE(dialogs.saveRequests.size(), 3);
    QCOMPARE(dialogs.saveRequests[0],
             QStringLiteral("KVL 36 Data from 05   March    2008 to 12   April   2008"));
    QCOMPARE(dialogs.saveRequests[1], QString());
    QCOMPARE(dialogs.saveRequests[2], QString());
    QCOMPARE(dialogs.saveFilters[2], QStringLiteral("KVL 36 (*.kvl)|*.kvl"));
    QCOMPARE(messages.messages.size(), 2);
    QCOMPARE(messages.messages[1].text, QStringLiteral("Can you write a name for the saving, please !!!"));
    QCOMPARE(messages.messages[1].caption, QStringLiteral("It is impossible to save data !!!"));
    QCOMPARE(messages.messages[1].icon, MsgIcon::Critical);
    QVERIFY(menusEnabled(true));
}

void TestSaveFile::savesAndShowsProgress_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("rows");
    QTest::newRow("3") << 3 << 4096;
    QTest::newRow("4") << 4 << 8192;
    QTest::newRow("5") << 5 << 8192;
    QTest::newRow("70") << 70 << 8192;
}

void TestSaveFile::savesAndShowsProgress()
{
    QFETCH(int, version);
    QFETCH(int, rows);
    loadedStore(version);
    MessageRecorder messages;
    ScriptedDialogs dialogs;
    const QString file = path(QStringLiteral("saved_%1.kvl").arg(version));
    dialogs.saveAnswers << file;
    Sauvegarde_Fichier(version, rows);

    QVERIFY(messages.messages.isEmpty());
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == buildDataFile(appStore(), version));

    frmWait_Save *wait = waitWindow();
    QVERIFY(wait);
    QVERIFY(openFlags().Open_frmWait_Save);
    QVERIFY(menusEnabled(false));
    // The main window will not close while the save window is open.
    QVERIFY(!m_main->close());
    QCOMPARE(labelText(wait, "Label_Save_en_Cours"), QStringLiteral("Saving in progress ..."));
    QCOMPARE(labelText(wait, "Label_Patientez"), QStringLiteral("Can you wait a moment, please..."));
    QCOMPARE(labelText(wait, "Label_Progression"), QStringLiteral("Saving at 00%."));
    QVERIFY(!wait->findChild<QLabel *>(QStringLiteral("Picture_Good"))->isVisibleTo(wait));

    qint64 now = 1000;
    wait->setClock([&now] { return now; });
    QPointer<frmWait_Save> alive(wait);
    int guard = 0;
    while (!wait->progress().completed() && guard++ < 1000)
        wait->poll();
    QVERIFY(wait->progress().completed());
    auto *bar = wait->findChild<QProgressBar *>(QStringLiteral("ProgressBar_Save"));
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(labelText(wait, "Label_Save_en_Cours"), QString());
    QCOMPARE(labelText(wait, "Label_Patientez"), QStringLiteral("Backup Completed !!!"));
    QCOMPARE(labelText(wait, "Label_Progression"), QStringLiteral("Backup at 100%."));
    QVERIFY(wait->findChild<QLabel *>(QStringLiteral("Picture_Good"))->isVisibleTo(wait));

    // The report stays 1.5 s, then the window closes and the menus come back.
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

void TestSaveFile::halfwayLabel()
{
    auto *wait = new frmWait_Save(4);
    auto *bar = wait->findChild<QProgressBar *>(QStringLiteral("ProgressBar_Save"));
    QCOMPARE(bar->maximum(), 12608);
    wait->setProgressValue(6303);
    wait->Progression_Sauvegarde();
    QCOMPARE(bar->value(), 6304);
    QCOMPARE(labelText(wait, "Label_Progression"), QStringLiteral("Backup at 49%."));
    QCOMPARE(labelText(wait, "Label_Patientez"), QStringLiteral("Can you wait a moment, please..."));
    wait->close();
}

void TestSaveFile::failedWriteProposesBackupName()
{
    loadedStore(4);
    MessageRecorder messages;
    ScriptedDialogs dialogs;
    const QString bad = path(QStringLiteral("no such folder/data.kvl"));
    dialogs.saveAnswers << bad; // then cancel
    Sauvegarde_Fichier(4, 8192);
    QCOMPARE(dialogs.saveRequests.size(), 2);
    QCOMPARE(dialogs.saveRequests[1], QStringLiteral("KVL 24-2 Backup : ") +
                                          QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy")));
    QVERIFY(!QFile::exists(bad));
    QVERIFY(QDir(m_dir.path()).entryList(QDir::Files).filter(QStringLiteral("data")).isEmpty());
    QVERIFY(!waitWindow());
    QVERIFY(menusEnabled(true));
}

void TestSaveFile::replacesAnExistingFile()
{
    const QString file = path(QStringLiteral("existing.kvl"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2'000'000, 'x'));
    }
    loadedStore(3);
    MessageRecorder messages;
    ScriptedDialogs dialogs;
    dialogs.saveAnswers << file;
    Sauvegarde_Fichier(3, 4096);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == buildDataFile(appStore(), 3));
}

void TestSaveFile::loadOpenFailure()
{
    MessageRecorder messages;
    appStore().Data_Loaded = true;
    const QString missing = path(QStringLiteral("missing.kvl"));
    Lecture_Fichier(missing);
    QVERIFY(!appStore().Data_Loaded);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, QStringLiteral("It is impossible to open this file : ") + missing);
    QCOMPARE(messages.messages[0].caption, QStringLiteral("File Problem "));
    QCOMPARE(messages.messages[0].icon, MsgIcon::None);
    QCOMPARE(m_main->windowTitle(), frmMain::DesignCaption);
}

void TestSaveFile::loadMessages_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("text"); // empty: loads
    QTest::addColumn<QString>("title");

    Store s;
    s.Transfer_Date = QStringLiteral("01/02/2009");
    s.Transfer_Time = QStringLiteral("03:04:05");
    QTest::newRow("v4 loads") << buildDataFile(s, 4) << 3 << QString() << loadCaption(4, 3);
    QTest::newRow("v3 loads, no port") << buildDataFile(s, 3) << 0 << QString() << loadCaption(3, 0);
    QTest::newRow("not a data file") << QByteArray("hello world") << 2
                                     << QStringLiteral("It is not a KVL 24-2/36 file !!!!")
                                     << frmMain::DesignCaption;
    QTest::newRow("truncated v70") << buildDataFile(s, 70).left(100000) << 2
                                   << QStringLiteral("It is not a KVL 36 file !!!!") << loadCaption(70, 2);
}

void TestSaveFile::loadMessages()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, port);
    QFETCH(QString, text);
    QFETCH(QString, title);

    const QString file = path(QStringLiteral("load.kvl"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    appStore() = Store();
    appStore().Com_Port = qint16(port);
    appStore().Data_Loaded = true;
    m_main->menuEntry(QStringLiteral("mnuSave_As"))->setEnabled(true);
    MessageRecorder messages;
    Lecture_Fichier(file);

    QCOMPARE(m_main->windowTitle(), title);
    QVERIFY(!m_main->menuEntry(QStringLiteral("mnuSave_As"))->isEnabled());
    QCOMPARE(appStore().Com_Port, qint16(port));
    if (text.isEmpty()) {
        QVERIFY(appStore().Data_Loaded);
        QVERIFY(messages.messages.isEmpty());
        return;
    }
    QVERIFY(!appStore().Data_Loaded);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, text);
    QCOMPARE(messages.messages[0].icon, MsgIcon::Critical);
}

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
