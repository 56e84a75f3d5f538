// The period dialog and the three table windows, offscreen, with their printing.

#include "../core/TableStores.h"
#include "TestSupport.h"

#include "files/DataFile.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
#include "store/Names.h"
#include "store/Store.h"
#include "tables/Period.h"
#include "tables/TableForm.h"
#include "tables/TableHeaders.h"
#include "tables/TableLines.h"
#include "tables/TablePrinter.h"
#include "tables/frmInTableau.h"

#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString eventsView = QStringLiteral("Tableau Evénements");
const QString leqView = QStringLiteral("Tableau Leq");

template <typename T> T *child(QWidget *w, const QString &name)
{
    return w ? w->findChild<T *>(name) : nullptr;
}

QStringList items(QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// Column of a button in the window's button row.
int buttonColumn(QWidget *window, const QString &name)
{
    QPushButton *button = child<QPushButton>(window, name);
    for (QGridLayout *grid : window->findChildren<QGridLayout *>()) {
        const int index = grid->indexOf(button);
        if (index >= 0) {
            int row, column, rs, cs;
            grid->getItemPosition(index, &row, &column, &rs, &cs);
            return column;
        }
    }
    return -1;
}

void resetStore(int version)
{
    Store &store = appStore();
    store = Store();
    fillBusyStore(store, version);
    store.Requested_View = eventsView;
}

// Text of a PDF as pdftotext gives it, blanks squeezed.
QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

} // namespace

class TablesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void periodDialogLabels();
    void periodCheck_data();
    void periodCheck();
    void periodDialogOpens_data();
    void periodDialogOpens();
    void periodProposed();
    void enterActsAsOk_data();
    void enterActsAsOk();
    void cancelKeepsPeriod();

    void eventsWindow_data();
    void eventsWindow();
    void leqWindow_data();
    void leqWindow();
    void leqV5Window_data();
    void leqV5Window();
    void newChartAndQuit();

    void printCancelled();
    void printLayoutOfWindow();
    void printToPdf_data();
    void printToPdf();
    void printFailureRestoresWindow();

    void windowsFromFiles();

private:
    QWidget *openTable(const QString &view, const QString &start, const QString &end);
    frmMain *m_main = nullptr;
};

void TablesTest::initTestCase()
{
    registerAllForms();
    m_main = new frmMain(false);
    m_main->resize(1024, 768);
    m_main->show();
}

void TablesTest::cleanup()
{
    Fermer_Fenetres();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget *TablesTest::openTable(const QString &view, const QString &start, const QString &end)
{
    Store &store = appStore();
    store.Requested_View = view;
    setPeriod(store, start, end);
    QWidget *dialog = openForm(QStringLiteral("frmInTableau"));
    if (!dialog)
        return nullptr;
    auto *in = qobject_cast<frmInTableau *>(dialog);
    if (!in || !in->Cmd_Ok_Click())
        return nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QString name = frmInTableau::tableFor(view, store.Device_Version);
    return findForm(name);
}

void TablesTest::periodDialogLabels()
{
    resetStore(5);
    QWidget *w = openForm(QStringLiteral("frmInTableau"));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Events Chart Parameters"));
    QCOMPARE(child<QLabel>(w, "Label7")->text(), QStringLiteral("Select the chart parameters"));
    QCOMPARE(child<QGroupBox>(w, "Frame1")->title(), QStringLiteral("Analysis Date :"));
    QCOMPARE(child<QLabel>(w, "Label_Date_Start")->text(), QStringLiteral("Start Date :"));
    QCOMPARE(child<QLabel>(w, "Label_Date_End")->text(), QStringLiteral("End Date :"));
    QCOMPARE(child<QPushButton>(w, "Cmd_Ok")->text(), QStringLiteral("Ok"));
    QCOMPARE(child<QPushButton>(w, "Cmd_Annuler")->text(), QStringLiteral("Cancel"));
    QVERIFY(openFlags().Open_frmInTableau);
    w->close();
    QVERIFY(!openFlags().Open_frmInTableau);

    appStore().Requested_View = leqView;
    w = openForm(QStringLiteral("frmInTableau"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Leq Chart Parameters"));
}

void TablesTest::periodCheck_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same day") << QDate(2008, 3, 5) << QDate(2008, 3, 5) << true;
    QTest::newRow("1 March after 29 February") << QDate(2008, 3, 1) << QDate(2008, 2, 29) << false;
    QTest::newRow("31 January to 1 February") << QDate(2008, 1, 31) << QDate(2008, 2, 1) << true;
    QTest::newRow("year after") << QDate(2009, 1, 1) << QDate(2008, 12, 31) << false;
    QTest::newRow("day after") << QDate(2008, 5, 6) << QDate(2008, 5, 5) << false;
}

void TablesTest::periodCheck()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(bool, accepted);
    resetStore(4);
    MessageRecorder messages;
    auto *w = qobject_cast<frmInTableau *>(openForm(QStringLiteral("frmInTableau")));
    QVERIFY(w);
    child<QDateEdit>(w, "DTP_Jour_Start")->setDate(start);
    child<QDateEdit>(w, "DTP_Jour_End")->setDate(end);
    QCOMPARE(w->Cmd_Ok_Click(), accepted);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const Store &store = appStore();
    QCOMPARE(store.Start_Day, QStringLiteral("%1").arg(start.day(), 2, 10, QLatin1Char('0')));
    QCOMPARE(store.Start_Month, QStringLiteral("%1").arg(start.month(), 2, 10, QLatin1Char('0')));
    QCOMPARE(store.End_Year, QString::number(end.year()));
    if (accepted) {
        QVERIFY(messages.messages.isEmpty());
        QVERIFY(!findForm(QStringLiteral("frmInTableau")));
        QVERIFY(findForm(QStringLiteral("frmTableau_Evenements")));
    } else {
        QCOMPARE(messages.messages.size(), 1);
        QCOMPARE(messages.messages[0].text, QStringLiteral("Please, Can you write the date again !!!"));
        QCOMPARE(messages.messages[0].caption, QStringLiteral("There is a problem with the parameters  !!!"));
        QCOMPARE(messages.messages[0].icon, MsgIcon::Critical);
        QVERIFY(findForm(QStringLiteral("frmInTableau")));
        QVERIFY(!findForm(QStringLiteral("frmTableau_Evenements")));
    }
}

void TablesTest::periodDialogOpens_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Leq 3") << leqView << 3 << "frmTableau_Leq"
                           << "Leq Chart";
    QTest::newRow("Leq 4") << leqView << 4 << "frmTableau_Leq"
                           << "Leq Chart";
    QTest::newRow("Leq 5") << leqView << 5 << "frmTableau_Leq_V5"
                           << "Leq Value Chart.";
    QTest::newRow("Leq 70") << leqView << 70 << "frmTableau_Leq_V5"
                            << "Leq Value Chart.";
    QTest::newRow("events 3") << eventsView << 3 << "frmTableau_Evenements"
                              << "Event Chart";
    QTest::newRow("events 70") << eventsView << 70 << "frmTableau_Evenements"
                               << "Event Chart";
}

void TablesTest::periodDialogOpens()
{
    QFETCH(QString, view);
    QFETCH(int, version);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    resetStore(version);
    QWidget *w = openTable(view, "28/02/2008", "02/03/2008");
    QVERIFY(w);
    QCOMPARE(w->objectName(), window);
    QCOMPARE(w->windowTitle(), caption);
    QVERIFY(!findForm(QStringLiteral("frmInTableau")));
    QVERIFY(!openFlags().Open_frmInTableau);
}

void TablesTest::periodProposed()
{
    resetStore(5);
    Store &store = appStore();
    setPeriod(store, "//", "//");
    store.Start_Day = store.Start_Month = store.Start_Year = QString();
    store.End_Day = store.End_Month = store.End_Year = QString();
    QWidget *w = openForm(QStringLiteral("frmInTableau"));
    const QDate today = QDate::currentDate();
    QCOMPARE(child<QDateEdit>(w, "DTP_Jour_Start")->date(), today);
    QCOMPARE(child<QDateEdit>(w, "DTP_Jour_End")->date(), today);
    QCOMPARE(store.Start_Year, QString::number(today.year()));
    QCOMPARE(store.End_Day.size(), 2);

    child<QDateEdit>(w, "DTP_Jour_Start")->setDate(QDate(2008, 2, 29));
    child<QDateEdit>(w, "DTP_Jour_End")->setDate(QDate(2008, 3, 9));
    child<QPushButton>(w, "Cmd_Annuler")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!findForm(QStringLiteral("frmInTableau")));

    w = openForm(QStringLiteral("frmInTableau"));
    QCOMPARE(child<QDateEdit>(w, "DTP_Jour_Start")->date(), QDate(2008, 2, 29));
    QCOMPARE(child<QDateEdit>(w, "DTP_Jour_End")->date(), QDate(2008, 3, 9));
    QCOMPARE(store.Start_Day + store.Start_Month + store.Start_Year, QStringLiteral("29022008"));
    QCOMPARE(store.End_Day + store.End_Month + store.End_Year, QStringLiteral("09032008"));
}

void TablesTest::enterActsAsOk_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::newRow("on Cancel") << "Cmd_Annuler" << int(Qt::Key_Return);
    QTest::newRow("in a date picker") << "DTP_Jour_Start" << int(Qt::Key_Enter);
}

void TablesTest::enterActsAsOk()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    resetStore(4);
    setPeriod(appStore(), "28/02/2008", "02/03/2008");
    QWidget *w = openForm(QStringLiteral("frmInTableau"));
    QWidget *target = w->findChild<QWidget *>(focus);
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key(key));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(findForm(QStringLiteral("frmTableau_Evenements")));
    QVERIFY(!findForm(QStringLiteral("frmInTableau")));
}

void TablesTest::cancelKeepsPeriod()
{
    resetStore(4);
    setPeriod(appStore(), "28/02/2008", "02/03/2008");
    QWidget *w = openForm(QStringLiteral("frmInTableau"));
    child<QDateEdit>(w, "DTP_Jour_End")->setDate(QDate(2008, 3, 4));
    child<QPushButton>(w, "Cmd_Annuler")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!findForm(QStringLiteral("frmTableau_Evenements")));
    QCOMPARE(appStore().End_Day, QStringLiteral("04"));
    QCOMPARE(appStore().Start_Day, QStringLiteral("28"));
}

void TablesTest::eventsWindow_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("empty");
    QTest::newRow("v4 several days") << 4 << "28/02/2008"
                                     << "02/03/2008"
                                     << "KVL 24-2 - FirmWare Version : 4.0 - Serial number : 23456789"
                                     << false;
    QTest::newRow("v5 one day") << 5 << "29/02/2008"
                                << "29/02/2008"
                                << "KVL 24-2 - FirmWare Version : 1.3 - Serial Number : 23456789" << false;
    QTest::newRow("v70 no event") << 70 << "01/01/2009"
                                  << "31/01/2009"
                                  << "KVL 36 - FirmWare Version : 1.3 - Serial Number : 23456789" << true;
}

void TablesTest::eventsWindow()
{
    QFETCH(int, version);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, serial);
    QFETCH(bool, empty);
    resetStore(version);
    QWidget *w = openTable(eventsView, start, end);
    QVERIFY(w);
    QVERIFY(openFlags().Open_frmTableau_Evenements);
    QCOMPARE(child<QLabel>(w, "Label_Serial_Number")->text(), serial);
    QCOMPARE(child<QLabel>(w, "Label_Entete")->text(), eventsHeader(appStore()));
    QListWidget *list = child<QListWidget>(w, "List_Evenements");
    QCOMPARE(child<QPushButton>(w, "Cmd_New_Tableau")->text(), QStringLiteral("New events chart"));
    QCOMPARE(child<QPushButton>(w, "Cmd_Exit")->text(), QStringLiteral("Quit"));
    QVERIFY(!child<QPushButton>(w, "Cmd_New_Tableau")->icon().isNull());
    QVERIFY(!child<QPushButton>(w, "Cmd_Print")->icon().isNull());
    QVERIFY(!child<QPushButton>(w, "Cmd_Exit")->icon().isNull());
    if (empty) {
        QCOMPARE(items(list),
                 (QStringList{"", "", "", "", "", " There is no recorded event for this period !!!"}));
        QCOMPARE(list->font().pointSize(), 12);
        QVERIFY(list->font().bold());
        QVERIFY(child<QPushButton>(w, "Cmd_Print")->isHidden());
        QCOMPARE(buttonColumn(w, "Cmd_New_Tableau"), buttonColumn(w, "Cmd_Print"));
    } else {
        QVERIFY(list->count() > 5);
        QCOMPARE(items(list), eventTableLines(appStore()));
        QCOMPARE(list->font().pointSize(), 8);
        QVERIFY(!list->font().bold());
        QVERIFY(!child<QPushButton>(w, "Cmd_Print")->isHidden());
        QVERIFY(buttonColumn(w, "Cmd_New_Tableau") < buttonColumn(w, "Cmd_Print"));
    }
}

void TablesTest::leqWindow_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("leqCount");
    QTest::addColumn<bool>("empty");
    QTest::newRow("v3") << 3 << "29/02/2008"
                        << "01/03/2008" << 4096 << false;
    QTest::newRow("v4") << 4 << "28/02/2008"
                        << "28/02/2008" << 8192 << false;
    QTest::newRow("v4 empty") << 4 << "01/06/2008"
                              << "02/06/2008" << 8192 << true;
}

void TablesTest::leqWindow()
{
    QFETCH(int, version);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, leqCount);
    QFETCH(bool, empty);
    resetStore(version);
    QWidget *w = openTable(leqView, start, end);
    QVERIFY(w);
    QCOMPARE(appStore().Leq_Count, leqCount);
    QCOMPARE(child<QLabel>(w, "Label_Entete")->text(), leqHeader(appStore()));
    QCOMPARE(child<QLabel>(w, "Label_Serial_Number")->text(), serialNumberLine(appStore(), TableWindow::Leq));
    QCOMPARE(child<QLabel>(w, "Label1")->text(),
             QStringLiteral("Attention : Leq10 Level  is  saved when it is superior or  équal to 70 dB"));
    QCOMPARE(child<QPushButton>(w, "Cmd_New_Tableau")->text(), QStringLiteral("New Chart"));
    QListWidget *list = child<QListWidget>(w, "List_Leq");
    if (empty) {
        QCOMPARE(items(list).last(), QStringLiteral("No Leq value for this period !!!"));
        QCOMPARE(list->count(), 6);
        QVERIFY(list->font().bold());
        QVERIFY(child<QPushButton>(w, "Cmd_Print")->isHidden());
    } else {
        QCOMPARE(items(list), Lignes_Tableau_Leq(appStore()));
        QVERIFY(list->count() > 10);
        QCOMPARE(list->font().pointSize(), 8);
        QVERIFY(!child<QPushButton>(w, "Cmd_Print")->isHidden());
    }
}

void TablesTest::leqV5Window_data()
{
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<bool>("has10");
    QTest::addColumn<bool>("has1");
    QTest::newRow("both") << QStringList{"05/03/08 20:00 85 10", "05/03/08 20:01 101 1"} << true << true;
    QTest::newRow("Leq10 only") << QStringList{"05/03/08 20:00 85 10", "05/03/08 20:01 101 7"} << true
                                << false;
    QTest::newRow("Leq1 only") << QStringList{"05/03/08 20:01 101 1"} << false << true;
    QTest::newRow("no row") << QStringList{"06/03/08 20:01 101 1"} << false << false;
}

void TablesTest::leqV5Window()
{
    QFETCH(QStringList, records);
    QFETCH(bool, has10);
    QFETCH(bool, has1);
    resetStore(70);
    fillLeq(appStore().Leq_Records, records);
    QWidget *w = openTable(leqView, "05/03/2008", "05/03/2008");
    QVERIFY(w);
    QCOMPARE(child<QLabel>(w, "Label_Entete10")->text(),
             QStringLiteral("Leq10 value chart Wednesday 05   March    2008 :"));
    QCOMPARE(child<QLabel>(w, "Label_Entete1")->text(),
             QStringLiteral("Leq1 value chart Wednesday 05   March    2008 :"));
    QCOMPARE(child<QLabel>(w, "Label_Serial_Number")->text(),
             QStringLiteral("KVL 36 - FirmWare Version : 1.3 - Serial Number : 23456789"));
    QCOMPARE(child<QLabel>(w, "Label1")->text(),
             QStringLiteral("Attention : Leq10  is saved when it is superior or equal to 70 dB."));
    QCOMPARE(child<QLabel>(w, "Label2")->text(),
             QStringLiteral("Attention :  Leq1 is saved when it is superior or equal to order level."));
    QListWidget *list10 = child<QListWidget>(w, "List_Leq10");
    QListWidget *list1 = child<QListWidget>(w, "List_Leq1");
    QCOMPARE(list10->count(), has10 ? 1 : 6);
    QCOMPARE(list1->count(), has1 ? 1 : 6);
    if (!has10)
        QCOMPARE(items(list10).last(), QStringLiteral("No Leq10 Value for this period !!!"));
    if (!has1)
        QCOMPARE(items(list1).last(), QStringLiteral("No Leq1 Value for this period !!!"));
    if (has1)
        QCOMPARE(
            items(list1).first(),
            QStringLiteral("        The  Wednesday  05    March     2008  from  20 h. 00  to  20 h. 01   :  "
                           "Leq1 Level =  101 dB."));
    QCOMPARE(list10->font().bold(), !has10);
    QCOMPARE(list1->font().pointSize(), has1 ? 8 : 12);
    QCOMPARE(child<QPushButton>(w, "Cmd_Print")->isHidden(), !has10 && !has1);
}

void TablesTest::newChartAndQuit()
{
    resetStore(5);
    QWidget *w = openTable(leqView, "28/02/2008", "02/03/2008");
    QVERIFY(w);
    child<QPushButton>(w, "Cmd_New_Tableau")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!findForm(QStringLiteral("frmTableau_Leq_V5")));
    QVERIFY(!openFlags().Open_frmTableau_Leq_V5);
    w = findForm(QStringLiteral("frmInTableau"));
    QVERIFY(w);
    QCOMPARE(child<QDateEdit>(w, "DTP_Jour_Start")->date(), QDate(2008, 2, 28));

    w = openTable(eventsView, "28/02/2008", "02/03/2008");
    child<QPushButton>(w, "Cmd_Exit")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!findForm(QStringLiteral("frmTableau_Evenements")));
    QVERIFY(!findForm(QStringLiteral("frmInTableau")));
}

void TablesTest::printCancelled()
{
    resetStore(4);
    QWidget *w = openTable(eventsView, "28/02/2008", "02/03/2008");
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    dialogs.printerAnswers << false;
    dialogs.printerPdfPath = dir.filePath(QStringLiteral("never.pdf"));
    QVERIFY(!qobject_cast<TableForm *>(w)->Cmd_Print_Click());
    QCOMPARE(dialogs.printerRequests, 1);
    QVERIFY(!QFile::exists(dialogs.printerPdfPath));
    QVERIFY(w->isEnabled());
}

void TablesTest::printLayoutOfWindow()
{
    // The window prints its own labels and list lines, page by page.
    resetStore(5);
    QWidget *w = openTable(leqView, "27/02/2008", "04/03/2008");
    QVERIFY(w);
    const PrintDocument doc = qobject_cast<TableForm *>(w)->printLayout();
    const QStringList lines10 = items(child<QListWidget>(w, "List_Leq10"));
    const QStringList lines1 = items(child<QListWidget>(w, "List_Leq1"));
    const int pages10 = (int(lines10.size()) + 63) / 64;
    const int pages1 = (int(lines1.size()) + 63) / 64;
    QVERIFY(pages10 >= 2);
    QCOMPARE(doc.size(), pages10 + pages1);
    const QString serial = child<QLabel>(w, "Label_Serial_Number")->text();
    QCOMPARE(doc[0].texts[0], (PrintText{3300, 200, serial}));
    QCOMPARE(doc[0].texts[1], (PrintText{2350, 400, child<QLabel>(w, "Label_Entete10")->text()}));
    QCOMPARE(doc[0].texts[2], (PrintText{2350, 1200, lines10[0]}));
    QCOMPARE(doc[1].texts[2], (PrintText{2350, 1200, lines10[64]}));
    QCOMPARE(doc[0].texts.last(), (PrintText{5000, 16000, pageNumberText(1)}));
    QCOMPARE(doc[pages10].texts[1], (PrintText{2350, 400, child<QLabel>(w, "Label_Entete1")->text()}));
    QCOMPARE(doc[pages10].texts.last().text, pageNumberText(1));
}

void TablesTest::printToPdf_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("events") << 4 << eventsView
                            << QStringList{
                                   "KVL 24-2 - FirmWare Version : 4.0 - Serial number : 23456789",
                                   "Events Chart from 27 February 2008 to 05 March 2008 :",
                                   "The Thursday 28 February 2008 to 00 h. 01 : End of Sensor Link Default.",
                                   "Page 1", "Page 2"};
    QTest::newRow("leq v5") << 5 << leqView
                            << QStringList{
                                   "Leq10 value chart Thursday 28 February 2008 to Sunday 02 March 2008 :",
                                   "Leq1 value chart Thursday 28 February 2008",
                                   "from 00 h. 12 to 00 h. 13 : Leq1 Level = 108 dB.", "Page 3"};
}

void TablesTest::printToPdf()
{
    QFETCH(int, version);
    QFETCH(QString, view);
    QFETCH(QStringList, expected);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    resetStore(version);
    QWidget *w = view == eventsView ? openTable(view, "27/02/2008", "05/03/2008")
                                    : openTable(view, "28/02/2008", "02/03/2008");
    QVERIFY(w);
    QTemporaryDir dir;
    // Set KVL_KEEP_OUTPUT to keep the PDF for a look.
    dir.setAutoRemove(!qEnvironmentVariableIsSet("KVL_KEEP_OUTPUT"));
    ScriptedDialogs dialogs;
    dialogs.printerAnswers << true;
    dialogs.printerPdfPath = dir.filePath(QStringLiteral("table.pdf"));
    QVERIFY(qobject_cast<TableForm *>(w)->Cmd_Print_Click());
    QVERIFY(w->isEnabled());
    const QString text = pdfText(dialogs.printerPdfPath);
    if (!dir.autoRemove())
        qInfo() << "printout kept in" << dialogs.printerPdfPath;
    for (const QString &e : expected)
        QVERIFY2(text.contains(e), qPrintable(e));
}

void TablesTest::printFailureRestoresWindow()
{
    resetStore(4);
    QWidget *w = openTable(leqView, "28/02/2008", "02/03/2008");
    ScriptedDialogs dialogs;
    dialogs.printerAnswers << true;
    dialogs.printerPdfPath = QStringLiteral("/nonexistent-folder/deeper/table.pdf");
    QVERIFY(!qobject_cast<TableForm *>(w)->Cmd_Print_Click());
    QVERIFY(w->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
}

void TablesTest::windowsFromFiles()
{
    // A store saved and loaded back, then every sample file present: each
    // window opens on the whole recorded period and lists what the core lists.
    QList<QByteArray> files;
    for (int version : {3, 4, 5, 70}) {
        Store store;
        fillBusyStore(store, version);
        files << buildDataFile(store, version);
    }
    const QDir samples(qEnvironmentVariable("KVL_SAMPLES"));
    for (const QString &name : samples.entryList({QStringLiteral("*.kvl")}, QDir::Files)) {
        QFile f(samples.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            files << f.readAll();
    }
    for (const QByteArray &bytes : files) {
        Store &store = appStore();
        store = Store();
        QCOMPARE(int(readDataFile(bytes, store).result), int(LoadOutcome::Loaded));
        // The period from the first to the last valid event row.
        int last = 0;
        for (int r = 1; r <= EventTable::rowCount && store.Event_Records(r, 6) != 255; ++r)
            last = r;
        if (last == 0)
            continue;
        setPeriod(store,
                  QStringLiteral("%1/%2/%3")
                      .arg(store.Event_Records(1, 3))
                      .arg(store.Event_Records(1, 5))
                      .arg(2000 + store.Event_Records(1, 6)),
                  QStringLiteral("%1/%2/%3")
                      .arg(store.Event_Records(last, 3))
                      .arg(store.Event_Records(last, 5))
                      .arg(2000 + store.Event_Records(last, 6)));
        const QString start = store.Start_Day + '/' + store.Start_Month + '/' + store.Start_Year;
        const QString end = store.End_Day + '/' + store.End_Month + '/' + store.End_Year;
        QWidget *events = openTable(eventsView, start, end);
        QVERIFY(events);
        QCOMPARE(items(child<QListWidget>(events, "List_Evenements")), eventTableLines(store));
        QWidget *leq = openTable(leqView, start, end);
        QVERIFY(leq);
        QVERIFY(!findForm(QStringLiteral("frmTableau_Evenements")));
        if (store.isVersion5Family())
            QCOMPARE(items(child<QListWidget>(leq, "List_Leq1")).isEmpty(), false);
        else
            QCOMPARE(items(child<QListWidget>(leq, "List_Leq")), Lignes_Tableau_Leq(store));
        cleanup();
    }
}

QTEST_MAIN(TablesTest)
#include "tst_tables.moc"
