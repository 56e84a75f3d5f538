#include "TableStores.h"
#include "TestSupport.h"
#include "shell/Forms.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "store/Store.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace kvl;

namespace {

// A stand-in window.
class DummyForm : public Form
{
public:
    DummyForm(const QString &name, bool *flag) : Form(name, flag, false, Dialog) {}
};

struct FlagEntry
{
    const char *name;
    bool OpenFlags::*flag;
};

const FlagEntry forms[] = {
    {"frmPort", &OpenFlags::Open_frmPort},
    {"frmData_Type", &OpenFlags::Open_frmData_Type},
    {"frmGraphique_Leq", &OpenFlags::Open_frmGraphique_Leq},
    {"frmInTableau", &OpenFlags::Open_frmInTableau},
    {"frmTableau_Evenements", &OpenFlags::Open_frmTableau_Evenements},
    {"frmTableau_Leq", &OpenFlags::Open_frmTableau_Leq},
    {"frmWait_Save", &OpenFlags::Open_frmWait_Save},
    {"frmInGraphique", &OpenFlags::Open_frmInGraphique},
    {"frmWait", &OpenFlags::Open_frmWait},
    {"frmTableau_Leq_V5", &OpenFlags::Open_frmTableau_Leq_V5},
    {"frmParametres_v4", &OpenFlags::Open_frmParametres_v4},
    {"frmInGraphique_v5", &OpenFlags::Open_frmInGraphique_v5},
    {"frmInRapport", &OpenFlags::Open_frmInRapport},
};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const FlagEntry &e : forms) {
            const QString name = QString::fromLatin1(e.name);
            bool *flag = &(openFlags().*(e.flag));
            registerForm(name, [name, flag] { return new DummyForm(name, flag); });
        }
    }

    void init() { appStore() = Store(); }

    void cleanup()
    {
        Fermer_Fenetres();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void captionAndMenus()
    {
        // The caption, then every bar entry and the Analysis menu's rows with their state.
        frmMain main(false);
        QStringList rows{main.windowTitle()};
        for (QAction *a : main.menuBar()->actions())
            rows << a->objectName() + QLatin1Char('=') + a->text() + (a->isEnabled() ? "" : " (disabled)");
        for (QAction *a : main.menuEntry(QStringLiteral("mnuAnalyse"))->menu()->actions())
            rows << QStringLiteral("  ") + a->objectName() + QLatin1Char('=') +
                        (a->isSeparator() ? QStringLiteral("-") : a->text()) +
                        (a->isEnabled() ? "" : " (disabled)");
        KVL_COMPARE_REF("windows/shell.txt", "main window", rows);
    }

    void analysisCommands_data()
    {
        test::addDataRows(QStringLiteral("rows/shell.txt"), QStringLiteral("analysis"));
    }
    void analysisCommands()
    {
        QFETCH(QStringList, c);
        const QString entry = c[1];
        const bool periodReset = c[2] == QLatin1String("true");
        const int chartDays = c[3].toInt();
        const QString view = c[4];
        frmMain main(false);
        Store &s = appStore();
        test::setPeriod(s, "9/9/9", "9/9/9");
        s.Chart_Days_Text = QStringLiteral("7");
        openForm(QStringLiteral("frmTableau_Leq"));
        QVERIFY(openFlags().Open_frmTableau_Leq);

        main.menuEntry(entry)->trigger();

        QCOMPARE(viewText(s.Requested_View), view);
        QCOMPARE(s.Start_Day.isEmpty(), periodReset);
        QCOMPARE(s.End_Year.isEmpty(), periodReset);
        QCOMPARE(s.Chart_Days_Text, QString::number(chartDays));
        QVERIFY(!openFlags().Open_frmTableau_Leq);
        QVERIFY(openFlags().Open_frmData_Type);
        QVERIFY(findForm(QStringLiteral("frmData_Type")));
    }

    void startUpAndExit()
    {
        frmMain main(false);
        Store &s = appStore();
        s.Com_Port = 4;
        s.Device_Version = 3;
        main.startUp();
        QVERIFY(main.isVisible());
        QCOMPARE(s.Com_Port, qint16(0));
        QCOMPARE(s.Device_Version, qint16(5));
        QVERIFY(openFlags().Open_frmPort);
        QVERIFY(!main.menuEntry(QStringLiteral("mnuSave_As"))->isEnabled());
        QVERIFY(openForm(QStringLiteral("frmWait")));
        // Exit cancels a transfer and closes everything.
        s.Transfer_Error = 3;
        main.menuEntry(QStringLiteral("mnuQuitter"))->trigger();
        QVERIFY(s.Cancel_Flag);
        QCOMPARE(s.Transfer_Error, qint16(0));
        QVERIFY(!openFlags().Open_frmWait);
        QVERIFY(!main.isVisible());
    }

    void aboutBox()
    {
        frmMain main(false);
        openForm(QStringLiteral("frmData_Type"));
        auto *about = new frmAbout(&main);
        // Opening the About box closes the other windows.
        QVERIFY(!openFlags().Open_frmData_Type);
        KVL_COMPARE_REF("windows/shell.txt", "about box", test::windowTexts(about));
        about->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        QVERIFY(!about->isVisible());
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
