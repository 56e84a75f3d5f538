// The data source window: options per situation, the file search, and the
// OK driver for each source (views, messages, transfer outcomes).

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

struct TransferResult
{
    bool cancel;
    int error;
    bool loaded;
};

} // namespace

class TestDataType : public QObject
{
    Q_OBJECT
private:
    frmMain *m_main = nullptr;
    QTemporaryDir m_dir;

    frmData_Type *open() { return qobject_cast<frmData_Type *>(openForm(QStringLiteral("frmData_Type"))); }
    template <typename T> T *child(QWidget *w, const char *name)
    {
        return w->findChild<T *>(QString::fromLatin1(name));
    }
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString p = m_dir.filePath(name);
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return p;
    }

private slots:
    void initTestCase()
    {
        registerFilesForms();
        // "frmInGraphique_v5" stays unregistered: a view not built yet.
        const std::pair<const char *, bool OpenFlags::*> views[] = {
            {"frmInGraphique", &OpenFlags::Open_frmInGraphique},
            {"frmInTableau", &OpenFlags::Open_frmInTableau},
            {"frmParametres_v4", &OpenFlags::Open_frmParametres_v4},
        };
        for (const auto &v : views) {
            const QString name = QString::fromLatin1(v.first);
            bool *flag = &(openFlags().*(v.second));
            registerForm(name, [name, flag] { return new ViewStub(name, flag); });
        }
        m_main = new frmMain(false);
        QVERIFY(m_dir.isValid());
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
        appStore().Requested_View = QStringLiteral("Tableau Leq");
    }
    void cleanup()
    {
        Fermer_Fenetres();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void optionsPerSituation_data();
    void optionsPerSituation();
    void search_data();
    void search();
    void okWithoutFile();
    void failedLoadKeepsWindowOpen();
    void savedDataOpensView_data();
    void savedDataOpensView();
    void lastDataOpensViewWithoutLoading();
    void viewNotAvailable();
    void doubleClickConfirms();
    void transferOutcome_data();
    void transferOutcome();
};

void TestDataType::optionsPerSituation_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("enabled"); // L = last data, S = saved data, T = transfer
    QTest::addColumn<QString>("checked");
    QTest::addColumn<bool>("okEnabled");

    QTest::newRow("no port, nothing loaded") << 0 << false << "S"
                                             << "S" << true;
    QTest::newRow("port, nothing loaded") << 3 << false << "ST"
                                          << "" << false;
    QTest::newRow("no port, data loaded") << 0 << true << "LS"
                                          << "L" << true;
    QTest::newRow("port, data loaded") << 16 << true << "LST"
                                       << "L" << true;
}

void TestDataType::optionsPerSituation()
{
    QFETCH(int, port);
    QFETCH(bool, loaded);
    QFETCH(QString, enabled);
    QFETCH(QString, checked);
    QFETCH(bool, okEnabled);

    appStore().Com_Port = qint16(port);
    appStore().Data_Loaded = loaded;
    appStore().Requested_View = QStringLiteral("Tableau Evénements");
    frmData_Type *w = open();
    QVERIFY(w);
    QVERIFY(openFlags().Open_frmData_Type);
    QCOMPARE(w->windowTitle(), QStringLiteral("Analysis Data"));
    QCOMPARE(child<QGroupBox>(w, "Frame1")->title(),
             QStringLiteral("Select the typical data for the Tableau Evénements"));
    const std::pair<QChar, const char *> options[] = {{QLatin1Char('L'), "Option_Last_Data"},
                                                      {QLatin1Char('S'), "Option_New_Save"},
                                                      {QLatin1Char('T'), "Option_New_Transfert"}};
    for (const auto &o : options) {
        auto *radio = child<QRadioButton>(w, o.second);
        QVERIFY(radio);
        QCOMPARE(radio->isEnabled(), enabled.contains(o.first));
        QCOMPARE(radio->isChecked(), checked.contains(o.first));
    }
    QCOMPARE(child<QRadioButton>(w, "Option_Last_Data")->text(), QStringLiteral("Last Data used"));
    QCOMPARE(child<QRadioButton>(w, "Option_New_Save")->text(), QStringLiteral("Saved Data"));
    QCOMPARE(child<QRadioButton>(w, "Option_New_Transfert")->text(),
             QStringLiteral("New Data  (KVL 24/36 data transfer)"));
    QCOMPARE(child<QPushButton>(w, "Cmd_Annuler")->text(), QStringLiteral("Cancel"));
    QCOMPARE(child<QPushButton>(w, "Cmd_Ok")->isEnabled(), okEnabled);
    QVERIFY(child<QLineEdit>(w, "Text_Save_Data")->text().isEmpty());
}

void TestDataType::search_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("path");

    QTest::newRow("kvl file") << std::optional<QString>(QStringLiteral("/data/venue/March 2008.kvl"))
                              << QStringLiteral("March 2008.kvl")
                              << QStringLiteral("/data/venue/March 2008.kvl");
    QTest::newRow("upper-case KVL refused")
        << std::optional<QString>(QStringLiteral("/data/venue/old.KVL")) << QString() << QString();
    QTest::newRow("other extension refused")
        << std::optional<QString>(QStringLiteral("/data/venue/notes.txt")) << QString() << QString();
    QTest::newRow("cancel changes nothing")
        << std::optional<QString>() << QStringLiteral("earlier.kvl") << QStringLiteral("/x/earlier.kvl");
}

void TestDataType::search()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, shown);
    QFETCH(QString, path);

    appStore().Com_Port = 2; // nothing preselected
    frmData_Type *w = open();
    // A file chosen earlier.
    ScriptedDialogs dialogs;
    dialogs.openAnswers << QStringLiteral("/x/earlier.kvl") << answer;
    w->Cmd_Search_Click();
    w->Cmd_Search_Click();
    QCOMPARE(dialogs.openRequests.size(), 2);
    QCOMPARE(dialogs.openRequests[1], QStringLiteral("|KVL 24-2 save (*.kvl)|*.kvl"));
    QVERIFY(child<QRadioButton>(w, "Option_New_Save")->isChecked());
    QVERIFY(child<QPushButton>(w, "Cmd_Ok")->isEnabled());
    QCOMPARE(child<QLineEdit>(w, "Text_Save_Data")->text(), shown);
    QCOMPARE(appStore().Data_File_Path, path);
}

void TestDataType::okWithoutFile()
{
    MessageRecorder messages;
    frmData_Type *w = open();
    QVERIFY(child<QRadioButton>(w, "Option_New_Save")->isChecked());
    ScriptedDialogs dialogs;
    dialogs.openAnswers << QStringLiteral("/data/old.KVL");
    w->Cmd_Search_Click();
    w->Cmd_Ok_Click();
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, QStringLiteral("Please, Select a . kvl file !!!"));
    QCOMPARE(messages.messages[0].caption, QStringLiteral("No file selected"));
    QCOMPARE(messages.messages[0].icon, MsgIcon::Exclamation);
    QVERIFY(openFlags().Open_frmData_Type);
    QVERIFY(w->isVisible());
    QVERIFY(g_opened.isEmpty());
}

void TestDataType::failedLoadKeepsWindowOpen()
{
    MessageRecorder messages;
    frmData_Type *w = open();
    ScriptedDialogs dialogs;
    dialogs.openAnswers << writeFile(QStringLiteral("broken.kvl"),
                                     QByteArray("KVL_24-2_Data_for_Version_5!!!\r\n 1 2"));
    w->Cmd_Search_Click();
    w->Cmd_Ok_Click();
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, QStringLiteral("It is not a KVL 24-2 file !!!!"));
    QCOMPARE(messages.messages[0].caption, QStringLiteral("It is impossible to read file data"));
    QVERIFY(!appStore().Data_Loaded);
    QVERIFY(openFlags().Open_frmData_Type);
    QVERIFY(g_opened.isEmpty());
}

void TestDataType::savedDataOpensView_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("chartDefaults");

    QTest::newRow("Leq chart v3") << QStringLiteral("Graphique Leq") << 3 << QStringLiteral("frmInGraphique")
                                  << true;
    QTest::newRow("Leq chart v4") << QStringLiteral("Graphique Leq") << 4 << QStringLiteral("frmInGraphique")
                                  << true;
    QTest::newRow("Leq table v5") << QStringLiteral("Tableau Leq") << 5 << QStringLiteral("frmInTableau")
                                  << false;
    QTest::newRow("events v70") << QStringLiteral("Tableau Evénements") << 70
                                << QStringLiteral("frmInTableau") << false;
    QTest::newRow("parameters v4") << QStringLiteral("Tableau Paramètres") << 4
                                   << QStringLiteral("frmParametres_v4") << false;
}

void TestDataType::savedDataOpensView()
{
    QFETCH(QString, view);
    QFETCH(int, version);
    QFETCH(QString, window);
    QFETCH(bool, chartDefaults);

    Store saved;
    saved.Param_Block.fill(255);
    saved.Param_Block[2176] = 1;
    saved.Param_Block[2177] = 5;
    saved.Param_Block[2180] = 0;
    saved.Param_Block[2181] = 95;
    saved.Param_Block[2191] = 22;
    saved.Param_Block[2193] = 7;
    saved.Param_Raw.fill(255);
    for (int i = 0; i < 512; ++i)
        saved.Param_Raw[i] = saved.Param_Block[2048 + i];
    const QString file = writeFile(QStringLiteral("good.kvl"), buildDataFile(saved, version));

    appStore().Requested_View = view;
    appStore().Chart_Days_Text = QStringLiteral("7");
    MessageRecorder messages;
    frmData_Type *w = open();
    QPointer<frmData_Type> alive(w);
    ScriptedDialogs dialogs;
    dialogs.openAnswers << file;
    w->Cmd_Search_Click();
    w->Cmd_Ok_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(messages.messages.isEmpty());
    QVERIFY(appStore().Data_Loaded);
    QCOMPARE(appStore().Device_Version, qint16(version));
    QCOMPARE(g_opened, QStringList{window});
    QVERIFY(!alive);
    QVERIFY(!openFlags().Open_frmData_Type);
    if (chartDefaults) {
        QCOMPARE(appStore().Default_Leq_Day, QStringLiteral("105"));
        QCOMPARE(appStore().Default_Leq_Night, QStringLiteral("95"));
        QCOMPARE(appStore().Default_Hour_Day_Night, QStringLiteral("22"));
        QCOMPARE(appStore().Default_Hour_Night_Day, QStringLiteral("7"));
        QCOMPARE(appStore().Chart_Days_Text, QStringLiteral("1"));
    } else {
        QCOMPARE(appStore().Default_Leq_Day, QString());
        QCOMPARE(appStore().Chart_Days_Text, QStringLiteral("7"));
    }
}

void TestDataType::lastDataOpensViewWithoutLoading()
{
    ScriptedDialogs dialogs;
    MessageRecorder messages;
    appStore().Data_Loaded = true;
    appStore().Device_Version = 4;
    appStore().Requested_View = QStringLiteral("Graphique Leq");
    appStore().Param_Block[2176] = 0;
    appStore().Param_Block[2177] = 99;
    appStore().Data_File_Path = QStringLiteral("/nowhere.kvl");
    frmData_Type *w = open();
    w->Cmd_Ok_Click();
    QCOMPARE(g_opened, QStringList{QStringLiteral("frmInGraphique")});
    QCOMPARE(appStore().Default_Leq_Day, QStringLiteral("99"));
    QVERIFY(dialogs.openRequests.isEmpty());
    QVERIFY(messages.messages.isEmpty());
    QVERIFY(!openFlags().Open_frmData_Type);
}

void TestDataType::viewNotAvailable()
{
    MessageRecorder messages;
    appStore().Data_Loaded = true;
    appStore().Device_Version = 5;
    appStore().Requested_View = QStringLiteral("Graphique Leq");
    frmData_Type *w = open();
    w->Cmd_Ok_Click();
    QVERIFY(g_opened.isEmpty());
    QCOMPARE(messages.messages.size(), 1);
    QVERIFY(messages.messages[0].text.contains(QStringLiteral("not available")));
    QVERIFY(!openFlags().Open_frmData_Type);
}

void TestDataType::doubleClickConfirms()
{
    appStore().Data_Loaded = true;
    appStore().Requested_View = QStringLiteral("Tableau Evénements");
    frmData_Type *w = open();
    auto *last = child<QRadioButton>(w, "Option_Last_Data");
    QTest::mouseDClick(last, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(w, QEvent::MetaCall);
    QCOMPARE(g_opened, QStringList{QStringLiteral("frmInTableau")});
    QVERIFY(!openFlags().Open_frmData_Type);
}

void TestDataType::transferOutcome_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text"); // empty: success
    QTest::addColumn<QString>("caption");

    QTest::newRow("cancelled") << true << 0 << QStringLiteral("Data download impossible !!! ")
                               << QStringLiteral("Data download interrupt !!!");
    QTest::newRow("code 1") << true << 1 << QStringLiteral("Error 04 - See analysis software.")
                            << QStringLiteral("Transmit error (Error 04)");
    QTest::newRow("code 2") << true << 2 << QStringLiteral("Error 03 - See analysis software.")
                            << QStringLiteral("Transmit error(Error 03)");
    QTest::newRow("code 3") << true << 3 << QStringLiteral("Error 01 - See analysis software.")
                            << QStringLiteral("Transmit error (Error 01)");
    QTest::newRow("code 4") << true << 4 << QStringLiteral("Error 02 - See analysis software.")
                            << QStringLiteral("Transmit error(Error 02)");
    QTest::newRow("success after three attempts") << false << 3 << QString() << QString();
}

void TestDataType::transferOutcome()
{
    QFETCH(bool, cancel);
    QFETCH(int, error);
    QFETCH(QString, text);
    QFETCH(QString, caption);

    appStore().Com_Port = 1;
    appStore().Device_Version = 5;
    appStore().Requested_View = QStringLiteral("Tableau Paramètres");
    m_main->menuEntry(QStringLiteral("mnuSave_As"))->setEnabled(!cancel);
    std::function<void()> finish;
    setTransferStarter([&finish](std::function<void()> done) { finish = std::move(done); });

    MessageRecorder messages;
    frmData_Type *w = open();
    child<QRadioButton>(w, "Option_New_Transfert")->click();
    QVERIFY(child<QPushButton>(w, "Cmd_Ok")->isEnabled());
    w->Cmd_Ok_Click();
    QVERIFY(!w->isVisible()); // hidden during the download
    QVERIFY(openFlags().Open_frmData_Type);
    QVERIFY(finish);

    Store &s = appStore();
    s.Cancel_Flag = cancel;
    s.Transfer_Error = qint16(error);
    s.Data_Loaded = !cancel;
    for (int i = 0; i < 8; ++i)
        s.Param_Block[2360 + i] = qint16(i + 1);
    finish();
    setTransferStarter({});

    QVERIFY(!openFlags().Open_frmData_Type);
    if (text.isEmpty()) {
        QVERIFY(messages.messages.isEmpty());
        QCOMPARE(g_opened, QStringList{QStringLiteral("frmParametres_v4")});
        QCOMPARE(s.Serial_Number, QStringLiteral("12345678"));
        return;
    }
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, text);
    QCOMPARE(messages.messages[0].caption, caption);
    QCOMPARE(messages.messages[0].icon, MsgIcon::Critical);
    QVERIFY(g_opened.isEmpty());
    QVERIFY(!s.Data_Loaded);
    QVERIFY(!m_main->menuEntry(QStringLiteral("mnuSave_As"))->isEnabled());
}

QTEST_MAIN(TestDataType)
#include "tst_datatype.moc"
