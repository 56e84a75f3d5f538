// Saving the store (refusals, names, dialog loop, failed writes, the progress
// window) and loading a data file (messages, captions, menu state).

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

#include <csignal>
#include <optional>
#include <sys/resource.h>

using namespace kvl;
using namespace kvl::test;

namespace {

const char *const saveMenus[] = {"mnuAbout", "mnuAnalyse", "mnuPort", "mnuSave_As", "mnuQuitter"};
const QString name24 = QStringLiteral("KVL 24-2 Data from 05   March    2008 to 12   April   2008");

// A store of a version holding Leq rows from 5 March 2008 to 12 April 2008.
void loadedStore(int version)
{
    Store &s = appStore();
    s = Store();
    s.Device_Version = qint16(version);
    s.Leq_Records.fill(255);
    const int days[3][2] = {{5, 3}, {20, 3}, {12, 4}};
    for (int r = 0; r < 3; ++r) {
        const qint16 row[8] = {30, 12, qint16(days[r][0]), 10, qint16(days[r][1]), 8, 85, 0};
        std::copy(row, row + 8, s.Leq_Records.row(r + 1));
    }
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

// Files written past a size fail with EFBIG instead of raising SIGXFSZ.
struct FileSizeLimit
{
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limit{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

frmWait_Save *waitWindow()
{
    return qobject_cast<frmWait_Save *>(findForm(QStringLiteral("frmWait_Save")));
}

// The three texts of the save window, "saving|wait|progression".
QString labels(QWidget *w)
{
    QStringList out;
    for (const char *name : {"Label_Save_en_Cours", "Label_Patientez", "Label_Progression"}) {
        auto *label = w->findChild<QLabel *>(QString::fromLatin1(name));
        out << (label ? label->text() : QStringLiteral("<missing>"));
    }
    return out.join('|');
}

} // namespace

class TestSaveFile : public QObject
{
    Q_OBJECT
private:
    frmMain *m_main = nullptr;

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
        m_main = new frmMain(false);
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

    void saveWithoutWriting_data();
    void saveWithoutWriting();
    void savesAndShowsProgress_data();
    void savesAndShowsProgress();
    void progressLabel_data();
    void progressLabel();
    void load_data();
    void load();
};

void TestSaveFile::saveWithoutWriting_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("store");           // 0 nothing loaded, 1 no valid Leq row, 2 loaded
    QTest::addColumn<QStringList>("answers"); // names in a folder holding "old.kvl"; then cancel
    QTest::addColumn<bool>("limitSize");      // writes fail past 4 KiB
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QString>("messages");

    const QString refused = QStringLiteral("It is impossible to save data !!!");
    const QString backup = "KVL 24-2 Backup : " + QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy"));
    const QString noName = msg("Can you write a name for the saving, please !!!", refused, MsgIcon::Critical);
    const QStringList old{QStringLiteral("old.kvl")};
    const QString none;

    QTest::newRow("nothing loaded") << 5 << 0 << old << false << QStringList()
                                    << msg("Can you load the data to access this function !!!", refused,
                                           MsgIcon::None);
    QTest::newRow("no valid Leq row") << 5 << 1 << old << false << QStringList()
                                      << msg("It is impossible to save Data, No Leq Data in the memory !!!",
                                             "No Data in the memory!!!", MsgIcon::Critical);
    QTest::newRow("cancel") << 5 << 2 << QStringList() << false << QStringList{name24} << none;
    QTest::newRow("empty name asks again")
        << 70 << 2 << QStringList{QString(), QString()} << false
        << QStringList{QStringLiteral("KVL 36 Data from 05   March    2008 to 12   April   2008"), QString(),
                       QString()}
        << noName + '\n' + noName;
    QTest::newRow("missing folder, backup name proposed")
        << 4 << 2 << QStringList{QStringLiteral("no such folder/data.kvl")} << false
        << QStringList{name24, backup} << none;
    QTest::newRow("failed write keeps the old file")
        << 3 << 2 << old << true << QStringList{name24, backup} << none;
}

// Nothing is written: the old file and its folder stay as they were.
void TestSaveFile::saveWithoutWriting()
{
    QFETCH(int, version);
    QFETCH(int, store);
    QFETCH(QStringList, answers);
    QFETCH(bool, limitSize);
    QFETCH(QStringList, requests);
    QFETCH(QString, messages);

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
        std::optional<FileSizeLimit> limit;
        if (limitSize)
            limit.emplace(4 * 1024);
        Sauvegarde_Fichier(version, leqRows(version));
    }

    QCOMPARE(shown(recorder), messages);
    QCOMPARE(dialogs.saveRequests, requests);
    const QString filter =
        QString::fromLatin1(version == 70 ? "KVL 36 (*.kvl)|*.kvl" : "KVL 24-2 (*.kvl)|*.kvl");
    QCOMPARE(dialogs.saveFilters, QStringList(requests.size(), filter));
    QCOMPARE(contents(old), QByteArray("old contents"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("old.kvl")});
    QVERIFY(menusEnabled(true));
    QVERIFY(!waitWindow());
}

void TestSaveFile::savesAndShowsProgress_data()
{
    QTest::addColumn<int>("version");
    for (int v : {3, 4, 5, 70})
        QTest::addRow("v%d", v) << v;
}

// The file replaces a larger one; then the window plays the progress, holds
// the completion report for 1.5 s and closes, and the menus come back.
void TestSaveFile::savesAndShowsProgress()
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
    QCOMPARE(labels(wait),
             QStringLiteral("Saving in progress ...|Can you wait a moment, please...|Saving at 00%."));
    auto *good = wait->findChild<QLabel *>(QStringLiteral("Picture_Good"));
    QVERIFY(!good->isVisibleTo(wait));

    qint64 now = 1000;
    wait->setClock([&now] { return now; });
    QPointer<frmWait_Save> alive(wait);
    for (int guard = 0; !wait->progress().completed() && guard < 1000; ++guard)
        wait->poll();
    QVERIFY(wait->progress().completed());
    auto *bar = wait->findChild<QProgressBar *>(QStringLiteral("ProgressBar_Save"));
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(labels(wait), QStringLiteral("|Backup Completed !!!|Backup at 100%."));
    QVERIFY(good->isVisibleTo(wait));

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
void TestSaveFile::progressLabel_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("text");
    QTest::newRow("v4 halfway is cut to 49") << 4 << 6303 << 12608 << QStringLiteral("Backup at 49%.");
    QTest::newRow("first step v5") << 5 << 0 << 16700 << QStringLiteral("Backup at 0%.");
    QTest::newRow("one below the end v70") << 70 << 16698 << 16700 << QStringLiteral("Backup at 99%.");
    QTest::newRow("v3 1%") << 3 << 85 << 8512 << QStringLiteral("Backup at 1%.");
}

void TestSaveFile::progressLabel()
{
    QFETCH(int, version);
    QFETCH(int, before);
    QFETCH(int, maximum);
    QFETCH(QString, text);
    auto *wait = new frmWait_Save(version);
    auto *bar = wait->findChild<QProgressBar *>(QStringLiteral("ProgressBar_Save"));
    QCOMPARE(bar->maximum(), maximum);
    wait->setProgressValue(before);
    wait->Progression_Sauvegarde();
    QCOMPARE(bar->value(), before + 1);
    QCOMPARE(labels(wait), "Saving in progress ...|Can you wait a moment, please...|" + text);
    wait->close();
}

void TestSaveFile::load_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no such file
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("saveMenu");
    // The caption and messages of each row are in tests/data/windows/savefile.txt.
    Store s;
    s.Transfer_Date = QStringLiteral("01/02/2009");
    s.Transfer_Time = QStringLiteral("03:04:05");
    QTest::newRow("missing file") << QByteArray() << 2 << false << true;
    QTest::newRow("v3 COM 2") << buildDataFile(s, 3) << 2 << true << false;
    QTest::newRow("v4 COM 16") << buildDataFile(s, 4) << 16 << true << false;
    QTest::newRow("v5 no port") << buildDataFile(s, 5) << 0 << true << false;
    QTest::newRow("truncated v70 COM 1") << buildDataFile(s, 70).left(100000) << 1 << false << false;
    QTest::newRow("not a data file") << QByteArray("hello world") << 2 << false << false;
}

void TestSaveFile::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, port);
    QFETCH(bool, loaded);
    QFETCH(bool, saveMenu);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("load.kvl"));
    if (!bytes.isNull())
        writeFile(file, bytes);
    appStore() = Store();
    appStore().Com_Port = qint16(port);
    appStore().Data_Loaded = true;
    MessageRecorder recorder;
    Lecture_Fichier(file);

    KVL_COMPARE_REF(
        "windows/savefile.txt", QStringLiteral("load ") + QTest::currentDataTag(),
        (QStringList{m_main->windowTitle(), shown(recorder).replace(file, QStringLiteral("<file>"))}));
    QCOMPARE(m_main->menuEntry(QStringLiteral("mnuSave_As"))->isEnabled(), saveMenu);
    QCOMPARE(appStore().Data_Loaded, loaded);
    QCOMPARE(appStore().Com_Port, qint16(port));
}

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
