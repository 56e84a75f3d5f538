// The data source window: options per situation, and the OK driver for each
// source (file search and load, last data, transfer outcomes).

#include "TableStores.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "files/DataFile.h"
#include "files/frmData_Type.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

QStringList g_opened;

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

// A store whose chart defaults are Leq day 105, night 95, 22 h, 7 h.
Store savedStore()
{
    Store s;
    s.Param_Block.fill(255);
    setBlockLevels(s, QStringLiteral("105 0 95 0 22 7"));
    for (int i = 0; i < block::RawCopyCount; ++i)
        s.Param_Raw[i] = s.Param_Block[block::RawCopyFirst + i];
    return s;
}

} // namespace

class TestDataType : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerFilesForms();
        registerViewStubs(&g_opened);
        openMain(false);
    }
    void init()
    {
        g_opened.clear();
        appStore() = Store();
        appStore().Chart_Days_Text = QStringLiteral("7");
    }

    void optionsPerSituation_data()
    {
        addDataRows(QStringLiteral("rows/datatype.txt"), QStringLiteral("situations"));
    }

    void optionsPerSituation()
    {
        QFETCH(QStringList, c);
        appStore().Com_Port = qint16(c[1].toInt());
        appStore().Data_Loaded = c[2] == QLatin1String("1");
        appStore().Requested_View = RequestedView::EventsTable;
        frmData_Type *w = openWindow();
        QVERIFY(w);
        QVERIFY(openFlags().Open_frmData_Type);
        KVL_COMPARE_REF("windows/datatype.txt", QTest::currentDataTag(), windowTexts(w));
        QString on;
        for (auto [letter, name] :
             {std::pair{'L', "Option_Last_Data"}, {'S', "Option_New_Save"}, {'T', "Option_New_Transfert"}})
            if (child<QRadioButton>(w, name)->isChecked())
                on += QLatin1Char(letter);
        QCOMPARE(on, c.value(3));
    }

    void savedData_data() { addDataRows(QStringLiteral("rows/datatype.txt"), QStringLiteral("saved")); }

    // A file chosen earlier ("earlier.kvl", not there), then the row's answer, then OK.
    void savedData()
    {
        QFETCH(QStringList, c);
        const QString answer = c[1];
        QTemporaryDir dir;
        if (!c[2].isEmpty()) {
            bool version = false;
            c[2].toInt(&version);
            QFile f(dir.filePath(answer));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(version ? buildDataFile(savedStore(), c[2].toInt()) : c[2].toUtf8());
        }
        appStore().Com_Port = 2; // nothing preselected
        appStore().Requested_View = viewOf(c[3]);
        MessageRecorder recorder;
        ScriptedDialogs dialogs;
        dialogs.openAnswers << dir.filePath(QStringLiteral("earlier.kvl"));
        if (!answer.isEmpty())
            dialogs.openAnswers << dir.filePath(answer);
        frmData_Type *w = openWindow();
        QPointer<frmData_Type> alive(w);
        w->Cmd_Search_Click();
        w->Cmd_Search_Click();
        QCOMPARE(dialogs.openRequests, QStringList(2, QStringLiteral("|KVL 24-2 save (*.kvl)|*.kvl")));
        QVERIFY(child<QRadioButton>(w, "Option_New_Save")->isChecked());
        QVERIFY(child<QPushButton>(w, "Cmd_Ok")->isEnabled());
        QStringList state{"shown: " + child<QLineEdit>(w, "Text_Save_Data")->text(),
                          "kept: " + appStore().Data_File_Path};

        w->Cmd_Ok_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state << "opened: " + g_opened.join(',') << "chart defaults: " + chartDefaults() << shown(recorder);
        KVL_COMPARE_REF("windows/datatype.txt", QStringLiteral("saved ") + QTest::currentDataTag(),
                        state.replaceInStrings(dir.path(), QStringLiteral("<dir>")));
        QCOMPARE(appStore().Data_Loaded, !g_opened.isEmpty());
        // After a failure the user may pick another file.
        QCOMPARE(openFlags().Open_frmData_Type, g_opened.isEmpty());
        QCOMPARE(!alive.isNull() && alive->isVisible(), g_opened.isEmpty());
    }

    void lastData_data() { addDataRows(QStringLiteral("rows/datatype.txt"), QStringLiteral("last data")); }

    // The data in the store is used as it is: no file dialog, no load, no message.
    void lastData()
    {
        QFETCH(QStringList, c);
        ScriptedDialogs dialogs;
        MessageRecorder recorder;
        Store &s = appStore();
        s.Data_Loaded = true;
        s.Device_Version = qint16(c[2].toInt());
        s.Requested_View = viewOf(c[1]);
        s.Param_Block[block::LeqDay] = 0;
        s.Param_Block[block::LeqDay + 1] = 99;
        s.Data_File_Path = QStringLiteral("/nowhere.kvl");
        frmData_Type *w = openWindow();
        if (c[3] == QLatin1String("1")) {
            QTest::mouseDClick(child<QRadioButton>(w, "Option_Last_Data"), Qt::LeftButton);
            QCoreApplication::sendPostedEvents(w, QEvent::MetaCall);
        } else {
            w->Cmd_Ok_Click();
        }
        QCOMPARE(g_opened.join(','), c[4]);
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(dialogs.openRequests.isEmpty());
        QVERIFY(s.Data_Loaded);
        QVERIFY(!openFlags().Open_frmData_Type);
        QCOMPARE(chartDefaults(), c.mid(5).join('|'));
    }

    void transferOutcome_data()
    {
        addDataRows(QStringLiteral("rows/datatype.txt"), QStringLiteral("transfer"));
    }
    void transferOutcome()
    {
        QFETCH(QStringList, c);
        const bool cancel = c[1] == QLatin1String("1");
        const int error = c[2].toInt();
        Store &s = appStore();
        s.Com_Port = 1;
        s.Device_Version = 5;
        s.Requested_View = RequestedView::Parameters;
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
        KVL_COMPARE_REF("windows/datatype.txt", QStringLiteral("transfer ") + QTest::currentDataTag(),
                        QStringList{shown(recorder)});
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
};

QTEST_MAIN(TestDataType)
#include "tst_datatype.moc"
