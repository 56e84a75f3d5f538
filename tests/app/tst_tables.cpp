// The period dialog and the three table windows, offscreen, with their printing.

#include "../core/TableStores.h"
#include "TestSupport.h"

#include "files/DataFile.h"
#include "shell/AppHooks.h"
#include "shell/Forms.h"
#include "shell/frmMain.h"
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
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString eventsView = QStringLiteral("Tableau Evénements");
const QString leqView = QStringLiteral("Tableau Leq");

template <typename T = QWidget> T *child(QWidget *w, const char *name)
{
    return w ? w->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

QString labelText(QWidget *w, const char *name)
{
    QLabel *label = child<QLabel>(w, name);
    return label ? label->text() : QStringLiteral("<missing>");
}

QStringList items(QWidget *w, const char *name)
{
    QStringList lines;
    if (QListWidget *list = child<QListWidget>(w, name))
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
    return lines;
}

// Column of a button in the window's button row.
int buttonColumn(QWidget *window, const char *name)
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

void flush()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void resetStore(int version)
{
    Store &store = appStore();
    store = Store();
    fillBusyStore(store, version);
    store.Requested_View = eventsView;
}

QWidget *openDialog(const QString &view)
{
    appStore().Requested_View = view;
    return openForm(QStringLiteral("frmInTableau"));
}

// Opens the table window of a view through the period dialog's Ok.
QWidget *openTable(const QString &view, const QString &start, const QString &end)
{
    setPeriod(appStore(), start, end);
    auto *in = qobject_cast<frmInTableau *>(openDialog(view));
    if (!in || !in->Cmd_Ok_Click())
        return nullptr;
    flush();
    return findForm(frmInTableau::tableFor(view, appStore().Device_Version));
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
    // A refusal must not open a real message box: the test would wait on it.
    std::optional<MessageRecorder> m_messages;

private slots:
    void initTestCase()
    {
        registerAllForms();
        auto *main = new frmMain(false);
        main->resize(1024, 768);
        main->show();
    }

    void init() { m_messages.emplace(); }

    void cleanup()
    {
        Fermer_Fenetres();
        flush();
        m_messages.reset();
    }

    void periodDialog()
    {
        resetStore(5);
        QWidget *w = openDialog(eventsView);
        QVERIFY(w);
        // The dialog proposes today: the reference must not depend on the day it runs.
        QStringList texts = windowTexts(w);
        texts.replaceInStrings(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")),
                               QStringLiteral("<today>"));
        texts.replaceInStrings(
            QRegularExpression(QStringLiteral("^(qt_calendar_\\w+|qt_spinbox_lineedit)=(?!<today>).*")),
            QStringLiteral("\\1=<calendar>"));
        KVL_COMPARE_REF("windows/tables.txt", "period dialog", texts);
        QVERIFY(openFlags().Open_frmInTableau);
        w->close();
        QVERIFY(!openFlags().Open_frmInTableau);
        QCOMPARE(openDialog(leqView)->windowTitle(), QStringLiteral("Leq Chart Parameters"));
    }

    void periodCheck_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("same day") << QDate(2008, 3, 5) << QDate(2008, 3, 5) << true;
        QTest::newRow("1 March after 29 February") << QDate(2008, 3, 1) << QDate(2008, 2, 29) << false;
        QTest::newRow("31 January to 1 February") << QDate(2008, 1, 31) << QDate(2008, 2, 1) << true;
        QTest::newRow("year after") << QDate(2009, 1, 1) << QDate(2008, 12, 31) << false;
    }

    void periodCheck()
    {
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(bool, accepted);
        resetStore(4);
        auto *w = qobject_cast<frmInTableau *>(openDialog(eventsView));
        QVERIFY(w);
        child<QDateEdit>(w, "DTP_Jour_Start")->setDate(start);
        child<QDateEdit>(w, "DTP_Jour_End")->setDate(end);
        QCOMPARE(w->Cmd_Ok_Click(), accepted);
        flush();
        // The dates are stored either way.
        const Store &store = appStore();
        QCOMPARE(store.Start_Day + '/' + store.Start_Month + '/' + store.End_Year,
                 start.toString(QStringLiteral("dd/MM/")) + QString::number(end.year()));
        QCOMPARE(bool(findForm(QStringLiteral("frmTableau_Evenements"))), accepted);
        QCOMPARE(bool(findForm(QStringLiteral("frmInTableau"))), !accepted);
        QCOMPARE(shown(*m_messages),
                 accepted ? QString()
                          : msg("Please, Can you write the date again !!!",
                                "There is a problem with the parameters  !!!", MsgIcon::Critical));
    }

    void periodProposedAndKeptOnCancel()
    {
        resetStore(5);
        Store &store = appStore();
        store.Start_Day = store.Start_Month = store.Start_Year = QString();
        store.End_Day = store.End_Month = store.End_Year = QString();
        QWidget *w = openDialog(eventsView);
        const QDate today = QDate::currentDate();
        QCOMPARE(child<QDateEdit>(w, "DTP_Jour_Start")->date(), today);
        QCOMPARE(child<QDateEdit>(w, "DTP_Jour_End")->date(), today);
        QCOMPARE(store.End_Day + store.End_Month + store.Start_Year,
                 today.toString(QStringLiteral("ddMMyyyy")));

        // Cancel opens no table but keeps the dates for the next time.
        child<QDateEdit>(w, "DTP_Jour_Start")->setDate(QDate(2008, 2, 29));
        child<QDateEdit>(w, "DTP_Jour_End")->setDate(QDate(2008, 3, 9));
        child<QPushButton>(w, "Cmd_Annuler")->click();
        flush();
        QVERIFY(!findForm(QStringLiteral("frmInTableau")));
        QVERIFY(!findForm(QStringLiteral("frmTableau_Evenements")));
        QCOMPARE(store.Start_Day + store.Start_Month + store.Start_Year, QStringLiteral("29022008"));
        QCOMPARE(store.End_Day + store.End_Month + store.End_Year, QStringLiteral("09032008"));
        w = openDialog(eventsView);
        QCOMPARE(child<QDateEdit>(w, "DTP_Jour_Start")->date(), QDate(2008, 2, 29));
        QCOMPARE(child<QDateEdit>(w, "DTP_Jour_End")->date(), QDate(2008, 3, 9));
    }

    void enterActsAsOk_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("on Cancel") << "Cmd_Annuler" << int(Qt::Key_Return);
        QTest::newRow("in a date picker") << "DTP_Jour_Start" << int(Qt::Key_Enter);
    }

    void enterActsAsOk()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        resetStore(4);
        setPeriod(appStore(), "28/02/2008", "02/03/2008");
        QWidget *target = child(openDialog(eventsView), qPrintable(focus));
        QVERIFY(target);
        QTest::keyClick(target, Qt::Key(key));
        flush();
        QVERIFY(findForm(QStringLiteral("frmTableau_Evenements")));
        QVERIFY(!findForm(QStringLiteral("frmInTableau")));
    }

    void tableWindow_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("period");
        // The window's texts and lines are in tests/data/windows/tables.txt.
        QTest::newRow("events v4 several days") << 4 << eventsView << QStringList{"28/02/2008", "02/03/2008"};
        QTest::newRow("events v5 one day") << 5 << eventsView << QStringList{"29/02/2008", "29/02/2008"};
        QTest::newRow("events v70 no event") << 70 << eventsView << QStringList{"01/01/2009", "31/01/2009"};
        QTest::newRow("leq v3") << 3 << leqView << QStringList{"29/02/2008", "01/03/2008"};
        QTest::newRow("leq v4 one day") << 4 << leqView << QStringList{"28/02/2008", "28/02/2008"};
        QTest::newRow("leq v4 empty") << 4 << leqView << QStringList{"01/06/2008", "02/06/2008"};
    }

    void tableWindow()
    {
        QFETCH(int, version);
        QFETCH(QString, view);
        QFETCH(QStringList, period);
        resetStore(version);
        QWidget *w = openTable(view, period[0], period[1]);
        QVERIFY(w);
        KVL_COMPARE_REF("windows/tables.txt", QTest::currentDataTag(), windowTexts(w));
        QVERIFY(!openFlags().Open_frmInTableau);
        const Store &store = appStore();
        const bool events = view == eventsView;
        QCOMPARE(w->objectName(),
                 events ? QStringLiteral("frmTableau_Evenements") : QStringLiteral("frmTableau_Leq"));
        QVERIFY(events ? openFlags().Open_frmTableau_Evenements : openFlags().Open_frmTableau_Leq);
        if (!events)
            QCOMPARE(store.Leq_Count, leqRows(version));
        const char *listName = events ? "List_Evenements" : "List_Leq";
        const QStringList lines = events ? eventTableLines(store) : Lignes_Tableau_Leq(store);
        const bool empty = lines.isEmpty();
        if (!empty)
            QCOMPARE(items(w, listName), lines);
        QCOMPARE(child<QListWidget>(w, listName)->font().pointSize(), empty ? 12 : 8);
        QCOMPARE(child<QListWidget>(w, listName)->font().bold(), empty);
        for (const char *name : {"Cmd_New_Tableau", "Cmd_Print", "Cmd_Exit"})
            QVERIFY2(!child<QPushButton>(w, name)->icon().isNull(), name);
        // Without lines the print button is hidden and New takes its place.
        QCOMPARE(child<QPushButton>(w, "Cmd_Print")->isHidden(), empty);
        QCOMPARE(buttonColumn(w, "Cmd_New_Tableau") == buttonColumn(w, "Cmd_Print"), empty);
    }

    void leqV5Window_data()
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

    void leqV5Window()
    {
        QFETCH(QStringList, records);
        QFETCH(bool, has10);
        QFETCH(bool, has1);
        resetStore(70);
        fillLeq(appStore().Leq_Records, records);
        QWidget *w = openTable(leqView, "05/03/2008", "05/03/2008");
        QVERIFY(w);
        KVL_COMPARE_REF("windows/tables.txt", QStringLiteral("leq v70 ") + QTest::currentDataTag(),
                        windowTexts(w));
        QCOMPARE(w->objectName(), QStringLiteral("frmTableau_Leq_V5"));
        QCOMPARE(child<QListWidget>(w, "List_Leq10")->font().bold(), !has10);
        QCOMPARE(child<QListWidget>(w, "List_Leq1")->font().pointSize(), has1 ? 8 : 12);
        QCOMPARE(child<QPushButton>(w, "Cmd_Print")->isHidden(), !has10 && !has1);
    }

    void newChartAndQuit()
    {
        resetStore(5);
        QWidget *w = openTable(leqView, "28/02/2008", "02/03/2008");
        QVERIFY(w);
        QCOMPARE(w->objectName(), QStringLiteral("frmTableau_Leq_V5"));
        child<QPushButton>(w, "Cmd_New_Tableau")->click();
        flush();
        QVERIFY(!findForm(QStringLiteral("frmTableau_Leq_V5")));
        QVERIFY(!openFlags().Open_frmTableau_Leq_V5);
        w = findForm(QStringLiteral("frmInTableau"));
        QVERIFY(w);
        QCOMPARE(child<QDateEdit>(w, "DTP_Jour_Start")->date(), QDate(2008, 2, 28));

        w = openTable(eventsView, "28/02/2008", "02/03/2008");
        child<QPushButton>(w, "Cmd_Exit")->click();
        flush();
        QVERIFY(!findForm(QStringLiteral("frmTableau_Evenements")));
        QVERIFY(!findForm(QStringLiteral("frmInTableau")));
    }

    void printNotDone_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("file");
        QTest::newRow("cancelled") << false << "never.pdf";
        QTest::newRow("printer cannot start") << true << "missing/deeper/table.pdf";
    }

    void printNotDone()
    {
        QFETCH(bool, answer);
        QFETCH(QString, file);
        resetStore(4);
        QWidget *w = openTable(eventsView, "28/02/2008", "02/03/2008");
        QVERIFY(w);
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.printerAnswers << answer;
        dialogs.printerPdfPath = dir.filePath(file);
        QVERIFY(!qobject_cast<TableForm *>(w)->Cmd_Print_Click());
        QCOMPARE(dialogs.printerRequests, 1);
        QVERIFY(!QFile::exists(dialogs.printerPdfPath));
        QVERIFY(w->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    void printLayoutOfWindow()
    {
        // The window prints its own labels and list lines, page by page.
        resetStore(5);
        QWidget *w = openTable(leqView, "27/02/2008", "04/03/2008");
        QVERIFY(w);
        const PrintDocument doc = qobject_cast<TableForm *>(w)->printLayout();
        const QStringList lines10 = items(w, "List_Leq10");
        const int pages10 = (int(lines10.size()) + 63) / 64;
        QVERIFY(pages10 >= 2);
        QCOMPARE(doc.size(), pages10 + (int(items(w, "List_Leq1").size()) + 63) / 64);
        QCOMPARE(doc[0].texts[0], (PrintText{3300, 200, labelText(w, "Label_Serial_Number")}));
        QCOMPARE(doc[0].texts[1], (PrintText{2350, 400, labelText(w, "Label_Entete10")}));
        QCOMPARE(doc[0].texts[2], (PrintText{2350, 1200, lines10[0]}));
        QCOMPARE(doc[1].texts[2], (PrintText{2350, 1200, lines10[64]}));
        QCOMPARE(doc[0].texts.last(), (PrintText{5000, 16000, pageNumberText(1)}));
        QCOMPARE(doc[pages10].texts[1], (PrintText{2350, 400, labelText(w, "Label_Entete1")}));
        QCOMPARE(doc[pages10].texts.last().text, pageNumberText(1));
    }

    void printToPdf_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("events")
            << 4 << eventsView << "27/02/2008" << QString("05/03/2008")
            << QStringList{"KVL 24-2 - FirmWare Version : 4.0 - Serial number : 23456789",
                           "Events Chart from 27 February 2008 to 05 March 2008 :",
                           "The Thursday 28 February 2008 to 00 h. 01 : End of Sensor Link Default.",
                           "Page 1", "Page 2"};
        QTest::newRow("leq v5")
            << 5 << leqView << "28/02/2008" << QString("02/03/2008")
            << QStringList{"Leq10 value chart Thursday 28 February 2008 to Sunday 02 March 2008 :",
                           "Leq1 value chart Thursday 28 February 2008",
                           "from 00 h. 12 to 00 h. 13 : Leq1 Level = 108 dB.", "Page 3"};
    }

    void printToPdf()
    {
        QFETCH(int, version);
        QFETCH(QString, view);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QStringList, expected);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        resetStore(version);
        QWidget *w = openTable(view, start, end);
        QVERIFY(w);
        QTemporaryDir dir;
        dir.setAutoRemove(!qEnvironmentVariableIsSet("KVL_KEEP_OUTPUT")); // to look at the PDF
        ScriptedDialogs dialogs;
        dialogs.printerAnswers << true;
        dialogs.printerPdfPath = dir.filePath(QStringLiteral("table.pdf"));
        QVERIFY(qobject_cast<TableForm *>(w)->Cmd_Print_Click());
        QVERIFY(w->isEnabled());
        // Print dialogs propose the document name plus ".pdf" as the file name.
        QVERIFY(!(dialogs.printerDocNames.value(0) + QStringLiteral(".pdf")).contains(QStringLiteral("..")));
        const QString text = pdfText(dialogs.printerPdfPath);
        for (const QString &e : expected)
            QVERIFY2(text.contains(e), qPrintable(e));
    }

    void windowsFromFiles()
    {
        // Every sample file: each window opens on the whole recorded period and
        // lists what the core lists.
        const QDir samples(qEnvironmentVariable("KVL_SAMPLES"));
        const QStringList names = samples.entryList({QStringLiteral("*.kvl")}, QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString &name : names) {
            QFile f(samples.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            Store &store = appStore();
            store = Store();
            QCOMPARE(int(readDataFile(f.readAll(), store).result), int(LoadOutcome::Loaded));
            // The period from the first to the last valid event row.
            int last = 0;
            while (last < EventTable::rowCount && store.Event_Records(last + 1, 6) != 255)
                ++last;
            QVERIFY2(last > 0, qPrintable(name));
            auto day = [&](int r) {
                return QDate(2000 + store.Event_Records(r, 6), store.Event_Records(r, 5),
                             store.Event_Records(r, 3))
                    .toString(QStringLiteral("dd/MM/yyyy"));
            };
            const QString start = day(1), end = day(last);
            QWidget *events = openTable(eventsView, start, end);
            QVERIFY(events);
            QCOMPARE(items(events, "List_Evenements"), eventTableLines(store));
            QWidget *leq = openTable(leqView, start, end);
            QVERIFY(leq);
            QVERIFY(!findForm(QStringLiteral("frmTableau_Evenements")));
            if (store.isVersion5Family())
                QVERIFY(!items(leq, "List_Leq1").isEmpty());
            else
                QCOMPARE(items(leq, "List_Leq"), Lignes_Tableau_Leq(store));
            cleanup();
        }
    }
};

QTEST_MAIN(TablesTest)
#include "tst_tables.moc"
