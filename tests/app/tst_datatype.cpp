// The data source window: options per situation, and the OK driver for each
// source (file search and load, last data, transfer outcomes).

#include "TestSupport.h"
#include "files/DataFile.h"
#include "files/frmData_Type.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

QStringList g_opened;

// Stands in for the first window of a view.
class ViewStub : public Form
{
public:
    ViewStub(const QString &name, bool *flag) : Form(name, flag, true, Form::Dialog) { g_opened << name; }
};

template <typename T> T *child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QString::fromLatin1(name));
}

frmData_Type *openWindow()
{
    return qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type")));
}

// Chart defaults as "Leq day|Leq night|day-night hour|night-day hour|days".
QString chartDefaults()
{
    const Store &s = appStore();
    return QStringList{s.Default_Leq_Day, s.Default_Leq_Night, s.Default_Hour_Day_Night,
                       s.Default_Hour_Night_Day, s.Chart_Days_Text}
        .join('|');
}

} // namespace

class TestDataType : public QObject
{
    Q_OBJECT
private:
    frmMain *m_main = nullptr;

private slots:
    void initTestCase()
    {
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
    }
    void cleanupTestCase()
    {
        setTransferStarter({});
        delete m_main;
    }
    void init()
    {
        g_opened.clear();
        appStore() = Store();
        appStore().Chart_Days_Text = QStringLiteral("7");
    }
    void cleanup()
    {
        Fermer_Fenetres();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void optionsPerSituation_data();
    void optionsPerSituation();
    void savedData_data();
    void savedData();
    void lastData_data();
    void lastData();
    void transferOutcome_data();
    void transferOutcome();
};

void TestDataType::optionsPerSituation_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("enabled"); // L = last data, S = saved data, T = transfer
    QTest::addColumn<QString>("checked");

    auto row = [](const char *name, int port, bool loaded, const char *enabled, const char *checked) {
        QTest::newRow(name) << port << loaded << QString::fromLatin1(enabled) << QString::fromLatin1(checked);
    };
    row("no port, nothing loaded", 0, false, "S", "S");
    row("port, nothing loaded", 3, false, "ST", "");
    row("no port, data loaded", 0, true, "LS", "L");
    row("port, data loaded", 16, true, "LST", "L");
}

void TestDataType::optionsPerSituation()
{
    QFETCH(int, port);
    QFETCH(bool, loaded);
    QFETCH(QString, enabled);
    QFETCH(QString, checked);

    appStore().Com_Port = qint16(port);
    appStore().Data_Loaded = loaded;
    appStore().Requested_View = QStringLiteral("Tableau Evénements");
    frmData_Type *w = openWindow();
    QVERIFY(w);
    QVERIFY(openFlags().Open_frmData_Type);
    QCOMPARE(w->windowTitle(), QStringLiteral("Analysis Data"));
    QCOMPARE(child<QGroupBox>(w, "Frame1")->title(),
             QStringLiteral("Select the typical data for the Tableau Evénements"));
    const std::tuple<char, const char *, const char *> options[] = {
        {'L', "Option_Last_Data", "Last Data used"},
        {'S', "Option_New_Save", "Saved Data"},
        {'T', "Option_New_Transfert", "New Data  (KVL 24/36 data transfer)"}};
    for (const auto &[letter, name, text] : options) {
        auto *radio = child<QRadioButton>(w, name);
        QVERIFY(radio);
        QCOMPARE(radio->text(), QString::fromLatin1(text));
        QCOMPARE(radio->isEnabled(), enabled.contains(QLatin1Char(letter)));
        QCOMPARE(radio->isChecked(), checked.contains(QLatin1Char(letter)));
    }
    QCOMPARE(child<QPushButton>(w, "Cmd_Annuler")->text(), QStringLiteral("Cancel"));
    // OK waits for a choice.
    QCOMPARE(child<QPushButton>(w, "Cmd_Ok")->isEnabled(), !checked.isEmpty());
    QVERIFY(child<QLineEdit>(w, "Text_Save_Data")->text().isEmpty());
}

void TestDataType::savedData_data()
{
    QTest::addColumn<QString>("answer");   // a name in the test folder; empty = cancel
    QTest::addColumn<QByteArray>("bytes"); // written there unless null
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("shownName"); // the file name shown; the path kept is in the folder
    QTest::addColumn<QString>("messages");  // %1: the path kept
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("chart");

    // Its chart defaults: Leq day 105, night 95, 22 h, 7 h.
    Store s;
    s.Param_Block.fill(255);
    using namespace block;
    for (auto [i, v] : {std::pair{LeqDay, 1},
                        {LeqDay + 1, 5},
                        {LeqNight, 0},
                        {LeqNight + 1, 95},
                        {HourDayNight, 22},
                        {HourNightDay, 7}})
        s.Param_Block[i] = qint16(v);
    for (int i = 0; i < RawCopyCount; ++i)
        s.Param_Raw[i] = s.Param_Block[RawCopyFirst + i];
    const char *chart = "105|95|22|7|1", *kept = "||||7";
    const QString good = QStringLiteral("March 2008.kvl"), none;
    const QString leq = QStringLiteral("Graphique Leq"), params = QStringLiteral("Tableau Paramètres");
    const QString noFile = msg("Please, Select a . kvl file !!!", "No file selected", MsgIcon::Exclamation);
    auto row = [](const char *name, const QString &answer, const QByteArray &bytes, const QString &view,
                  const QString &shownName, const QString &messages, const char *opened,
                  const char *defaults) {
        QTest::newRow(name) << answer << bytes << view << shownName << messages << QString::fromLatin1(opened)
                            << QString::fromLatin1(defaults);
    };

    row("Leq chart v3", good, buildDataFile(s, 3), leq, good, none, "frmInGraphique", chart);
    row("Leq chart v4", good, buildDataFile(s, 4), leq, good, none, "frmInGraphique", chart);
    row("Leq table v5", good, buildDataFile(s, 5), QStringLiteral("Tableau Leq"), good, none, "frmInTableau",
        kept);
    row("events v70", good, buildDataFile(s, 70), QStringLiteral("Tableau Evénements"), good, none,
        "frmInTableau", kept);
    row("parameters v4", good, buildDataFile(s, 4), params, good, none, "frmParametres_v4", kept);
    row("upper-case KVL refused", QStringLiteral("old.KVL"), buildDataFile(s, 5), params, none, noFile, "",
        kept);
    row("other extension refused", QStringLiteral("notes.txt"), QByteArray(), params, none, noFile, "", kept);
    row("cancel keeps the earlier file", none, QByteArray(), params, QStringLiteral("earlier.kvl"),
        msg("It is impossible to open this file : %1", "File Problem ", MsgIcon::None), "", kept);
    row("failed load keeps the window open", QStringLiteral("broken.kvl"),
        QByteArray("KVL_24-2_Data_for_Version_5!!!\r\n 1 2"), params, QStringLiteral("broken.kvl"),
        msg("It is not a KVL 24-2 file !!!!", "It is impossible to read file data", MsgIcon::Critical), "",
        kept);
}

// A file chosen earlier ("earlier.kvl", not there), then the row's answer, then OK.
void TestDataType::savedData()
{
    QFETCH(QString, answer);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, view);
    QFETCH(QString, shownName);
    QFETCH(QString, messages);
    QFETCH(QString, opened);
    QFETCH(QString, chart);

    QTemporaryDir dir;
    if (!bytes.isNull()) {
        QFile f(dir.filePath(answer));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    appStore().Com_Port = 2; // nothing preselected
    appStore().Requested_View = view;
    MessageRecorder recorder;
    ScriptedDialogs dialogs;
    dialogs.openAnswers << dir.filePath(QStringLiteral("earlier.kvl"));
    if (!answer.isEmpty())
        dialogs.openAnswers << dir.filePath(answer);
    frmData_Type *w = openWindow();
    QPointer<frmData_Type> alive(w);
    w->Cmd_Search_Click();
    w->Cmd_Search_Click();
    QCOMPARE(dialogs.openRequests.size(), 2);
    QCOMPARE(dialogs.openRequests[1], QStringLiteral("|KVL 24-2 save (*.kvl)|*.kvl"));
    QVERIFY(child<QRadioButton>(w, "Option_New_Save")->isChecked());
    QVERIFY(child<QPushButton>(w, "Cmd_Ok")->isEnabled());
    QCOMPARE(child<QLineEdit>(w, "Text_Save_Data")->text(), shownName);
    const QString kept = shownName.isEmpty() ? QString() : dir.filePath(shownName);
    QCOMPARE(appStore().Data_File_Path, kept);

    w->Cmd_Ok_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(shown(recorder), messages.replace(QStringLiteral("%1"), kept));
    QCOMPARE(g_opened.join(','), opened);
    QCOMPARE(appStore().Data_Loaded, !opened.isEmpty());
    // After a failure the user may pick another file.
    QCOMPARE(openFlags().Open_frmData_Type, opened.isEmpty());
    QCOMPARE(!alive.isNull() && alive->isVisible(), opened.isEmpty());
    QCOMPARE(chartDefaults(), chart);
}

void TestDataType::lastData_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("chart");

    const QString leq = QStringLiteral("Graphique Leq");
    QTest::newRow("Leq chart v4") << leq << 4 << false << "frmInGraphique" << QString() << "99|0|0|0|1";
    QTest::newRow("Leq chart v5") << leq << 5 << false << "frmInGraphique_v5" << QString() << "99|0|0|0|1";
    QTest::newRow("double click confirms")
        << QStringLiteral("Tableau Evénements") << 5 << true << "frmInTableau" << QString() << "||||7";
}

// The data in the store is used as it is: no file dialog, no load.
void TestDataType::lastData()
{
    QFETCH(QString, view);
    QFETCH(int, version);
    QFETCH(bool, doubleClick);
    QFETCH(QString, opened);
    QFETCH(QString, messages);
    QFETCH(QString, chart);

    ScriptedDialogs dialogs;
    MessageRecorder recorder;
    Store &s = appStore();
    s.Data_Loaded = true;
    s.Device_Version = qint16(version);
    s.Requested_View = view;
    s.Param_Block[block::LeqDay] = 0;
    s.Param_Block[block::LeqDay + 1] = 99;
    s.Data_File_Path = QStringLiteral("/nowhere.kvl");
    frmData_Type *w = openWindow();
    if (doubleClick) {
        QTest::mouseDClick(child<QRadioButton>(w, "Option_Last_Data"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(w, QEvent::MetaCall);
    } else {
        w->Cmd_Ok_Click();
    }
    QCOMPARE(g_opened.join(','), opened);
    QCOMPARE(shown(recorder), messages);
    QVERIFY(dialogs.openRequests.isEmpty());
    QVERIFY(s.Data_Loaded);
    QVERIFY(!openFlags().Open_frmData_Type);
    QCOMPARE(chartDefaults(), chart);
}

void TestDataType::transferOutcome_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message"); // empty: success

    auto timeout = [](const char *code, const char *caption) {
        return msg(QStringLiteral("Error %1 - See analysis software.").arg(QLatin1String(code)),
                   QString::fromLatin1(caption), MsgIcon::Critical);
    };
    QTest::newRow("cancelled") << true << 0
                               << msg("Data download impossible !!! ", "Data download interrupt !!!",
                                      MsgIcon::Critical);
    QTest::newRow("code 1") << true << 1 << timeout("04", "Transmit error (Error 04)");
    QTest::newRow("code 2") << true << 2 << timeout("03", "Transmit error(Error 03)");
    QTest::newRow("code 3") << true << 3 << timeout("01", "Transmit error (Error 01)");
    QTest::newRow("code 4") << true << 4 << timeout("02", "Transmit error(Error 02)");
    QTest::newRow("success after three attempts") << false << 3 << QString();
}

void TestDataType::transferOutcome()
{
    QFETCH(bool, cancel);
    QFETCH(int, error);
    QFETCH(QString, message);

    Store &s = appStore();
    s.Com_Port = 1;
    s.Device_Version = 5;
    s.Requested_View = QStringLiteral("Tableau Paramètres");
    QAction *saveAs = m_main->menuEntry(QStringLiteral("mnuSave_As"));
    saveAs->setEnabled(true);
    std::function<void()> finish;
    setTransferStarter([&finish](std::function<void()> done) { finish = std::move(done); });

    MessageRecorder recorder;
    frmData_Type *w = openWindow();
    child<QRadioButton>(w, "Option_New_Transfert")->click();
    QVERIFY(child<QPushButton>(w, "Cmd_Ok")->isEnabled());
    w->Cmd_Ok_Click();
    QVERIFY(!w->isVisible()); // hidden during the download
    QVERIFY(openFlags().Open_frmData_Type);
    QVERIFY(finish);

    s.Cancel_Flag = cancel;
    s.Transfer_Error = qint16(error);
    s.Data_Loaded = true;
    for (int i = 0; i < 8; ++i)
        s.Param_Block[block::SerialFirst + i] = qint16(i + 1);
    finish();
    setTransferStarter({});

    QVERIFY(!openFlags().Open_frmData_Type);
    QCOMPARE(shown(recorder), message);
    // A cancel by the user leaves nothing to use or save.
    const bool cleared = cancel && error == 0;
    QCOMPARE(s.Data_Loaded, !cleared);
    QCOMPARE(saveAs->isEnabled(), !cleared);
    if (cancel) {
        QVERIFY(g_opened.isEmpty());
    } else {
        QCOMPARE(g_opened, QStringList{QStringLiteral("frmParametres_v4")});
        QCOMPARE(s.Serial_Number, QStringLiteral("12345678"));
    }
}

QTEST_MAIN(TestDataType)
#include "tst_datatype.moc"
